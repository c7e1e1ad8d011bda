// The 53 hatch fills a text overlay can use, as 8x8 bit masks in the order of the hatch style
// numbers the dialog passes. A set bit is drawn in the fore colour, a clear one in the back.
#pragma once

#include <QColor>
#include <QImage>

#include <array>
#include <cstdint>

namespace component {

inline constexpr int kHatchStyleCount = 53;
inline constexpr int kHatchSize = 8;

// Row by row, top first; the high bit of a row is its leftmost pixel.
using HatchMask = std::array<uint8_t, kHatchSize>;

const std::array<HatchMask, kHatchStyleCount>& HatchMasks();
bool IsHatchStyle(int style);
// The 8x8 tile for `style` (a valid hatch style) in the two colours.
QImage HatchTile(int style, QColor fore, QColor back);

}  // namespace component
