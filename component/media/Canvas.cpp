#include "component/media/Canvas.h"

#include <libyuv/scale_argb.h>

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

QImage FitOnCanvas(const QImage& picture, QSize canvas) {
    if (picture.isNull() || canvas.isEmpty() || picture.size() == canvas) return picture;
    const QImage source = picture.format() == QImage::Format_RGB32
                              ? picture
                              : picture.convertToFormat(QImage::Format_RGB32);
    const QRect fit = FitInside(source.size(), canvas);
    QImage out(canvas, QImage::Format_RGB32);
    if (fit.size() != canvas) out.fill(Qt::black);
    uint8_t* dst = out.bits() + fit.y() * out.bytesPerLine() + fit.x() * 4;
    libyuv::ARGBScale(source.constBits(), int(source.bytesPerLine()), source.width(),
                      source.height(), dst, int(out.bytesPerLine()), fit.width(), fit.height(),
                      libyuv::kFilterBox);
    return out;
}

}  // namespace component
