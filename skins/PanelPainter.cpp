#include "PanelPainter.h"

#include <QPainter>
#include <QPainterPath>

#include "ColourMath.h"
#include "GlyphPainter.h"
#include "SkinTheme.h"

void PanelPainter::Recess(QPainter& p, const QRectF& r, qreal radius, const QColor& fill,
                          const SkinTheme& t) {
    p.save();
    p.setPen(Qt::NoPen);
    QLinearGradient lip(r.topLeft(), r.bottomLeft());
    lip.setColorAt(0, QColor(0, 0, 0, 130));
    lip.setColorAt(1, ColourMath::WithAlpha(t.trim, 120));
    p.setBrush(lip);
    p.drawRoundedRect(r.adjusted(-1.5, -1.5, 1.5, 1.5), radius + 1.5, radius + 1.5);

    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, fill.darker(115));
    body.setColorAt(1, fill.lighter(112));
    p.setBrush(body);
    p.drawRoundedRect(r, radius, radius);

    // Inner shadow under the upper lip.
    QPainterPath clip;
    clip.addRoundedRect(r, radius, radius);
    p.setClipPath(clip);
    QLinearGradient shade(r.topLeft(), r.topLeft() + QPointF(0, 8));
    shade.setColorAt(0, QColor(0, 0, 0, 110));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(shade);
    p.drawRect(QRectF(r.x(), r.y(), r.width(), 8));
    p.restore();
}

void PanelPainter::Screen(QPainter& p, const QRectF& r) {
    p.save();
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(0x1C2129));
    g.setColorAt(1, QColor(0x07080B));
    p.fillRect(r, g);
    const qreal s = r.height() * 0.22;
    GlyphPainter::Draw(p, Glyph::VideoDevice,
                       QRectF(r.center().x() - s / 2, r.center().y() - s / 2, s, s),
                       QColor(255, 255, 255, 22));
    p.restore();
}

void PanelPainter::Display(QPainter& p, const QRectF& r, const QRectF& groove, const SkinTheme& t) {
    p.save();
    Recess(p, r, 6, ColourMath::Mix(QColor(0x05080C), t.accent, 0.08), t);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const qreal h = groove.height();
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(groove, h / 2, h / 2);
    p.setPen(QPen(ColourMath::WithAlpha(t.accent, 70), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(groove.adjusted(0.5, 0.5, -0.5, -0.5), h / 2, h / 2);
    // A time scale under the groove, so the empty strip reads as a timeline.
    p.setRenderHint(QPainter::Antialiasing, false);
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const int x = int(groove.x() + h / 2 + (groove.width() - h) * i / steps);
        const int len = i % 6 == 0 ? 4 : 2;
        p.setPen(ColourMath::WithAlpha(t.accent, i % 6 == 0 ? 110 : 60));
        p.drawLine(x, int(groove.bottom()) + 2, x, int(groove.bottom()) + 1 + len);
    }
    p.restore();
}

void PanelPainter::Rivet(QPainter& p, const QPointF& c, const SkinTheme& t) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(c - QPointF(1.5, 1.5), 5);
    g.setColorAt(0, t.trim.lighter(130));
    g.setColorAt(1, t.trim.darker(220));
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.setBrush(g);
    p.drawEllipse(c, 4, 4);
    p.setPen(QPen(QColor(0, 0, 0, 110), 1.2));
    p.drawLine(c + QPointF(-2.5, 2.5), c + QPointF(2.5, -2.5));
    p.restore();
}

void PanelPainter::Grille(QPainter& p, const QRectF& r, const SkinTheme& t) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const qreal step = 7;
    const int cols = int(r.width() / step), rows = int(r.height() / step);
    const qreal x0 = r.x() + (r.width() - (cols - 1) * step) / 2;
    const qreal y0 = r.y() + (r.height() - (rows - 1) * step) / 2;
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const QPointF c(x0 + col * step + (row % 2 ? step / 2 : 0), y0 + row * step);
            if (!r.contains(c)) continue;
            p.setBrush(ColourMath::WithAlpha(t.trim, 60));
            p.drawEllipse(c + QPointF(0, 0.8), 1.8, 1.8);
            p.setBrush(QColor(0, 0, 0, 170));
            p.drawEllipse(c, 1.8, 1.8);
        }
    }
    p.restore();
}

void PanelPainter::Caption(QPainter& p, const QRectF& r, const QString& text, const QColor& colour,
                           const char* face, int pixels, int align, bool bold) {
    p.save();
    QFont font(QString::fromLatin1(face));
    font.setPixelSize(pixels);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, align, text);
    p.restore();
}

void PanelPainter::Groove(QPainter& p, const QPointF& from, const QPointF& to, const SkinTheme& t) {
    p.save();
    p.setPen(QPen(QColor(0, 0, 0, 110), 1));
    p.drawLine(from, to);
    p.setPen(QPen(ColourMath::WithAlpha(t.trim, 70), 1));
    p.drawLine(from + QPointF(0, 1), to + QPointF(0, 1));
    p.restore();
}
