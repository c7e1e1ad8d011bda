#include "component/media/YuvImage.h"

#include <libyuv/convert.h>
#include <libyuv/convert_argb.h>
#include <libyuv/convert_from_argb.h>
#include <libyuv/planar_functions.h>
#include <libyuv/scale.h>

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace component {

namespace {

// Planes of pictures that have gone, kept for the next pictures of their size: thirty
// full-size pictures a second would otherwise be thirty large allocations, which scatter the
// heap and let the resident memory creep up over a long recording.
class PlaneStore {
public:
    static PlaneStore& Instance() {
        static PlaneStore* store = new PlaneStore;  // outlives every picture, even static ones
        return *store;
    }
    std::shared_ptr<uint8_t[]> Take(size_t bytes) {
        uint8_t* block = nullptr;
        {
            std::lock_guard lock(m_mutex);
            auto it = m_free.find(bytes);
            if (it != m_free.end() && !it->second.empty()) {
                block = it->second.back();
                it->second.pop_back();
                m_keptBytes -= bytes;
            }
        }
        if (!block) block = new uint8_t[bytes];
        return std::shared_ptr<uint8_t[]>(block, [this, bytes](uint8_t* b) { Give(b, bytes); });
    }

private:
    void Give(uint8_t* block, size_t bytes) {
        {
            std::lock_guard lock(m_mutex);
            if (m_keptBytes + bytes <= kMostKeptBytes) {
                m_free[bytes].push_back(block);
                m_keptBytes += bytes;
                return;
            }
        }
        delete[] block;
    }

    static constexpr size_t kMostKeptBytes = 32u << 20;
    std::mutex m_mutex;
    std::map<size_t, std::vector<uint8_t*>> m_free;
    size_t m_keptBytes = 0;
};

}  // namespace

YuvImage::YuvImage(int width, int height) { Allocate(width, height); }

void YuvImage::Allocate(int width, int height) {
    if (width <= 0 || height <= 0) return;
    m_width = width;
    m_height = height;
    const size_t luma = size_t(width) * size_t(height);
    const size_t chroma = size_t(ChromaWidth()) * size_t(ChromaHeight());
    // One block for the three planes, so that copying or converting the range is one pass.
    m_data = PlaneStore::Instance().Take(Bytes());
    m_plane[0] = m_data.get();
    m_plane[1] = m_plane[0] + luma;
    m_plane[2] = m_plane[1] + chroma;
}

YuvImage YuvImage::Black(int width, int height) {
    YuvImage black(width, height);
    if (black.IsNull()) return black;
    std::memset(black.m_plane[0], 16, size_t(width) * size_t(height));
    std::memset(black.m_plane[1], 128, 2 * size_t(black.ChromaWidth()) * size_t(black.ChromaHeight()));
    return black;
}

YuvImage YuvImage::FromImage(const QImage& image) {
    if (image.isNull()) return {};
    const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    YuvImage out(rgb.width(), rgb.height());
    libyuv::ARGBToI420(rgb.constBits(), int(rgb.bytesPerLine()), out.m_plane[0], out.Stride(0), out.m_plane[1],
                       out.Stride(1), out.m_plane[2], out.Stride(2), out.m_width, out.m_height);
    return out;
}

uint8_t* YuvImage::MutablePlane(int i) {
    if (m_data && !IsDetached()) {
        const std::shared_ptr<uint8_t[]> shared = m_data;
        Allocate(m_width, m_height);
        std::memcpy(m_data.get(), shared.get(), Bytes());
    }
    return m_plane[i];
}

QImage YuvImage::ToImage() const {
    if (IsNull()) return {};
    QImage out(m_width, m_height, QImage::Format_RGB32);
    libyuv::I420ToARGB(m_plane[0], Stride(0), m_plane[1], Stride(1), m_plane[2], Stride(2), out.bits(),
                       int(out.bytesPerLine()), m_width, m_height);
    return out;
}

QImage YuvImage::ToImage(QSize size) const {
    if (IsNull() || size.isEmpty()) return {};
    if (size == Size()) return ToImage();
    YuvImage small(size.width(), size.height());
    libyuv::I420Scale(m_plane[0], Stride(0), m_plane[1], Stride(1), m_plane[2], Stride(2), m_width, m_height,
                      small.m_plane[0], small.Stride(0), small.m_plane[1], small.Stride(1), small.m_plane[2],
                      small.Stride(2), small.m_width, small.m_height, libyuv::kFilterBox);
    return small.ToImage();
}

void JpegRangeToStudio(YuvImage& picture) {
    if (picture.IsNull()) return;
    // 0-255 to 16-235 and, around 128, to 16-240: whole-number arithmetic the compiler turns
    // into vector instructions (this runs over every pixel of every camera picture).
    uint8_t* y = picture.MutablePlane(0);
    const size_t luma = size_t(picture.Width()) * size_t(picture.Height());
    for (size_t i = 0; i < luma; ++i) y[i] = uint8_t(16 + ((y[i] * 220 + 128) >> 8));
    uint8_t* c = picture.MutablePlane(1);
    const size_t chroma = 2 * size_t(picture.ChromaWidth()) * size_t(picture.ChromaHeight());
    for (size_t i = 0; i < chroma; ++i) c[i] = uint8_t(16 + ((c[i] * 225) >> 8));
}

}  // namespace component
