// Where every captured picture is changed before anyone sees it: rotation and flipping,
// inversion, grey scale, fitting onto a frame of the recorded size and the overlays go here,
// so that the preview and the recording show the same picture from one compositing path and
// overlay positions are pixels of the recorded picture whatever the capture size.
#pragma once

#include "component/media/YuvImage.h"
#include "component/overlays/OverlayRenderer.h"
#include "component/overlays/OverlaySettings.h"

#include <QDateTime>
#include <QImage>

#include <memory>
#include <mutex>

namespace component {

class ProcessingStage {
public:
    ProcessingStage();
    // GUI thread; takes effect from the next picture on.
    void SetOverlaySettings(const OverlaySettings& settings);
    // GUI thread: the size of the recorded picture; empty keeps each picture's own size.
    void SetOutputSize(QSize size);
    QSize OutputSize() const;
    // Capture thread: applies the current settings to `frame` (captured at `timeUs`).
    void Apply(YuvImage& frame, int64_t timeUs) const;
    // The same for a picture held as RGB (tools and tests): it goes through the planes too.
    void Apply(QImage& frame, int64_t timeUs) const;
    std::shared_ptr<const OverlaySettings> Settings() const;

    // The local date and time at which a picture stamped `timeUs` was captured.
    QDateTime WallTime(int64_t timeUs) const;
    int LayerRenders() const;

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<const OverlaySettings> m_settings;
    QSize m_outputSize;
    // The capture clock never goes back; the wall clock is read against it once.
    int64_t m_wallMinusClockUs;
    mutable std::mutex m_renderMutex;
    mutable OverlayRenderer m_renderer;
};

}  // namespace component
