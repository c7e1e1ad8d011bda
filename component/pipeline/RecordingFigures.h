// The figures a recording user watches beside "REC": how big the file is, the bitrate it
// grows at, the pictures the encoder had to drop, and how long the disk lasts at that rate.
#pragma once

#include "component/recording/RecordingWorker.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>

namespace component {

struct RecordingFigures {
    bool hasFile = false;  // a stream without a local copy has only its bitrate
    int64_t fileBytes = 0;
    double bitsPerSecond = 0;  // over the last ten seconds or so; 0 until there is a second
    int64_t dropped = 0;
    std::optional<int64_t> freeBytes;  // on the file's disk
    std::optional<double> secondsLeft;  // until that is full, at this bitrate

    // Under five minutes of disk left.
    bool Warning() const { return secondsLeft && *secondsLeft < 5 * 60; }
};

class FiguresTracker {
public:
    // A new recording into `path` (empty for none); forgets the last one.
    void Begin(const std::string& path);
    // The figures at `nowUs` from the recording's stats. The disk is asked at most once a
    // second.
    RecordingFigures Update(int64_t nowUs, const RecordingStats& stats);

private:
    std::string m_path;
    std::deque<std::pair<int64_t, int64_t>> m_samples;  // (time, file bytes), a second apart
    std::optional<int64_t> m_freeBytes;
    int64_t m_freeAskedUs = 0;
};

}  // namespace component
