// The component with devices a user meets: the virtual camera (preloaded) and a PulseAudio
// server of the test's own, driven through the dispatch interface only.
#include "DeviceRig.h"
#include "HostedCaptureTest.h"
#include "WaitFor.h"

#include <QFileInfo>

#include <iostream>

using platform::CaptureOp;
using platform::Variant;

namespace {

using Names = std::vector<std::string>;

class DeviceCapture : public HostedCaptureTest {
protected:
    explicit DeviceCapture(bool viaAlsa = false) : HostedCaptureTest({320, 240}), rig(viaAlsa) {}
    void SetUp() override {
        ASSERT_TRUE(rig.ok()) << rig.error().toStdString();
        HostedCaptureTest::SetUp();
    }

    // Chooses as the device dialogs do; false when a name is not listed.
    bool Choose(const std::string& video, const std::string& format, const std::string& input,
                const std::string& audio) {
        return driver->Select(video, format, input, audio);
    }

    // Records until `frames` frames are written, running `midway` after half of them.
    Readback Record(const char* name, int64_t frames, const std::function<void()>& midway = {}) {
        const std::string path = Path(name);
        EXPECT_EQ(driver->Record(path), 0);
        auto written = [&](int64_t n) {
            return WaitFor([&] { return control->Stats().framesWritten >= n; }, 30000);
        };
        if (midway) {
            EXPECT_TRUE(written(frames / 2));
            midway();
        }
        EXPECT_TRUE(written(frames));
        driver->StopCapture();
        return ReadRecording(path);
    }

    // Records the test pattern and `audio` (a 440 Hz sine) and checks the sound from
    // `startBound` seconds to the last 0.3 s.
    void RecordThreeSecondsOfSine(const std::string& audio, double startBound) {
        ASSERT_TRUE(Choose("Test Pattern", "320x240 RGB32 30 fps", "Default", audio));
        driver->flv.frameRate = 30;
        const Readback rb = Record("sine.flv", 90);
        ASSERT_TRUE(rb.opened) << rb.error;
        ASSERT_FALSE(rb.frames.empty());
        const ToneSpan tone = MeasureTone(rb);
        EXPECT_LE(tone.first, startBound);
        EXPECT_GE(tone.last, std::max(rb.audioEnd, rb.frames.back().time) - 0.3);
        EXPECT_LT(tone.longestGap, 0.05);
        EXPECT_NEAR(tone.frequency, 440, 5);
    }

    DeviceRig rig;
};

// libpulse is given no server here; ALSA's default device reaches it through the pulse
// plugin. (The machine's own ALSA devices are what the catalogue lists; this one is added.)
class DeviceCaptureViaAlsa : public DeviceCapture {
protected:
    DeviceCaptureViaAlsa() : DeviceCapture(true) {}
    void SetUp() override {
        ASSERT_TRUE(rig.ok()) << rig.error().toStdString();
        ASSERT_TRUE(dir.isValid());
        // ALSA's buffer is too short for the sine source's two-second bursts; a sine played
        // into the null sink reaches its monitor, which ALSA's default device records.
        ASSERT_TRUE(rig.sound().Pactl({"load-module", "module-sine", "sink=out", "frequency=440"}));
        component::CaptureControlOptions options;
        options.devices = [] {
            component::DeviceCatalog c = component::DeviceCatalog::Probe();
            component::AudioDevice alsa{"ALSA default", component::AudioKind::Alsa, "default", {"Default"}};
            c.audio.insert(c.audio.begin(), alsa);
            return c;
        };
        auto own = std::make_unique<component::CaptureControl>(nullptr, std::move(options));
        control = own.get();
        host = std::move(own);
        host->resize(320, 240);
        host->show();
        driver = std::make_unique<ComponentDriver>(host->Dispatch());
    }
};

TEST_F(DeviceCapture, DialogsListTheDevicesWithTheirFormatsAndInputs) {
    const Names video = driver->Names(CaptureOp::VideoDevices);
    auto at = [&](const std::string& name) { return std::find(video.begin(), video.end(), name) - video.begin(); };
    ASSERT_LT(at("Virtual Camera"), at("Virtual Capture Card"));
    ASSERT_LT(at("Virtual Capture Card"), at("Test Pattern"));
    ASSERT_LT(at("Test Pattern"), ptrdiff_t(video.size()));

    struct Row {
        const char* device;
        Names formats, inputs;
    } rows[] = {
        {"Virtual Camera",
         {"640x480 YUYV 30 fps", "640x480 YUYV 15 fps", "320x240 YUYV 30 fps", "1920x1080 YUYV 5 fps",
          "1920x1080 MJPG 30 fps", "1280x720 MJPG 30 fps"},
         {"Camera 1"}},
        {"Virtual Capture Card", {"720x576 YUYV 25 fps"}, {"Composite", "S-Video"}},
    };
    for (const Row& row : rows) {
        driver->Call(CaptureOp::SelectVideoDevice, {Variant::I16(int16_t(at(row.device)))});
        EXPECT_EQ(driver->Names(CaptureOp::VideoFormats), row.formats) << row.device;
        EXPECT_EQ(driver->Names(CaptureOp::VideoInputs), row.inputs) << row.device;
    }
    // Sources by the names the server gives them, real inputs before monitors of outputs.
    EXPECT_EQ(driver->Names(CaptureOp::AudioDevices),
              (Names{"Sine source at 440 Hz", "Monitor of Null Output", "Test Tone"}));
}

TEST_F(DeviceCapture, EachFormatAndInputReachesTheFileAtTheSetSizeAndRate) {
    struct Row {
        const char* device;
        const char* format;
        const char* input;
        int16_t width, height, rate;
        bool markerRight;  // the input's block: left for the first input, right for the second
    } rows[] = {
        {"Virtual Camera", "320x240 YUYV 30 fps", "Camera 1", 320, 240, 30, false},
        {"Virtual Camera", "1280x720 MJPG 30 fps", "Camera 1", 320, 180, 30, false},
        {"Virtual Capture Card", "720x576 YUYV 25 fps", "S-Video", 360, 288, 25, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.format) + " " + row.input);
        ASSERT_TRUE(Choose(row.device, row.format, row.input, "Test Tone"));
        driver->flv.videoWidth = row.width;
        driver->flv.videoHeight = row.height;
        driver->flv.frameRate = row.rate;
        const Readback rb = Record("take.flv", 2 * row.rate);
        ASSERT_TRUE(rb.opened) << rb.error;
        EXPECT_EQ(rb.width, row.width);
        EXPECT_EQ(rb.height, row.height);
        EXPECT_NEAR(rb.frameRate, row.rate, 0.01);
        EXPECT_EQ(rb.decodeErrors, 0);
        // Every picture came from the camera, in order; dropped ones are rare.
        ASSERT_GE(rb.frames.size(), size_t(row.rate));
        for (size_t i = 1; i < rb.frames.size(); ++i) {
            ASSERT_GE(rb.frames[i].counter, 0) << i;
            EXPECT_GE(rb.frames[i].counter, rb.frames[i - 1].counter) << i;
        }
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        // How many pictures drop is a matter of speed: a sanitizer build maps fresh memory
        // for every 720p picture and falls behind, so there only the order is checked.
        EXPECT_GE(FractionOfSingleSteps(rb), 0.8);
#endif
        EXPECT_FALSE(rb.FlashTimes().empty());
        const QImage& picture = NonFlashPicture(rb);
        const double left = MeanGrey(picture, 0.15, 0.4, 0.35, 0.6);
        const double right = MeanGrey(picture, 0.65, 0.4, 0.85, 0.6);
        const double field = MeanGrey(picture, 0.4, 0.75, 0.6, 0.95);
        EXPECT_NEAR(field, 115, 20);  // the green field
        EXPECT_GT(row.markerRight ? right : left, 200);
        EXPECT_NEAR(row.markerRight ? left : right, field, 10);
    }
}

// The card's standards set its size and rate; its fields are woven, and deinterlacing (on
// unless turned off) takes the combing of the moving bar out of the recording.
TEST_F(DeviceCapture, TheCardsStandardsChooseItsPicturesAndDeinterlacingRemovesTheCombing) {
    const int16_t card = int16_t(driver->IndexOf(CaptureOp::VideoDevices, "Virtual Capture Card"));
    driver->Call(CaptureOp::SelectVideoDevice, {Variant::I16(card)});
    EXPECT_EQ(driver->Names(CaptureOp::VideoStandards), (Names{"PAL-B/G", "NTSC-M", "SECAM"}));
    const char* formats[] = {"720x576 YUYV 25 fps", "720x480 YUYV 29.97 fps", "720x576 YUYV 25 fps"};
    for (int16_t standard = 0; standard < 3; ++standard) {
        driver->Call(CaptureOp::SelectVideoStandard, {Variant::I16(standard)});
        EXPECT_EQ(driver->Names(CaptureOp::VideoFormats), Names{formats[standard]}) << standard;
    }
    // A camera has none.
    driver->Call(CaptureOp::SelectVideoDevice,
                 {Variant::I16(int16_t(driver->IndexOf(CaptureOp::VideoDevices, "Virtual Camera")))});
    EXPECT_TRUE(driver->Names(CaptureOp::VideoStandards).empty());

    ASSERT_TRUE(Choose("Virtual Capture Card", "720x576 YUYV 25 fps", "Composite", "Test Tone"));
    driver->Call(CaptureOp::VideoStandardIndex, {Variant::I16(1)});  // NTSC-M
    driver->flv.videoBitrate = 4000000;
    driver->flv.videoWidth = 720;
    driver->flv.videoHeight = 480;
    driver->flv.frameRate = 30;
    double combing[2] = {};
    for (const bool deinterlace : {false, true}) {
        driver->Call(CaptureOp::Deinterlace, {Variant::Bool(deinterlace)});
        const Readback rb = Record(deinterlace ? "whole.flv" : "woven.flv", 45);
        ASSERT_TRUE(rb.opened) << rb.error;
        EXPECT_EQ(rb.height, 480);
        const QImage& picture = NonFlashPicture(rb);
        combing[deinterlace] = Combing(picture, 0.76, 0.86);
        // The bar is there, whole: white across at least most of its 16 pixels.
        const uchar* row = picture.constScanLine(picture.height() * 81 / 100);
        EXPECT_GE(std::count_if(row, row + picture.width(), [](uchar v) { return v > 200; }), 12);
    }
    std::cout << "combing of the moving bar: woven " << combing[0] << ", deinterlaced " << combing[1] << "\n";
    EXPECT_GT(combing[0], 4 * combing[1]);
}

TEST_F(DeviceCapture, TheSineSoundsFromTheStartToTheEndOfTheFile) {
    RecordThreeSecondsOfSine("Sine source at 440 Hz", 0.3);
}

TEST_F(DeviceCaptureViaAlsa, TheSineSoundsThroughAlsaFromTheStartToTheEndOfTheFile) {
    RecordThreeSecondsOfSine("ALSA default", 0.3);
}

TEST_F(DeviceCapture, ADeviceLostMidRecordingLeavesAFileThatPlaysToItsEnd) {
    struct Row {
        const char* lost;
        std::function<void(DeviceRig&)> takeAway;
    } rows[] = {
        {"Virtual Camera", [](DeviceRig& r) { r.SetCameraFault("unplug Virtual Camera"); }},
        // The server moves the streams of a source it unloads to another one, silently.
        {"Sine source at 440 Hz",
         [](DeviceRig& r) { r.sound().Pactl({"unload-module", "module-sine-source"}); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lost);
        rig.SetCameraFault("");
        ASSERT_TRUE(Choose("Virtual Camera", "320x240 YUYV 30 fps", "Camera 1", "Sine source at 440 Hz"));
        driver->flv.frameRate = 30;
        const Readback rb = Record("lost.flv", 90, [&] {
            row.takeAway(rig);
            EXPECT_TRUE(WaitFor([&] { return control->StatusText().contains(row.lost); }, 10000))
                << control->StatusText().toStdString();
        });
        ASSERT_TRUE(rb.opened) << rb.error;
        EXPECT_EQ(rb.decodeErrors, 0);
        // Pictures and sound go on to the end: the last picture held, silence after the sine.
        ASSERT_FALSE(rb.frames.empty());
        const double videoEnd = rb.frames.back().time + 1.0 / 30;
        // Every picture written is in the file, however long the loss took to be told (the
        // recording runs on meanwhile).
        const double written = double(control->Stats().framesWritten) / 30;
        EXPECT_GE(written, 3.0);
        EXPECT_NEAR(rb.VideoSpan(), written, 0.1);
        // The sine source hands over its sound seconds at a time, some of it ahead of the
        // clock; what came before the stop may run on past the last picture.
        EXPECT_GE(rb.audioEnd, videoEnd - 0.1);
        ASSERT_TRUE(rb.metaDuration.has_value());
        EXPECT_NEAR(*rb.metaDuration, std::max(rb.audioEnd, videoEnd), 0.05);
    }
}

TEST_F(DeviceCapture, ABusyCameraFailsTheStartAndLeavesNothingOpen) {
    ASSERT_TRUE(Choose("Virtual Camera", "320x240 YUYV 30 fps", "Camera 1", "Sine source at 440 Hz"));
    rig.SetCameraFault("busy Virtual Camera");
    const std::string path = Path("busy.flv");
    EXPECT_EQ(driver->Record(path), -1);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
    QString outputs;
    ASSERT_TRUE(rig.sound().Pactl({"list", "short", "source-outputs"}, &outputs));
    EXPECT_TRUE(outputs.trimmed().isEmpty()) << outputs.toStdString();
    // Free again, the same settings start.
    rig.SetCameraFault("");
    EXPECT_EQ(driver->Record(path), 0);
    EXPECT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 5; }, 20000));
    driver->StopCapture();
}

}  // namespace
