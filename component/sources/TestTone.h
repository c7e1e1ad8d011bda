// The built-in test sound: a 1 kHz beep during the first 100 ms of every second of the
// capture clock, silence otherwise; the beeps start with the test picture's flashes.
#pragma once

#include <cstdint>

namespace component {

struct TestTone {
    static constexpr int kFrequencyHz = 1000;
    static constexpr int kBeepMs = 100;
    static constexpr double kAmplitude = 0.5;
    static constexpr int kSampleRate = 48000;
    static constexpr int kChannels = 2;

    static bool IsBeep(int64_t sampleIndex, int rate) {
        return sampleIndex % rate < int64_t(rate) * kBeepMs / 1000;
    }
    // Interleaved samples for sample indexes [index, index + frames) of the clock's grid.
    static void Fill(int64_t index, int rate, int channels, int16_t* out, int frames);
};

}  // namespace component
