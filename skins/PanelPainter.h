// Building blocks of a skin background: recessed panels, the video screen, the read-out strip,
// rivets, a grille and printed captions.
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;
struct SkinTheme;

class PanelPainter {
public:
    // A panel sunk into the body: dark upper lip, lit lower lip, shaded fill.
    static void Recess(QPainter& p, const QRectF& r, qreal radius, const QColor& fill,
                       const SkinTheme& theme);
    // The dark screen inside the video frame, with a faint camera mark.
    static void Screen(QPainter& p, const QRectF& r);
    // The read-out strip with the slider's empty groove.
    static void Display(QPainter& p, const QRectF& r, const QRectF& groove, const SkinTheme& theme);
    static void Rivet(QPainter& p, const QPointF& centre, const SkinTheme& theme);
    static void Grille(QPainter& p, const QRectF& r, const SkinTheme& theme);
    static void Caption(QPainter& p, const QRectF& r, const QString& text, const QColor& colour,
                        const char* face, int pixels, int align, bool bold = false);
    // A line cut into the panel: dark above, light below.
    static void Groove(QPainter& p, const QPointF& from, const QPointF& to, const SkinTheme& theme);
};
