// The encoding stage fed with stamped pictures and sound, without waiting for real time: the
// constant frame rate, pauses and the three sync modes, read back from the file.
#include "MediaReadback.h"

#include "component/media/CaptureClock.h"
#include "component/recording/EncodeStage.h"
#include "component/recording/FileSink.h"
#include "component/sources/TestPattern.h"
#include "component/sources/TestTone.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace component;

namespace {

constexpr int64_t kS = 1000000;
constexpr int64_t kT0 = 1000 * kS;  // a whole second of the capture clock

struct Script {
    int sourceFps = 30;
    QSize sourceSize{160, 120};
    double seconds = 3.0;
    double audioStampShiftS = 0;  // device reports its blocks this much late
    double audioDrift = 0;        // device clock runs fast by this fraction
    std::function<bool(int64_t)> videoGap = [](int64_t) { return false; };
    std::function<void(Timeline&, int64_t)> atTick = [](Timeline&, int64_t) {};
};

class EncodeStageTest : public ::testing::Test {
protected:
    Readback Record(const Script& s, EncoderSettings settings, AudioSyncMode mode, int offsetMs,
                    EncodeCounts* counts = nullptr) {
        const std::string path = dir.filePath("stage.flv").toStdString();
        auto recorder = MediaRecorder::Open(settings, path, &FileSink::Create);
        EXPECT_TRUE(recorder) << recorder.Error();
        if (!recorder) return {};
        auto timeline = std::make_shared<Timeline>(settings.frameRate);
        timeline->Begin(kT0);
        EncodeStage stage(std::move(*recorder), timeline, mode, offsetMs);

        TestPattern pattern(s.sourceSize.width(), s.sourceSize.height());
        const int rate = TestTone::kSampleRate;
        const int block = rate / 100;
        int64_t frame = GridIndexAtOrAfter(kT0, s.sourceFps);
        int64_t sample = 0;  // device samples since the start
        const int64_t end = kT0 + int64_t(s.seconds * kS);
        for (int64_t now = kT0; now < end; now += 1000) {
            s.atTick(*timeline, now);
            while (GridTimeUs(frame, s.sourceFps) <= now) {
                const int64_t t = GridTimeUs(frame, s.sourceFps);
                if (!s.videoGap(t - kT0)) {
                    EXPECT_EQ(stage.PushVideo({pattern.Render(frame, s.sourceFps), t}), RecorderError::None);
                }
                ++frame;
            }
            // Real time of a device sample when its clock runs fast.
            auto realUs = [&](int64_t n) { return kT0 + int64_t(double(n) * kS / (rate * (1 + s.audioDrift))); };
            while (realUs(sample + block) <= now) {
                AudioBlock b;
                b.sampleRate = rate;
                b.channels = 2;
                b.samples.resize(size_t(block) * 2);
                for (int i = 0; i < block; ++i) {
                    // The content beeps on whole seconds of real time.
                    const int64_t realSample = (realUs(sample + i) * rate) / kS;
                    TestTone::Fill(realSample, rate, 2, &b.samples[size_t(i) * 2], 1);
                }
                b.timeUs = realUs(sample) + int64_t(s.audioStampShiftS * kS);
                EXPECT_EQ(stage.PushAudio(b), RecorderError::None);
                sample += block;
            }
        }
        EXPECT_EQ(stage.Finish(end), RecorderError::None);
        if (counts) *counts = stage.Counts();
        return ReadRecording(path);
    }

    static EncoderSettings Small(int fps = 30) {
        EncoderSettings e;
        e.width = 160;
        e.height = 120;
        e.frameRate = fps;
        e.videoBitrate = 300000;
        e.audioBitrate = 96000;
        e.channels = 2;
        e.sampleRate = 44100;
        return e;
    }

    QTemporaryDir dir;
};

TEST_F(EncodeStageTest, ConstantRateFromAFasterSourceKeepsFlashesOnBeeps) {
    EncodeCounts counts;
    const Readback rb = Record(Script{}, Small(25), AudioSyncMode::CaptureClock, 0, &counts);
    ASSERT_TRUE(rb.opened);
    EXPECT_EQ(rb.frames.size(), 75u);
    EXPECT_NEAR(rb.frameRate, 25, 0.01);
    EXPECT_EQ(counts.framesSkipped, 90 - 75);
    EXPECT_EQ(counts.framesRepeated, 0);
    const auto offsets = rb.AvOffsets();
    ASSERT_EQ(offsets.size(), 3u);
    for (double o : offsets) EXPECT_LT(std::fabs(o), 0.010) << o;
}

TEST_F(EncodeStageTest, PicturesOfAnotherShapeAreScaledToFitWithBars) {
    struct Row {
        QSize source;
        int outW, outH;
        QPoint bar, picture;  // a point on a bar, a point inside the picture
    };
    const Row rows[] = {
        {{160, 120}, 320, 180, {10, 90}, {160, 90}},   // 4:3 into 16:9: bars left and right
        {{320, 180}, 160, 120, {80, 6}, {80, 60}},     // 16:9 into 4:3: bars above and below
    };
    for (const Row& row : rows) {
        Script s;
        s.seconds = 0.5;
        s.sourceSize = row.source;
        EncoderSettings e = Small();
        e.width = row.outW;
        e.height = row.outH;
        const Readback rb = Record(s, e, AudioSyncMode::CaptureClock, 0);
        ASSERT_EQ(rb.width, row.outW);
        ASSERT_EQ(rb.height, row.outH);
        ASSERT_FALSE(rb.lastPicture.isNull());
        EXPECT_LT(rb.lastPicture.pixelColor(row.bar).value(), 8) << row.outW;
        EXPECT_GT(rb.lastPicture.pixelColor(row.picture).value(), 40) << row.outW;
    }
}

TEST_F(EncodeStageTest, GapsAreFilledWithTheLastPicture) {
    Script s;
    s.seconds = 2;
    s.videoGap = [](int64_t t) { return t >= 500000 && t < 700000; };
    EncodeCounts counts;
    const Readback rb = Record(s, Small(), AudioSyncMode::CaptureClock, 0, &counts);
    EXPECT_EQ(rb.frames.size(), 60u);
    EXPECT_EQ(counts.framesRepeated, 6);
    int repeats = 0;
    for (size_t i = 1; i < rb.frames.size(); ++i)
        if (rb.frames[i].counter == rb.frames[i - 1].counter) ++repeats;
    EXPECT_EQ(repeats, 6);
}

TEST_F(EncodeStageTest, PausedTimeIsLeftOut) {
    Script s;
    s.seconds = 3;
    s.atTick = [](Timeline& t, int64_t now) {
        if (now == kT0 + 1200000) t.Pause(now);
        if (now == kT0 + 1890000) t.Resume(now);  // 690 ms, made 700 ms: 21 frames
    };
    EncodeCounts counts;
    const Readback rb = Record(s, Small(), AudioSyncMode::CaptureClock, 0, &counts);
    ASSERT_EQ(rb.frames.size(), 90u - 21u);
    int jumps = 0;
    for (size_t i = 1; i < rb.frames.size(); ++i) {
        EXPECT_NEAR(rb.frames[i].time - rb.frames[i - 1].time, 1.0 / 30, 0.0015);
        const int64_t step = rb.frames[i].counter - rb.frames[i - 1].counter;
        if (step != 1) {
            EXPECT_EQ(step, 22);
            ++jumps;
        }
    }
    EXPECT_EQ(jumps, 1);
    // Sound and picture stay together across the pause.
    for (double o : rb.AvOffsets()) EXPECT_LT(std::fabs(o), 0.010) << o;
    EXPECT_NEAR(rb.audioSamples / 44100.0, rb.VideoSpan(), 0.05);
}

TEST_F(EncodeStageTest, SyncModesPlaceLateStampedSound) {
    Script late;
    late.audioStampShiftS = 0.060;
    struct Row {
        AudioSyncMode mode;
        int offsetMs;
        double expected;
    };
    const Row rows[] = {
        {AudioSyncMode::SampleCount, 500, 0.0},             // stamps and offset ignored
        {AudioSyncMode::CaptureClock, 500, 0.060},          // trusts the stamps; no offset
        {AudioSyncMode::CaptureClockWithOffset, -60, 0.0},  // the offset takes the delay back
        {AudioSyncMode::CaptureClockWithOffset, 40, 0.100},
    };
    for (const Row& row : rows) {
        const Readback rb = Record(late, Small(), row.mode, row.offsetMs);
        const auto offsets = rb.AvOffsets();
        ASSERT_GE(offsets.size(), 2u) << int(row.mode);
        for (double o : offsets) EXPECT_NEAR(o, row.expected, 0.010) << int(row.mode) << " " << row.offsetMs;
    }
}

TEST_F(EncodeStageTest, CaptureClockModeCorrectsDriftThatSampleCountingKeeps) {
    Script drifting;
    drifting.seconds = 5;
    drifting.audioDrift = 0.006;  // 6 ms per second
    const Readback counted = Record(drifting, Small(), AudioSyncMode::SampleCount, 0);
    const auto countedOffsets = counted.AvOffsets();
    ASSERT_GE(countedOffsets.size(), 4u);
    EXPECT_GT(std::fabs(countedOffsets.back() - countedOffsets.front()), 0.015);

    const Readback locked = Record(drifting, Small(), AudioSyncMode::CaptureClock, 0);
    const auto lockedOffsets = locked.AvOffsets();
    ASSERT_GE(lockedOffsets.size(), 4u);
    for (double o : lockedOffsets) EXPECT_LT(std::fabs(o), 0.010) << o;
}

}  // namespace
