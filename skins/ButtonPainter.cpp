#include "ButtonPainter.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

#include "ColourMath.h"
#include "GlyphPainter.h"
#include "KeyedArt.h"

namespace {

constexpr std::array<ButtonState, 4> kStates = {ButtonState::Normal, ButtonState::Hover,
                                                ButtonState::Pressed, ButtonState::Disabled};

QImage Join(const std::array<QImage, 4>& cells) {
    const QSize cell = cells[0].size();
    QImage strip(cell.width() * 4, cell.height(), QImage::Format_RGB32);
    QPainter p(&strip);
    for (int i = 0; i < 4; ++i) p.drawImage(i * cell.width(), 0, cells[size_t(i)]);
    return strip;
}

QPainterPath Outline(const QRectF& r, FaceShape shape) {
    QPainterPath path;
    if (shape == FaceShape::Circle)
        path.addEllipse(r);
    else
        path.addRoundedRect(r, r.width() * 0.24, r.height() * 0.24);
    return path;
}

QColor GlyphColour(const SkinTheme& t, ButtonState s, bool danger, const QColor& face) {
    switch (s) {
    case ButtonState::Hover:
        if (danger) return Qt::white;
        return ColourMath::IsLight(t.glyph) ? QColor(Qt::white) : t.glyph.lighter(150);
    case ButtonState::Disabled:
        return ColourMath::Mix(ColourMath::Grey(t.glyph), face, 0.55);
    default:
        return t.glyph;
    }
}

}  // namespace

void ButtonPainter::PaintFace(QPainter& p, const QRectF& r, FaceShape shape, ButtonState s,
                              const SkinTheme& t, bool danger) {
    QColor face = t.face;
    if (danger && s == ButtonState::Hover) face = QColor(0xD8403A);
    if (s == ButtonState::Hover) face = face.lighter(118);
    if (s == ButtonState::Pressed) face = face.darker(125);
    if (s == ButtonState::Disabled) face = ColourMath::Mix(ColourMath::Grey(face), face, 0.2);

    const qreal ring = std::max<qreal>(2.0, r.width() * 0.075);
    QLinearGradient rim(r.topLeft(), r.bottomLeft());
    if (s == ButtonState::Hover) {
        // A glowing ring: the accent washed towards white at the top.
        rim.setColorAt(0, ColourMath::Mix(t.accent, Qt::white, 0.4));
        rim.setColorAt(1, t.accent);
    } else {
        const QColor base = s == ButtonState::Disabled ? ColourMath::Grey(t.face) : t.face;
        rim.setColorAt(0, base.darker(260));
        rim.setColorAt(1, base.lighter(135));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawPath(Outline(r, shape));

    const QRectF inner = r.adjusted(ring, ring, -ring, -ring);
    QLinearGradient body(inner.topLeft(), inner.bottomLeft());
    const bool flat = s == ButtonState::Disabled;
    if (s == ButtonState::Pressed) {
        body.setColorAt(0, face.darker(135));
        body.setColorAt(1, face.lighter(110));
    } else {
        body.setColorAt(0, face.lighter(flat ? 112 : 140));
        body.setColorAt(1, face.darker(flat ? 110 : 130));
    }
    p.setBrush(body);
    p.drawPath(Outline(inner, shape));

    if (s == ButtonState::Normal || s == ButtonState::Hover) {
        // A soft gloss over the upper half reads as a raised, lit face.
        const QRectF gloss(inner.x() + inner.width() * 0.12, inner.y() + inner.height() * 0.04,
                           inner.width() * 0.76, inner.height() * 0.46);
        QLinearGradient g(gloss.topLeft(), gloss.bottomLeft());
        g.setColorAt(0, QColor(255, 255, 255, s == ButtonState::Hover ? 120 : 90));
        g.setColorAt(1, QColor(255, 255, 255, 8));
        p.setBrush(g);
        p.drawPath(Outline(gloss, shape));
    }
}

QImage ButtonPainter::CommandStrip(const SkinTheme& t, FaceShape shape, Glyph glyph, bool danger,
                                   const QImage& under) {
    std::array<QImage, 4> cells;
    for (size_t i = 0; i < 4; ++i) {
        const ButtonState s = kStates[i];
        QImage art = KeyedArt::Canvas(under.size());
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(art.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        PaintFace(p, r, shape, s, t, danger);

        const qreal g = r.width() * (shape == FaceShape::Circle ? 0.5 : 0.54);
        QRectF box(r.center().x() - g / 2, r.center().y() - g / 2, g, g);
        if (s == ButtonState::Pressed) box.translate(1, 1);
        const QColor colour = GlyphColour(t, s, danger, t.face);
        const bool muted = s == ButtonState::Disabled;
        if (!muted) {
            const QColor shade = ColourMath::IsLight(colour) ? QColor(0, 0, 0, 110)
                                                             : QColor(255, 255, 255, 120);
            GlyphPainter::Draw(p, glyph, box.translated(0, 1), shade, true);
        }
        GlyphPainter::Draw(p, glyph, box, colour, muted);
        p.end();
        cells[i] = KeyedArt::FlattenOnto(art, under);
    }
    return Join(cells);
}

QImage ButtonPainter::ToggleStrip(const SkinTheme& t, bool round, const QString& text,
                                  const QImage& under) {
    std::array<QImage, 4> cells;
    const int h = under.height();
    const qreal side = std::min(16, h - 4);
    for (size_t i = 0; i < 4; ++i) {
        const ButtonState s = kStates[i];
        QImage art = KeyedArt::Canvas(under.size());
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box(2.5, (h - side) / 2.0, side, side);
        const bool off = s == ButtonState::Disabled;
        const QColor border = off ? ColourMath::Grey(t.trim).darker(130)
                              : s == ButtonState::Normal ? t.trim.darker(115) : t.accent;
        QLinearGradient fill(box.topLeft(), box.bottomLeft());
        fill.setColorAt(0, t.editBack);
        fill.setColorAt(1, t.editBack.lighter(160));
        p.setPen(QPen(border, 1.6));
        p.setBrush(fill);
        if (round)
            p.drawEllipse(box);
        else
            p.drawRoundedRect(box, 3, 3);

        if (s == ButtonState::Pressed) {
            p.setPen(Qt::NoPen);
            p.setBrush(t.accent);
            if (round) {
                p.drawEllipse(box.center(), side * 0.26, side * 0.26);
            } else {
                QPainterPath tick;
                tick.moveTo(box.x() + side * 0.22, box.y() + side * 0.52);
                tick.lineTo(box.x() + side * 0.43, box.y() + side * 0.74);
                tick.lineTo(box.x() + side * 0.80, box.y() + side * 0.26);
                p.setPen(QPen(t.accent, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.setBrush(Qt::NoBrush);
                p.drawPath(tick);
            }
        }

        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(13);
        p.setFont(font);
        const QColor ink = off ? ColourMath::Mix(ColourMath::Grey(t.textDim), t.panel, 0.45)
                           : s == ButtonState::Hover ? t.textDim.lighter(125)
                           : s == ButtonState::Pressed ? t.accent
                                                       : t.textDim;
        p.setPen(ink);
        p.drawText(QRectF(side + 8, 0, art.width() - side - 8, h), Qt::AlignLeft | Qt::AlignVCenter,
                   text);
        p.end();
        cells[i] = KeyedArt::FlattenOnto(art, under);
    }
    return Join(cells);
}

QImage ButtonPainter::DropDownStrip(const SkinTheme& t, QSize cell) {
    std::array<QImage, 4> cells;
    for (size_t i = 0; i < 4; ++i) {
        const ButtonState s = kStates[i];
        QImage art(cell, QImage::Format_RGB32);
        art.fill(t.editBack);
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        QColor face = s == ButtonState::Disabled ? ColourMath::Grey(t.face) : t.face;
        if (s == ButtonState::Hover) face = face.lighter(120);
        if (s == ButtonState::Pressed) face = face.darker(125);
        QLinearGradient g(0, 0, 0, cell.height());
        g.setColorAt(0, s == ButtonState::Pressed ? face.darker(120) : face.lighter(135));
        g.setColorAt(1, s == ButtonState::Pressed ? face.lighter(110) : face.darker(120));
        p.setPen(QPen(s == ButtonState::Hover ? t.accent : t.editBorder, 1));
        p.setBrush(g);
        p.drawRect(QRectF(0.5, 0.5, cell.width() - 1, cell.height() - 1));
        const QRectF box = QRectF(art.rect()).adjusted(4, 4, -4, -4).translated(
            s == ButtonState::Pressed ? QPointF(1, 1) : QPointF(0, 0));
        GlyphPainter::Draw(p, Glyph::DropDown, box,
                           GlyphColour(t, s, false, face), s == ButtonState::Disabled);
        p.end();
        for (int y = 0; y < art.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(art.scanLine(y));
            for (int x = 0; x < art.width(); ++x) line[x] = KeyedArt::AvoidKey(line[x]);
        }
        cells[i] = art;
    }
    return Join(cells);
}
