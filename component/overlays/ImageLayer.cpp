#include "component/overlays/ImageLayer.h"

#include "platform/Colour.h"

#include <QImageReader>

#include <algorithm>

namespace component {

OverlayLayer RenderImageLayer(const ImageOverlay& o, QSize frame) {
    if (o.path.empty()) return {};
    QImageReader reader(QString::fromStdString(o.path));
    const QSize size = reader.size();
    const QRect placed(QPoint(o.left, o.top), size);
    const QRect visible = placed.intersected(QRect(QPoint(0, 0), frame));
    if (!size.isValid() || visible.isEmpty()) return {};
    // Only the part on the picture is decoded where the format allows it.
    reader.setClipRect(visible.translated(-placed.topLeft()));
    QImage source = reader.read();
    if (source.isNull()) return {};
    source = source.convertToFormat(QImage::Format_ARGB32);
    if (source.size() != visible.size()) source = source.copy(QRect(QPoint(0, 0), visible.size()));

    const int alpha = std::clamp(int(o.alpha), 0, 255);
    const QRgb key = platform::ToQColor(o.transparentColour).rgb() & 0x00FFFFFF;
    OverlayLayer layer;
    layer.at = visible.topLeft();
    layer.image = QImage(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(layer.image.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = in[x];
            const int a = (p & 0x00FFFFFF) == key ? 0 : (qAlpha(p) * alpha + 127) / 255;
            out[x] = qPremultiply(qRgba(qRed(p), qGreen(p), qBlue(p), a));
        }
    }
    return layer;
}

}  // namespace component
