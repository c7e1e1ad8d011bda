// Skin pictures: BMP files decoded into QImage, and their colour-keyed form.
#pragma once

#include <QImage>
#include <QString>

#include "Colour.h"

namespace platform {

// Larger sides are refused before decoding: a crafted header must not make us allocate
// gigabytes for one skin picture.
inline constexpr int kMaxBitmapSide = 8192;

// Loads a BMP file as an opaque RGB32 image; a missing, unreadable or oversized file gives a
// null image.
QImage LoadBitmap(const QString& path);

// The same picture with every pixel of the key colour made fully transparent, made once so
// that drawing it is a plain alpha blit.
QImage KeyedImage(const QImage& image, Colour key);

}  // namespace platform
