// The whole station with the virtual camera and the sine of a real sound server, chosen in
// the device dialogs as a user chooses them.
#include "DeviceRig.h"
#include "ScriptedServices.h"
#include "WaitFor.h"
#include "app/CCaptureDlg.h"
#include "component/CaptureComponent.h"
#include "component/CaptureControl.h"
#include "dialogs/DialogIds.h"

#include <QComboBox>
#include <QPushButton>

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
    EXPECT_EQ(services.messageTexts(),
              QStringList{"Capture Failure, Video/Audio compressor not correct or capture file opening"});
}

}  // namespace
