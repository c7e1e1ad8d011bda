// The one monotonic clock that stamps every video frame and audio block.
#pragma once

#include <chrono>
#include <cstdint>

namespace component {

// Microseconds since the clock's fixed origin; never goes back.
int64_t ClockNowUs();

std::chrono::steady_clock::time_point ClockTimePoint(int64_t us);

// Time of frame (or sample) `index` on a grid of `rate` per second from the clock origin.
inline int64_t GridTimeUs(int64_t index, int64_t rate) { return index * 1000000 / rate; }
// The first grid index whose time is at or after `us`.
int64_t GridIndexAtOrAfter(int64_t us, int64_t rate);

}  // namespace component
