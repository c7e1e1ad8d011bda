// Loads an image overlay into a layer: the key colour left out, the rest at alpha/255.
#pragma once

#include "component/overlays/OverlayLayer.h"
#include "component/overlays/OverlaySettings.h"

#include <QSize>

namespace component {

// A missing or unreadable file gives an empty layer.
OverlayLayer RenderImageLayer(const ImageOverlay& overlay, QSize frame);

}  // namespace component
