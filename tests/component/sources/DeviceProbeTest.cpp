#include "component/sources/AudioDeviceProbe.h"
#include "component/sources/DeviceCatalog.h"
#include "component/sources/V4l2Probe.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>
#include <linux/videodev2.h>

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
