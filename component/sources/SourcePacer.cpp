#include "component/sources/SourcePacer.h"

#include "component/media/CaptureClock.h"

namespace component {

bool SourcePacer::SleepUntil(int64_t clockUs) {
    std::unique_lock lock(m_mutex);
    m_cv.wait_until(lock, ClockTimePoint(clockUs), [this] { return m_stop; });
    return !m_stop;
}

bool SourcePacer::SleepFor(int64_t us) { return SleepUntil(ClockNowUs() + us); }

void SourcePacer::RequestStop() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_cv.notify_all();
}

void SourcePacer::Reset() {
    std::lock_guard lock(m_mutex);
    m_stop = false;
}

bool SourcePacer::StopRequested() const {
    std::lock_guard lock(m_mutex);
    return m_stop;
}

}  // namespace component
