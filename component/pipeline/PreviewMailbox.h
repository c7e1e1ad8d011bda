// Hands the newest processed picture to the preview window. Only the newest is kept: a
// slow paint drops stale pictures instead of queueing them.
#pragma once

#include "component/media/MediaTypes.h"

#include <atomic>
#include <mutex>
#include <optional>

namespace component {

class PreviewMailbox {
public:
    // Returns true when the window needs waking (nothing was waiting to be painted).
    bool Put(VideoFrame frame);
    // Takes the waiting picture, if any.
    std::optional<VideoFrame> Take();
    void Clear();
    int64_t replaced() const { return m_replaced.load(); }

private:
    std::mutex m_mutex;
    std::optional<VideoFrame> m_frame;
    std::atomic<int64_t> m_replaced{0};
};

}  // namespace component
