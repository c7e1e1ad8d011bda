#include "component/overlays/OverlayRenderer.h"

#include "component/overlays/DateTimeFormat.h"
#include "component/overlays/ImageLayer.h"
#include "component/overlays/TextLayer.h"

namespace component {

template <typename Key, typename Render>
const PlanarLayer& OverlayRenderer::Refresh(Cached<Key>& cache, const Key& key, QSize frame,
                                             Render&& render) {
    if (!cache.key || !(*cache.key == key) || cache.frame != frame) {
        cache.layer = PlanarLayer(render());
        cache.key = key;
        cache.frame = frame;
        ++m_renders;
    }
    return cache.layer;
}

void OverlayRenderer::Composite(YuvImage& frame, const OverlaySettings& s, const QDateTime& now) {
    const QSize size = frame.Size();
    const PlanarLayer* layers[3] = {};
    if (s.dateTime.show) {
        StampKey key{s.dateTime, FormatDateTime(now, s.dateTime.formatIndex)};
        layers[0] = &Refresh(m_stamp, key, size,
                             [&] { return RenderStampLayer(key.settings, key.text, size); });
    }
    if (s.activeOverlay >= 0) {
        const auto text = s.texts.find(int16_t(s.activeOverlay));
        if (text != s.texts.end() && text->second.show)
            layers[1] = &Refresh(m_text, text->second, size,
                                 [&] { return RenderTextLayer(text->second, size); });
        const auto image = s.images.find(int16_t(s.activeOverlay));
        if (image != s.images.end() && image->second.show)
            layers[2] = &Refresh(m_image, image->second, size,
                                 [&] { return RenderImageLayer(image->second, size); });
    }
    for (const PlanarLayer* layer : layers)
        if (layer) layer->BlendOnto(frame);
}

}  // namespace component
