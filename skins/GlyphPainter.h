// The symbols on buttons and the window icon, drawn in a 100 x 100 design box scaled to fit.
#pragma once

#include <QColor>
#include <QRectF>

#include "ShippedButton.h"

class QPainter;

class GlyphPainter {
public:
    // Draws glyph into box in colour. Record and Camera carry colours of their own; muted
    // greys them out for disabled pictures.
    static void Draw(QPainter& p, Glyph glyph, const QRectF& box, const QColor& colour,
                     bool muted = false);
};
