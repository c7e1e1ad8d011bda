// The component driven through dispatch only, in the main window's order: preview, then a
// recording of the test sources, read back and measured.
#include "HostedCaptureTest.h"
#include "MediaReadback.h"
#include "WaitFor.h"

#include <memory>

using component::CaptureControl;
using platform::CaptureOp;

namespace {

class RecordingEndToEnd : public HostedCaptureTest {
protected:
    RecordingEndToEnd() : HostedCaptureTest({400, 200}) {}
    bool WaitFrames(int64_t n) {
        return WaitFor([&] { return control->Stats().framesWritten >= n; }, 20000);
    }

};

TEST_F(RecordingEndToEnd, PreviewThenThreeSecondsOfTestSourcesInSyncMode1) {
    driver->SelectTestSources("320x240 RGB32 30 fps");
    ASSERT_GE(driver->selection.videoDevice, 0);
    ASSERT_GE(driver->selection.videoFormat, 0);
    ASSERT_GE(driver->selection.audioDevice, 0);
    driver->flv.frameRate = 30;

    ASSERT_EQ(driver->Preview(), 0);
    ASSERT_TRUE(WaitFor([&] { return control->FramesPainted() >= 3; }));
    // A 4:3 picture in a 2:1 window: kept in shape, black bars left and right.
    const QImage shot = host->grab().toImage();
    EXPECT_EQ(shot.pixelColor(4, 100), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(395, 100), QColor(Qt::black));
    EXPECT_NE(shot.pixelColor(200, 150), QColor(Qt::black));
    EXPECT_TRUE(control->StatusText().isEmpty());

    const std::string path = Path("three.flv");
    ASSERT_EQ(driver->Record(path), 0);
    ASSERT_TRUE(WaitFrames(90));
    EXPECT_EQ(driver->Stop(), 0);  // stop, and the preview comes back
    const auto stats = control->Stats();
    driver->StopCapture();

    const Readback rb = ReadRecording(path);
    ASSERT_TRUE(rb.opened) << rb.error;
    EXPECT_EQ(rb.videoCodec, "h264");
    EXPECT_EQ(rb.audioCodec, "aac");
    EXPECT_EQ(rb.width, 320);
    EXPECT_EQ(rb.height, 240);
    EXPECT_NEAR(rb.frameRate, 30.0, 0.01);
    EXPECT_EQ(rb.sampleRate, 44100);
    EXPECT_EQ(rb.channels, 2);
    EXPECT_EQ(rb.decodeErrors, 0);
    const double frame = 1.0 / 30;
    EXPECT_EQ(int64_t(rb.frames.size()), stats.framesWritten);
    EXPECT_NEAR(rb.VideoSpan(), 3.0, frame + 1e-3);
    // The file ends where the last frame ends. Everything sits later by the AAC encoder's
    // priming (1024 samples), which FLV has no way to mark, so it leads the sound.
    ASSERT_TRUE(rb.metaDuration.has_value());
    ASSERT_FALSE(rb.frames.empty());
    EXPECT_NEAR(rb.frames.front().time, 1024.0 / 44100, 1e-3);
    EXPECT_NEAR(*rb.metaDuration, rb.frames.back().time + frame, 1e-3);
    ASSERT_TRUE(rb.metaFileSize.has_value());
    EXPECT_EQ(int64_t(*rb.metaFileSize), QFileInfo(QString::fromStdString(path)).size());
    // Frames follow each other at 1/30 s and the pictures in capture order. (Whether any
    // was dropped depends on the machine's load; the benchmark measures that.)
    for (size_t i = 1; i < rb.frames.size(); ++i) {
        EXPECT_NEAR(rb.frames[i].time - rb.frames[i - 1].time, frame, 0.0015) << i;
        EXPECT_GE(rb.frames[i].counter, rb.frames[i - 1].counter) << i;
    }
    // A key frame first and then at least every 2 s.
    ASSERT_FALSE(rb.keyFrames.empty());
    EXPECT_DOUBLE_EQ(rb.keyFrames.front(), rb.frames.front().time);
    for (size_t i = 1; i < rb.keyFrames.size(); ++i)
        EXPECT_LE(rb.keyFrames[i] - rb.keyFrames[i - 1], 2.0 + 1e-3);
    EXPECT_GE(rb.keyFrames.size(), 2u);
    const auto offsets = rb.AvOffsets();
    ASSERT_GE(offsets.size(), 2u);
    for (double o : offsets) EXPECT_LT(std::fabs(o), 0.010) << o;
}

TEST_F(RecordingEndToEnd, SyncMode2MovesTheSoundByTheOffset) {
    driver->SelectTestSources("160x120 RGB32 30 fps");
    driver->flv.frameRate = 30;
    driver->flv.videoWidth = 160;
    driver->flv.videoHeight = 120;
    driver->selection.syncMode = 2;
    driver->selection.audioOffset = 100;
    const std::string path = Path("offset.flv");
    ASSERT_EQ(driver->Record(path), 0);
    ASSERT_TRUE(WaitFrames(66));
    driver->StopCapture();

    const Readback rb = ReadRecording(path);
    ASSERT_TRUE(rb.opened) << rb.error;
    const auto offsets = rb.AvOffsets();
    ASSERT_GE(offsets.size(), 2u);
    for (double o : offsets) EXPECT_NEAR(o, 0.100, 0.010);
}

}  // namespace
