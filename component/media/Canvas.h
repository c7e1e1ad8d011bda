// The recorded picture's frame: a captured picture of another size or shape is scaled to fit
// it, keeping its shape, centred on black. The preview and the file both show this frame.
#pragma once

#include "component/media/YuvImage.h"

#include <QRect>
#include <QSize>

namespace component {

// The largest even-sized rectangle of `picture`'s shape inside `canvas`, centred on even
// coordinates (4:2:0 chroma needs both).
QRect FitInside(QSize picture, QSize canvas);

// `picture` scaled into a black frame of `canvas` size; the picture itself when it fits
// exactly, or when there is no canvas.
YuvImage FitOnCanvas(const YuvImage& picture, QSize canvas);

}  // namespace component
