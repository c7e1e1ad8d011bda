// Renders the text overlays and the date-time stamp into layers: anti-aliased glyph outlines
// filled and stroked as the text style asks, clipped to the picture.
#pragma once

#include "component/overlays/OverlayLayer.h"
#include "component/overlays/OverlaySettings.h"

#include <QFont>
#include <QSize>
#include <QString>

namespace component {

inline constexpr int kFontStyleCount = 5;  // Regular, Bold, Italic, BoldItalic, Underline

// `points` at 96 dots per inch, so a size looks the same on every picture and machine.
QFont OverlayFont(const std::string& name, int points, int fontStyle);

OverlayLayer RenderTextLayer(const TextOverlay& text, QSize frame);
// The stamp with every digit on the same advance, so the text does not move as it ticks, and
// with a thin edge that sets it off from whatever picture lies beneath.
OverlayLayer RenderStampLayer(const DateTimeOverlay& stamp, const QString& text, QSize frame);

}  // namespace component
