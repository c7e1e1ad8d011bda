// Four-state picture strips (Normal, Hover, Pressed, Disabled side by side) for the skin's
// buttons, check and option boxes and the combo box's drop-down button.
#pragma once

#include <QImage>
#include <QString>

#include "ShippedButton.h"
#include "SkinTheme.h"

enum class ButtonState { Normal, Hover, Pressed, Disabled };

class ButtonPainter {
public:
    // Each cell has the size of under, the background the button stands on; the face's
    // surroundings are the key colour.
    static QImage CommandStrip(const SkinTheme& theme, FaceShape shape, Glyph glyph,
                               bool danger, const QImage& under);
    // A check box (square) or option box (round) followed by its caption. Pressed is also
    // what a checked box shows, so it is drawn checked.
    static QImage ToggleStrip(const SkinTheme& theme, bool round, const QString& text,
                              const QImage& under);
    // Opaque cells: the button sits flush against the combo's edit box.
    static QImage DropDownStrip(const SkinTheme& theme, QSize cell);

private:
    static void PaintFace(QPainter& p, const QRectF& r, FaceShape shape, ButtonState state,
                          const SkinTheme& theme, bool danger);
};
