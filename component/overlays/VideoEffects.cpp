#include "component/overlays/VideoEffects.h"

#include <libyuv/planar_functions.h>
#include <libyuv/rotate_argb.h>

namespace component {

void RotateFrame(QImage& frame, int rotation) {
    if (rotation <= 0 || size_t(rotation) >= kRotationLabels.size() || frame.isNull()) return;
    const int turns = rotation % 4;
    const int flip = rotation / 4;  // 1 horizontal, 2 vertical
    if (turns != 0) {
        const bool swap = turns % 2 != 0;
        QImage out(swap ? frame.height() : frame.width(), swap ? frame.width() : frame.height(),
                   frame.format());
        const libyuv::RotationMode mode = turns == 1   ? libyuv::kRotate90
                                          : turns == 2 ? libyuv::kRotate180
                                                       : libyuv::kRotate270;
        libyuv::ARGBRotate(frame.constBits(), int(frame.bytesPerLine()), out.bits(),
                           int(out.bytesPerLine()), frame.width(), frame.height(), mode);
        frame = std::move(out);
    }
    if (flip == 1) frame.mirror(true, false);
    if (flip == 2) frame.mirror(false, true);
}

void InvertFrame(QImage& frame) { frame.invertPixels(QImage::InvertRgb); }

void GreyFrame(QImage& frame) {
    if (frame.isNull()) return;
    libyuv::ARGBGray(frame.bits(), int(frame.bytesPerLine()), 0, 0, frame.width(), frame.height());
}

}  // namespace component
