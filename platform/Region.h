// Window shapes cut from a picture by a colour key.
#pragma once

#include <QImage>
#include <QRegion>

#include "Colour.h"

namespace platform {

// The region of all pixels that are not the key colour, built from runs of such pixels per
// row (rows with the same runs are merged into one band). keyPixels, when given, receives
// the number of key pixels.
QRegion RegionFromColourKey(const QImage& image, Colour key, long* keyPixels = nullptr);

}  // namespace platform
