// What the preview and the file show: the starting overlays in pixels of the recorded
// picture, and the preview's recording indicator and sound meter, which never reach the file.
#include "MediaReadback.h"
#include "ComponentDriver.h"
#include "WaitFor.h"

#include "component/media/CaptureClock.h"
#include "component/overlays/DateTimeFormat.h"
#include "component/overlays/TextLayer.h"
#include "component/CaptureControl.h"
#include "component/sources/SourcePacer.h"

#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <thread>

using namespace component;

namespace {

constexpr int kFps = 30;
const QRgb kGrey = qRgb(128, 128, 128);

// A plain grey picture, so that anything drawn over it shows.
class GreySource : public VideoSource {
public:
    explicit GreySource(QSize size) : m_size(size) {}
    ~GreySource() override { Stop(); }
    void Start(FrameHandler onFrame, PresenceHandler) override {
        m_thread = std::thread([this, onFrame] {
            QImage grey(m_size, QImage::Format_RGB32);
            grey.fill(kGrey);
            for (int64_t i = GridIndexAtOrAfter(ClockNowUs(), kFps);; ++i) {
                if (!m_pacer.SleepUntil(GridTimeUs(i, kFps))) return;
                onFrame(VideoFrame{YuvImage::FromImage(grey), GridTimeUs(i, kFps)});
            }
        });
    }
    void Stop() override {
        m_pacer.RequestStop();
        if (m_thread.joinable()) m_thread.join();
    }

private:
    QSize m_size;
    SourcePacer m_pacer;
    std::thread m_thread;
};

// A steady 1 kHz sine at half of full scale, in 10 ms blocks.
class HalfScaleSine : public AudioSource {
public:
    ~HalfScaleSine() override { Stop(); }
    void Start(BlockHandler onBlock, PresenceHandler) override {
        m_thread = std::thread([this, onBlock] {
            constexpr int kRate = 48000, kBlock = 480;
            const int64_t start = ClockNowUs();
            for (int64_t n = 0;; ++n) {
                const int64_t at = start + n * 10000;
                if (!m_pacer.SleepUntil(at)) return;
                AudioBlock b{{}, kRate, 2, at};
                for (int i = 0; i < kBlock; ++i) {
                    const double t = double(n * kBlock + i) / kRate;
                    const auto v = int16_t(std::lround(16384 * std::sin(2 * std::numbers::pi * 1000 * t)));
                    b.samples.push_back(v);
                    b.samples.push_back(v);
                }
                onBlock(std::move(b));
            }
        });
    }
    void Stop() override {
        m_pacer.RequestStop();
        if (m_thread.joinable()) m_thread.join();
    }

private:
    SourcePacer m_pacer;
    std::thread m_thread;
};

class PreviewIndicator : public ::testing::Test {
protected:
    void SetUp() override {
        CaptureControlOptions options;
        options.sources.video = [this](const VideoDevice&, const VideoFormat&, int) {
            return component::Result<std::unique_ptr<component::VideoSource>>(
                std::make_unique<GreySource>(captureSize));
        };
        options.sources.audio = [](const AudioDevice&, int) {
            return component::Result<std::unique_ptr<component::AudioSource>>(
                std::make_unique<HalfScaleSine>());
        };
        control = std::make_unique<CaptureControl>(nullptr, std::move(options));
        control->resize(320, 240);  // the recorded size: one preview pixel per recorded pixel
        control->show();
        driver = std::make_unique<ComponentDriver>(control->Dispatch());
        driver->SelectTestSources("320x240 RGB32 30 fps");
        driver->selection.useOverlay = false;
        driver->flv.frameRate = kFps;
    }
    QImage Grab() { return control->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QSize captureSize{320, 240};
    QTemporaryDir dir;
    std::unique_ptr<CaptureControl> control;
    std::unique_ptr<ComponentDriver> driver;
};

}  // namespace

TEST_F(PreviewIndicator, RecTimeAndMeterShowInThePreviewAndNeverInTheFile) {
    ASSERT_EQ(driver->Preview(), 0);
    ASSERT_TRUE(WaitFor([&] { return control->FramesPainted() >= 2; }, 20000));
    EXPECT_EQ(control->IndicatorText(), QString());  // a preview alone shows no indicator
    EXPECT_TRUE(control->IndicatorRect().isEmpty());

    const std::string path = dir.filePath("grey.flv").toStdString();
    ASSERT_EQ(driver->Record(path), 0);
    ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 45; }, 20000));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^REC 00:00:0[1-9]$"))
                    .match(control->IndicatorText()).hasMatch())
        << control->IndicatorText().toStdString();
    // The meter reads the half-scale sine: peak -6 dBFS, RMS -9 dBFS, no clipping.
    const SoundLevelMeter::Reading level = control->SoundLevel();
    EXPECT_TRUE(level.active);
    EXPECT_NEAR(level.peakDb, -6.02, 1.0);
    EXPECT_NEAR(level.rmsDb, -9.03, 1.0);
    EXPECT_FALSE(level.clipped);

    ASSERT_TRUE(WaitFor([&] { return !control->IndicatorRect().isEmpty(); }, 5000));
    const QImage shown = Grab();
    const QRect box = control->IndicatorRect();
    ASSERT_TRUE(QRect(0, 0, 320, 240).contains(box));
    int red = 0, dark = 0, changedOutside = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const QRgb p = shown.pixel(x, y);
            if (box.contains(x, y)) {
                red += qRed(p) > 180 && qGreen(p) < 80 && qBlue(p) < 80;
                dark += qGray(p) < 60;
            } else {
                changedOutside += std::abs(qGray(p) - qGray(kGrey)) > 2;
            }
        }
    EXPECT_GT(red, 8);                // the dot
    EXPECT_GT(dark, box.width() * 2);  // the backing that keeps the text readable
    EXPECT_EQ(changedOutside, 0);     // the rest of the preview is the picture itself

    driver->Pause();
    EXPECT_EQ(control->IndicatorText(), QStringLiteral("PAUSED"));
    driver->StopCapture();
    EXPECT_EQ(control->IndicatorText(), QString());
    EXPECT_FALSE(control->SoundLevel().active);

    // The file holds the plain grey picture, the indicator's corner included.
    const Readback rb = ReadRecording(path);
    ASSERT_TRUE(rb.opened) << rb.error;
    const QImage last = rb.lastPicture.convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(last.size(), QSize(320, 240));
    int off = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            off += std::abs(int(last.constScanLine(y)[x]) - qGray(kGrey)) > 12;
    EXPECT_EQ(off, 0);
}

// Captured at 640x480 and recorded at the FLV dialog's 320x240: the stamp and both text lines
// at the dialogs' starting values land in the file where rendering at 320x240 puts them, in
// separate boxes, white with the stamp's dark edge.
TEST_F(PreviewIndicator, ADefaultRecordingHoldsStampAndTextLinesApartAtTheDialogsSize) {
    captureSize = QSize(640, 480);
    driver->selection.useOverlay = true;
    driver->selection.showStampAndText = true;
    const std::string path = dir.filePath("default.flv").toStdString();
    ASSERT_EQ(driver->Record(path), 0);
    // The main window's overlay step with the date-time and text dialogs as they open.
    driver->Call(CaptureOp::DrawDateTime, {platform::Variant::I16(0), platform::Variant::I16(30),
                                           platform::Variant::I16(0)});
    driver->Call(CaptureOp::DrawOverlayText,
                 {platform::Variant::I16(0), platform::Variant::I16(0), platform::Variant::I16(0),
                  platform::Variant::Str("Korvex Software\r\nwww.example.com")});
    const int64_t from = control->Stats().framesWritten;
    ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= from + 20; }, 20000));
    driver->StopCapture();
    const Readback rb = ReadRecording(path);
    ASSERT_TRUE(rb.opened) << rb.error;
    const QImage last = rb.lastPicture.convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(last.size(), QSize(320, 240));

    const OverlaySettings& o = control->Overlays();
    EXPECT_EQ(o.dateTime.fontSize, 8);
    EXPECT_EQ(o.texts.at(0).fontSize, 8);
    TextOverlay first = o.texts.at(0), second = o.texts.at(0);
    first.text = "Korvex Software";
    second.text = "\r\nwww.example.com";
    const QSize frame(320, 240);
    const QString date = FormatDateTime(QDateTime::currentDateTime(), o.dateTime.formatIndex);
    const OverlayLayer layers[] = {RenderStampLayer(o.dateTime, date, frame),
                                   RenderTextLayer(first, frame), RenderTextLayer(second, frame)};
    QRect boxes[3];
    for (int i = 0; i < 3; ++i) boxes[i] = QRect(layers[i].at, layers[i].image.size());
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j) EXPECT_FALSE(boxes[i].intersects(boxes[j])) << i << j;
    auto luma = [&](int x, int y) { return int(last.constScanLine(y)[x]); };
    // The picture as rendering says it should be: the grey with the three layers on it.
    QImage expected(frame, QImage::Format_RGB32);
    expected.fill(kGrey);
    {
        QPainter painter(&expected);
        for (const OverlayLayer& l : layers) painter.drawImage(l.at, l.image);
    }
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        double offRendered = 0, offPlain = 0;
        int dark = 0;
        for (int y = boxes[i].top(); y <= boxes[i].bottom(); ++y)
            for (int x = boxes[i].left(); x <= boxes[i].right(); ++x) {
                const int want = qGray(expected.pixel(x, y));
                offRendered += std::abs(luma(x, y) - want);
                offPlain += std::abs(luma(x, y) - qGray(kGrey));
                dark += luma(x, y) < 70;
            }
        // The file matches the rendering far better than the bare picture.
        EXPECT_LT(offRendered * 2, offPlain) << offRendered << " vs " << offPlain;
        if (i == 0) {
            EXPECT_GT(dark, boxes[0].width()) << dark;  // the stamp's edge
        }
    }
    // Above the picture's middle nothing but the three boxes (and the coding blocks they
    // touch) differs from the grey picture.
    int stray = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 320; ++x) {
            const bool inBox = boxes[0].adjusted(-8, -8, 8, 8).contains(x, y) ||
                               boxes[1].adjusted(-8, -8, 8, 8).contains(x, y) ||
                               boxes[2].adjusted(-8, -8, 8, 8).contains(x, y);
            if (!inBox) stray += std::abs(luma(x, y) - qGray(kGrey)) > 16;
        }
    EXPECT_EQ(stray, 0);
}
