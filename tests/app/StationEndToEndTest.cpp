// The whole station with the real capture component, driven as a user drives it: choose the
// test sources in the device dialogs, preview, record to a file picked in the save dialog,
// stop; then read the recording back.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cmath>

#include "MediaReadback.h"
#include "ScopedVideosFolder.h"
#include "ScriptedServices.h"
#include "WaitFor.h"
#include "app/CCaptureDlg.h"
#include "component/CaptureComponent.h"
#include "component/CaptureControl.h"
#include "controls/SkinEditBox.h"
#include "dialogs/DialogIds.h"

namespace {

void Choose(QComboBox* combo, const QString& text) {
    ASSERT_NE(combo, nullptr);
    const int i = combo->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    combo->setCurrentIndex(i);
}

class StationEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        RegisterCaptureComponent();
        dlg = std::make_unique<CCaptureDlg>();
        dlg->SetStartDirectory(QStringLiteral(CS_SKINS_DIR));  // the shipped Blue.skn
        dlg->OnInitDialog();
        dlg->show();
        control = dynamic_cast<component::CaptureControl*>(dlg->CaptureControl());
        ASSERT_NE(control, nullptr);
        ASSERT_TRUE(services.messages.empty()) << services.messageTexts().join('|').toStdString();
    }
    void TearDown() override { dlg.reset(); }

    // The built-in sources, whatever cameras or microphones the machine has.
    void ChooseTestSources(int syncMode, const QString& offset) {
        CVideoDeviceDlg& video = dlg->VideoDeviceDlg();
        Choose(video.Combo(VideoDeviceIds::kDeviceList), QStringLiteral("Test Pattern"));
        video.Button(VideoDeviceIds::kOk)->click();
        CAudioDeviceDlg& audio = dlg->AudioDeviceDlg();
        Choose(audio.Combo(AudioDeviceIds::kDeviceList), QStringLiteral("Test Tone"));
        audio.Combo(AudioDeviceIds::kSyncModeList)->setCurrentIndex(syncMode);
        audio.Edit(AudioDeviceIds::kOffsetEdit)->setText(offset);
        audio.Button(AudioDeviceIds::kOk)->click();
        ASSERT_EQ(dlg->VideoDeviceDlg().DeviceIndex(),
                  video.Combo(VideoDeviceIds::kDeviceList)->currentIndex());
        ASSERT_EQ(dlg->AudioDeviceDlg().SyncMode(), syncMode);
    }

    // Preview, then record about three seconds, then stop.
    Readback RecordThreeSeconds(const QString& name, int64_t* framesWritten) {
        const QString path = dir.filePath(name);
        dlg->OnSkinButton(QStringLiteral("BUTTON_PLAY"));
        EXPECT_TRUE(WaitFor([&] { return control->framesPainted() >= 3; }, 20000));
        services.fileAnswers.push_back(path);
        dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT"));
        // The FLV dialog's own values start at 25 frames per second.
        EXPECT_TRUE(
            WaitFor([&] { return control->recordingStats().framesWritten >= 75; }, 30000));
        dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
        *framesWritten = control->recordingStats().framesWritten;
        EXPECT_TRUE(services.messages.empty())
            << services.messageTexts().join('|').toStdString();
        return ReadRecording(path.toStdString());
    }

    ScopedVideosFolder videos;  // the save dialog's first folder, kept out of the real home
    QTemporaryDir dir;
    ScriptedServices services;
    std::unique_ptr<CCaptureDlg> dlg;
    component::CaptureControl* control = nullptr;
};

TEST_F(StationEndToEnd, PreviewRecordStopGivesAPlayableFileInSync) {
    ChooseTestSources(1, QStringLiteral("0"));
    int64_t written = 0;
    const Readback rb = RecordThreeSeconds(QStringLiteral("take.flv"), &written);
    ASSERT_TRUE(rb.opened) << rb.error;
    // The recording's path is shown in the skin's edit box.
    ASSERT_FALSE(dlg->Edits().empty());
    EXPECT_TRUE(dlg->Edits().front()->text().endsWith(QStringLiteral("take.flv")));
    // The FLV dialog's initial values: 320x240, 25 fps, 44100 Hz stereo.
    EXPECT_EQ(rb.videoCodec, "h264");
    EXPECT_EQ(rb.audioCodec, "aac");
    EXPECT_EQ(rb.width, 320);
    EXPECT_EQ(rb.height, 240);
    EXPECT_NEAR(rb.frameRate, 25.0, 0.01);
    EXPECT_EQ(rb.sampleRate, 44100);
    EXPECT_EQ(rb.channels, 2);
    EXPECT_EQ(rb.decodeErrors, 0);
    EXPECT_EQ(int64_t(rb.frames.size()), written);
    EXPECT_NEAR(rb.VideoSpan(), 3.0, 1.0 / 25 + 1e-3);
    const auto offsets = rb.AvOffsets();
    ASSERT_GE(offsets.size(), 2u);
    for (double o : offsets) EXPECT_LT(std::fabs(o), 0.010) << o;
    // Stop went back to the preview.
    EXPECT_TRUE(WaitFor([&] { return control->statusText().isEmpty(); }, 5000));
}

TEST_F(StationEndToEnd, SyncMode2DelaysTheSoundByTheSetOffset) {
    ChooseTestSources(2, QStringLiteral("120"));
    int64_t written = 0;
    const Readback rb = RecordThreeSeconds(QStringLiteral("offset.flv"), &written);
    ASSERT_TRUE(rb.opened) << rb.error;
    const auto offsets = rb.AvOffsets();
    ASSERT_GE(offsets.size(), 2u);
    for (double o : offsets) EXPECT_NEAR(o, 0.120, 0.010);
}

}  // namespace
