// The whole-picture effects, applied before the overlays: rotation and flipping, colour
// inversion and grey scale. Every combination works, including those the dialog refuses.
#pragma once

#include <QImage>

#include <array>

namespace component {

// Index = rotation value: quarter turns clockwise (index % 4), then no flip, a horizontal
// flip or a vertical flip (index / 4).
inline constexpr auto kRotationLabels = std::to_array<const char*>({
    "No Rotation",
    "90-degree rotation without flipping",
    "180-degree rotation without flipping",
    "270-degree rotation without flipping",
    "no rotation and a horizontal flip",
    "90-degree rotation followed by a horizontal flip",
    "180-degree rotation followed by a horizontal flip",
    "270-degree rotation followed by a horizontal flip",
    "no rotation and a vertical flip",
    "90-degree rotation followed by a vertical flip",
    "180-degree rotation followed by a vertical flip",
    "270-degree rotation followed by a vertical flip",
});
static_assert(kRotationLabels.size() == 12);

// `frame` is Format_RGB32 or ARGB32. A rotation outside 0-11 leaves the picture as it is;
// odd rotations swap width and height.
void RotateFrame(QImage& frame, int rotation);
void InvertFrame(QImage& frame);
void GreyFrame(QImage& frame);

}  // namespace component
