// A rendered overlay in the planes' own terms: luma, colour differences and coverage, so it is
// blended onto the picture's 4:2:0 planes directly. Pixels the overlay leaves clear are not
// touched at all, and nothing of the picture goes through RGB.
#pragma once

#include "component/media/YuvImage.h"
#include "component/overlays/OverlayLayer.h"

#include <QPoint>
#include <cstdint>
#include <vector>

namespace component {

class PlanarLayer {
public:
    PlanarLayer() = default;
    // `layer` lies inside a frame (it is clipped to it when rendered).
    explicit PlanarLayer(const OverlayLayer& layer);
    bool IsEmpty() const { return m_width == 0; }
    // Blends the layer onto `frame`, moved by `offset` (even, as the colour blocks are).
    void BlendOnto(YuvImage& frame, QPoint offset = {}) const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    QPoint m_at;  // even, as the frame's colour blocks are
    int m_width = 0, m_height = 0;
    std::vector<uint8_t> m_luma, m_alpha;                   // per pixel
    std::vector<uint8_t> m_u, m_v, m_chromaAlpha;           // per 2x2 block
};

}  // namespace component
