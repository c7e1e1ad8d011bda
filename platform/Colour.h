// Colour values are 0x00BBGGRR everywhere (red in the low byte), as skins and the capture
// control exchange them; QColor only appears where something is drawn.
#pragma once

#include <QColor>

#include <cstdint>

namespace platform {

using Colour = uint32_t;

constexpr Colour MakeColour(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Colour c) { return c & 0xFF; }
constexpr int GreenOf(Colour c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Colour c) { return (c >> 16) & 0xFF; }

// Values above 0xFFFFFF (a skin's colour field that held no number gives all bits set) are
// no colour: as a key they match no pixel.
constexpr bool IsColour(Colour c) { return c <= 0xFFFFFFu; }

inline QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
inline Colour FromQColor(const QColor& c) { return MakeColour(c.red(), c.green(), c.blue()); }
// The same colour as a 0xAARRGGBB pixel of an opaque QImage.
inline uint32_t ToRgbPixel(Colour c) {
    return 0xFF000000u | (uint32_t(RedOf(c)) << 16) | (uint32_t(GreenOf(c)) << 8) | BlueOf(c);
}

}  // namespace platform
