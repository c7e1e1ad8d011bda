// A rendered overlay kept between pictures: premultiplied pixels and where they go on the
// picture, already clipped to it, so drawing it is one blend.
#pragma once

#include <QImage>
#include <QPoint>

namespace component {

struct OverlayLayer {
    QImage image;  // Format_ARGB32_Premultiplied; null when there is nothing to draw
    QPoint at;

    bool IsEmpty() const { return image.isNull(); }
};

}  // namespace component
