// Dialog units: layouts given in units of the dialog font's average character size.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace platform {

// The base units of a font: average character width and the character height, in pixels.
QSize DialogBaseUnits(const QFont& font);

// x * cx / 4 and y * cy / 8, as dialog templates are measured.
QRect DialogUnitsToPixels(const QRect& dialogUnits, const QSize& baseUnits);

// The font the main window's template names, as the system resolves it.
QFont TemplateFont(const QString& face, int points);

}  // namespace platform
