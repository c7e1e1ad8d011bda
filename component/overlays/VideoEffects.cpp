#include "component/overlays/VideoEffects.h"

#include <libyuv/planar_functions.h>
#include <libyuv/rotate.h>

#include <algorithm>
#include <cstring>

namespace component {

void RotateFrame(YuvImage& frame, int rotation) {
    if (rotation <= 0 || size_t(rotation) >= kRotationLabels.size() || frame.IsNull()) return;
    const int turns = rotation % 4;
    const int flip = rotation / 4;  // 1 horizontal, 2 vertical
    const bool swap = turns % 2 != 0;
    YuvImage out(swap ? frame.Height() : frame.Width(), swap ? frame.Width() : frame.Height());
    uint8_t* dst[3] = {out.MutablePlane(0), out.MutablePlane(1), out.MutablePlane(2)};
    const uint8_t* src[3] = {frame.Plane(0), frame.Plane(1), frame.Plane(2)};
    const int w = frame.Width(), h = frame.Height();
    if (turns != 0) {
        const libyuv::RotationMode mode = turns == 1   ? libyuv::kRotate90
                                          : turns == 2 ? libyuv::kRotate180
                                                       : libyuv::kRotate270;
        libyuv::I420Rotate(src[0], frame.Stride(0), src[1], frame.Stride(1), src[2], frame.Stride(2), dst[0],
                           out.Stride(0), dst[1], out.Stride(1), dst[2], out.Stride(2), w, h, mode);
        if (flip == 0) {
            frame = std::move(out);
            return;
        }
        frame = out;  // the turned picture is flipped into a picture of its own
        out = YuvImage(frame.Width(), frame.Height());
        for (int i = 0; i < 3; ++i) {
            src[i] = frame.Plane(i);
            dst[i] = out.MutablePlane(i);
        }
    }
    if (flip == 1)
        libyuv::I420Mirror(src[0], frame.Stride(0), src[1], frame.Stride(1), src[2], frame.Stride(2), dst[0],
                           out.Stride(0), dst[1], out.Stride(1), dst[2], out.Stride(2), frame.Width(),
                           frame.Height());
    else  // a negative height reads the source bottom up
        libyuv::I420Copy(src[0], frame.Stride(0), src[1], frame.Stride(1), src[2], frame.Stride(2), dst[0],
                         out.Stride(0), dst[1], out.Stride(1), dst[2], out.Stride(2), frame.Width(),
                         -frame.Height());
    frame = std::move(out);
}

void InvertFrame(YuvImage& frame) {
    if (frame.IsNull()) return;
    uint8_t* y = frame.MutablePlane(0);
    for (size_t i = 0, n = size_t(frame.Width()) * size_t(frame.Height()); i < n; ++i)
        y[i] = uint8_t(std::clamp(251 - y[i], 0, 255));
    // The two colour planes follow each other.
    uint8_t* c = frame.MutablePlane(1);
    for (size_t i = 0, n = 2 * size_t(frame.ChromaWidth()) * size_t(frame.ChromaHeight()); i < n; ++i)
        c[i] = uint8_t(std::min(255, 256 - c[i]));
}

void GreyFrame(YuvImage& frame) {
    if (frame.IsNull()) return;
    std::memset(frame.MutablePlane(1), 128, 2 * size_t(frame.ChromaWidth()) * size_t(frame.ChromaHeight()));
}

}  // namespace component
