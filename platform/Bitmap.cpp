#include "Bitmap.h"

#include <QFile>
#include <QImageReader>

#include <cstdlib>

namespace platform {

namespace {
int32_t ReadLe32(const uchar* p) {
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                uint32_t(p[3]) << 24);
}
int ReadLe16(const uchar* p) { return p[0] | p[1] << 8; }

// Reads the size a BMP header claims; false when the header is not a BMP header.
bool ClaimedSize(QFile& f, int64_t& w, int64_t& h) {
    uchar head[26];
    if (f.read(reinterpret_cast<char*>(head), sizeof head) != qint64(sizeof head)) return false;
    if (head[0] != 'B' || head[1] != 'M') return false;
    const int32_t infoSize = ReadLe32(head + 14);
    if (infoSize == 12) {  // OS/2 core header: 16-bit sides
        w = ReadLe16(head + 18);
        h = ReadLe16(head + 20);
    } else {
        w = ReadLe32(head + 18);
        h = std::llabs(int64_t(ReadLe32(head + 22)));  // negative height means top-down
    }
    return true;
}
}  // namespace

QImage LoadBitmap(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    int64_t w = 0, h = 0;
    if (!ClaimedSize(f, w, h) || w <= 0 || h <= 0 || w > kMaxBitmapSide || h > kMaxBitmapSide)
        return {};
    f.seek(0);
    QImageReader reader(&f, "bmp");
    QImage img = reader.read();
    if (img.isNull()) return {};
    return img.convertToFormat(QImage::Format_RGB32);
}

QImage KeyedImage(const QImage& image, Colour key) {
    if (image.isNull()) return {};
    if (!IsColour(key)) return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const uint32_t keyPixel = ToRgbPixel(key) & 0x00FFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0x00FFFFFF) == keyPixel) line[x] = 0;
    }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace platform
