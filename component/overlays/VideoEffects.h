// The whole-picture effects, applied before the overlays: rotation and flipping, colour
// inversion and grey scale, on the 4:2:0 planes themselves. Every combination works,
// including those the dialog refuses.
#pragma once

#include "component/media/YuvImage.h"
#include "platform/EffectLabels.h"

#include <array>

namespace component {

// Index = rotation value; the labels say what each does.
using platform::kRotationLabels;

// A rotation outside 0-11 leaves the picture as it is; odd rotations swap width and height.
void RotateFrame(YuvImage& frame, int rotation);
// The negative of the RGB picture: in studio range that is Y' = 251 - Y and, for the colour
// differences, C' = 256 - C.
void InvertFrame(YuvImage& frame);
// No colour left: the colour differences go to their middle.
void GreyFrame(YuvImage& frame);

}  // namespace component
