// Effects seen in recordings of the test pattern, decoded again: the tolerances allow for
// H.264; the exact pixels are checked on the processing stage directly.
#include "HostedCaptureTest.h"
#include "MediaReadback.h"
#include "WaitFor.h"

#include <cmath>

using component::CaptureControl;
using platform::CaptureOp;
using platform::Variant;

namespace {

class OverlayRecording : public HostedCaptureTest {
protected:
    OverlayRecording() : HostedCaptureTest({320, 240}) {}
    void SetUp() override {
        HostedCaptureTest::SetUp();
        if (HasFatalFailure()) return;
        driver->SelectTestSources("320x240 RGB32 30 fps");
        driver->flv.frameRate = 30;
        driver->flv.videoBitrate = 2000000;
        driver->selection.useOverlay = false;
    }
    // Records `frames` pictures with the effects set once the recording has started (the
    // start sequence resets rotation and inversion first).
    Readback Record(const char* name, int16_t rotation, bool invert, bool grey, int frames) {
        const std::string path = Path(name);
        EXPECT_EQ(driver->Record(path), 0);
        driver->Call(CaptureOp::SetVideoRotation, {Variant::I16(rotation)});
        driver->Call(CaptureOp::SetInvertColor, {Variant::Bool(invert)});
        driver->Call(CaptureOp::SetGrayScale, {Variant::Bool(grey)});
        EXPECT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= frames; }, 20000));
        driver->StopCapture();
        return ReadRecording(path);
    }
    // Mean brightness of the pictures that are not the once-a-second white flash, leaving
    // out the first few, and for an inverted recording every leading one still nearer the plain
    // recording's mean `plain` than its negative: the effect is asked for after the start, and
    // on a busy machine more pictures than a few are already on their way.
    static double MeanOfOrdinaryFrames(const Readback& rb, bool inverted, double plain = 0) {
        double sum = 0;
        int n = 0;
        size_t i = 5;
        if (inverted)
            while (i < rb.frames.size() && std::abs(rb.frames[i].meanLuma - plain) < std::abs(rb.frames[i].meanLuma - (255 - plain)))
                ++i;
        for (; i < rb.frames.size(); ++i) {
            const double luma = rb.frames[i].meanLuma;
            if (inverted ? luma < 20 : luma > 235) continue;
            sum += luma;
            ++n;
        }
        return n ? sum / n : -1;
    }
};

}  // namespace

TEST_F(OverlayRecording, InvertedRecordingIsTheNegativeOfThePlainOne) {
    const Readback plain = Record("plain.flv", 0, false, false, 30);
    const Readback inverted = Record("inverted.flv", 0, true, false, 30);
    ASSERT_TRUE(plain.opened) << plain.error;
    ASSERT_TRUE(inverted.opened) << inverted.error;
    const double a = MeanOfOrdinaryFrames(plain, false);
    const double b = MeanOfOrdinaryFrames(inverted, true, a);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    EXPECT_NEAR(a + b, 255, 8);
}

TEST_F(OverlayRecording, AQuarterTurnKeepsTheFileSizeAndLetterboxes) {
    const Readback rb = Record("turned.flv", 1, true, true, 20);
    ASSERT_TRUE(rb.opened) << rb.error;
    EXPECT_EQ(rb.width, 320);
    EXPECT_EQ(rb.height, 240);
    ASSERT_GE(rb.frames.size(), 2u);
    // An inverted flash is black all over and shows no letterbox; use the picture before it.
    const bool lastIsFlash = rb.frames.back().meanLuma < 20;
    const QImage last = (lastIsFlash ? rb.pictureBeforeLast : rb.lastPicture)
                            .convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(last.size(), QSize(320, 240));
    // 240x320 turned upright fits as 180x240 in the middle: bars of 70 pixels each side.
    auto columnMean = [&](int x) {
        int sum = 0;
        for (int y = 0; y < last.height(); ++y) sum += last.constScanLine(y)[x];
        return sum / last.height();
    };
    EXPECT_LT(columnMean(30), 24);
    EXPECT_LT(columnMean(290), 24);
    EXPECT_GT(columnMean(160), 40);  // inverted black background: bright
}

TEST_F(OverlayRecording, TheImageOverlayIsDrawnIntoTheFileAfterTheEffects) {
    // White on the left, black on the right: drawn after inversion, so not inverted.
    QImage picture(80, 40, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) picture.setPixel(x, y, qRgb(255, 255, 255));
    const QString file = dir.filePath("blocks.png");
    ASSERT_TRUE(picture.save(file));

    const std::string path = Path("image.flv");
    ASSERT_EQ(driver->Record(path), 0);
    driver->Call(CaptureOp::SetInvertColor, {Variant::Bool(true)});
    driver->Call(CaptureOp::ActiveOverlay, {Variant::I32(0)});
    driver->Call(CaptureOp::ShowOverlayImage, {Variant::I16(0), Variant::Bool(true)});
    driver->Call(CaptureOp::DrawOverlayImage,
                 {Variant::I16(0), Variant::I16(200), Variant::I16(160), Variant::Str(file.toStdString()),
                  Variant::Colour(0x00FF00FF), Variant::I16(255)});
    ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 20; }, 20000));
    driver->StopCapture();
    const Readback rb = ReadRecording(path);
    ASSERT_TRUE(rb.opened) << rb.error;
    const QImage last = rb.lastPicture.convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(last.size(), QSize(320, 240));
    auto blockMean = [&](int left) {  // the middle of a 40x40 block, away from coded edges
        int sum = 0;
        for (int y = 168; y < 192; ++y)
            for (int x = left + 8; x < left + 32; ++x) sum += last.constScanLine(y)[x];
        return sum / (24 * 24);
    };
    EXPECT_GT(blockMean(200), 225);
    EXPECT_LT(blockMean(240), 30);
}
