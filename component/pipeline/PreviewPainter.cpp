#include "component/pipeline/PreviewPainter.h"

#include "component/media/CaptureClock.h"

#include <algorithm>

namespace component {

namespace {
constexpr size_t kMaxLatencySamples = 100000;

QRect FitRect(QSize picture, QRect area) {
    if (picture.isEmpty()) return {};
    QSize fitted = picture.scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.x() + (area.width() - fitted.width()) / 2,
                 area.y() + (area.height() - fitted.height()) / 2, fitted.width(), fitted.height());
}
}  // namespace

void PreviewPainter::TakeNewest(PreviewMailbox& mailbox) {
    if (std::optional<VideoFrame> next = mailbox.Take()) {
        if (m_latenciesUs.size() < kMaxLatencySamples)
            m_latenciesUs.push_back(ClockNowUs() - next->timeUs);
        ++m_framesPainted;
        m_shown = std::move(next);
        m_scaled = QImage();
    }
}

QImage PreviewPainter::Latest(PreviewMailbox& mailbox) {
    TakeNewest(mailbox);
    return m_shown ? m_shown->picture.ToImage() : QImage();
}

void PreviewPainter::Paint(QPainter& p, QRect area, PreviewMailbox& mailbox, const Scene& scene) {
    TakeNewest(mailbox);
    p.fillRect(area, Qt::black);
    if (m_shown && scene.showPicture) {
        const QRect fit = FitRect(m_shown->picture.Size(), area);
        // Scaled to the screen's own pixels, which a high-density screen has more of.
        const qreal ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
        const QSize pixels = (QSizeF(fit.size()) * ratio).toSize();
        if (m_scaled.size() != pixels) {
            m_scaled = m_shown->picture.ToImage(pixels);
            m_scaled.setDevicePixelRatio(ratio);
        }
        p.drawImage(fit.topLeft(), m_scaled);
    }
    m_indicatorRect = PaintIndicator(p, area, scene.indicator);
    if (scene.status.isEmpty()) return;
    QFont font = p.font();
    font.setPixelSize(std::clamp(area.height() / 14, 9, 16));
    p.setFont(font);
    const QRect inner = area.adjusted(6, 6, -6, -6);
    const QRect bounds = p.boundingRect(inner, Qt::AlignCenter | Qt::TextWordWrap, scene.status);
    p.fillRect(bounds.adjusted(-4, -3, 4, 3), QColor(0, 0, 0, 170));
    p.setPen(Qt::white);
    p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, scene.status);
}

}  // namespace component
