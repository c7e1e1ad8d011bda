// Paints the capture control's window: the newest preview picture scaled to fit, the
// recording indicator in its corner and the status lines over the middle. Only the preview
// passes through here; the recorded picture never does.
#pragma once

#include "component/media/MediaTypes.h"
#include "component/pipeline/PreviewIndicator.h"
#include "component/pipeline/PreviewMailbox.h"

#include <QPainter>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace component {

class PreviewPainter {
public:
    struct Scene {
        bool showPicture = false;  // false while stopped: the window is black
        IndicatorState indicator;
        QString status;  // empty: nothing over the picture
    };

    // Takes the newest picture from `mailbox`, if one waits, then paints `area`.
    void Paint(QPainter& p, QRect area, PreviewMailbox& mailbox, const Scene& scene);
    // Drops the picture held for repaints (the capture stopped).
    void Forget() {
        m_shown.reset();
        m_scaled = QImage();
    }
    // The newest picture there is at its own size, taken from `mailbox` if one waits; null
    // when none.
    QImage Latest(PreviewMailbox& mailbox);

    // Pictures painted, and the capture-to-paint delay of each.
    int64_t FramesPainted() const { return m_framesPainted; }
    const std::vector<int64_t>& LatenciesUs() const { return m_latenciesUs; }
    // Where the indicator and meter were last painted; empty when nothing was shown.
    QRect IndicatorRect() const { return m_indicatorRect; }

private:
    void TakeNewest(PreviewMailbox& mailbox);

    std::optional<VideoFrame> m_shown;
    // m_shown at the size it was last painted: the planes are scaled before they are turned
    // into RGB, and only when the picture or the size changed.
    QImage m_scaled;
    int64_t m_framesPainted = 0;
    QRect m_indicatorRect;
    std::vector<int64_t> m_latenciesUs;
};

}  // namespace component
