#include "component/sources/DevicePictures.h"

#include <libyuv/convert.h>
#include <libyuv/planar_functions.h>

namespace component {

YuvImage PictureOf(const AVFrame* f, SwsPtr& sws) {
    if (!f || f->width <= 0 || f->height <= 0) return {};
    YuvImage out(f->width, f->height);
    uint8_t* dst[3] = {out.MutablePlane(0), out.MutablePlane(1), out.MutablePlane(2)};
    const int ds[3] = {out.Stride(0), out.Stride(1), out.Stride(2)};
    const int w = f->width, h = f->height;
    int ret = 0;
    switch (f->format) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVJ420P:
        ret = libyuv::I420Copy(f->data[0], f->linesize[0], f->data[1], f->linesize[1], f->data[2], f->linesize[2],
                               dst[0], ds[0], dst[1], ds[1], dst[2], ds[2], w, h);
        break;
    case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUVJ422P:
        ret = libyuv::I422ToI420(f->data[0], f->linesize[0], f->data[1], f->linesize[1], f->data[2],
                                 f->linesize[2], dst[0], ds[0], dst[1], ds[1], dst[2], ds[2], w, h);
        break;
    case AV_PIX_FMT_YUYV422:
        ret = libyuv::YUY2ToI420(f->data[0], f->linesize[0], dst[0], ds[0], dst[1], ds[1], dst[2], ds[2], w, h);
        break;
    case AV_PIX_FMT_UYVY422:
        ret = libyuv::UYVYToI420(f->data[0], f->linesize[0], dst[0], ds[0], dst[1], ds[1], dst[2], ds[2], w, h);
        break;
    case AV_PIX_FMT_NV12:
        ret = libyuv::NV12ToI420(f->data[0], f->linesize[0], f->data[1], f->linesize[1], dst[0], ds[0], dst[1],
                                 ds[1], dst[2], ds[2], w, h);
        break;
    default:
        sws.reset(sws_getCachedContext(sws.release(), w, h, AVPixelFormat(f->format), w, h, AV_PIX_FMT_YUV420P,
                                       SWS_BILINEAR, nullptr, nullptr, nullptr));
        if (!sws) return {};
        sws_scale(sws.get(), f->data, f->linesize, 0, h, dst, ds);
        return out;
    }
    if (ret != 0) return {};
    if (f->format == AV_PIX_FMT_YUVJ420P || f->format == AV_PIX_FMT_YUVJ422P ||
        f->color_range == AVCOL_RANGE_JPEG)
        JpegRangeToStudio(out);
    return out;
}

YuvImage PictureOfJpeg(const uint8_t* data, size_t size) {
    int w = 0, h = 0;
    if (libyuv::MJPGSize(data, size, &w, &h) != 0 || w <= 0 || h <= 0) return {};
    YuvImage out(w, h);
    uint8_t* dst[3] = {out.MutablePlane(0), out.MutablePlane(1), out.MutablePlane(2)};
    if (libyuv::MJPGToI420(data, size, dst[0], out.Stride(0), dst[1], out.Stride(1), dst[2], out.Stride(2), w, h,
                           w, h) != 0)
        return {};
    JpegRangeToStudio(out);
    return out;
}

}  // namespace component
