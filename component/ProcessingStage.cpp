#include "ProcessingStage.h"

namespace component {

ProcessingStage::ProcessingStage() : m_settings(std::make_shared<OverlaySettings>()) {}

void ProcessingStage::SetOverlaySettings(const OverlaySettings& settings) {
    auto next = std::make_shared<const OverlaySettings>(settings);
    std::lock_guard lock(m_mutex);
    m_settings = std::move(next);
}

std::shared_ptr<const OverlaySettings> ProcessingStage::settings() const {
    std::lock_guard lock(m_mutex);
    return m_settings;
}

void ProcessingStage::Apply(QImage& frame, int64_t timeUs) const {
    // One snapshot per picture: a change made meanwhile never tears a frame.
    const std::shared_ptr<const OverlaySettings> s = settings();
    // Effects and overlays are drawn here from *s onto `frame`; none are drawn yet.
    (void)s;
    (void)frame;
    (void)timeUs;
}

}  // namespace component
