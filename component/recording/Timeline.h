// A recording's time line on the capture clock: where it starts and which stretches were
// paused. Maps capture times to recording times with the paused stretches left out.
// Thread-safe: the GUI thread pauses and resumes, the encoding thread maps.
#pragma once

#include <cstdint>
#include <limits>
#include <mutex>
#include <optional>
#include <vector>

namespace component {

class Timeline {
public:
    explicit Timeline(int frameRate) : m_frameRate(frameRate) {}
    // Starts at `nowUs` moved forward onto the frame grid of `frameRate`, so that sources on
    // the same clock land exactly on output frames. Nothing maps before this is called.
    void Begin(int64_t nowUs);

    void Pause(int64_t nowUs);
    // Every pause is lengthened to whole frames: recording times stay on the grid and never
    // go back.
    void Resume(int64_t nowUs);
    bool IsPaused() const;

    int64_t startUs() const;
    // Recording time of a capture time; nothing for times before the start or inside a pause.
    std::optional<int64_t> Map(int64_t timeUs) const;
    // The first capture time from `timeUs` on that maps: the start, or the end of the pause
    // `timeUs` falls in; nothing while that pause lasts.
    std::optional<int64_t> NextMapped(int64_t timeUs) const;
    // Recording time reached at `timeUs`; a time inside a pause gives the pause's start.
    int64_t Position(int64_t timeUs) const;
    int64_t pausedTotalUs() const;

private:
    struct PausedSpan {
        int64_t begin;
        int64_t end;  // INT64_MAX while still paused
    };
    int64_t PausedBefore(int64_t timeUs) const;

    mutable std::mutex m_mutex;
    int64_t m_start = std::numeric_limits<int64_t>::max();
    const int m_frameRate;
    std::vector<PausedSpan> m_pauses;
};

}  // namespace component
