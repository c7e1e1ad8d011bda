#include "component/pipeline/PreviewMailbox.h"

namespace component {

bool PreviewMailbox::Put(VideoFrame frame) {
    std::optional<VideoFrame> stale;  // released outside the lock
    std::lock_guard lock(m_mutex);
    const bool wasEmpty = !m_frame.has_value();
    if (!wasEmpty) {
        stale = std::move(m_frame);
        ++m_replaced;
    }
    m_frame = std::move(frame);
    return wasEmpty;
}

std::optional<VideoFrame> PreviewMailbox::Take() {
    std::lock_guard lock(m_mutex);
    std::optional<VideoFrame> out = std::move(m_frame);
    m_frame.reset();
    return out;
}

void PreviewMailbox::Clear() {
    std::optional<VideoFrame> stale;
    std::lock_guard lock(m_mutex);
    stale = std::move(m_frame);
    m_frame.reset();
}

}  // namespace component
