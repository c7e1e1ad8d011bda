#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include "FakeCaptureControl.h"
#include "ScriptedServices.h"
#include "SkinBuilder.h"
#include "app/CCaptureDlg.h"
#include "controls/SkinButton.h"
#include "controls/SkinEditBox.h"
#include "dialogs/DialogIds.h"

using platform::InvokeKind;
using platform::Variant;

namespace {

const char* kSkinSections =
    "[BUTTONINFO]\n"
    "1=BUTTON_PLAY,btn.bmp,10,125,20,135,Preview,F\n"
    "2=BUTTON_PAUSE,btn.bmp,10,125,20,135,Pause,F\n"
    "3=BUTTON_STOP,btn.bmp,30,125,40,135,Stop,F\n"
    "4=BUTTON_CONVERT,btn.bmp,50,125,60,135,Record,F\n"
    "5=BUTTON_EXIT,btn.bmp,70,125,80,135,Exit,F\n"
    "[EDITBOXINFO]\n1=EDIT_FILE,60,100,190,115,0xFFFFFF,0x000000,0x808080,TRUE\n";

// Records how many control calls had been made when each message box came up.
struct TimedServices : ScriptedServices {
    FakeCaptureScript* script = nullptr;
    std::vector<size_t> callsAtMessage;
    int Show(QWidget* owner, const QString& title, const QString& text,
             platform::MsgButtons buttons, platform::MsgIcon icon) override {
        callsAtMessage.push_back(script ? script->calls.size() : 0);
        return ScriptedServices::Show(owner, title, text, buttons, icon);
    }
};

struct MainWindowFixture : ::testing::Test {
    FakeCaptureRegistration fake;  // before the window, which creates its control
    TimedServices services;
    QTemporaryDir dir;
    std::unique_ptr<CCaptureDlg> dlg;

    void SetUp() override {
        services.script = &fake.script();
        BasicSkin(kSkinSections).WritePackage(dir.filePath("Blue.skn"));
        Restart();
    }
    // A new main window on the same skin and control script, with no calls recorded.
    void Restart() {
        dlg.reset();
        dlg = std::make_unique<CCaptureDlg>();
        dlg->SetStartDirectory(dir.path());
        dlg->OnInitDialog();
        fake->Clear();
    }

    std::vector<FakeCall> Calls() const { return fake.script().ControlCalls(); }
    bool Visible(const char* button) const { return !dlg->FindButton(button)->isHidden(); }

    // What the sequences send with every dialog at its initial values.
    static std::vector<FakeCall> DeviceSelection() {
        return {Put(0x01, Variant::I16(0)), Put(0x2a, Variant::I16(0)), Put(0x02, Variant::I16(0)),
                Put(0x1a, Variant::I16(0)), Put(0x33, Variant::I16(0))};
    }
    std::vector<FakeCall> OverlaySet() const {
        return {Method(0x6b, {Variant::I16(0), Variant::I16(30), Variant::I16(0)}),
                Method(0x7f, {Variant::I16(0), Variant::I16(0), Variant::I16(0),
                              Variant::Str("Korvex Software\r\nwww.example.com")}),
                Method(0x7b, {Variant::I16(0), Variant::I16(20), Variant::I16(0),
                              Variant::Str(dlg->OverlayImageDlg().ImageFile().toStdString()),
                              Variant::Colour(0), Variant::I16(100)})};
    }
    std::vector<FakeCall> ApplyOverlays() const {
        std::vector<FakeCall> calls{Method(0x72, {Variant::I16(0)}), Method(0x86, {Variant::Bool(false)})};
        for (auto& c : OverlaySet()) calls.push_back(c);
        return calls;
    }
    static std::vector<FakeCall> StartSettings(int32_t activeOverlay = 0) {
        return {Put(0x43, Variant::I16(1)), Put(0x44, Variant::I16(1)),
                Put(0x47, Variant::I32(activeOverlay))};
    }
    static std::vector<FakeCall> FlvValues(int16_t frameRate = 25) {
        return {Put(0x57, Variant::I32(128000)), Put(0x58, Variant::I16(2)),
                Put(0x59, Variant::I32(44100)),  Put(0x5a, Variant::I16(240)),
                Put(0x5c, Variant::I16(320)),    Put(0x5b, Variant::I32(512000)),
                Put(0x5d, Variant::I16(frameRate))};
    }
};

std::vector<FakeCall> Join(std::initializer_list<std::vector<FakeCall>> parts) {
    std::vector<FakeCall> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

TEST(CCaptureDlgInit, FillsTheNameListsAndCreatesTheDialogsHidden) {
    FakeCaptureRegistration fake;
    ScriptedServices services;
    QTemporaryDir dir;
    BasicSkin(kSkinSections).WritePackage(dir.filePath("Blue.skn"));
    CCaptureDlg dlg;
    dlg.SetStartDirectory(dir.path());
    dlg.OnInitDialog();

    // Only reads: the five collections in their order, each call on a fresh object.
    std::vector<int> properties;
    for (const FakeCall& c : fake->calls) {
        if (c.collection != 0) continue;
        EXPECT_EQ(c.kind, InvokeKind::PropertyGet) << c;
        if (properties.empty() || properties.back() != c.dispid) properties.push_back(c.dispid);
    }
    EXPECT_EQ(properties, (std::vector<int>{0x03, 0x04, 0x34, 0x19, 0x29}));
    EXPECT_EQ(fake->collectionsAlive, 0);
    EXPECT_EQ(dlg.VideoDeviceDlg().DeviceNames(), fake->videoDevices);
    EXPECT_EQ(dlg.VideoDeviceDlg().FormatNames(), fake->videoFormats[0]);
    EXPECT_EQ(dlg.VideoDeviceDlg().InputNames(), fake->videoInputs[0]);
    EXPECT_EQ(dlg.AudioDeviceDlg().DeviceNames(), fake->audioDevices);
    EXPECT_EQ(dlg.AudioDeviceDlg().InputNames(), fake->audioInputs);

    platform::TemplateDialog* dialogs[] = {&dlg.VideoDeviceDlg(), &dlg.AudioDeviceDlg(),
                                           &dlg.DateTimeDlg(),    &dlg.OverlayTextDlg(),
                                           &dlg.OverlayImageDlg(), &dlg.FlvDlg()};
    for (platform::TemplateDialog* d : dialogs) {
        EXPECT_TRUE(d->IsCreated());
        EXPECT_TRUE(d->isHidden());
        EXPECT_EQ(d->parentWidget(), &dlg);
    }
    EXPECT_EQ(dlg.VideoDeviceDlg().Combo(VideoDeviceIds::kDeviceList)->count(), 2);
    EXPECT_EQ(dlg.CaptureControl()->geometry(), QRect(40, 30, 120, 90));
    EXPECT_TRUE(services.messages.empty());
}

TEST(CCaptureDlgInit, AControlThatCannotListDevicesLeavesEmptyListsAndWorkingDialogs) {
    FakeCaptureRegistration fake;
    fake->failDispid = 0x03;
    ScriptedServices services;
    QTemporaryDir dir;
    BasicSkin(kSkinSections).WritePackage(dir.filePath("Blue.skn"));
    CCaptureDlg dlg;
    dlg.SetStartDirectory(dir.path());
    dlg.OnInitDialog();
    EXPECT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(dlg.VideoDeviceDlg().DeviceNames().isEmpty());
    EXPECT_TRUE(dlg.FlvDlg().IsCreated());
}

TEST_F(MainWindowFixture, RecordingSendsEverythingInOrder) {
    services.fileAnswers = {QString("/videos/take1.flv")};
    dlg->OnSkinButton("BUTTON_CONVERT");

    const auto expected = Join({DeviceSelection(), OverlaySet(), {Put(0x4e, Variant::I32(4))},
                                FlvValues(),
                                {Put(0x07, Variant::Str("/videos/take1.flv")),
                                 Put(0x06, Variant::Bool(true))},
                                StartSettings(), {Method(0x67)}, ApplyOverlays()});
    EXPECT_EQ(Calls(), expected);
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(dlg->Edits().front()->text(), "/videos/take1.flv");

    // A new name may be typed, and an existing file is only replaced after asking.
    ASSERT_EQ(services.fileRequests.size(), 1u);
    const platform::FileDialogRequest& r = services.fileRequests[0];
    EXPECT_TRUE(r.save);
    EXPECT_FALSE(r.mustExist);
    EXPECT_TRUE(r.confirmOverwrite);
    EXPECT_EQ(r.defaultExt, "flv");
    EXPECT_EQ(r.filter, "flv file(*.flv)|*.flv|All Files(*.*)|*.*|| ");
    EXPECT_EQ(r.owner, dlg.get());
}

TEST_F(MainWindowFixture, ACancelledRecordingStopsAfterTheOutputFormat) {
    dlg->OnSkinButton("BUTTON_CONVERT");
    EXPECT_EQ(Calls(), Join({DeviceSelection(), OverlaySet(), {Put(0x4e, Variant::I32(4))}}));
    EXPECT_EQ(dlg->Edits().front()->text(), "");
}

TEST_F(MainWindowFixture, ARecordingThatCannotStartIsReportedAfterEveryOtherStep) {
    fake->startResult = -1;
    services.fileAnswers = {QString("/videos/take2.flv")};
    dlg->OnSkinButton("BUTTON_CONVERT");
    ASSERT_EQ(services.messageTexts(),
              QStringList{"Capture Failure, Video/Audio compressor not correct or capture file opening"});
    EXPECT_EQ(services.messages[0].icon, platform::MsgIcon::Exclamation);
    EXPECT_EQ(services.messages[0].title, "Capture Station");
    EXPECT_EQ(services.callsAtMessage, std::vector<size_t>{fake->calls.size()});
    EXPECT_EQ(Calls().back(), OverlaySet().back());
    EXPECT_EQ(dlg->Edits().front()->text(), "/videos/take2.flv");
}

TEST_F(MainWindowFixture, AFailingCallAbandonsTheRestAndIsReported) {
    fake->failDispid = 0x4e;
    services.fileAnswers = {QString("/videos/never.flv")};
    EXPECT_NO_THROW(dlg->OnSkinButton("BUTTON_CONVERT"));
    EXPECT_EQ(Calls(), Join({DeviceSelection(), OverlaySet(), {Put(0x4e, Variant::I32(4))}}));
    EXPECT_TRUE(services.fileRequests.empty());
    EXPECT_EQ(services.messageTexts(), QStringList{"The capture control failed call 78."});

    // The next command runs normally.
    fake->failDispid = 0;
    fake->Clear();
    dlg->OnSkinButton("BUTTON_PAUSE");
    EXPECT_EQ(Calls(), std::vector<FakeCall>{Method(0x6d)});
}

TEST_F(MainWindowFixture, PreviewPauseAndStop) {
    dlg->OnSkinButton("BUTTON_PLAY");
    EXPECT_TRUE(Visible("BUTTON_PAUSE"));
    EXPECT_FALSE(Visible("BUTTON_PLAY"));
    EXPECT_EQ(Calls(), Join({DeviceSelection(), StartSettings(), {Method(0x67)}, ApplyOverlays()}));

    fake->Clear();
    dlg->OnSkinButton("BUTTON_PAUSE");
    EXPECT_FALSE(Visible("BUTTON_PAUSE"));
    EXPECT_TRUE(Visible("BUTTON_PLAY"));
    EXPECT_EQ(Calls(), std::vector<FakeCall>{Method(0x6d)});

    dlg->OnSkinButton("BUTTON_PLAY");
    fake->Clear();
    dlg->OnSkinButton("BUTTON_STOP");
    EXPECT_EQ(Calls(), Join({{Put(0x21, Variant::Bool(true)), Put(0x06, Variant::Bool(false)),
                              Method(0x68), Method(0x67)},
                             ApplyOverlays()}));
    // Stop shows "play" and leaves "pause" as it was.
    EXPECT_TRUE(Visible("BUTTON_PLAY"));
    EXPECT_TRUE(Visible("BUTTON_PAUSE"));
}

TEST_F(MainWindowFixture, StartsSendTheValuesTheDialogsHold) {
    using namespace FlvIds;
    CFlvPropertiesDlg& flv = dlg->FlvDlg();
    flv.Edit(kFrameRateEdit)->setText("29.97");
    flv.Button(kOk)->click();
    COverlayTextDlg& text = dlg->OverlayTextDlg();
    text.Check(OverlayTextIds::kUseOverlay)->setChecked(false);
    text.Button(OverlayTextIds::kOk)->click();
    CAudioDeviceDlg& audio = dlg->AudioDeviceDlg();
    audio.Edit(AudioDeviceIds::kOffsetEdit)->setText("70000");
    audio.Button(AudioDeviceIds::kOk)->click();
    CVideoDeviceDlg& video = dlg->VideoDeviceDlg();
    video.Combo(VideoDeviceIds::kDeviceList)->setCurrentIndex(1);
    video.Button(VideoDeviceIds::kOk)->click();
    fake->Clear();

    services.fileAnswers = {QString("/videos/take3.flv")};
    dlg->OnSkinButton("BUTTON_CONVERT");
    const auto calls = Calls();
    auto find = [&](int dispid) {
        for (const FakeCall& c : calls)
            if (c.dispid == dispid) return c;
        return FakeCall{};
    };
    EXPECT_EQ(find(0x01), Put(0x01, Variant::I16(1)));
    EXPECT_EQ(find(0x5d), Put(0x5d, Variant::I16(29)));
    EXPECT_EQ(find(0x44), Put(0x44, Variant::I16(int16_t(70000 - 65536))));
    EXPECT_EQ(find(0x47), Put(0x47, Variant::I32(-1)));
    // The overlays are still drawn without "Use Overlay".
    EXPECT_EQ(find(0x7f).dispid, 0x7f);
    EXPECT_EQ(find(0x7b).dispid, 0x7b);
}

TEST_F(MainWindowFixture, EachSettingsButtonShowsItsDialog) {
    const std::pair<const char*, QDialog*> table[] = {
        {"BUTTON_VIDEODEVICE", &dlg->VideoDeviceDlg()}, {"BUTTON_AUDIODEVICE", &dlg->AudioDeviceDlg()},
        {"BUTTON_DATATIME", &dlg->DateTimeDlg()},      {"BUTTON_OVERLAYTEXT", &dlg->OverlayTextDlg()},
        {"BUTTON_OVERLAYIMAGE", &dlg->OverlayImageDlg()}, {"BUTTON_WMVPROFILE", &dlg->FlvDlg()},
    };
    for (const auto& [name, dialog] : table) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(dialog->isVisible());
        dlg->OnSkinButton(name);
        EXPECT_TRUE(dialog->isVisible());
    }
    EXPECT_TRUE(Calls().empty());
}

TEST_F(MainWindowFixture, FileButtonsAskAndDoNothingElse) {
    services.fileAnswers = {QString("/videos/a.avi"), QString("/videos/b.mp4")};
    dlg->OnSkinButton("BUTTON_ADD");
    dlg->OnSkinButton("BUTTON_BROWSE");
    ASSERT_EQ(services.fileRequests.size(), 2u);
    EXPECT_FALSE(services.fileRequests[0].save);
    EXPECT_TRUE(services.fileRequests[1].save);
    for (const auto& r : services.fileRequests) {
        EXPECT_EQ(r.filter, "All Video Files(*.wmv, *mp4, *avi)|*.wmv;*.mp4;*.avi||");
        EXPECT_TRUE(r.mustExist);
        EXPECT_TRUE(r.multiSelect);
        EXPECT_TRUE(r.defaultExt.isEmpty());
        EXPECT_EQ(r.owner, nullptr);
    }
    EXPECT_TRUE(fake->calls.empty());
    EXPECT_EQ(dlg->Edits().front()->text(), "");
}

TEST_F(MainWindowFixture, UpDownMessagesAndUnknownNames) {
    for (const char* name : {"button_play", "BUTTON_PLAY ", "BUTTON_NOTHING", ""})
        dlg->OnSkinButton(name);
    EXPECT_TRUE(fake->calls.empty());
    EXPECT_TRUE(services.messages.empty());
    dlg->OnSkinButton("BUTTON_UP");
    dlg->OnSkinButton("BUTTON_DOWN");
    EXPECT_EQ(services.messageTexts(), (QStringList{"Up Button Pressed", "Down Button Pressed"}));
    EXPECT_EQ(services.messages[0].icon, platform::MsgIcon::Exclamation);
}

TEST_F(MainWindowFixture, ExitEndsTheRunWithOk) {
    dlg->show();
    dlg->OnSkinButton("BUTTON_CLOSE");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), 1);
}

TEST_F(MainWindowFixture, TheSettingsDialogsReachTheWindowsControl) {
    CDateTimeDlg& dt = dlg->DateTimeDlg();
    dt.Button(DateTimeIds::kDrawTime)->click();
    EXPECT_EQ(Calls(), std::vector<FakeCall>{OverlaySet().front()});
}

// Each key runs what clicking its buttons runs: the same calls on the control, the same
// buttons shown after, the same end of the run; and the buttons' tips name the key.
struct KeyRow {
    const char* label;
    std::vector<QKeyCombination> keys;
    std::vector<const char*> buttons;
    const char* tip;  // of the first button
};

TEST_F(MainWindowFixture, EachKeyRunsWhatItsButtonsRun) {
    const KeyRow rows[] = {
        {"space_previews", {Qt::Key_Space}, {"BUTTON_PLAY"}, "Preview (Space)"},
        {"space_again_pauses", {Qt::Key_Space, Qt::Key_Space}, {"BUTTON_PLAY", "BUTTON_PAUSE"},
         "Preview (Space)"},
        {"ctrl_r_records", {Qt::CTRL | Qt::Key_R}, {"BUTTON_CONVERT"}, "Record (Ctrl+R)"},
        {"ctrl_s_stops", {Qt::CTRL | Qt::Key_S}, {"BUTTON_STOP"}, "Stop (Ctrl+S)"},
        {"ctrl_period_stops", {Qt::CTRL | Qt::Key_Period}, {"BUTTON_STOP"}, "Stop (Ctrl+S)"},
        {"ctrl_q_exits", {Qt::CTRL | Qt::Key_Q}, {"BUTTON_EXIT"}, "Exit (Ctrl+Q)"},
    };
    struct Outcome {
        std::vector<FakeCall> calls;
        bool play, pause;
        int result;
    };
    auto run = [&](const std::function<void()>& act) {
        Restart();
        services.fileAnswers = {dir.filePath("take.flv")};
        act();
        return Outcome{Calls(), Visible("BUTTON_PLAY"), Visible("BUTTON_PAUSE"), dlg->result()};
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.label);
        const Outcome byKey = run([&] {
            for (const QKeyCombination key : row.keys)
                QTest::keyClick(dlg.get(), key.key(), key.keyboardModifiers());
        });
        const Outcome byMouse = run([&] {
            for (const char* name : row.buttons)
                QTest::mouseClick(dlg->FindButton(name), Qt::LeftButton);
        });
        EXPECT_EQ(byKey.calls, byMouse.calls);
        EXPECT_EQ(byKey.play, byMouse.play);
        EXPECT_EQ(byKey.pause, byMouse.pause);
        EXPECT_EQ(byKey.result, byMouse.result);
        EXPECT_TRUE(!byMouse.calls.empty() || byMouse.result == 1);  // the row did something
        EXPECT_EQ(dlg->FindButton(row.buttons[0])->toolTip(), row.tip);
    }
}

TEST_F(MainWindowFixture, KeysTypedIntoAnEditBoxStayThere) {
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    SkinEditBox* edit = dlg->Edits().front().get();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Space);
    EXPECT_EQ(edit->text(), " ");
    EXPECT_TRUE(Calls().empty());
    QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);  // the edit has no use for it
    EXPECT_EQ(Calls().front(), Put(0x21, Variant::Bool(true)));
}
