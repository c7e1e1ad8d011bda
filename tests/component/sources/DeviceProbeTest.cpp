#include "component/media/CaptureClock.h"
#include "component/sources/AudioDeviceProbe.h"
#include "component/sources/DeviceAudioSource.h"
#include "component/sources/DeviceCatalog.h"
#include "component/sources/DeviceInput.h"
#include "component/sources/V4l2Probe.h"

#include <QElapsedTimer>

#include <cmath>
#include <functional>

#include <gtest/gtest.h>
#include <linux/videodev2.h>

extern "C" {
#include <libavutil/time.h>
}

using namespace component;

namespace {

TEST(V4l2Probe, NamesPixelFormatsAndKnowsWhichFfmpegReads) {
    EXPECT_EQ(FourccText(V4L2_PIX_FMT_YUYV), "YUYV");
    EXPECT_EQ(FourccText(V4L2_PIX_FMT_MJPEG), "MJPG");
    EXPECT_EQ(FourccText(v4l2_fourcc('Y', '1', '6', ' ')), "Y16");
    EXPECT_EQ(FfmpegInputFormat(V4L2_PIX_FMT_YUYV), "yuyv422");
    EXPECT_EQ(FfmpegInputFormat(V4L2_PIX_FMT_MJPEG), "mjpeg");
    EXPECT_EQ(FfmpegInputFormat(v4l2_fourcc('Z', 'Z', 'Z', 'Z')), "");
    EXPECT_EQ(FormatName(640, 480, "YUYV", 30), "640x480 YUYV 30 fps");
}

TEST(V4l2Probe, PicksCommonSizesInsideAStepwiseRange) {
    using Sizes = std::vector<std::pair<int, int>>;
    EXPECT_EQ(SizesInRange(320, 640, 16, 240, 480, 16), (Sizes{{640, 480}, {352, 288}, {320, 240}}));
    EXPECT_EQ(SizesInRange(320, 640, 320, 240, 480, 240), (Sizes{{640, 480}, {320, 240}}));
    EXPECT_EQ(SizesInRange(160, 1920, 1, 120, 1080, 1).size(), 9u);
    EXPECT_EQ(SizesInRange(100, 150, 1, 100, 150, 1), (Sizes{{150, 150}}));  // none common
}

TEST(AudioDeviceProbe, ParsesTheCaptureDevicesOfProcAsoundPcm) {
    const std::string pcm =
        "00-00: ALC892 Analog : ALC892 Analog : playback 1 : capture 1\n"
        "00-01: ALC892 Digital : ALC892 Digital : playback 1\n"
        "01-00: USB Audio : USB Audio : capture 1\n"
        "garbage line\n";
    const auto list = ParseAlsaCapturePcms(pcm);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].card, 0);
    EXPECT_EQ(list[0].device, 0);
    EXPECT_EQ(list[0].name, "ALC892 Analog");
    EXPECT_EQ(list[1].card, 1);
    EXPECT_EQ(list[1].name, "USB Audio");
    EXPECT_TRUE(ParseAlsaCapturePcms("").empty());
}

TEST(AudioDeviceProbe, NamesServerSourcesByDescriptionWithMonitorsAfterInputs) {
    struct Row {
        const char* what;
        std::vector<PulseSource> sources;
        std::vector<std::string> names;
        std::vector<std::string> ids;
    } rows[] = {
        {"monitor listed first by the server, the default input first",
         {{"out.monitor", "Monitor of Null Output", false},
          {"mic", "Built-in Microphone", false},
          {"sine_input", "Sine source at 440 Hz", true}},
         {"Sine source at 440 Hz", "Built-in Microphone", "Monitor of Null Output"},
         {"sine_input", "mic", "out.monitor"}},
        {"a default monitor stays after the inputs",
         {{"out.monitor", "Monitor of Null Output", true}, {"mic", "Built-in Microphone", false}},
         {"Built-in Microphone", "Monitor of Null Output"},
         {"mic", "out.monitor"}},
        {"one description twice: the server's names tell them apart",
         {{"usb-1", "USB Headset", false}, {"usb-2", "USB Headset", false}, {"raw", "", false}},
         {"USB Headset (usb-1)", "USB Headset (usb-2)", "raw"},
         {"usb-1", "usb-2", "raw"}},
    };
    for (const Row& row : rows) {
        const auto devices = PulseDevices(row.sources);
        std::vector<std::string> names, ids;
        for (const AudioDevice& d : devices) {
            names.push_back(d.name);
            ids.push_back(d.source);
            EXPECT_EQ(d.kind, AudioKind::Pulse);
        }
        EXPECT_EQ(names, row.names) << row.what;
        EXPECT_EQ(ids, row.ids) << row.what;
    }
}

TEST(DeviceTimeToClock, TakesWallAndMonotonicStampsAndReplacesImplausibleOnes) {
    constexpr int64_t kAgoUs = 40000;
    struct Row {
        const char* what;
        int64_t pts;
        int64_t expectedAgoUs;
    } rows[] = {
        {"wall clock (sound devices)", av_gettime() - kAgoUs, kAgoUs},
        {"monotonic clock (V4L2 drivers)", av_gettime_relative() - kAgoUs, kAgoUs},
        {"neither", 12345, 0},
        {"none", AV_NOPTS_VALUE, 0},
    };
    for (const Row& row : rows) {
        const int64_t before = ClockNowUs();
        const int64_t t = DeviceTimeToClock(row.pts, AVRational{1, 1000000});
        const int64_t after = ClockNowUs();
        EXPECT_GE(t, before - row.expectedAgoUs - 2000) << row.what;
        EXPECT_LE(t, after - row.expectedAgoUs + 2000) << row.what;
    }
}

TEST(SampleClock, PlacesBlocksAtTheirCaptureTimeHoweverTheyArrive) {
    constexpr int kRate = 48000;
    constexpr int kBlock = 960;  // 20 ms
    constexpr int64_t kLossAtUs = 20000000, kLostUs = 100000, kWindowUs = 5500000;
    using Arrival = std::function<int64_t(int64_t capturedUs, int64_t block)>;
    struct Row {
        const char* what;
        double ppm;  // how much faster the device's clock runs than ours
        bool loses;  // 100 ms of sound lost at 20 s
        double settledS;
        Arrival arrival;
    } rows[] = {
        {"steady, 0 to 8 ms late", 0, false, 1,
         [](int64_t c, int64_t k) { return c + (k * 7919 % 9) * 1000; }},
        {"bursts of two seconds", 0, false, 2.1,
         [](int64_t c, int64_t) { return ((c - 1) / 2000000 + 1) * 2000000 + 500; }},
        {"1.5 s handed over at the start", 0, false, 1.6,
         [](int64_t c, int64_t) { return std::max<int64_t>(c, 1500000) + 300; }},
        {"a clock 100 ppm fast", 100, false, 1, [](int64_t c, int64_t) { return c + 200; }},
        {"a clock 100 ppm slow", -100, false, 1, [](int64_t c, int64_t) { return c + 200; }},
        {"100 ms lost", 0, true, 1, [](int64_t c, int64_t) { return c + 200; }},
    };
    for (const Row& row : rows) {
        SampleClock clock;
        const double trueRate = kRate * (1 + row.ppm * 1e-6);
        auto captured = [&](int64_t samples) {
            const auto us = int64_t(std::llround(double(samples) * 1e6 / trueRate));
            return us + (row.loses && us >= kLossAtUs ? kLostUs : 0);
        };
        double worstUs = 0;
        for (int64_t k = 0; k < 60 * kRate / kBlock; ++k) {
            const int64_t start = captured(k * kBlock);
            const int64_t stamp = clock.Stamp(row.arrival(captured((k + 1) * kBlock), k), kBlock, kRate);
            const bool settling = start < row.settledS * 1e6 ||
                                  (row.loses && start >= kLossAtUs && start < kLossAtUs + kWindowUs);
            if (!settling) worstUs = std::max(worstUs, std::fabs(double(stamp - start)));
        }
        EXPECT_LE(worstUs, 1500) << row.what;
    }
}

TEST(DeviceCatalog, ProbingThisMachineIsQuickAndEndsWithTheTestSources) {
    QElapsedTimer timer;
    timer.start();
    const DeviceCatalog c = DeviceCatalog::Probe();
    EXPECT_LT(timer.elapsed(), 5000);
    ASSERT_FALSE(c.video.empty());
    ASSERT_FALSE(c.audio.empty());
    EXPECT_EQ(c.audio.back().name, "Test Tone");
    bool pattern = false;
    for (const VideoDevice& d : c.video) {
        pattern = pattern || d.name == "Test Pattern";
        EXPECT_FALSE(d.formats.empty()) << d.name;
        EXPECT_FALSE(d.inputs.empty()) << d.name;
    }
    EXPECT_TRUE(pattern);
    const bool screenLast = c.video.back().kind == VideoKind::Screen;
    EXPECT_EQ(c.video[c.video.size() - (screenLast ? 2 : 1)].name, "Test Pattern");
    EXPECT_EQ(DeviceCatalog::TestPatternDevice().formats.front().name, "640x480 RGB32 30 fps");
}

}  // namespace
