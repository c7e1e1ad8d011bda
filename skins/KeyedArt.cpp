#include "KeyedArt.h"

#include "SkinTheme.h"

QImage KeyedArt::Canvas(QSize size) {
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QRgb KeyedArt::AvoidKey(QRgb pixel) {
    return (pixel | 0xFF000000u) == kKeyColour ? (kKeyColour & 0xFFFEFFFEu) | 0x0100 : pixel;
}

QImage KeyedArt::FlattenOnto(const QImage& art, const QImage& under) {
    const QImage src = art.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage base = under.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(base.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int a = qAlpha(s[x]);
            if (a == 0) {
                o[x] = kKeyColour;
                continue;
            }
            if ((b[x] | 0xFF000000u) == kKeyColour) {  // outside the window: no blending
                o[x] = a < 128 ? kKeyColour : AvoidKey(qUnpremultiply(s[x]) | 0xFF000000u);
                continue;
            }
            auto over = [&](int sc, int bc) { return sc + (bc * (255 - a) + 127) / 255; };
            o[x] = AvoidKey(qRgb(over(qRed(s[x]), qRed(b[x])), over(qGreen(s[x]), qGreen(b[x])),
                                 over(qBlue(s[x]), qBlue(b[x]))));
        }
    }
    return out;
}

QImage KeyedArt::SnapToKey(const QImage& art) {
    const QImage src = art.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x)
            o[x] = qAlpha(s[x]) < 128 ? kKeyColour : AvoidKey(s[x] | 0xFF000000u);
    }
    return out;
}

QImage KeyedArt::CutKey(const QImage& picture) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] | 0xFF000000u) == kKeyColour) line[x] = 0;
    }
    return out;
}
