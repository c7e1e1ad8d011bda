// A picture as 8-bit 4:2:0 planes in studio range (BT.601), the form the H.264 encoder takes.
// Pictures travel the pipeline like this from the source to the encoder, so a full-size
// picture is never turned into RGB: the overlays are blended onto the planes, and the preview
// is turned into RGB at the size it is shown. Copies share the planes, as QImage copies do, until one is written.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <memory>

namespace component {

class YuvImage {
public:
    YuvImage() = default;
    // Planes of undefined content.
    YuvImage(int width, int height);
    static YuvImage Black(int width, int height);
    // Any QImage, converted; a null image gives a null picture.
    static YuvImage FromImage(const QImage& image);

    bool IsNull() const { return !m_data; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    QSize Size() const { return {m_width, m_height}; }
    // Plane 0 is luma, 1 and 2 the chroma planes (half size, rounded up).
    const uint8_t* Plane(int i) const { return m_plane[i]; }
    int Stride(int i) const { return i == 0 ? m_width : ChromaWidth(); }
    int ChromaWidth() const { return (m_width + 1) / 2; }
    int ChromaHeight() const { return (m_height + 1) / 2; }
    // The three planes lie one after the other in one block of this size.
    size_t Bytes() const { return size_t(m_width) * size_t(m_height) + 2 * size_t(ChromaWidth()) * size_t(ChromaHeight()); }
    // The writable planes: a picture that shares its planes with a copy gets its own first.
    uint8_t* MutablePlane(int i);
    // Whether no copy shares the planes (a pool may then write into them again).
    bool IsDetached() const { return m_data.use_count() == 1; }
    // Holds the planes for as long as the returned handle lives (an encoder's reference).
    std::shared_ptr<const uint8_t[]> Share() const { return m_data; }

    // The whole picture as RGB32.
    QImage ToImage() const;
    // Scaled to `size` (box filter) first: the preview, at the cost of its own size.
    QImage ToImage(QSize size) const;

private:
    void Allocate(int width, int height);

    int m_width = 0;
    int m_height = 0;
    std::shared_ptr<uint8_t[]> m_data;
    uint8_t* m_plane[3] = {};
};

// Full-range ("JPEG") values to studio range, in place: what a Motion-JPEG camera sends
// becomes what the encoder and the conversions here take.
void JpegRangeToStudio(YuvImage& picture);

}  // namespace component
