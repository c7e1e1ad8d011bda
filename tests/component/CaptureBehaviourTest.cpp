// How the control behaves around a recording: starts it refuses, pause, play while recording,
// closing while recording, a full disk and devices that go away.
#include "ComponentDriver.h"
#include "MediaReadback.h"
#include "TestSinks.h"
#include "TestSources.h"
#include "WaitFor.h"

#include "component/media/CaptureClock.h"
#include "component/CaptureControl.h"
#include "component/pipeline/CaptureMessages.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

using component::CaptureControl;
using component::CaptureControlOptions;
using component::CaptureEngine;
using platform::CaptureOp;

namespace {

constexpr double kFrame = 1.0 / 30;

class CaptureBehaviour : public ::testing::Test {
protected:
    void Make(CaptureControlOptions options = {}) {
        control = std::make_unique<CaptureControl>(nullptr, std::move(options));
        control->resize(160, 120);
        control->show();
        driver = std::make_unique<ComponentDriver>(control->Dispatch());
        driver->SelectTestSources("160x120 RGB32 30 fps");
        driver->flv.videoWidth = 160;
        driver->flv.videoHeight = 120;
        driver->flv.frameRate = 30;
        driver->flv.videoBitrate = 300000;
    }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
    int64_t Written() const { return control->Stats().framesWritten; }
    bool WaitWritten(int64_t n) { return WaitFor([&] { return Written() >= n; }, 20000); }
    bool WaitStatus(const char* words) {
        return WaitFor([&] { return control->StatusText().contains(QLatin1String(words)); }, 20000);
    }

    QTemporaryDir dir;
    std::unique_ptr<CaptureControl> control;
    std::unique_ptr<ComponentDriver> driver;
};

TEST_F(CaptureBehaviour, RefusedStartsReturnMinusOneAndLeaveNothingBehind) {
    struct Row {
        const char* name;
        std::string path;
        void (*change)(ComponentDriver&);
    };
    QTemporaryDir work;
    const std::string ok = work.filePath("ok.flv").toStdString();
    const Row rows[] = {
        {"missing folder", work.filePath("no/such/dir/x.flv").toStdString(), [](ComponentDriver&) {}},
        {"a folder", work.path().toStdString(), [](ComponentDriver&) {}},
        {"empty name", "", [](ComponentDriver&) {}},
        {"width 0", ok, [](ComponentDriver& d) { d.flv.videoWidth = 0; }},
        {"frame rate 0", ok, [](ComponentDriver& d) { d.flv.frameRate = 0; }},
        {"video bitrate 0", ok, [](ComponentDriver& d) { d.flv.videoBitrate = 0; }},
        {"3 channels", ok, [](ComponentDriver& d) { d.flv.audioChannels = 3; }},
        {"sample rate 0", ok, [](ComponentDriver& d) { d.flv.audioSampleRate = 0; }},
        {"no such video device", ok, [](ComponentDriver& d) { d.selection.videoDevice = 99; }},
        {"no such audio device", ok, [](ComponentDriver& d) { d.selection.audioDevice = -1; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Make();
        row.change(*driver);
        EXPECT_EQ(driver->Record(row.path), -1);
        EXPECT_EQ(control->CaptureState(), CaptureEngine::State::Stopped);
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(ok)));
        EXPECT_TRUE(control->StatusText().contains(QLatin1String("Capture could not start")));
    }
    // Another output format than FLV is refused too, and nothing stays open after all that:
    // a good start works at once.
    Make();
    driver->Call(CaptureOp::CaptureFileName, {platform::Variant::Str(ok)});
    driver->Call(CaptureOp::CaptureToFile, {platform::Variant::Bool(true)});
    driver->Call(CaptureOp::OutputFormat, {platform::Variant::I32(3)});
    EXPECT_EQ(driver->Call(CaptureOp::StartCapture).ToI16(), -1);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(ok)));
    EXPECT_EQ(driver->Record(ok), 0);
    EXPECT_TRUE(WaitWritten(3));
    driver->StopCapture();
    EXPECT_TRUE(ReadRecording(ok).opened);
}

TEST_F(CaptureBehaviour, RecordsWithTheFlvDialogsValuesAndWithNothingSetAtAll) {
    // The FLV dialog's initial values, exactly as the main window sends them.
    Make();
    driver->flv = ComponentDriver::Flv{};
    const std::string dialog = Path("dialog.flv");
    ASSERT_EQ(driver->Record(dialog), 0);
    ASSERT_TRUE(WaitWritten(25));
    driver->StopCapture();
    Readback rb = ReadRecording(dialog);
    ASSERT_TRUE(rb.opened);
    EXPECT_EQ(rb.width, 320);
    EXPECT_EQ(rb.height, 240);
    EXPECT_NEAR(rb.frameRate, 25, 0.01);
    EXPECT_EQ(rb.sampleRate, 44100);
    EXPECT_EQ(rb.channels, 2);
    EXPECT_GE(rb.frames.size(), 25u);

    // No FLV property put at all: the control's own defaults, those the FLV dialog starts with.
    Make();
    const std::string bare = Path("bare.flv");
    driver->ApplyDeviceSelection();
    driver->Call(CaptureOp::CaptureFileName, {platform::Variant::Str(bare)});
    driver->Call(CaptureOp::CaptureToFile, {platform::Variant::Bool(true)});
    ASSERT_EQ(driver->Call(CaptureOp::StartCapture).ToI16(), 0);
    ASSERT_TRUE(WaitWritten(10));
    driver->StopCapture();
    rb = ReadRecording(bare);
    ASSERT_TRUE(rb.opened);
    EXPECT_EQ(rb.width, 320);
    EXPECT_EQ(rb.height, 240);
    EXPECT_NEAR(rb.frameRate, 25, 0.01);
    EXPECT_EQ(rb.audioCodec, "aac");
}

TEST_F(CaptureBehaviour, ARefusedRecordingLeavesThePreviewRunning) {
    Make();
    ASSERT_EQ(driver->Preview(), 0);
    ASSERT_TRUE(WaitFor([&] { return control->FramesPainted() >= 2; }));
    EXPECT_EQ(driver->Record(Path("no/dir/x.flv")), -1);
    EXPECT_EQ(control->CaptureState(), CaptureEngine::State::Running);
    const int64_t painted = control->FramesPainted();
    EXPECT_TRUE(WaitFor([&] { return control->FramesPainted() >= painted + 3; }));
    driver->StopCapture();
    EXPECT_EQ(control->StatusText(), QStringLiteral("Preview stopped: press Play to start it"));
}

TEST_F(CaptureBehaviour, PauseLeavesThePausedTimeOutOfTheFile) {
    Make();
    const std::string path = Path("paused.flv");
    const int64_t began = component::ClockNowUs();
    ASSERT_EQ(driver->Record(path), 0);
    ASSERT_TRUE(WaitWritten(20));
    driver->Pause();
    EXPECT_EQ(control->CaptureState(), CaptureEngine::State::Paused);
    EXPECT_EQ(control->IndicatorText(), QStringLiteral("PAUSED"));
    // Let the clock run on while paused; neither the file nor the preview move.
    const int64_t pausedAt = component::ClockNowUs();
    const int64_t written = Written();
    EXPECT_TRUE(WaitFor([&] { return control->FramesPainted() > 0; }));
    const int64_t painted = control->FramesPainted();
    ASSERT_TRUE(WaitFor([&] { return component::ClockNowUs() >= pausedAt + 800000; }));
    EXPECT_LE(Written(), written + 1);
    EXPECT_LE(control->FramesPainted(), painted + 1);

    ASSERT_EQ(driver->Preview(), 0);  // "BUTTON_PLAY" resumes
    EXPECT_EQ(control->CaptureState(), CaptureEngine::State::Running);
    ASSERT_TRUE(WaitWritten(written + 30));
    driver->StopCapture();
    const double wall = double(component::ClockNowUs() - began) / 1e6;

    const Readback rb = ReadRecording(path);
    ASSERT_TRUE(rb.opened);
    EXPECT_EQ(int64_t(rb.frames.size()), control->Stats().framesWritten);
    EXPECT_LT(rb.VideoSpan(), wall - 0.7);
    // One jump in the pictures of at least the 800 ms waited, none in the file's time.
    int jumps = 0;
    for (size_t i = 1; i < rb.frames.size(); ++i) {
        EXPECT_NEAR(rb.frames[i].time - rb.frames[i - 1].time, kFrame, 0.0015);
        const int64_t step = rb.frames[i].counter - rb.frames[i - 1].counter;
        EXPECT_GE(step, 0);
        if (step >= 24) ++jumps;
    }
    EXPECT_EQ(jumps, 1);
}

TEST_F(CaptureBehaviour, PlayDuringARecordingContinuesIt) {
    Make();
    const std::string path = Path("continued.flv");
    ASSERT_EQ(driver->Record(path), 0);
    ASSERT_TRUE(WaitWritten(20));
    const auto sizeBefore = QFileInfo(QString::fromStdString(path)).size();
    EXPECT_EQ(driver->Preview(), 0);  // CaptureToFile is still true
    EXPECT_GE(QFileInfo(QString::fromStdString(path)).size(), sizeBefore);
    ASSERT_TRUE(WaitWritten(45));
    driver->StopCapture();

    const Readback rb = ReadRecording(path);
    ASSERT_TRUE(rb.opened);
    ASSERT_EQ(int64_t(rb.frames.size()), control->Stats().framesWritten);
    EXPECT_GE(rb.frames.size(), 45u);
    EXPECT_NEAR(rb.frames.front().time, 1024.0 / 44100, 1e-3);  // the start was kept
    for (size_t i = 1; i < rb.frames.size(); ++i) {
        EXPECT_NEAR(rb.frames[i].time - rb.frames[i - 1].time, kFrame, 0.0015) << i;
        EXPECT_GE(rb.frames[i].counter, rb.frames[i - 1].counter) << i;  // never started over
    }
}

TEST_F(CaptureBehaviour, ClosingTheControlWhileRecordingFinishesTheFile) {
    Make();
    const std::string path = Path("closed.flv");
    ASSERT_EQ(driver->Record(path), 0);
    ASSERT_TRUE(WaitWritten(15));
    driver.reset();
    control.reset();

    const Readback rb = ReadRecording(path);
    ASSERT_TRUE(rb.opened);
    ASSERT_GE(rb.frames.size(), 15u);
    ASSERT_TRUE(rb.metaDuration.has_value());
    EXPECT_NEAR(*rb.metaDuration, rb.frames.back().time + kFrame, 1e-3);
    ASSERT_TRUE(rb.metaFileSize.has_value());
    EXPECT_EQ(int64_t(*rb.metaFileSize), QFileInfo(QString::fromStdString(path)).size());
}

// Of each recording type: cut back to its last whole unit, the file plays to its end.
TEST_F(CaptureBehaviour, AFullDiskEndsTheRecordingWithAPlayableFile) {
    constexpr int64_t kCapacity = 80000;
    for (const char* type : {"flv", "mp4", "mkv"}) {
        SCOPED_TRACE(type);
        CaptureControlOptions options;
        options.sinks = FullDiskSink::Factory(kCapacity);
        Make(std::move(options));
        const std::string path = Path((std::string("full.") + type).c_str());
        ASSERT_EQ(driver->Record(path), 0);
        ASSERT_TRUE(WaitStatus("Recording stopped: the disk is full"));
        // The preview goes on.
        EXPECT_EQ(control->CaptureState(), CaptureEngine::State::Running);
        const int64_t painted = control->FramesPainted();
        EXPECT_TRUE(WaitFor([&] { return control->FramesPainted() >= painted + 3; }));
        const auto size = QFileInfo(QString::fromStdString(path)).size();
        EXPECT_LE(size, kCapacity);
        // "BUTTON_PLAY" with CaptureToFile still set must not wipe what was saved.
        EXPECT_EQ(driver->Preview(), -1);
        EXPECT_EQ(QFileInfo(QString::fromStdString(path)).size(), size);
        driver->StopCapture();

        const Readback rb = ReadRecording(path);
        ASSERT_TRUE(rb.opened) << rb.error;
        EXPECT_EQ(rb.decodeErrors, 0);
        EXPECT_GE(rb.frames.size(), 10u);
        EXPECT_GT(rb.audioSamples, 0);
        for (size_t i = 1; i < rb.frames.size(); ++i)
            EXPECT_GE(rb.frames[i].counter, rb.frames[i - 1].counter) << i;
    }
}

TEST_F(CaptureBehaviour, LostDevicesKeepTheRecordingGoingWithTheLastPictureAndSilence) {
    CaptureControlOptions options;
    options.sources = component::SourceFactory::Default();
    options.sources.video = [](const auto&, const auto&, int) {
        return component::Result<std::unique_ptr<component::VideoSource>>(
            std::make_unique<VanishingVideoSource>(25));
    };
    options.sources.audio = [](const auto&, int) {
        return component::Result<std::unique_ptr<component::AudioSource>>(
            std::make_unique<VanishingAudioSource>(20));  // 0.4 s
    };
    Make(std::move(options));
    const std::string path = Path("lost.flv");
    ASSERT_EQ(driver->Record(path), 0);
    ASSERT_TRUE(WaitStatus("The video device \"Test Pattern\" was disconnected"));
    ASSERT_TRUE(WaitStatus("The audio device \"Test Tone\" was disconnected"));
    ASSERT_TRUE(WaitWritten(60));
    EXPECT_EQ(control->CaptureState(), CaptureEngine::State::Running);
    driver->StopCapture();

    const Readback rb = ReadRecording(path);
    ASSERT_TRUE(rb.opened);
    ASSERT_GE(rb.frames.size(), 60u);
    EXPECT_EQ(rb.frames.back().counter, rb.frames[rb.frames.size() - 20].counter);  // held
    EXPECT_EQ(rb.decodeErrors, 0);
    EXPECT_NEAR(rb.audioSamples / 44100.0, rb.VideoSpan(), 0.1);  // silence fills the rest
    for (double onset : rb.beepOnsets) EXPECT_LT(onset, 0.5);     // nothing after the loss
}

}  // namespace

// An encoder that cannot keep up: the pictures it drops are spread out, never a run that
// stops the picture; no sound is dropped, sound and picture stay together, the queue stays
// bounded, and the preview says so.
TEST_F(CaptureBehaviour, AnEncoderBehindDropsPicturesEvenlyAndKeepsTheSound) {
    CaptureControlOptions options;
    options.sinks = StallingSink::Factory(1000, 1500);  // 30 pictures arrive while it stalls
    Make(std::move(options));
    const std::string path = Path("behind.flv");
    ASSERT_EQ(driver->Record(path), 0);
    ASSERT_TRUE(WaitFor([&] { return control->Stats().framesDropped >= 60; }, 30000));
    EXPECT_TRUE(control->StatusText().contains(
        QStringLiteral("Encoder overloaded: %1 frames dropped").arg(control->Stats().framesDropped)))
        << control->StatusText().toStdString();
    driver->StopCapture();
    const component::RecordingStats stats = control->Stats();
    EXPECT_LE(stats.mostQueuedFrames, 8);
    EXPECT_EQ(stats.audioBlocksDropped, 0);

    const Readback rb = ReadRecording(path);
    ASSERT_TRUE(rb.opened) << rb.error;
    int64_t kept = 0, longestGap = 0;
    for (size_t i = 1; i < rb.frames.size(); ++i)
        if (const int64_t step = rb.frames[i].counter - rb.frames[i - 1].counter; step > 0) {
            ++kept;
            longestGap = std::max(longestGap, step - 1);
        }
    const int64_t made = rb.frames.back().counter - rb.frames.front().counter;
    EXPECT_GT(made - kept, made / 5);  // it was behind
    // Eight of the thirty of a stall are kept: spread out, not the first eight.
    EXPECT_LE(longestGap, 5) << "of " << made << " pictures " << kept << " kept";
    EXPECT_NEAR(double(rb.audioSamples) / rb.sampleRate, rb.VideoSpan(), 0.2);
    const auto offsets = rb.AvOffsets();
    EXPECT_FALSE(offsets.empty());
    for (double o : offsets) EXPECT_LT(std::fabs(o), 2 * kFrame) << o;
}

// The figures beside "REC" on a real file system of its own (a small tmpfs): the file's size
// as it is on disk, the free space the file system reports, and the warning when the disk
// lasts under five minutes at the recording's bitrate.
TEST_F(CaptureBehaviour, TheFiguresFollowTheFileAndTheDiskAndWarnWhenItIsNearlyFull) {
    QTemporaryDir mountPoint;
    const QString disk = mountPoint.path();
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=2m", "tmpfs", disk}) != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here (mounting needs root)";
    struct Unmount {
        QString at;
        ~Unmount() { QProcess::execute("umount", {"-l", at}); }
    } unmount{disk};
    {  // the disk nearly full before the recording starts: 400 kB left
        QFile filler(disk + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const int64_t fill = int64_t(std::filesystem::space(disk.toStdString()).available) - 400000;
        ASSERT_EQ(filler.write(QByteArray(int(fill), 'x')), fill);
    }
    Make();
    const std::string path = (disk + "/figures.flv").toStdString();
    ASSERT_EQ(driver->Record(path), 0);
    ASSERT_TRUE(WaitFor([&] { return QFileInfo(QString::fromStdString(path)).size() > 100000; }, 20000));
    const component::RecordingFigures f = control->Figures();
    const double onDisk = double(QFileInfo(QString::fromStdString(path)).size());
    EXPECT_NEAR(double(f.fileBytes), onDisk, 0.05 * onDisk);
    ASSERT_TRUE(f.freeBytes.has_value());
    const auto space = std::filesystem::space(disk.toStdString());
    EXPECT_NEAR(double(*f.freeBytes), double(space.available), 0.05 * double(space.capacity));
    EXPECT_GT(f.bitsPerSecond, 0);
    // 300 kB last well under five minutes at any bitrate this records at.
    EXPECT_TRUE(f.Warning()) << f.bitsPerSecond << " b/s";
    EXPECT_TRUE(component::FiguresText(f).startsWith(component::SizeText(f.fileBytes)));
    EXPECT_TRUE(component::FiguresText(f).contains("Disk nearly full: ")) << component::FiguresText(f).toStdString();
    // Then the disk fills, and the recording ends whole, as on any full disk.
    ASSERT_TRUE(WaitStatus("Recording stopped: the disk is full"));
    driver->StopCapture();
    const Readback rb = ReadRecording(path);
    ASSERT_TRUE(rb.opened) << rb.error;
    EXPECT_EQ(rb.decodeErrors, 0);
}
