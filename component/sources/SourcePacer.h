// Waits of a capture thread that a stop request cuts short.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace component {

class SourcePacer {
public:
    // Returns false, at once, when a stop was requested.
    bool SleepUntil(int64_t clockUs);
    bool SleepFor(int64_t us);
    void RequestStop();
    void Reset();
    bool StopRequested() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_stop = false;
};

}  // namespace component
