// The whole station with the virtual camera and the sine of a real sound server, chosen in
// the device dialogs as a user chooses them.
#include "DeviceRig.h"
#include "ScopedVideosFolder.h"
#include "ScriptedServices.h"
#include "WaitFor.h"
#include "app/CCaptureDlg.h"
#include "component/CaptureComponent.h"
#include "component/CaptureControl.h"
#include "dialogs/DeviceListFollower.h"
#include "dialogs/DialogIds.h"

#include <QLineEdit>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>

#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

class StationDevices : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.ok()) << rig.error().toStdString();
        ASSERT_TRUE(dir.isValid());
        RegisterCaptureComponent();
        dlg = std::make_unique<CCaptureDlg>();
        dlg->SetStartDirectory(QStringLiteral(CS_SKINS_DIR));
        dlg->OnInitDialog();
        dlg->show();
        control = dynamic_cast<component::CaptureControl*>(dlg->CaptureControl());
        ASSERT_NE(control, nullptr);
    }
    void TearDown() override { dlg.reset(); }

    static void Choose(QComboBox* combo, const QString& text) {
        ASSERT_NE(combo, nullptr);
        const int i = combo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        combo->setCurrentIndex(i);
    }
    void ChooseCameraAndSine() {
        CVideoDeviceDlg& video = dlg->VideoDeviceDlg();
        QComboBox* devices = video.Combo(VideoDeviceIds::kDeviceList);
        ASSERT_NE(devices, nullptr);
        // The cameras come first, the built-in pattern after them.
        EXPECT_LT(devices->findText("Virtual Camera"), devices->findText("Test Pattern"));
        Choose(devices, QStringLiteral("Virtual Camera"));
        Choose(video.Combo(VideoDeviceIds::kFormatList), QStringLiteral("320x240 YUYV 30 fps"));
        video.Button(VideoDeviceIds::kOk)->click();
        // The output follows the camera (320x240, 30 fps) unless set; these tests count 25.
        dlg->FlvDlg().Edit(FlvIds::kFrameRateEdit)->setText("25");
        dlg->FlvDlg().Button(FlvIds::kOk)->click();
        CAudioDeviceDlg& audio = dlg->AudioDeviceDlg();
        Choose(audio.Combo(AudioDeviceIds::kDeviceList), QStringLiteral("Sine source at 440 Hz"));
        audio.Button(AudioDeviceIds::kOk)->click();
    }

    DeviceRig rig;
    QTemporaryDir dir;
    ScriptedServices services;
    std::unique_ptr<CCaptureDlg> dlg;
    component::CaptureControl* control = nullptr;
};

TEST_F(StationDevices, RecordsTheCameraAndTheSine) {
    ChooseCameraAndSine();
    const QString path = dir.filePath("camera.flv");
    dlg->OnSkinButton(QStringLiteral("BUTTON_PLAY"));
    ASSERT_TRUE(WaitFor([&] { return control->FramesPainted() >= 3; }, 20000));
    services.fileAnswers.push_back(path);
    dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT"));
    // The FLV dialog's own values: 320x240 at 25 frames per second. Three seconds: the sine
    // source hands its sound over two seconds at a time.
    ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 75; }, 30000));
    dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
    EXPECT_TRUE(services.messages.empty()) << services.messageTexts().join('|').toStdString();

    const Readback rb = ReadRecording(path.toStdString());
    ASSERT_TRUE(rb.opened) << rb.error;
    EXPECT_EQ(rb.width, 320);
    EXPECT_EQ(rb.height, 240);
    // (The station's stamp and text cover the counter row.)
    ASSERT_GE(rb.frames.size(), 50u);
    EXPECT_FALSE(rb.FlashTimes().empty());
    EXPECT_NEAR(MeanGrey(NonFlashPicture(rb), 0.4, 0.75, 0.6, 0.95), 115, 20);
    const ToneSpan tone = MeasureTone(rb);
    EXPECT_LE(tone.first, 0.3);
    EXPECT_GE(tone.last, rb.audioEnd - 0.3);
    EXPECT_NEAR(tone.frequency, 440, 5);
}

TEST_F(StationDevices, ABusyCameraShowsTheCaptureFailure) {
    ChooseCameraAndSine();
    rig.SetCameraFault("busy Virtual Camera");
    services.fileAnswers.push_back(dir.filePath("busy.flv"));
    dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT"));
    ASSERT_EQ(services.messageTexts().size(), 1);
    EXPECT_TRUE(services.messageTexts()[0].startsWith(
        "Capture Failure, Video/Audio compressor not correct or capture file opening"));
    EXPECT_TRUE(services.messageTexts()[0].contains("Device or resource busy"))
        << services.messageTexts()[0].toStdString();
}

// Lets `ms` of real time pass: a pause of a set length is the point, nothing is waited for.
void Let(int ms) {
    const QDeadlineTimer t(ms);
    WaitFor([&] { return t.hasExpired(); }, ms + 1000);
}

// Pause and resume keep the sine going in the file from the resume point on, and a recording
// stopped while paused ends at the pause, without silence after it. The sine source hands its
// sound over about two seconds at a time, across the pause's edges.
TEST_F(StationDevices, PauseAndResumeKeepTheSound) {
    ChooseCameraAndSine();
    struct Row {
        const char* file;
        bool resume;
    } rows[] = {{"resumed.flv", true}, {"stopped-paused.flv", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const QString path = dir.filePath(row.file);
        services.fileAnswers.push_back(path);
        dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT"));
        ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 100; }, 30000));
        dlg->OnSkinButton(QStringLiteral("BUTTON_PAUSE"));
        ASSERT_EQ(control->CaptureState(), component::CaptureEngine::State::Paused);
        Let(row.resume ? 4000 : 1000);
        if (row.resume) {
            dlg->OnSkinButton(QStringLiteral("BUTTON_PLAY"));
            const int64_t written = control->Stats().framesWritten;
            ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= written + 75; }, 30000));
        }
        dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
        const Readback rb = ReadRecording(path.toStdString());
        ASSERT_TRUE(rb.opened) << rb.error;
        const ToneSpan tone = MeasureTone(rb);
        EXPECT_LE(tone.first, 0.3);
        EXPECT_LT(tone.longestGap, 0.1);
        EXPECT_GE(tone.last, std::max(rb.audioEnd, rb.frames.back().time) - 0.15);
        EXPECT_NEAR(rb.frames.back().time, row.resume ? 7.0 : 4.0, 0.5);
    }
    EXPECT_TRUE(services.messages.empty()) << services.messageTexts().join('|').toStdString();
}

// A camera unplugged and plugged back, and a sine source unloaded and loaded again, during a
// recording: the alert comes and goes, and the same file has the live device again after it.
TEST_F(StationDevices, ADeviceThatComesBackIsRecordedAgain) {
    const QStringList sine{"module-sine-source", QString("source_name=") + SoundServer::kSineSource,
                           "frequency=440"};
    struct Row {
        const char* lost;
        std::function<void(bool back)> plug;
    } rows[] = {
        {"video device \"Virtual Camera\"",
         [&](bool back) { rig.SetCameraFault(back ? "" : "unplug Virtual Camera"); }},
        {"audio device \"Sine source at 440 Hz\"",
         [&](bool back) {
             ASSERT_TRUE(back ? rig.sound().Pactl(QStringList{"load-module"} + sine)
                              : rig.sound().Pactl({"unload-module", "module-sine-source"}));
         }},
    };
    ChooseCameraAndSine();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lost);
        const QString path = dir.filePath(QString("back%1.flv").arg(&row - rows));
        services.fileAnswers.push_back(path);
        dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT"));
        ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 50; }, 30000));
        row.plug(false);
        const QString lostText = QString("The %1 was disconnected").arg(row.lost);
        ASSERT_TRUE(WaitFor([&] { return control->StatusText().contains(lostText); }, 10000));
        Let(1500);
        row.plug(true);
        ASSERT_TRUE(WaitFor([&] { return !control->StatusText().contains(lostText); }, 10000));
        EXPECT_THAT(control->StatusText().toStdString(),
                    ::testing::HasSubstr(QString("The %1 is back.").arg(row.lost).toStdString()));
        const double backAt = control->Stats().framesWritten / 25.0;
        ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= backAt * 25 + 75; }, 30000));
        dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));

        const Readback rb = ReadRecording(path.toStdString());
        ASSERT_TRUE(rb.opened) << rb.error;
        EXPECT_EQ(rb.decodeErrors, 0);
        // The camera's once-a-second flash, and the sine, in the last three seconds.
        const std::vector<double> flashes = rb.FlashTimes();
        EXPECT_GE(std::count_if(flashes.begin(), flashes.end(), [&](double t) { return t > backAt; }), 2);
        const ToneSpan tone = MeasureTone(rb);
        EXPECT_GE(tone.last, rb.audioEnd - 0.3);
        EXPECT_NEAR(tone.frequency, 440, 5);
    }
    EXPECT_TRUE(services.messages.empty()) << services.messageTexts().join('|').toStdString();
}

const platform::CameraControl& ControlNamed(const CCameraControlsDlg& d, const std::string& name) {
    for (const platform::CameraControl& c : d.Controls())
        if (c.name == name) return c;
    static const platform::CameraControl none;
    ADD_FAILURE() << "no control " << name;
    return none;
}

// Through "Controls…" in the Video Device dialog: the camera's own controls by kind, how an
// automatic mode makes its manual value usable, refusals in words, and a change made while
// recording reaching the file.
TEST_F(StationDevices, CameraControlsActOnTheDeviceAndTheRecording) {
    ChooseCameraAndSine();
    CVideoDeviceDlg& video = dlg->VideoDeviceDlg();
    video.Button(VideoDeviceIds::kControlsButton)->click();
    CCameraControlsDlg& cc = video.CameraControls();
    ASSERT_TRUE(cc.isVisible());
    EXPECT_EQ(cc.windowTitle(), "Camera Controls");
    QStringList groups;
    for (QGroupBox* g : cc.findChildren<QGroupBox*>()) groups << g->title();
    EXPECT_EQ(groups, (QStringList{"User Controls", "Camera Controls"}));

    struct Row {
        const char* name;
        const char* widget;
        bool usable;  // false: inactive while its automatic mode is on
    } rows[] = {
        {"Brightness", "QSlider", true},
        {"Saturation", "QSlider", true},
        {"White Balance, Automatic", "QCheckBox", true},
        {"White Balance Temperature", "QSlider", false},
        {"Power Line Frequency", "QComboBox", true},
        {"Auto Exposure", "QComboBox", true},
        {"Exposure Time, Absolute", "QSlider", false},
        {"Focus, Automatic Continuous", "QCheckBox", true},
        {"Focus (absolute)", "QSlider", false},
    };
    for (const Row& row : rows) {
        QWidget* w = cc.findChild<QWidget*>(row.name);
        ASSERT_NE(w, nullptr) << row.name;
        EXPECT_STREQ(w->metaObject()->className(), row.widget) << row.name;
        EXPECT_EQ(w->isEnabled(), row.usable) << row.name;
    }
    auto* exposureMode = cc.findChild<QComboBox*>("Auto Exposure");
    ASSERT_EQ(exposureMode->count(), 2);  // the driver skips the other two values
    EXPECT_EQ(exposureMode->itemText(0), "Manual Mode");
    EXPECT_EQ(exposureMode->itemText(1), "Aperture Priority Mode");
    exposureMode->setCurrentIndex(0);
    emit exposureMode->activated(0);
    EXPECT_TRUE(cc.findChild<QWidget*>("Exposure Time, Absolute")->isEnabled());

    // Refused: beyond the range, and a manual value while its automatic mode is on. The
    // editor shows the device's value again.
    cc.Apply(ControlNamed(cc, "Exposure Time, Absolute"), 5000);
    EXPECT_THAT(cc.Message().toStdString(), ::testing::HasSubstr("takes 3 to 2047 only"));
    EXPECT_EQ(cc.findChild<QLabel*>("Exposure Time, Absolute value")->text(), "250");
    cc.Apply(ControlNamed(cc, "White Balance Temperature"), 3000);
    EXPECT_THAT(cc.Message().toStdString(), ::testing::HasSubstr("no effect in the camera's present mode"));
    EXPECT_EQ(ControlNamed(cc, "White Balance Temperature").value, 4600);

    // Brightness up halfway through a recording: the later pictures are brighter.
    const QString path = dir.filePath("brighter.flv");
    services.fileAnswers.push_back(path);
    dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT"));
    ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 25; }, 30000));
    auto* brightness = cc.findChild<QSlider*>("Brightness");
    brightness->setValue(brightness->maximum());
    EXPECT_EQ(ControlNamed(cc, "Brightness").value, 64);
    ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 60; }, 30000));
    dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
    const Readback rb = ReadRecording(path.toStdString());
    ASSERT_TRUE(rb.opened) << rb.error;
    auto meanLuma = [&](double from, double to) {  // of the pictures without the flash
        double sum = 0;
        int n = 0;
        for (const DecodedFrame& f : rb.frames)
            if (f.time >= from && f.time < to && f.meanLuma < 200) sum += f.meanLuma, ++n;
        return n ? sum / n : -1;
    };
    const double before = meanLuma(0, 0.8), after = meanLuma(rb.frames.back().time - 0.8, 1e9);
    EXPECT_GT(after - before, 40) << before << " -> " << after;

    cc.findChild<QPushButton*>("Reset all")->click();
    EXPECT_EQ(ControlNamed(cc, "Brightness").value, 0);
    EXPECT_EQ(ControlNamed(cc, "Auto Exposure").value, 3);
    EXPECT_FALSE(cc.findChild<QWidget*>("Exposure Time, Absolute")->isEnabled());

    video.ShowCameraControls(video.Combo(VideoDeviceIds::kDeviceList)->findText("Test Pattern"));
    EXPECT_EQ(cc.Message(), "\"Test Pattern\" has no controls.");
    EXPECT_TRUE(cc.Controls().empty());
}

// F12, the skin's button and the menu save the recorded picture into the Pictures folder;
// without a preview, or without a folder to write to, the user is told and nothing is saved.
TEST_F(StationDevices, SnapshotsSaveTheRecordedPictureIntoThePicturesFolder) {
    ScopedVideosFolder folders;
    const QString pictures = folders.pictures();  // made by the first snapshot
    ChooseCameraAndSine();
    const auto saved = [&] { return QDir(pictures).entryList({"*.png"}, QDir::Files, QDir::Name); };

    dlg->OnSkinButton(QStringLiteral("BUTTON_SNAPSHOT"));
    ASSERT_EQ(services.messageTexts().size(), 1);
    EXPECT_THAT(services.messageTexts()[0].toStdString(), ::testing::HasSubstr("press Play"));
    EXPECT_TRUE(saved().isEmpty());

    dlg->OnSkinButton(QStringLiteral("BUTTON_PLAY"));
    ASSERT_TRUE(WaitFor([&] { return control->FramesPainted() >= 3; }, 20000));
    // F12 until a picture is not the once-a-second flash; then the menu's entry.
    auto greenAt = [&](const QString& file) {
        const QImage shot(QDir(pictures).filePath(file));
        const QColor c = shot.pixelColor(shot.width() / 2, shot.height() * 7 / 8);
        return shot.size() == QSize(320, 240) && std::abs(c.red() - 40) < 25 &&
               std::abs(c.green() - 160) < 25 && std::abs(c.blue() - 80) < 25;
    };
    auto anyGreen = [&](const QStringList& files) { return std::any_of(files.begin(), files.end(), greenAt); };
    int presses = 0;
    do {
        const int64_t painted = control->FramesPainted();
        if (presses) {
            ASSERT_TRUE(WaitFor([&] { return control->FramesPainted() > painted; }, 5000));
        }
        QTest::keyClick(dlg.get(), Qt::Key_F12);
        ++presses;
    } while (presses < 4 && !anyGreen(saved()));
    std::unique_ptr<QMenu> menu(static_cast<CSkinDialog*>(dlg.get())->BuildContextMenu(nullptr));
    for (QAction* a : menu->actions())
        if (a->text() == "Take &Snapshot") a->trigger();
    const QStringList files = saved();
    ASSERT_EQ(files.size(), presses + 1) << services.messageTexts().join('|').toStdString();
    for (const QString& f : files)
        EXPECT_TRUE(QRegularExpression(R"(^Capture \d{4}-\d\d-\d\d \d\d-\d\d-\d\d( \(\d\))?\.png$)")
                        .match(f).hasMatch()) << f.toStdString();
    EXPECT_THAT(control->StatusText().toStdString(), ::testing::HasSubstr("Saved Capture "));
    // The output size and the camera's green.
    EXPECT_TRUE(anyGreen(files));

    // While recording: the file's picture, without the preview's red dot and "REC".
    services.fileAnswers.push_back(dir.filePath("shot.flv"));
    dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT"));
    ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 5; }, 30000));
    const QStringList before = saved();
    dlg->OnSkinButton(QStringLiteral("BUTTON_SNAPSHOT"));
    dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
    QStringList added = saved();
    for (const QString& f : before) added.removeAll(f);
    ASSERT_EQ(added.size(), 1);
    const QImage recorded(QDir(pictures).filePath(added[0]));
    int red = 0;
    for (int y = recorded.height() * 3 / 4; y < recorded.height(); ++y)
        for (int x = 0; x < recorded.width() / 3; ++x) {
            const QColor c = recorded.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 90 && c.blue() < 90;
        }
    EXPECT_EQ(red, 0);

    // A Pictures folder that cannot be made (a file stands in its way).
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    folders.SetPictures(dir.filePath("blocker/Pictures"));
    services.messages.clear();
    dlg->OnSkinButton(QStringLiteral("BUTTON_SNAPSHOT"));
    ASSERT_EQ(services.messageTexts().size(), 1);
    EXPECT_THAT(services.messageTexts()[0].toStdString(), ::testing::HasSubstr("cannot be made"));
}

}  // namespace

// Until the user sets the output picture or a type size, they follow the chosen camera:
// a 720p camera records 720p with a stamp that can be read.
TEST_F(StationDevices, TheOutputAndTheTypeSizesFollowTheChosenCameraUntilTheUserSetsThem) {
    auto edit = [&](int id) { return dlg->FlvDlg().Edit(id)->text(); };
    auto size = [&](CSettingsDialog& d) { return d.Combo(DateTimeIds::kFontSizeList)->currentText(); };
    CVideoDeviceDlg& video = dlg->VideoDeviceDlg();
    auto chooseFormat = [&](const char* format) {
        Choose(video.Combo(VideoDeviceIds::kDeviceList), QStringLiteral("Virtual Camera"));
        Choose(video.Combo(VideoDeviceIds::kFormatList), QString::fromLatin1(format));
        video.Button(VideoDeviceIds::kOk)->click();
    };
    struct Step {
        const char* format;
        const char *width, *height, *rate, *stamp, *text;
    } steps[] = {
        {"1280x720 MJPG 30 fps", "1280", "720", "30", "24", "24"},
        {"1920x1080 YUYV 5 fps", "1920", "1080", "5", "36", "36"},
        {"640x480 YUYV 30 fps", "640", "480", "30", "16", "16"},
    };
    for (const Step& s : steps) {
        chooseFormat(s.format);
        EXPECT_EQ(edit(FlvIds::kWidthEdit), s.width) << s.format;
        EXPECT_EQ(edit(FlvIds::kHeightEdit), s.height) << s.format;
        EXPECT_EQ(edit(FlvIds::kFrameRateEdit), s.rate) << s.format;
        EXPECT_EQ(size(dlg->DateTimeDlg()), s.stamp) << s.format;
        EXPECT_EQ(size(dlg->OverlayTextDlg()), s.text) << s.format;
    }
    // A size picked for the stamp and a rate typed into the output stay the user's.
    QComboBox* stamp = dlg->DateTimeDlg().Combo(DateTimeIds::kFontSizeList);
    Choose(stamp, QStringLiteral("12"));
    emit stamp->activated(stamp->currentIndex());
    dlg->FlvDlg().Edit(FlvIds::kFrameRateEdit)->setText("25");
    dlg->FlvDlg().Button(FlvIds::kOk)->click();
    chooseFormat("1280x720 MJPG 30 fps");
    EXPECT_EQ(edit(FlvIds::kWidthEdit), "640");
    EXPECT_EQ(edit(FlvIds::kFrameRateEdit), "25");
    EXPECT_EQ(size(dlg->DateTimeDlg()), "12");
    EXPECT_EQ(size(dlg->OverlayTextDlg()), "16");
}

// A camera or a sound source that comes or goes while its dialog is open: one plugged in
// appears, the chosen one that goes away stays listed as not connected, one not chosen leaves,
// and the stored choice keeps naming its device as the lists move.
TEST_F(StationDevices, DevicesThatComeAndGoWhileTheDialogIsOpen) {
    QString module;  // the extra sine's module, while loaded
    const QStringList extraSine{"load-module", "module-sine-source", "source_name=extra", "frequency=880"};
    struct Row {
        CSettingsDialog* dialog;
        int list, ok;
        QString name, fallback, format;  // a format to keep, where the device has them
        std::function<void(bool in)> plug;
        std::function<int32_t()> chosen;
    } rows[] = {
        {&dlg->VideoDeviceDlg(), VideoDeviceIds::kDeviceList, VideoDeviceIds::kOk, "Virtual Camera", "Test Pattern",
         "1280x720 MJPG 30 fps", [&](bool in) { rig.SetCameraFault(in ? "" : "unplug Virtual Camera"); },
         [&] { return dlg->VideoDeviceDlg().DeviceIndex(); }},
        {&dlg->AudioDeviceDlg(), AudioDeviceIds::kDeviceList, AudioDeviceIds::kOk, "Sine source at 880 Hz", "Test Tone", "",
         [&](bool in) {
             const bool done = in ? rig.sound().Pactl(extraSine, &module)
                                  : rig.sound().Pactl({"unload-module", module.trimmed()});
             ASSERT_TRUE(done);
         },
         [&] { return dlg->AudioDeviceDlg().DeviceIndex(); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        QComboBox* list = row.dialog->Combo(row.list);
        auto listed = [&](const QString& text) { return list->findText(text) >= 0; };
        auto choose = [&](const QString& name) {
            Choose(list, name);
            emit list->activated(list->currentIndex());
        };
        row.dialog->show();
        row.plug(true);
        ASSERT_TRUE(WaitFor([&] { return listed(row.name); }, 10000));
        choose(row.name);
        QComboBox* formats = dlg->VideoDeviceDlg().Combo(VideoDeviceIds::kFormatList);
        if (!row.format.isEmpty()) Choose(formats, row.format);
        row.dialog->Button(row.ok)->click();
        EXPECT_EQ(list->itemText(row.chosen()), row.name);
        // Chosen again, the device keeps the format on screen.
        row.dialog->show();
        choose(row.name);
        if (!row.format.isEmpty()) {
            EXPECT_EQ(formats->currentText(), row.format);
        }

        row.plug(false);
        const QString absent = DeviceListFollower::AbsentName(row.name);
        ASSERT_TRUE(WaitFor([&] { return list->currentText() == absent; }, 10000));
        EXPECT_FALSE(listed(row.name));
        EXPECT_EQ(list->itemText(row.chosen()), absent);
        if (!row.format.isEmpty()) {
            // The device now where the camera was is described anew when chosen.
            choose(list->itemText(0));
            EXPECT_EQ(formats->findText(row.format), -1) << list->itemText(0).toStdString();
        }
        choose(row.fallback);
        row.dialog->Button(row.ok)->click();
        row.dialog->show();
        EXPECT_FALSE(listed(absent));
        row.plug(true);
        ASSERT_TRUE(WaitFor([&] { return listed(row.name); }, 10000));
        EXPECT_EQ(list->itemText(row.chosen()), row.fallback);
        row.dialog->hide();
    }
    EXPECT_TRUE(services.messages.empty()) << services.messageTexts().join('|').toStdString();
}
