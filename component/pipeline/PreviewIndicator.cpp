#include "component/pipeline/PreviewIndicator.h"

#include <QFontMetrics>

#include <algorithm>

namespace component {

namespace {
const QColor kRecordRed(230, 30, 30);

// Where `db` lies on a meter `width` pixels wide.
int MeterX(double db, int width) {
    const double t = (std::clamp(db, kMeterFloorDb, 0.0) - kMeterFloorDb) / -kMeterFloorDb;
    return int(t * width + 0.5);
}

QColor LevelColour(double db) {
    if (db > -3) return kRecordRed;
    if (db > -12) return QColor(240, 200, 40);
    return QColor(60, 200, 80);
}
}  // namespace

QRect PaintIndicator(QPainter& p, QRect area, const IndicatorState& s) {
    if (s.text.isEmpty() && !s.level.active) return {};
    p.save();
    QFont font = p.font();
    font.setPixelSize(std::clamp(area.height() / 16, 9, 14));
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics metrics(font);
    const int line = metrics.height();
    const int pad = std::max(2, line / 5);
    const int dot = s.recording ? line * 3 / 5 : 0;
    const int textWidth = s.text.isEmpty() ? 0 : metrics.horizontalAdvance(s.text);
    const int meterWidth = s.level.active ? std::clamp(area.width() / 5, 40, 120) : 0;
    const int clipWidth = s.level.active ? std::max(4, line / 3) : 0;

    int width = pad;
    if (dot) width += dot + pad;
    if (textWidth) width += textWidth + pad;
    if (meterWidth) width += meterWidth + 2 + clipWidth + pad;
    const QRect box(area.left() + pad, area.bottom() - pad - (line + 2 * pad) + 1, width,
                    line + 2 * pad);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawRoundedRect(box, pad, pad);

    int x = box.left() + pad;
    const int middle = box.center().y();
    if (dot) {
        p.setBrush(kRecordRed);
        p.drawEllipse(QRect(x, middle - dot / 2, dot, dot));
        x += dot + pad;
    }
    if (textWidth) {
        p.setPen(Qt::white);
        p.drawText(QRect(x, box.top() + pad, textWidth, line), Qt::AlignVCenter, s.text);
        p.setPen(Qt::NoPen);
        x += textWidth + pad;
    }
    if (meterWidth) {
        p.setRenderHint(QPainter::Antialiasing, false);
        const int barHeight = std::max(4, line / 2);
        const QRect bar(x, middle - barHeight / 2, meterWidth, barHeight);
        p.fillRect(bar, QColor(50, 50, 50));
        // RMS as the filled bar, peak as a bright tick on it.
        p.fillRect(QRect(bar.left(), bar.top(), MeterX(s.level.rmsDb, meterWidth), barHeight),
                   LevelColour(s.level.rmsDb));
        const int peak = MeterX(s.level.peakDb, meterWidth);
        if (peak > 0)
            p.fillRect(QRect(bar.left() + std::min(peak, meterWidth - 2), bar.top(), 2, barHeight),
                       Qt::white);
        const QRect clip(bar.right() + 3, bar.top(), clipWidth, barHeight);
        p.fillRect(clip, s.level.clipped ? kRecordRed : QColor(90, 30, 30));
    }
    QRect covered = box;
    if (!s.figures.isEmpty()) {
        // Smaller and plain: figures to glance at, not to read out.
        font.setBold(false);
        font.setPixelSize(std::max(8, font.pixelSize() - 2));
        p.setFont(font);
        const QFontMetrics small(font);
        const int width = std::min(small.horizontalAdvance(s.figures) + 2 * pad, area.width() - 2 * pad);
        const QRect above(box.left(), box.top() - pad - small.height() - 2 * pad, width, small.height() + 2 * pad);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(s.warning ? QColor(170, 20, 20, 220) : QColor(0, 0, 0, 170));
        p.drawRoundedRect(above, pad, pad);
        p.setPen(s.warning ? QColor(255, 230, 120) : QColor(220, 220, 220));
        p.drawText(above.adjusted(pad, pad, -pad, -pad), Qt::AlignVCenter | Qt::AlignLeft,
                   small.elidedText(s.figures, Qt::ElideRight, above.width() - 2 * pad));
        covered |= above;
    }
    p.restore();
    return covered;
}

}  // namespace component
