// Keeps the overlays as rendered layers and blends them onto each picture. A layer is
// rendered again only when what it shows changes: its settings, the picture size, or, for
// the stamp, the text of the time.
#pragma once

#include "component/media/YuvImage.h"
#include "component/overlays/OverlayLayer.h"
#include "component/overlays/PlanarLayer.h"
#include "component/overlays/OverlaySettings.h"

#include <QDateTime>
#include <QImage>

#include <optional>

namespace component {

class OverlayRenderer {
public:
    // Blends the stamp, then the active text and image overlays, onto `frame`.
    void Composite(YuvImage& frame, const OverlaySettings& settings, const QDateTime& now);

    int Renders() const { return m_renders; }  // layers rendered so far

private:
    template <typename Key>
    struct Cached {
        std::optional<Key> key;
        QSize frame;
        PlanarLayer layer;
    };
    struct StampKey {
        DateTimeOverlay settings;
        QString text;
        bool operator==(const StampKey&) const = default;
    };

    template <typename Key, typename Render>
    const PlanarLayer& Refresh(Cached<Key>& cache, const Key& key, QSize frame, Render&& render);

    Cached<StampKey> m_stamp;
    Cached<TextOverlay> m_text;
    Cached<ImageOverlay> m_image;
    int m_renders = 0;
};

}  // namespace component
