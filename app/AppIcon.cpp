#include "AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QImage DrawAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 170));
    p.drawRoundedRect(QRectF(2 * s, 9 * s, 21 * s, 16 * s), 3 * s, 3 * s);
    QPainterPath lens;  // the viewfinder wedge on the right
    lens.moveTo(23 * s, 14 * s);
    lens.lineTo(30 * s, 10 * s);
    lens.lineTo(30 * s, 24 * s);
    lens.lineTo(23 * s, 20 * s);
    lens.closeSubpath();
    p.drawPath(lens);
    p.setBrush(QColor(220, 40, 40));
    p.drawEllipse(QPointF(8 * s, 14 * s), 2.5 * s, 2.5 * s);
    return image;
}

QIcon MakeAppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) icon.addPixmap(QPixmap::fromImage(DrawAppIcon(size)));
    return icon;
}
