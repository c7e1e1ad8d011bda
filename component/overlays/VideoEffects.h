// The whole-picture effects, applied before the overlays: rotation and flipping, colour
// inversion and grey scale. Every combination works, including those the dialog refuses.
#pragma once

#include <QImage>

#include "platform/EffectLabels.h"

#include <array>

namespace component {

// Index = rotation value; the labels say what each does.
using platform::kRotationLabels;

// `frame` is Format_RGB32 or ARGB32. A rotation outside 0-11 leaves the picture as it is;
// odd rotations swap width and height.
void RotateFrame(QImage& frame, int rotation);
void InvertFrame(QImage& frame);
void GreyFrame(QImage& frame);

}  // namespace component
