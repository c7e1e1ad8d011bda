#include "BarPainter.h"

#include <QPainter>

#include "ColourMath.h"
#include "GlyphPainter.h"
#include "KeyedArt.h"

namespace {

QImage Opaque(const QImage& art) {
    QImage out = art.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) line[x] = KeyedArt::AvoidKey(line[x]);
    }
    return out;
}

QImage Track(const SkinTheme& t, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    // Shaded across the bar, flat along it: the track is stretched to the bar's height.
    QLinearGradient g(0, 0, size.width(), 0);
    g.setColorAt(0, t.listBack.darker(130));
    g.setColorAt(0.5, t.listBack.lighter(135));
    g.setColorAt(1, t.listBack.darker(130));
    p.fillRect(img.rect(), g);
    return img;
}

QImage Arrow(const SkinTheme& t, int width, Glyph glyph, bool pressed) {
    QImage img = Track(t, QSize(width, BarPainter::kArrowHeight));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor face = pressed ? t.accent : t.face;
    QLinearGradient g(0, 0, 0, img.height());
    g.setColorAt(0, face.lighter(130));
    g.setColorAt(1, face.darker(125));
    p.setPen(QPen(t.editBorder, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, img.height() - 1), 3, 3);
    const QColor ink = pressed ? (ColourMath::IsLight(t.accent) ? QColor(0x202020) : QColor(Qt::white))
                               : t.glyph;
    GlyphPainter::Draw(p, glyph, QRectF(2, 2, width - 4, img.height() - 4), ink);
    return img;
}

QImage Thumb(const SkinTheme& t, int width, bool pressed) {
    QImage img = Track(t, QSize(width, BarPainter::kScrollThumbHeight));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor face = pressed ? t.accent : t.face.lighter(115);
    QLinearGradient g(0, 0, width, 0);
    g.setColorAt(0, face.lighter(125));
    g.setColorAt(1, face.darker(125));
    p.setPen(QPen(t.editBorder, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 0.5, width - 3, img.height() - 1), 4, 4);
    // Grip lines in the middle.
    const QColor grip = ColourMath::IsLight(face) ? face.darker(160) : face.lighter(170);
    p.setPen(QPen(grip, 1));
    for (int i = -1; i <= 1; ++i) {
        const qreal y = img.height() / 2.0 + i * 4 + 0.5;
        p.drawLine(QPointF(5, y), QPointF(width - 5, y));
    }
    return img;
}

}  // namespace

QImage BarPainter::SliderChannel(const SkinTheme& t, const QImage& under) {
    QImage art = under.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, art.height());
    g.setColorAt(0, t.accent.lighter(135));
    g.setColorAt(0.5, t.accent);
    g.setColorAt(1, t.accent.darker(135));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    // Only the left end shows rounded: the rest of the bar is cut at the thumb's centre.
    const qreal h = art.height();
    p.drawRoundedRect(QRectF(0, 0, art.width() + h, h), h / 2, h / 2);
    p.end();
    return Opaque(art);
}

QImage BarPainter::SliderThumb(const SkinTheme& t, const QImage& under, bool active) {
    QImage art = KeyedArt::Canvas(under.size());
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(art.rect()).adjusted(1, 1, -1, -1);
    QRadialGradient g(r.center() - QPointF(r.width() * 0.18, r.height() * 0.22), r.width() * 0.75);
    const QColor face = active ? t.accent : t.face.lighter(125);
    g.setColorAt(0, face.lighter(170));
    g.setColorAt(0.6, face);
    g.setColorAt(1, face.darker(150));
    p.setPen(QPen(active ? t.accent.lighter(140) : t.trim, 1.5));
    p.setBrush(g);
    p.drawEllipse(r);
    p.setPen(Qt::NoPen);
    p.setBrush(active ? t.panel : t.accent);
    p.drawEllipse(r.center(), r.width() * 0.14, r.height() * 0.14);
    p.end();
    return KeyedArt::FlattenOnto(art, under);
}

std::array<QImage, 7> BarPainter::ScrollBar(const SkinTheme& t, int width) {
    return {Track(t, QSize(width, 32)),
            Arrow(t, width, Glyph::ArrowUp, false), Arrow(t, width, Glyph::ArrowUp, true),
            Arrow(t, width, Glyph::ArrowDown, false), Arrow(t, width, Glyph::ArrowDown, true),
            Thumb(t, width, false), Thumb(t, width, true)};
}
