#include "component/overlays/PlanarLayer.h"

#include <algorithm>

namespace component {

namespace {
// BT.601 studio range, as the encoder's planes hold it.
uint8_t LumaOf(int r, int g, int b) { return uint8_t(16 + ((66 * r + 129 * g + 25 * b + 128) >> 8)); }
uint8_t UOf(int r, int g, int b) { return uint8_t(128 + ((-38 * r - 74 * g + 112 * b + 128) >> 8)); }
uint8_t VOf(int r, int g, int b) { return uint8_t(128 + ((112 * r - 94 * g - 18 * b + 128) >> 8)); }

uint8_t Mix(uint8_t under, uint8_t over, int alpha) {
    return uint8_t((under * (255 - alpha) + over * alpha + 127) / 255);
}
}  // namespace

PlanarLayer::PlanarLayer(const OverlayLayer& layer) {
    if (layer.IsEmpty()) return;
    const QImage& img = layer.image;  // premultiplied
    // Widened to whole 2x2 blocks of the frame.
    m_at = QPoint(layer.at.x() & ~1, layer.at.y() & ~1);
    const int dx = layer.at.x() - m_at.x(), dy = layer.at.y() - m_at.y();
    m_width = (img.width() + dx + 1) & ~1;
    m_height = (img.height() + dy + 1) & ~1;
    const int cw = m_width / 2, ch = m_height / 2;
    m_luma.assign(size_t(m_width) * size_t(m_height), 0);
    m_alpha.assign(m_luma.size(), 0);
    m_u.assign(size_t(cw) * size_t(ch), 128);
    m_v.assign(m_u.size(), 128);
    m_chromaAlpha.assign(m_u.size(), 0);
    const QImage argb = img.format() == QImage::Format_ARGB32_Premultiplied
                            ? img
                            : img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int iw = argb.width(), ih = argb.height();
    auto pixel = [&](int x, int y) -> QRgb {  // in this layer's widened box
        x -= dx;
        y -= dy;
        return x >= 0 && y >= 0 && x < iw && y < ih ? reinterpret_cast<const QRgb*>(argb.constScanLine(y))[x] : 0;
    };
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            const QRgb p = qUnpremultiply(pixel(x, y));
            const size_t i = size_t(y) * size_t(m_width) + size_t(x);
            m_alpha[i] = uint8_t(qAlpha(p));
            m_luma[i] = LumaOf(qRed(p), qGreen(p), qBlue(p));
        }
    // A block's colour is that of what covers it, weighed by coverage: the clear pixels of an
    // edge block do not pale the colour of the rest.
    for (int by = 0; by < ch; ++by)
        for (int bx = 0; bx < cw; ++bx) {
            int r = 0, g = 0, b = 0, a = 0;
            for (int k = 0; k < 4; ++k) {
                const QRgb p = pixel(2 * bx + (k & 1), 2 * by + (k >> 1));
                r += qRed(p), g += qGreen(p), b += qBlue(p), a += qAlpha(p);
            }
            if (a == 0) continue;
            const size_t i = size_t(by) * size_t(cw) + size_t(bx);
            r = std::min(255, r * 255 / a), g = std::min(255, g * 255 / a), b = std::min(255, b * 255 / a);
            m_u[i] = UOf(r, g, b);
            m_v[i] = VOf(r, g, b);
            m_chromaAlpha[i] = uint8_t((a + 2) / 4);
        }
}

void PlanarLayer::BlendOnto(YuvImage& frame, QPoint offset) const {
    const QPoint at = m_at + QPoint(offset.x() & ~1, offset.y() & ~1);
    if (IsEmpty() || frame.IsNull() || at.x() < 0 || at.y() < 0) return;
    uint8_t* planes[3] = {frame.MutablePlane(0), frame.MutablePlane(1), frame.MutablePlane(2)};
    const int w = std::min(m_width, frame.Width() - at.x()), h = std::min(m_height, frame.Height() - at.y());
    for (int y = 0; y < h; ++y) {
        uint8_t* row = planes[0] + size_t(at.y() + y) * size_t(frame.Stride(0)) + size_t(at.x());
        const size_t from = size_t(y) * size_t(m_width);
        for (int x = 0; x < w; ++x)
            if (const int a = m_alpha[from + size_t(x)]) row[x] = Mix(row[x], m_luma[from + size_t(x)], a);
    }
    const int cw = std::min(m_width / 2, frame.ChromaWidth() - at.x() / 2);
    const int ch = std::min(m_height / 2, frame.ChromaHeight() - at.y() / 2);
    for (int c = 1; c <= 2; ++c) {
        const std::vector<uint8_t>& colour = c == 1 ? m_u : m_v;
        for (int y = 0; y < ch; ++y) {
            uint8_t* row = planes[c] + size_t(at.y() / 2 + y) * size_t(frame.Stride(c)) + size_t(at.x() / 2);
            const size_t from = size_t(y) * size_t(m_width / 2);
            for (int x = 0; x < cw; ++x)
                if (const int a = m_chromaAlpha[from + size_t(x)]) row[x] = Mix(row[x], colour[from + size_t(x)], a);
        }
    }
}

}  // namespace component
