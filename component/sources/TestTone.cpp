#include "component/sources/TestTone.h"

#include <cmath>
#include <numbers>

namespace component {

void TestTone::Fill(int64_t index, int rate, int channels, int16_t* out, int frames) {
    for (int i = 0; i < frames; ++i) {
        const int64_t s = index + i;
        int16_t v = 0;
        if (IsBeep(s, rate)) {
            // Phase from the sample's place within its second keeps every beep identical.
            const double t = double(s % rate) / rate;
            v = int16_t(std::lround(kAmplitude * 32767.0 *
                                    std::sin(2 * std::numbers::pi * kFrequencyHz * t)));
        }
        for (int c = 0; c < channels; ++c) out[i * channels + c] = v;
    }
}

}  // namespace component
