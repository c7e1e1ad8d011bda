// The level of the sound being captured, for the preview's meter: peak and RMS of the most
// recent 50 ms in dBFS, and whether a sample reached full scale lately. Blocks arrive on the
// audio thread; the window reads on the GUI thread.
#pragma once

#include "component/media/MediaTypes.h"

#include <cstdint>
#include <deque>
#include <mutex>

namespace component {

class SoundLevelMeter {
public:
    static constexpr int64_t kWindowUs = 50000;
    // A clipped sample keeps the mark lit this long, so that a user can see it at all.
    static constexpr int64_t kClipHoldUs = 1000000;
    // Silence reads as this instead of minus infinity.
    static constexpr double kFloorDb = -96.0;

    struct Reading {
        bool active = false;  // sound has arrived since the last reset
        double peakDb = kFloorDb;
        double rmsDb = kFloorDb;
        bool clipped = false;
    };

    void Add(const AudioBlock& block);
    // The level at capture-clock time `nowUs` (for the clip mark's hold).
    Reading Read(int64_t nowUs) const;
    void Reset();

private:
    struct FrameLevel {
        float peak;    // largest magnitude over the channels, full scale = 1
        float square;  // mean square over the channels
    };
    mutable std::mutex m_mutex;
    std::deque<FrameLevel> m_frames;  // the most recent window, oldest first
    bool m_active = false;
    int64_t m_lastClipUs = 0;
    bool m_everClipped = false;
};

}  // namespace component
