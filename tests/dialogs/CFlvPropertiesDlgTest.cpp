#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ScriptedServices.h"
#include "dialogs/CFlvPropertiesDlg.h"
#include "dialogs/DialogIds.h"

using namespace FlvIds;

namespace {

struct FlvFixture : ::testing::Test {
    ScriptedServices services;
    CFlvPropertiesDlg dlg;
    void SetUp() override {
        dlg.Create(nullptr);
        dlg.show();
    }
    void Type(int id, const QString& text) { dlg.Edit(id)->setText(text); }
    QString Shown(int id) { return dlg.Edit(id)->text(); }
    void Ok() { dlg.Button(kOk)->click(); }
};

}  // namespace

TEST_F(FlvFixture, ShowsTheDefaultsAndKeepsThemOnOk) {
    const std::pair<int, const char*> shown[] = {
        {kVideoBitrateEdit, "512000"}, {kWidthEdit, "320"}, {kAudioBitrateEdit, "128000"},
        {kHeightEdit, "240"},          {kChannelsEdit, "2"}, {kFrameRateEdit, "25"},
        {kSampleRateEdit, "44100"},
    };
    for (auto [id, text] : shown) EXPECT_EQ(Shown(id), text) << id;
    Ok();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(dlg.VideoBitrate(), 512000);
    EXPECT_EQ(dlg.Width(), 320);
    EXPECT_EQ(dlg.AudioBitrate(), 128000);
    EXPECT_EQ(dlg.Height(), 240);
    EXPECT_EQ(dlg.AudioChannels(), 2);
    EXPECT_EQ(dlg.FrameRate(), 25.0f);
    EXPECT_EQ(dlg.AudioSampleRate(), 44100);
}

TEST_F(FlvFixture, ABadWidthKeepsEarlierReadsAndDiscardsTheRest) {
    Type(kAudioBitrateEdit, "64000");
    Type(kVideoBitrateEdit, "256000");
    Type(kWidthEdit, "wide");
    Type(kHeightEdit, "120");
    Type(kSampleRateEdit, "22050");
    Ok();
    EXPECT_EQ(services.messageTexts(), QStringList{"Please enter an integer."});
    EXPECT_EQ(services.messages[0].icon, platform::MsgIcon::Exclamation);
    EXPECT_EQ(dlg.AudioBitrate(), 64000);
    EXPECT_EQ(dlg.VideoBitrate(), 256000);
    EXPECT_EQ(dlg.Width(), 320);
    EXPECT_EQ(dlg.Height(), 240);
    EXPECT_EQ(dlg.AudioSampleRate(), 44100);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(Shown(kWidthEdit), "320");
    EXPECT_EQ(Shown(kHeightEdit), "240");
}

TEST_F(FlvFixture, RejectsValuesOutsideTheFieldAndNonNumericRates) {
    struct Row {
        int id;
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {kWidthEdit, "40000", "Please enter an integer."},
        {kChannelsEdit, "", "Please enter an integer."},
        {kFrameRateEdit, "fast", "Please enter a number."},
        {kSampleRateEdit, "4294967296", "Please enter an integer."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        services.messages.clear();
        dlg.show();
        Type(r.id, r.text);
        Ok();
        EXPECT_EQ(services.messageTexts(), QStringList{r.message});
        EXPECT_FALSE(dlg.isVisible());
    }
    EXPECT_EQ(dlg.Width(), 320);
    EXPECT_EQ(dlg.FrameRate(), 25.0f);
}

TEST_F(FlvFixture, KeepsAFractionalFrameRate) {
    Type(kFrameRateEdit, "29.97");
    Ok();
    EXPECT_EQ(dlg.FrameRate(), 29.97f);
    EXPECT_EQ(Shown(kFrameRateEdit), "29.97");
}

TEST_F(FlvFixture, CancelKeepsTheStoredValuesAndTheTypedTextForTheNextOk) {
    Type(kAudioBitrateEdit, "96000");
    dlg.Button(kCancel)->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.AudioBitrate(), 128000);
    EXPECT_EQ(Shown(kAudioBitrateEdit), "96000");
    dlg.show();
    Ok();
    EXPECT_EQ(dlg.AudioBitrate(), 96000);
}

TEST_F(FlvFixture, EnterRunsOnlyTheStandardOkStep) {
    Type(kWidthEdit, "abc");
    Type(kHeightEdit, "100");
    QTest::keyClick(dlg.Edit(kHeightEdit), Qt::Key_Return);
    // The failure keeps the dialog open with the rejected text selected in its edit.
    EXPECT_EQ(services.messageTexts(), QStringList{"Please enter an integer."});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(Shown(kWidthEdit), "abc");
    EXPECT_EQ(dlg.Edit(kWidthEdit)->selectedText(), "abc");
    EXPECT_EQ(dlg.focusWidget(), dlg.Edit(kWidthEdit));
    EXPECT_EQ(Shown(kHeightEdit), "100");  // nothing written back

    Type(kWidthEdit, "640");
    QTest::keyClick(&dlg, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Width(), 640);
    EXPECT_EQ(dlg.Height(), 100);
}

TEST_F(FlvFixture, EscapeAndTheCloseBoxActAsCancel) {
    Type(kAudioBitrateEdit, "1");
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    dlg.show();
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.AudioBitrate(), 128000);
    EXPECT_TRUE(services.messages.empty());
}

TEST(TemplateDialog, BuildsTheTemplateInDialogUnitsOfItsFont) {
    CFlvPropertiesDlg dlg;
    EXPECT_EQ(dlg.Control(kOk), nullptr);  // no window yet
    dlg.Create(nullptr);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.windowTitle(), "FLV Properties");
    EXPECT_EQ(dlg.font().family(), "Cambria");
    EXPECT_EQ(dlg.font().pointSize(), 10);
    ASSERT_NE(dlg.Button(kOk), nullptr);
    EXPECT_EQ(dlg.Button(kOk)->text(), "Ok");
    EXPECT_FALSE(dlg.Button(kOk)->autoDefault());
    // "Ok" at (191, 92) and "Cancel" at (239, 92), both 40 x 13 units: the same row, the
    // same size, Cancel further right by 48 horizontal units.
    const QRect ok = dlg.Button(kOk)->geometry(), cancel = dlg.Button(kCancel)->geometry();
    EXPECT_EQ(ok.y(), cancel.y());
    EXPECT_EQ(ok.size(), cancel.size());
    EXPECT_NEAR(double(cancel.x() - ok.x()) / ok.width(), 48.0 / 40.0, 0.05);
    EXPECT_NEAR(double(dlg.width()) / ok.width(), 286.0 / 40.0, 0.2);
}

// A value the encoders take only adapted is said and shown as it will be used; one they
// cannot take at all is refused, the dialog open on it.
TEST_F(FlvFixture, SaysWhatItAdaptsAndRefusesWhatNoEncoderTakes) {
    const struct {
        int id;
        const char* typed;
        const char* message;
        bool closes;
        const char* shown;    // in the field after Ok
        const char* restore;  // typed back where the dialog stays open
    } rows[] = {
        {kSampleRateEdit, "12345", "AAC sound has no sample rate of 12345 Hz: 12000 Hz will be used.", true, "12000", nullptr},
        {kWidthEdit, "641", "H.264 needs an even width and height: 641x240 will be recorded as 640x240.", true, "640", nullptr},
        {kSampleRateEdit, "200000", "The sample rate must be from 7350 to 96000 Hz.", false, "200000", "44100"},
        {kHeightEdit, "8", "The height must be from 16 to 4096 pixels.", false, "8", "240"},
        {kFrameRateEdit, "0", "The frame rate must be from 1 to 120 frames a second.", false, "0", "25"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        services.messages.clear();
        dlg.show();
        Type(r.id, r.typed);
        Ok();
        EXPECT_EQ(services.messageTexts(), QStringList{r.message});
        EXPECT_EQ(dlg.isVisible(), !r.closes);
        EXPECT_EQ(Shown(r.id), r.shown);
        if (!r.closes) {
            Type(r.id, r.restore);
            Ok();
        }
    }
    EXPECT_EQ(dlg.AudioSampleRate(), 44100);
    EXPECT_EQ(dlg.Width(), 640);
}
