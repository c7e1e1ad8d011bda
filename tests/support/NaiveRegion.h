// The slow reference shape: start from the whole picture and remove each key pixel one by
// one, columns outer, rows inner. Used to check and to measure the run-based builder.
#pragma once

#include <QImage>
#include <QRegion>

#include "platform/Colour.h"

inline QRegion NaiveRegionFromColourKey(const QImage& image, platform::Colour key) {
    QRegion region(0, 0, image.width(), image.height());
    const QRgb keyRgb = platform::ToRgbPixel(key) & 0x00FFFFFF;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if ((image.pixel(x, y) & 0x00FFFFFF) == keyRgb) region ^= QRegion(x, y, 1, 1);
    return region;
}
