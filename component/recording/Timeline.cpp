#include "component/recording/Timeline.h"

#include "component/media/CaptureClock.h"


namespace component {

namespace {
constexpr int64_t kOpen = std::numeric_limits<int64_t>::max();
}

void Timeline::Begin(int64_t nowUs) {
    std::lock_guard lock(m_mutex);
    m_start = GridTimeUs(GridIndexAtOrAfter(nowUs, m_frameRate), m_frameRate);
}

int64_t Timeline::startUs() const {
    std::lock_guard lock(m_mutex);
    return m_start;
}

void Timeline::Pause(int64_t nowUs) {
    std::lock_guard lock(m_mutex);
    if (m_start == kOpen || (!m_pauses.empty() && m_pauses.back().end == kOpen)) return;
    m_pauses.push_back({std::max(nowUs, m_start), kOpen});
}

void Timeline::Resume(int64_t nowUs) {
    std::lock_guard lock(m_mutex);
    if (m_pauses.empty() || m_pauses.back().end != kOpen) return;
    PausedSpan& p = m_pauses.back();
    const int64_t length = std::max<int64_t>(0, nowUs - p.begin);
    const int64_t frames = GridIndexAtOrAfter(length, m_frameRate);
    p.end = p.begin + GridTimeUs(frames, m_frameRate);
}

bool Timeline::IsPaused() const {
    std::lock_guard lock(m_mutex);
    return !m_pauses.empty() && m_pauses.back().end == kOpen;
}

int64_t Timeline::PausedBefore(int64_t timeUs) const {
    int64_t total = 0;
    for (const PausedSpan& p : m_pauses)
        if (p.end <= timeUs) total += p.end - p.begin;
    return total;
}

std::optional<int64_t> Timeline::Map(int64_t timeUs) const {
    std::lock_guard lock(m_mutex);
    if (timeUs < m_start) return std::nullopt;
    for (const PausedSpan& p : m_pauses)
        if (timeUs >= p.begin && timeUs < p.end) return std::nullopt;
    return timeUs - m_start - PausedBefore(timeUs);
}

std::optional<int64_t> Timeline::NextMapped(int64_t timeUs) const {
    std::lock_guard lock(m_mutex);
    if (m_start == kOpen) return std::nullopt;
    if (timeUs < m_start) timeUs = m_start;
    for (const PausedSpan& p : m_pauses)
        if (timeUs >= p.begin && timeUs < p.end) {
            if (p.end == kOpen) return std::nullopt;
            timeUs = p.end;
        }
    return timeUs;
}

int64_t Timeline::Position(int64_t timeUs) const {
    std::lock_guard lock(m_mutex);
    if (m_start == kOpen || timeUs < m_start) return 0;
    for (const PausedSpan& p : m_pauses)
        if (timeUs >= p.begin && timeUs < p.end) timeUs = p.begin;
    return timeUs - m_start - PausedBefore(timeUs);
}

int64_t Timeline::pausedTotalUs() const {
    std::lock_guard lock(m_mutex);
    return PausedBefore(kOpen - 1);
}

}  // namespace component
