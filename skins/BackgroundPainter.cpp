#include "BackgroundPainter.h"

#include <QPainter>

#include <random>

#include "BarPainter.h"
#include "ColourMath.h"
#include "KeyedArt.h"
#include "PanelPainter.h"
#include "ShippedButton.h"
#include "SkinLayout.h"
#include "SkinTheme.h"

namespace {

QPainterPath RoundedRect(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath Chamfered(qreal w, qreal h, qreal cut) {
    QPainterPath path;
    path.moveTo(cut, 0);
    path.lineTo(w - cut, 0);
    path.lineTo(w, cut);
    path.lineTo(w, h - cut);
    path.lineTo(w - cut, h);
    path.lineTo(cut, h);
    path.lineTo(0, h - cut);
    path.lineTo(0, cut);
    path.closeSubpath();
    return path;
}

// A raised tab on the top edge, from x0 to x1, with sloped shoulders.
QPainterPath Tab(qreal x0, qreal x1, qreal top, qreal base, qreal shoulder) {
    QPainterPath path;
    path.moveTo(x0, base + 2);
    path.cubicTo(x0 + shoulder * 0.5, base, x0 + shoulder * 0.5, top, x0 + shoulder, top);
    path.lineTo(x1 - shoulder, top);
    path.cubicTo(x1 - shoulder * 0.5, top, x1 - shoulder * 0.5, base, x1, base + 2);
    path.closeSubpath();
    return path;
}

void PaintBody(QPainter& p, const QPainterPath& outline, const SkinTheme& t, QSize size) {
    QLinearGradient body(0, 0, 0, size.height());
    body.setColorAt(0, t.bodyTop);
    body.setColorAt(1, t.bodyBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(outline);

    p.save();
    p.setClipPath(outline);
    if (t.deluxe) {
        // Brushed metal: faint horizontal streaks, from a fixed seed so every build matches.
        std::minstd_rand rng(20250407);
        for (int y = 0; y < size.height(); ++y) {
            const int a = int(rng() % 14);
            p.setPen(QColor(255, 255, 255, a));
            p.drawLine(0, y, size.width(), y);
        }
    }
    QLinearGradient gloss(0, 0, 0, 96);
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, size.width(), 96), gloss);

    // Bevel: lit from above, the inner half of a wide stroke along the outline.
    QLinearGradient bevel(0, 0, 0, size.height());
    bevel.setColorAt(0, ColourMath::WithAlpha(t.trim, 220));
    bevel.setColorAt(0.5, ColourMath::WithAlpha(t.trim, 60));
    bevel.setColorAt(1, QColor(0, 0, 0, 120));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(bevel), 6));
    p.drawPath(outline);
    p.restore();

    // A dark rim right on the edge keeps the cut-out outline crisp on any desktop.
    p.setPen(QPen(t.bodyBottom.darker(220), 2));
    p.drawPath(outline);
}

void PaintDeluxeTrim(QPainter& p, const QPainterPath& outline, const SkinTheme& t, QSize size) {
    p.save();
    p.setClipPath(outline);
    // A gold line running inside the edge, following the outline.
    QPainterPathStroker inner;
    inner.setWidth(22);
    const QPainterPath band = inner.createStroke(outline);
    const QPainterPath inset = outline.subtracted(band);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(t.trim.darker(160), 3));
    p.drawPath(inset);
    p.setPen(QPen(t.trim, 1.4));
    p.drawPath(inset);
    p.restore();

    // Corner jewels.
    const qreal w = size.width(), h = size.height();
    for (const QPointF& c : {QPointF(30, 60), QPointF(w - 30, 60), QPointF(30, h - 30),
                             QPointF(w - 30, h - 30)}) {
        QRadialGradient g(c - QPointF(2, 2), 7);
        g.setColorAt(0, QColor(0xFFF3C4));
        g.setColorAt(0.5, t.trim);
        g.setColorAt(1, t.trim.darker(200));
        p.setPen(QPen(t.trim.darker(250), 1));
        p.setBrush(g);
        QPolygonF diamond({c + QPointF(0, -7), c + QPointF(7, 0), c + QPointF(0, 7), c + QPointF(-7, 0)});
        p.drawPolygon(diamond);
    }
}

void PaintSettingsCaptions(QPainter& p, const SkinTheme& t, const SkinLayout& l) {
    size_t i = 0;
    for (const ShippedButton& c : ShippedButtons()) {
        if (c.group != CommandGroup::Settings) continue;
        const QRectF r = l.settingsCaption[i++];
        if (l.captionsUnder)
            PanelPainter::Caption(p, r, QString::fromLatin1(c.shortCaption), t.textDim,
                                  "Liberation Sans", 12, Qt::AlignHCenter | Qt::AlignTop);
        else
            PanelPainter::Caption(p, r, QString::fromLatin1(c.caption), t.textDim, t.captionFace,
                                  13, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void PaintPanel(QPainter& p, const SkinTheme& t, const SkinLayout& l) {
    PanelPainter::Recess(p, l.panel, 10, t.panel, t);
    PaintSettingsCaptions(p, t, l);
    const qreal x0 = l.panel.x() + 14, x1 = l.panel.right() - 13;
    const char* heading = t.captionFace;
    if (t.deluxe) {
        PanelPainter::Caption(p, QRectF(l.panel.x(), l.panel.y() + 6, l.panel.width(), 20),
                              QStringLiteral("Settings"), t.accent, heading, 14,
                              Qt::AlignHCenter | Qt::AlignVCenter, true);
        PanelPainter::Groove(p, {x0, l.panel.y() + 27.5}, {x1, l.panel.y() + 27.5}, t);
    }
    PanelPainter::Groove(p, {x0, l.modeLabel.y() - 8.5}, {x1, l.modeLabel.y() - 8.5}, t);

    // The closed combo box: a recess under its edit and button.
    const QRect closed(l.combo.x(), l.combo.y(), l.combo.width(), l.comboCell.height());
    PanelPainter::Recess(p, QRectF(closed).adjusted(-2, -2, 2, 2), 3, t.editBack, t);

    if (!l.optionsCaption.isEmpty()) {
        PanelPainter::Groove(p, {x0, l.optionsCaption.y() - 7.5}, {x1, l.optionsCaption.y() - 7.5}, t);
        PanelPainter::Caption(p, l.optionsCaption, QStringLiteral("Quality"), t.textDim, heading, 12,
                              Qt::AlignLeft | Qt::AlignVCenter, true);
        PanelPainter::Caption(p, l.listCaption, QStringLiteral("Recordings"), t.textDim, heading,
                              12, Qt::AlignLeft | Qt::AlignVCenter, true);
        PanelPainter::Recess(p, QRectF(l.list).adjusted(-2, -2, 2, 2), 3, t.listBack, t);
    } else {
        // The standard column has room left under the combo's list: a speaker grille.
        const int top = l.combo.bottom() + 12;
        const QRectF grille(l.panel.x() + 20, top, l.panel.width() - 40, l.panel.bottom() - top - 10);
        if (grille.height() > 14) PanelPainter::Grille(p, grille, t);
    }
}

void PaintBar(QPainter& p, const SkinTheme& t, const SkinLayout& l) {
    PanelPainter::Recess(p, l.bar, 12, t.panel, t);
    const QRectF groove(l.slider.x(), l.slider.y() + (BarPainter::kThumbSide - BarPainter::kChannelHeight) / 2,
                        l.slider.width(), BarPainter::kChannelHeight);
    PanelPainter::Display(p, l.display, groove, t);
    PanelPainter::Caption(p, l.fileCaption, QStringLiteral("File"), t.textDim, t.captionFace, 13,
                          Qt::AlignLeft | Qt::AlignVCenter);
    PanelPainter::Recess(p, QRectF(l.edit).adjusted(-2, -2, 2, 2), 3, t.editBack, t);
}

void PaintVideoFrame(QPainter& p, const SkinTheme& t, const SkinLayout& l) {
    PanelPainter::Recess(p, l.bezel, 12, t.panel.darker(130), t);
    if (t.deluxe) {
        p.setPen(QPen(t.trim, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(l.bezel).adjusted(6, 6, -6, -6), 8, 8);
    }
    // A thin lit edge right round the picture.
    p.setPen(QPen(ColourMath::WithAlpha(t.trim, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(l.video).adjusted(-1.5, -1.5, 1.5, 1.5));
    PanelPainter::Screen(p, l.video);
}

void PaintTitle(QPainter& p, const SkinTheme& t, const SkinLayout& l) {
    if (t.deluxe) {
        // The crest carries the caption: a gold-edged plate.
        const QRectF plate = QRectF(l.titleBand).adjusted(24, 6, -24, -4);
        QLinearGradient g(plate.topLeft(), plate.bottomLeft());
        g.setColorAt(0, t.panel.lighter(180));
        g.setColorAt(1, t.panel);
        p.setPen(QPen(t.trim, 1.5));
        p.setBrush(g);
        p.drawRoundedRect(plate, 14, 14);
        return;
    }
    const int y = l.titleBand.bottom() + 2;
    PanelPainter::Groove(p, {l.titleBand.x() + 0.0, y + 0.5}, {l.titleBand.right() + 0.0, y + 0.5}, t);
}

}  // namespace

QPainterPath BackgroundPainter::Outline(const SkinTheme& t, const SkinLayout& l) {
    const qreal w = l.window.width(), h = l.window.height();
    switch (t.shape) {
    case WindowShape::Rounded:
        return RoundedRect(QRectF(1, 1, w - 2, h - 2), 30);
    case WindowShape::Chamfered:
        return Chamfered(w - 2, h - 2, 34).translated(1, 1);
    case WindowShape::TitleTab:
        return RoundedRect(QRectF(1, 22, w - 2, h - 23), 26)
            .united(RoundedRect(QRectF(1, 1, 500, 80), 26))
            .united(Tab(380, 580, 1, 22, 90))
            .simplified();
    case WindowShape::Bulged: {
        QPainterPath path = RoundedRect(QRectF(16, 1, w - 32, h - 2), 30);
        path = path.united([&] { QPainterPath e; e.addEllipse(QRectF(1, 100, 120, h - 200)); return e; }());
        path = path.united([&] { QPainterPath e; e.addEllipse(QRectF(w - 121, 100, 120, h - 200)); return e; }());
        return path.simplified();
    }
    case WindowShape::Crest:
        return RoundedRect(QRectF(1, 30, w - 2, h - 31), 40)
            .united(Tab(l.titleBand.x() - 50, l.titleBand.right() + 50, 1, 30, 70))
            .simplified();
    }
    return {};
}

QImage BackgroundPainter::Paint(const SkinTheme& t, const SkinLayout& l) {
    QImage art = KeyedArt::Canvas(l.window);
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QPainterPath outline = Outline(t, l);
    PaintBody(p, outline, t, l.window);
    if (t.deluxe) PaintDeluxeTrim(p, outline, t, l.window);
    PaintTitle(p, t, l);
    PaintVideoFrame(p, t, l);
    PaintPanel(p, t, l);
    PaintBar(p, t, l);
    if (t.shape == WindowShape::Chamfered || t.transportFace == FaceShape::RoundedSquare) {
        for (const QRect& r : {l.panel, l.bar}) {
            const QRectF f = QRectF(r).adjusted(8, 8, -8, -8);
            for (const QPointF& c : {f.topLeft(), f.topRight(), f.bottomLeft(), f.bottomRight()})
                PanelPainter::Rivet(p, c, t);
        }
    }
    p.end();
    return KeyedArt::SnapToKey(art);
}
