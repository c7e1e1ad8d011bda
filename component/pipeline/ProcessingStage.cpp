#include "component/pipeline/ProcessingStage.h"

#include "component/media/Canvas.h"
#include "component/media/CaptureClock.h"
#include "component/overlays/VideoEffects.h"

#include <chrono>

namespace component {

ProcessingStage::ProcessingStage()
    : m_settings(std::make_shared<OverlaySettings>()),
      m_wallMinusClockUs(std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count() -
                         ClockNowUs()) {}

void ProcessingStage::SetOverlaySettings(const OverlaySettings& settings) {
    auto next = std::make_shared<const OverlaySettings>(settings);
    std::lock_guard lock(m_mutex);
    m_settings = std::move(next);
}

void ProcessingStage::SetOutputSize(QSize size) {
    std::lock_guard lock(m_mutex);
    m_outputSize = size;
}

QSize ProcessingStage::OutputSize() const {
    std::lock_guard lock(m_mutex);
    return m_outputSize;
}

std::shared_ptr<const OverlaySettings> ProcessingStage::Settings() const {
    std::lock_guard lock(m_mutex);
    return m_settings;
}

QDateTime ProcessingStage::WallTime(int64_t timeUs) const {
    return QDateTime::fromMSecsSinceEpoch((timeUs + m_wallMinusClockUs) / 1000);
}

int ProcessingStage::LayerRenders() const {
    std::lock_guard lock(m_renderMutex);
    return m_renderer.Renders();
}

void ProcessingStage::Apply(YuvImage& frame, int64_t timeUs) const {
    // One snapshot per picture: a change made meanwhile never tears a frame.
    const std::shared_ptr<const OverlaySettings> s = Settings();
    RotateFrame(frame, s->rotation);
    if (s->invert) InvertFrame(frame);
    if (s->greyScale) GreyFrame(frame);
    // Scaling before the overlays keeps them sharp and at the user's pixel positions.
    frame = FitOnCanvas(frame, OutputSize());
    std::lock_guard lock(m_renderMutex);
    m_renderer.Composite(frame, *s, WallTime(timeUs));
}

void ProcessingStage::Apply(QImage& frame, int64_t timeUs) const {
    YuvImage planes = YuvImage::FromImage(frame);
    Apply(planes, timeUs);
    frame = planes.ToImage();
}

}  // namespace component
