#include "GlyphPainter.h"

#include <QPainter>
#include <QPainterPath>


namespace {

QPainterPath Triangle(QPointF a, QPointF b, QPointF c) {
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

// Filled and stroked in the same colour so that sharp corners come out slightly rounded.
void FillRounded(QPainter& p, const QPainterPath& path, const QColor& c, qreal round) {
    p.setPen(QPen(c, round, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(c);
    p.drawPath(path);
}

void Stroke(QPainter& p, const QPainterPath& path, const QColor& c, qreal width) {
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

QPainterPath Gear() {
    QPainterPath teeth;
    for (int i = 0; i < 8; ++i) {
        QTransform t;
        t.translate(50, 50);
        t.rotate(i * 45.0);
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-8, -42, 16, 20), 3, 3);
        teeth.addPath(t.map(tooth));
    }
    QPainterPath ring;
    ring.addEllipse(QPointF(50, 50), 30, 30);
    QPainterPath hole;
    hole.addEllipse(QPointF(50, 50), 12, 12);
    return teeth.united(ring).subtracted(hole);
}

void DrawRecord(QPainter& p, bool muted) {
    QRadialGradient g(QPointF(42, 40), 40);
    g.setColorAt(0, muted ? QColor(0xB8B8B8) : QColor(0xFF6A5C));
    g.setColorAt(1, muted ? QColor(0x7A7A7A) : QColor(0xC0101C));
    p.setPen(QPen(muted ? QColor(0xD0D0D0) : QColor(0xFFE1DC), 5));
    p.setBrush(g);
    p.drawEllipse(QPointF(50, 50), 30, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, muted ? 50 : 110));
    p.drawEllipse(QPointF(41, 39), 10, 7);
}

void DrawCamera(QPainter& p, bool muted) {
    const QColor body = muted ? QColor(0x8C8C8C) : QColor(0x3A3F47);
    const QColor edge = muted ? QColor(0xB0B0B0) : QColor(0xC9D1DC);
    QLinearGradient g(0, 28, 0, 78);
    g.setColorAt(0, body.lighter(160));
    g.setColorAt(1, body);
    p.setPen(QPen(edge, 3));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(6, 30, 62, 46), 9, 9);
    p.drawPath(Triangle({68, 46}, {94, 32}, {94, 74}).united(
        [] { QPainterPath r; r.addRect(66, 46, 6, 14); return r; }()));
    QRadialGradient lens(QPointF(33, 49), 16);
    lens.setColorAt(0, muted ? QColor(0xDADADA) : QColor(0x9FE3FF));
    lens.setColorAt(0.6, muted ? QColor(0x909090) : QColor(0x2B6FB8));
    lens.setColorAt(1, muted ? QColor(0x606060) : QColor(0x0C2340));
    p.setPen(QPen(edge, 3));
    p.setBrush(lens);
    p.drawEllipse(QPointF(34, 53), 15, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(29, 48), 4, 4);
    p.setBrush(muted ? QColor(0xA0A0A0) : QColor(0xFF3B30));
    p.drawEllipse(QPointF(58, 38), 4, 4);
}

}  // namespace

void GlyphPainter::Draw(QPainter& p, Glyph glyph, const QRectF& box, const QColor& c, bool muted) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / 100.0, box.height() / 100.0);
    switch (glyph) {
    case Glyph::Play:
        FillRounded(p, Triangle({30, 18}, {30, 82}, {84, 50}), c, 8);
        break;
    case Glyph::Pause:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(24, 18, 19, 64), 5, 5);
        p.drawRoundedRect(QRectF(57, 18, 19, 64), 5, 5);
        break;
    case Glyph::Stop:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(22, 22, 56, 56), 8, 8);
        break;
    case Glyph::Record:
        DrawRecord(p, muted);
        break;
    case Glyph::Stream: {
        // A dot sending waves both ways: on the air.
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(50, 50), 9, 9);
        for (int ring = 0; ring < 2; ++ring) {
            const double r = 22 + ring * 16;
            QPainterPath waves;
            waves.arcMoveTo(QRectF(50 - r, 50 - r, 2 * r, 2 * r), -40);
            waves.arcTo(QRectF(50 - r, 50 - r, 2 * r, 2 * r), -40, 80);
            waves.arcMoveTo(QRectF(50 - r, 50 - r, 2 * r, 2 * r), 140);
            waves.arcTo(QRectF(50 - r, 50 - r, 2 * r, 2 * r), 140, 80);
            Stroke(p, waves, c, 8);
        }
        break;
    }
    case Glyph::Minimize:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(20, 58, 60, 16), 5, 5);
        break;
    case Glyph::Close: {
        QPainterPath x;
        x.moveTo(26, 26);
        x.lineTo(74, 74);
        x.moveTo(74, 26);
        x.lineTo(26, 74);
        Stroke(p, x, c, 15);
        break;
    }
    case Glyph::VideoDevice: {
        QPainterPath cam;
        cam.addRoundedRect(QRectF(8, 28, 58, 44), 9, 9);
        cam.addPath(Triangle({64, 50}, {92, 30}, {92, 70}));
        cam.setFillRule(Qt::WindingFill);
        QPainterPath lens;
        lens.addEllipse(QPointF(32, 50), 10, 10);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPath(cam.simplified().subtracted(lens));
        p.drawEllipse(QPointF(32, 50), 5, 5);
        break;
    }
    case Glyph::AudioDevice: {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(37, 8, 26, 50), 13, 13);
        QPainterPath stand;
        stand.moveTo(24, 40);
        stand.cubicTo(24, 78, 76, 78, 76, 40);
        stand.moveTo(50, 70);
        stand.lineTo(50, 86);
        stand.moveTo(33, 88);
        stand.lineTo(67, 88);
        Stroke(p, stand, c, 8);
        break;
    }
    case Glyph::DateTime: {
        QPainterPath face;
        face.addEllipse(QPointF(50, 50), 36, 36);
        Stroke(p, face, c, 9);
        QPainterPath hands;
        hands.moveTo(50, 24);
        hands.lineTo(50, 50);
        hands.lineTo(67, 60);
        Stroke(p, hands, c, 8);
        break;
    }
    case Glyph::OverlayText: {
        QPainterPath t;
        t.addRect(18, 14, 64, 16);
        t.addRect(42, 14, 16, 66);
        t.addRect(31, 72, 38, 10);
        t.addRect(18, 14, 9, 26);
        t.addRect(73, 14, 9, 26);
        t.setFillRule(Qt::WindingFill);
        FillRounded(p, t.simplified(), c, 3);
        break;
    }
    case Glyph::OverlayImage: {
        QPainterPath frame;
        frame.addRoundedRect(QRectF(10, 18, 80, 64), 8, 8);
        Stroke(p, frame, c, 8);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        QPainterPath hills;
        hills.moveTo(16, 76);
        hills.lineTo(39, 44);
        hills.lineTo(55, 64);
        hills.lineTo(65, 53);
        hills.lineTo(84, 76);
        hills.closeSubpath();
        p.drawPath(hills);
        p.drawEllipse(QPointF(68, 37), 8, 8);
        break;
    }
    case Glyph::OutputProperties:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPath(Gear());
        break;
    case Glyph::DropDown:
        FillRounded(p, Triangle({24, 36}, {76, 36}, {50, 68}), c, 6);
        break;
    case Glyph::ArrowUp:
        FillRounded(p, Triangle({22, 66}, {78, 66}, {50, 32}), c, 6);
        break;
    case Glyph::ArrowDown:
        FillRounded(p, Triangle({22, 34}, {78, 34}, {50, 68}), c, 6);
        break;
    case Glyph::Camera:
        DrawCamera(p, muted);
        break;
    }
    p.restore();
}
