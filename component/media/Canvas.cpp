#include "component/media/Canvas.h"

#include <libyuv/scale.h>

#include <algorithm>
#include <cstdint>

namespace component {

QRect FitInside(QSize picture, QSize canvas) {
    const int srcW = picture.width(), srcH = picture.height();
    const int dstW = canvas.width(), dstH = canvas.height();
    if (srcW <= 0 || srcH <= 0 || dstW <= 0 || dstH <= 0) return {};
    if (int64_t(srcW) * dstH == int64_t(srcH) * dstW) return QRect(0, 0, dstW, dstH);
    const double scale = std::min(double(dstW) / srcW, double(dstH) / srcH);
    const int w = std::clamp(int(srcW * scale + 0.5) & ~1, 2, dstW);
    const int h = std::clamp(int(srcH * scale + 0.5) & ~1, 2, dstH);
    return QRect(((dstW - w) / 2) & ~1, ((dstH - h) / 2) & ~1, w, h);
}

YuvImage FitOnCanvas(const YuvImage& picture, QSize canvas) {
    if (picture.IsNull() || canvas.isEmpty() || picture.Size() == canvas) return picture;
    const QRect fit = FitInside(picture.Size(), canvas);
    YuvImage out = fit.size() == canvas ? YuvImage(canvas.width(), canvas.height())
                                        : YuvImage::Black(canvas.width(), canvas.height());
    uint8_t* dst[3];
    for (int i = 0; i < 3; ++i) {
        const int x = i == 0 ? fit.x() : fit.x() / 2, y = i == 0 ? fit.y() : fit.y() / 2;
        dst[i] = out.MutablePlane(i) + y * out.Stride(i) + x;
    }
    libyuv::I420Scale(picture.Plane(0), picture.Stride(0), picture.Plane(1), picture.Stride(1), picture.Plane(2),
                      picture.Stride(2), picture.Width(), picture.Height(), dst[0], out.Stride(0), dst[1],
                      out.Stride(1), dst[2], out.Stride(2), fit.width(), fit.height(), libyuv::kFilterBox);
    return out;
}

}  // namespace component
