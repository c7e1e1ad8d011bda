// The preview's sound meter: peak and RMS of the last 50 ms in dBFS, and the clip mark.
#include "component/pipeline/SoundLevelMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

using component::AudioBlock;
using component::SoundLevelMeter;

namespace {

constexpr int kRate = 48000;

// `ms` of sound at `timeUs`, every channel the same wave.
AudioBlock Block(const std::function<double(int)>& wave, int ms, int channels = 2,
                 int64_t timeUs = 0) {
    AudioBlock b;
    b.sampleRate = kRate;
    b.channels = channels;
    b.timeUs = timeUs;
    const int frames = kRate * ms / 1000;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            b.samples.push_back(int16_t(std::clamp(std::lround(wave(i) * 32768.0), -32768L, 32767L)));
    return b;
}

std::function<double(int)> Sine(double amplitude, double hz = 1000) {
    return [=](int i) { return amplitude * std::sin(2 * std::numbers::pi * hz * i / kRate); };
}
const std::function<double(int)> kSilence = [](int) { return 0.0; };

}  // namespace

TEST(SoundLevelMeter, ReadsPeakAndRmsInDbfs) {
    struct Row {
        const char* what;
        std::function<double(int)> wave;
        int channels;
        double peakDb, rmsDb;
        bool clipped;
    } rows[] = {
        {"half-scale sine", Sine(0.5), 2, -6.02, -9.03, false},
        {"quarter-scale sine, mono", Sine(0.25, 440), 1, -12.04, -15.05, false},
        {"full-scale square", [](int i) { return (i / 24) % 2 ? 1.0 : -1.0; }, 2, 0.0, 0.0, true},
        {"silence", kSilence, 2, SoundLevelMeter::kFloorDb, SoundLevelMeter::kFloorDb, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SoundLevelMeter meter;
        EXPECT_FALSE(meter.Read(0).active);
        meter.Add(Block(row.wave, 200, row.channels));
        const SoundLevelMeter::Reading r = meter.Read(200000);
        EXPECT_TRUE(r.active);
        EXPECT_NEAR(r.peakDb, row.peakDb, 0.2);
        EXPECT_NEAR(r.rmsDb, row.rmsDb, 0.2);
        EXPECT_EQ(r.clipped, row.clipped);
    }
}

TEST(SoundLevelMeter, OnlyTheLastFiftyMillisecondsCountAndAClipIsHeldForASecond) {
    SoundLevelMeter meter;
    meter.Add(Block([](int) { return 1.0; }, 100, 2, 0));  // clipped, ends at 100 ms
    meter.Add(Block(kSilence, 30, 2, 100000));
    EXPECT_NEAR(meter.Read(130000).peakDb, 0.0, 0.01);  // 20 ms of the loud block still inside
    meter.Add(Block(Sine(0.5), 50, 2, 130000));
    const SoundLevelMeter::Reading r = meter.Read(180000);
    EXPECT_NEAR(r.peakDb, -6.02, 0.2);  // the loud block has left the window
    EXPECT_TRUE(r.clipped);             // but its clip mark is still lit
    EXPECT_FALSE(meter.Read(100000 + SoundLevelMeter::kClipHoldUs + 1).clipped);
    meter.Reset();
    EXPECT_FALSE(meter.Read(180000).active);
}
