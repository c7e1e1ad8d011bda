// The keyboard focus drawn over a skin's picture, which may be of any colour.
#pragma once

#include <QPainter>
#include <QRect>

// Inverted dots just inside `r`: they show on light and dark pictures alike.
inline void DrawFocusDots(QPainter& p, const QRect& r) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Difference);
    p.setPen(QPen(Qt::white, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.restore();
}
