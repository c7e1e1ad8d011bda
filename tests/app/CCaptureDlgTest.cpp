#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

#include "FakeCaptureControl.h"
#include "ScopedVideosFolder.h"
#include "ScriptedServices.h"
#include "SkinBuilder.h"
#include "app/CCaptureDlg.h"
#include "app/RecordingFolder.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinEditBox.h"
#include "controls/SkinListBox.h"
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
    ScopedVideosFolder videos;  // recordings start their save dialog there
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
        return {Put(Op::VideoDeviceIndex, Variant::I16(0)), Put(Op::VideoInputIndex, Variant::I16(0)), Put(Op::VideoFormatIndex, Variant::I16(0)),
                Put(Op::VideoStandardIndex, Variant::I16(0)), Put(Op::Deinterlace, Variant::Bool(true)),
                Put(Op::AudioDeviceIndex, Variant::I16(0)), Put(Op::AudioInputIndex, Variant::I16(0))};
    }
    std::vector<FakeCall> OverlaySet() const {
        return {Method(Op::DrawDateTime, {Variant::I16(0), Variant::I16(30), Variant::I16(0)}),
                Method(Op::DrawOverlayText, {Variant::I16(0), Variant::I16(0), Variant::I16(0),
                              Variant::Str("Korvex Software\r\nwww.example.com")}),
                Method(Op::DrawOverlayImage, {Variant::I16(0), Variant::I16(20), Variant::I16(0),
                              Variant::Str(dlg->OverlayImageDlg().ImageFile().toStdString()),
                              Variant::Colour(0), Variant::I16(100)})};
    }
    std::vector<FakeCall> ApplyOverlays() const {
        std::vector<FakeCall> calls{Method(Op::SetVideoRotation, {Variant::I16(0)}), Method(Op::SetInvertColor, {Variant::Bool(false)})};
        for (auto& c : OverlaySet()) calls.push_back(c);
        return calls;
    }
    static std::vector<FakeCall> StartSettings(int32_t activeOverlay = 0) {
        return {Put(Op::AudioSyncMode, Variant::I16(1)), Put(Op::AudioOffset, Variant::I16(1)),
                Put(Op::ActiveOverlay, Variant::I32(activeOverlay))};
    }
    static std::vector<FakeCall> FlvValues(int16_t frameRate = 25) {
        return {Put(Op::FlvAudioBitrate, Variant::I32(128000)), Put(Op::FlvAudioChannels, Variant::I16(2)),
                Put(Op::FlvAudioSampleRate, Variant::I32(44100)),  Put(Op::FlvVideoHeight, Variant::I16(240)),
                Put(Op::FlvVideoWidth, Variant::I16(320)),    Put(Op::FlvVideoBitrate, Variant::I32(512000)),
                Put(Op::FlvFrameRate, Variant::I16(frameRate))};
    }
};

// A skin for switching to: its video frame at `control` with a button under the frame's
// centre, the quality options, the grey-picture box, the recordings list and the format
// combo box beside it.
SkinBuilder SwitchSkin(const QRect& control) {
    auto edges = [](const QRect& r) {
        return std::to_string(r.left()) + "," + std::to_string(r.top()) + "," +
               std::to_string(r.right() + 1) + "," + std::to_string(r.bottom() + 1);
    };
    const QRect under(control.center() - QPoint(5, 5), QSize(10, 10));
    const std::string bar = "t.bmp,u.bmp,up.bmp,d.bmp,dp.bmp,th.bmp,thp.bmp";
    SkinBuilder b;
    b.Image("back.bmp", SolidImage(300, 260, QColor(0, 0, 160)));
    b.Image("btn.bmp", ButtonStrip(10, 10, Qt::red, Qt::green, Qt::blue, Qt::gray));
    b.Ini("[Screen]\nMain=back.bmp\n[TRANSPARENT]\nCOLOR=0xFF00FF\n[CONTROL]\nCONTROL=" +
          edges(control) + "\n[BUTTONINFO]\n1=BUTTON_UNDER," + "btn.bmp," + edges(under) +
          ",Under,F\n[OPTIONINFO]\n"
          "1=OPTION_QUALITY_LOW,btn.bmp,200,10,220,20,Low,F,F\n"
          "2=OPTION_QUALITY_MEDIUM,btn.bmp,200,30,220,40,Medium,F,T\n"
          "3=OPTION_QUALITY_HIGH,btn.bmp,200,50,220,60,High,F,F\n"
          "[CHECKINFO]\n1=CHECK_GREYSCALE,btn.bmp,230,10,250,20,Grey,F,F\n"
          "[LISTBOXINFO]\n1=LIST_RECORDINGS,200,70,295,160,0xFFFFFF,0,0x800000,0xFFFFFF," + bar +
          "\n[COMBOBOXINFO]\n1=COMBO_FORMAT,200,170,295,250,btn.bmp,0,0xFFFFFF,0,0xFFFFFF,0,"
          "0x000080,0xFFFFFF," + bar + "\n");
    return b;
}

QRect SwitchControlRect(int skin) { return QRect(10 + 8 * skin, 10 + 6 * skin, 120, 110); }

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

    // Only reads: the five collections in their order, each call on a fresh object, and
    // whether the first video device is a camera (whose format the output then follows).
    std::vector<int> properties;
    for (const FakeCall& c : fake->calls) {
        if (c.collection != 0 || c.dispid == DispidOf(Op::VideoDeviceNode)) continue;
        EXPECT_EQ(c.kind, InvokeKind::PropertyGet) << c;
        if (properties.empty() || properties.back() != c.dispid) properties.push_back(c.dispid);
    }
    EXPECT_EQ(properties, (std::vector<int>{DispidOf(Op::VideoDevices), DispidOf(Op::VideoFormats), DispidOf(Op::AudioInputs),
                                            DispidOf(Op::AudioDevices), DispidOf(Op::VideoInputs),
                                            DispidOf(Op::VideoStandards)}));
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
    fake->failDispid = DispidOf(Op::VideoDevices);
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

    const auto expected = Join({DeviceSelection(), OverlaySet(), {Put(Op::OutputFormat, Variant::I32(platform::kOutputFormatFlv))},
                                FlvValues(),
                                {Put(Op::CaptureFileName, Variant::Str("/videos/take1.flv")),
                                 Put(Op::CaptureToFile, Variant::Bool(true))},
                                StartSettings(), {Method(Op::StartCapture)}, ApplyOverlays()});
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
    EXPECT_EQ(r.filter, "FLV video (*.flv)|*.flv|MP4 video (*.mp4)|*.mp4|Matroska video (*.mkv)|*.mkv||");
    EXPECT_EQ(r.selectedFilter, 0);
    EXPECT_TRUE(r.suffixFollowsFilter);
    EXPECT_EQ(r.owner, dlg.get());
}

// The skin's format box sets the type offered first; the extension typed decides, and a
// bare name gets the offered type's extension.
TEST_F(MainWindowFixture, TheRecordingTypeFollowsTheFormatBoxAndTheTypedExtension) {
    SwitchSkin(SwitchControlRect(0)).WritePackage(dir.filePath("Deluxe.zip"));
    dlg->OnChangeSkin(32778);
    ASSERT_NE(dlg->FirstComboBox(), nullptr);
    QStringList names;
    for (const platform::OutputFormatInfo& f : platform::kOutputFormats)
        names << QString::fromLatin1(f.name.data(), qsizetype(f.name.size()));
    EXPECT_EQ(dlg->FirstComboBox()->Items(), names);
    dlg->FirstComboBox()->SelectText("MKV");
    const int32_t mkv = platform::OutputFormatNamed("mkv")->value, mp4 = platform::OutputFormatNamed("mp4")->value;
    struct Row {
        const char* answer;
        std::vector<int32_t> formats;  // OutputFormat as put, in order
        const char* file;
    } rows[] = {
        {"/videos/bare", {mkv}, "/videos/bare.mkv"},
        {"/videos/typed.mp4", {mkv, mp4}, "/videos/typed.mp4"},
        {"/videos/odd.avi", {mkv}, "/videos/odd.avi"},  // not a type: the offered one, the name as typed
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.answer);
        fake->Clear();
        services.fileRequests.clear();
        services.fileAnswers = {QString(row.answer)};
        dlg->OnSkinButton("BUTTON_CONVERT");
        ASSERT_EQ(services.fileRequests.size(), 1u);
        EXPECT_EQ(services.fileRequests[0].selectedFilter, 2);
        EXPECT_EQ(services.fileRequests[0].defaultExt, "mkv");
        std::vector<int32_t> formats;
        QString file;
        for (const FakeCall& c : Calls()) {
            if (c.dispid == DispidOf(Op::OutputFormat)) formats.push_back(c.args[0].ToI32());
            if (c.dispid == DispidOf(Op::CaptureFileName)) file = QString::fromStdString(c.args[0].ToStr());
        }
        EXPECT_EQ(formats, row.formats);
        EXPECT_EQ(file, row.file);
    }
}

TEST(RecordingStartFolder, PreviousRecordingElseVideosElseCurrent) {
    QTemporaryDir dir;
    const QString existing = dir.filePath("takes");
    const QString file = dir.filePath("plain-file");
    ASSERT_TRUE(QDir().mkpath(existing));
    QFile blocker(file);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString videos = dir.filePath("home/Videos");
    const QString current = dir.filePath("current");
    struct Row {
        const char* what;
        QString previous, videos, expected;
        bool videosMade;
    } rows[] = {
        {"previous folder exists", existing + "/a.flv", videos, existing, false},
        {"previous folder gone", dir.filePath("gone/a.flv"), videos, videos, true},
        {"first recording", QString(), videos, videos, true},
        {"videos cannot be made", QString(), file + "/Videos", current, false},
        {"no videos folder known", QString(), QString(), current, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QDir(videos).removeRecursively();
        EXPECT_EQ(RecordingStartFolder(row.previous, row.videos, current), row.expected);
        EXPECT_EQ(QFileInfo(videos).isDir(), row.videosMade);
    }
}

TEST(SnapshotPath, NamedByTheSecondWithANumberWhenTheNameIsTaken) {
    QTemporaryDir dir;
    const QDateTime at(QDate(2026, 12, 9), QTime(7, 5, 3));
    const QString first = dir.filePath("Capture 2026-12-09 07-05-03.png");
    EXPECT_EQ(SnapshotPath(dir.path(), at), first);
    for (const QString& next : {first, dir.filePath("Capture 2026-12-09 07-05-03 (2).png")}) {
        QFile taken(next);
        ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(SnapshotPath(dir.path(), at), dir.filePath("Capture 2026-12-09 07-05-03 (3).png"));
}

TEST_F(MainWindowFixture, TheSaveDialogOpensWhereTheLastRecordingWentElseInVideos) {
    ASSERT_FALSE(QFileInfo::exists(videos.videos()));
    const QString takes = dir.filePath("takes");
    ASSERT_TRUE(QDir().mkpath(takes));
    services.fileAnswers = {takes + "/one.flv", std::nullopt, takes + "/two.flv"};
    for (int i = 0; i < 3; ++i) dlg->OnSkinButton("BUTTON_CONVERT");

    ASSERT_EQ(services.fileRequests.size(), 3u);
    // The first recording opens in the Videos folder, made for it; no name is offered.
    EXPECT_EQ(services.fileRequests[0].initialDir, videos.videos());
    EXPECT_TRUE(QFileInfo(videos.videos()).isDir());
    // Then where the user saved; a cancelled dialog changes nothing.
    EXPECT_EQ(services.fileRequests[1].initialDir, takes);
    EXPECT_EQ(services.fileRequests[2].initialDir, takes);
    for (const auto& r : services.fileRequests) EXPECT_TRUE(r.initialName.isEmpty());
}

TEST_F(MainWindowFixture, ACancelledRecordingStopsAfterTheOutputFormat) {
    dlg->OnSkinButton("BUTTON_CONVERT");
    EXPECT_EQ(Calls(), Join({DeviceSelection(), OverlaySet(), {Put(Op::OutputFormat, Variant::I32(platform::kOutputFormatFlv))}}));
    EXPECT_EQ(dlg->Edits().front()->text(), "");
}

TEST_F(MainWindowFixture, ARecordingThatCannotStartIsUndoneAndReportedAfterEveryOtherStep) {
    fake->startResult = -1;
    services.fileAnswers = {QString("/videos/take2.flv")};
    dlg->OnSkinButton("BUTTON_CONVERT");
    ASSERT_EQ(services.messageTexts(),
              QStringList{"Capture Failure, Video/Audio compressor not correct or capture file opening"});
    EXPECT_EQ(services.messages[0].icon, platform::MsgIcon::Exclamation);
    EXPECT_EQ(services.messages[0].title, "Capture Station");
    EXPECT_EQ(services.callsAtMessage, std::vector<size_t>{fake->calls.size()});
    // The control is told to record no more, so a later Play only previews.
    const auto calls = Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], OverlaySet().back());
    EXPECT_EQ(calls.back(), Put(Op::CaptureToFile, Variant::Bool(false)));
    // No file box and no list names a file that is not being written.
    EXPECT_EQ(dlg->Edits().front()->text(), "");
    EXPECT_TRUE(dlg->Recordings().isEmpty());

    fake->Clear();
    fake->startResult = 0;
    dlg->OnSkinButton("BUTTON_PLAY");
    for (const FakeCall& c : Calls()) EXPECT_NE(c.dispid, DispidOf(Op::CaptureToFile)) << c;
}

// Record while a recording runs: the running file is finished before the new one starts, and
// the new one gets the values held now. When the new one cannot start, the preview that ran
// comes back and the File box keeps naming the finished file.
TEST_F(MainWindowFixture, ASecondRecordFinishesTheFirstFileBeforeStartingTheNewOne) {
    struct Row {
        const char* name;
        int16_t secondStart;
    };
    for (const Row& row : {Row{"second starts", 0}, Row{"second fails", -1}}) {
        SCOPED_TRACE(row.name);
        SetUp();
        services.messages.clear();
        services.fileAnswers = {QString("/videos/a.flv")};
        dlg->OnSkinButton("BUTTON_CONVERT");
        fake->Clear();

        dlg->FlvDlg().Edit(FlvIds::kWidthEdit)->setText("640");
        dlg->FlvDlg().Button(FlvIds::kOk)->click();
        std::vector<FakeCall> flv = FlvValues();
        flv[4] = Put(Op::FlvVideoWidth, Variant::I16(640));
        fake->startResult = row.secondStart;
        services.fileAnswers = {QString("/videos/b.flv")};
        dlg->OnSkinButton("BUTTON_CONVERT");

        const bool started = row.secondStart == 0;
        auto expected = Join({DeviceSelection(), OverlaySet(), {Put(Op::OutputFormat, Variant::I32(platform::kOutputFormatFlv))},
                              {Put(Op::StopRequested, Variant::Bool(true)), Put(Op::CaptureToFile, Variant::Bool(false)),
                               Method(Op::StopCapture)},
                              flv,
                              {Put(Op::CaptureFileName, Variant::Str("/videos/b.flv")),
                               Put(Op::CaptureToFile, Variant::Bool(true))},
                              StartSettings(), {Method(Op::StartCapture)},
                              // A failed start is asked for its cause before anything else.
                              started ? std::vector<FakeCall>{} : std::vector<FakeCall>{Method(Op::StartFailureReason)},
                              ApplyOverlays()});
        if (!started)
            expected = Join({expected, {Put(Op::CaptureToFile, Variant::Bool(false)), Method(Op::StartCapture)},
                             ApplyOverlays()});
        EXPECT_EQ(Calls(), expected);
        EXPECT_EQ(dlg->Edits().front()->text(), started ? "/videos/b.flv" : "/videos/a.flv");
        EXPECT_EQ(dlg->Recordings(), started ? QStringList({"/videos/a.flv", "/videos/b.flv"})
                                             : QStringList{"/videos/a.flv"});
        EXPECT_EQ(services.messages.size(), started ? 0u : 1u);

        // Once stopped, nothing runs: the next recording has nothing to finish first.
        dlg->OnSkinButton("BUTTON_STOP");
        fake->Clear();
        fake->startResult = 0;
        services.fileAnswers = {QString("/videos/c.flv")};
        dlg->OnSkinButton("BUTTON_CONVERT");
        const auto third = Calls();
        EXPECT_EQ(std::count(third.begin(), third.end(), Method(Op::StopCapture)), 0);
    }
}

TEST_F(MainWindowFixture, AFailingCallAbandonsTheRestAndIsReported) {
    fake->failDispid = DispidOf(Op::OutputFormat);
    services.fileAnswers = {QString("/videos/never.flv")};
    EXPECT_NO_THROW(dlg->OnSkinButton("BUTTON_CONVERT"));
    EXPECT_EQ(Calls(), Join({DeviceSelection(), OverlaySet(), {Put(Op::OutputFormat, Variant::I32(platform::kOutputFormatFlv))}}));
    EXPECT_TRUE(services.fileRequests.empty());
    EXPECT_EQ(services.messageTexts(), QStringList{"The capture control failed call 78."});

    // The next command runs normally.
    fake->failDispid = 0;
    fake->Clear();
    dlg->OnSkinButton("BUTTON_PAUSE");
    EXPECT_EQ(Calls(), std::vector<FakeCall>{Method(Op::PauseCapture)});
}

TEST_F(MainWindowFixture, PreviewPauseAndStop) {
    dlg->OnSkinButton("BUTTON_PLAY");
    EXPECT_TRUE(Visible("BUTTON_PAUSE"));
    EXPECT_FALSE(Visible("BUTTON_PLAY"));
    // The output values go with Play too: the preview is composed as the file would be.
    EXPECT_EQ(Calls(), Join({DeviceSelection(), FlvValues(), StartSettings(), {Method(Op::StartCapture)}, ApplyOverlays()}));

    fake->Clear();
    dlg->OnSkinButton("BUTTON_PAUSE");
    EXPECT_FALSE(Visible("BUTTON_PAUSE"));
    EXPECT_TRUE(Visible("BUTTON_PLAY"));
    EXPECT_EQ(Calls(), std::vector<FakeCall>{Method(Op::PauseCapture)});

    dlg->OnSkinButton("BUTTON_PLAY");
    fake->Clear();
    dlg->OnSkinButton("BUTTON_STOP");
    EXPECT_EQ(Calls(), Join({{Put(Op::StopRequested, Variant::Bool(true)), Put(Op::CaptureToFile, Variant::Bool(false)),
                              Method(Op::StopCapture), Method(Op::StartCapture)},
                             ApplyOverlays()}));
    // Stop shows "play" and leaves "pause" as it was.
    EXPECT_TRUE(Visible("BUTTON_PLAY"));
    EXPECT_TRUE(Visible("BUTTON_PAUSE"));
}

// A recording started from the stopped state shows Pause, so the first press pauses it.
TEST_F(MainWindowFixture, OnePressPausesARecordingStartedFromStopped) {
    services.fileAnswers = {QString("/videos/a.flv")};
    dlg->OnSkinButton("BUTTON_CONVERT");
    ASSERT_TRUE(Visible("BUTTON_PAUSE"));
    EXPECT_FALSE(Visible("BUTTON_PLAY"));
    fake->Clear();
    dlg->OnSkinButton("BUTTON_PAUSE");
    EXPECT_EQ(Calls(), std::vector<FakeCall>{Method(Op::PauseCapture)});
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
    auto find = [&](Op op) {
        for (const FakeCall& c : calls)
            if (c.dispid == DispidOf(op)) return c;
        return FakeCall{};
    };
    EXPECT_EQ(find(Op::VideoDeviceIndex), Put(Op::VideoDeviceIndex, Variant::I16(1)));
    EXPECT_EQ(find(Op::FlvFrameRate), Put(Op::FlvFrameRate, Variant::I16(29)));
    EXPECT_EQ(find(Op::AudioOffset), Put(Op::AudioOffset, Variant::I16(int16_t(70000 - 65536))));
    EXPECT_EQ(find(Op::ActiveOverlay), Put(Op::ActiveOverlay, Variant::I32(-1)));
    // The overlays are still drawn without "Use Overlay".
    EXPECT_EQ(find(Op::DrawOverlayText).dispid, DispidOf(Op::DrawOverlayText));
    EXPECT_EQ(find(Op::DrawOverlayImage).dispid, DispidOf(Op::DrawOverlayImage));
}

TEST_F(MainWindowFixture, FrameRatesBeyondSixteenBitsSaturateRatherThanWrap) {
    // 65561 would wrap to 25 and record at 25 fps without a word; the control refuses 32767.
    const std::pair<const char*, int16_t> rows[] = {
        {"65561", 32767}, {"-70000.5", -32768}, {"32767.9", 32767}, {"-0.5", 0}};
    for (const auto& [typed, sent] : rows) {
        SCOPED_TRACE(typed);
        dlg->FlvDlg().Edit(FlvIds::kFrameRateEdit)->setText(typed);
        dlg->FlvDlg().Button(FlvIds::kOk)->click();
        fake->Clear();
        services.fileAnswers = {QString("/videos/rate.flv")};
        dlg->OnSkinButton("BUTTON_CONVERT");
        const auto calls = Calls();
        EXPECT_NE(std::find(calls.begin(), calls.end(), Put(Op::FlvFrameRate, Variant::I16(sent))),
                  calls.end());
    }
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
    // Only the device dialogs ask, once each as they open, whether devices came or went.
    EXPECT_EQ(Calls(), std::vector<FakeCall>(2, Method(Op::RefreshDevices, {})));
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

TEST_F(MainWindowFixture, EverySwitchPutsTheVideoIntoTheNewFrameAndListsFLV) {
    for (int i = 0; i < 8; ++i)
        SwitchSkin(SwitchControlRect(i)).WritePackage(dir.filePath(kSkinCommands[i].package));
    dlg->show();
    for (int id = kFirstSkinCommand; id <= kLastSkinCommand; ++id) {
        const int i = id - kFirstSkinCommand;
        SCOPED_TRACE(kSkinCommands[i].package);
        dlg->OnChangeSkin(id);
        platform::HostedControl* control = dlg->CaptureControl();
        EXPECT_EQ(control->geometry(), SwitchControlRect(i));
        // Above the new skin's controls: the button under the frame's centre is covered.
        QWidget* top = dlg->childAt(SwitchControlRect(i).center());
        EXPECT_TRUE(top == control || control->isAncestorOf(top));
        ASSERT_NE(dlg->FirstComboBox(), nullptr);
        EXPECT_EQ(dlg->FirstComboBox()->Items(), (QStringList{"FLV", "MP4", "MKV"}));
        EXPECT_EQ(dlg->FirstComboBox()->Text(), "FLV");
    }
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MainWindowFixture, QualityOptionsChooseTheOutputValuesAndFollowTheOutputDialog) {
    SwitchSkin(SwitchControlRect(0)).WritePackage(dir.filePath("Deluxe.zip"));
    dlg->OnChangeSkin(32778);
    dlg->show();
    auto checked = [&] {
        QStringList names;
        for (const auto& o : dlg->Options())
            if (o->isChecked) names << o->name;
        return names;
    };
    // "Medium" is what the output dialog starts with.
    EXPECT_EQ(checked(), QStringList{"OPTION_QUALITY_MEDIUM"});

    struct Row {
        const char* option;
        int16_t width, height;
        int32_t video, audio;
    };
    const Row rows[] = {{"OPTION_QUALITY_HIGH", 640, 480, 1500000, 192000},
                        {"OPTION_QUALITY_LOW", 320, 240, 256000, 64000},
                        {"OPTION_QUALITY_MEDIUM", 320, 240, 512000, 128000}};
    CFlvPropertiesDlg& flv = dlg->FlvDlg();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.option);
        SkinButton* option = nullptr;
        for (const auto& o : dlg->Options())
            if (o->name == row.option) option = o.get();
        ASSERT_NE(option, nullptr);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(checked(), QStringList{row.option});
        EXPECT_EQ(flv.Edit(FlvIds::kWidthEdit)->text(), QString::number(row.width));
        EXPECT_EQ(flv.Edit(FlvIds::kVideoBitrateEdit)->text(), QString::number(row.video));

        fake->Clear();
        services.fileAnswers = {QString("/videos/q.flv")};
        dlg->OnSkinButton("BUTTON_CONVERT");
        const auto calls = Calls();
        for (const FakeCall& put :
             {Put(Op::FlvVideoWidth, Variant::I16(row.width)), Put(Op::FlvVideoHeight, Variant::I16(row.height)),
              Put(Op::FlvVideoBitrate, Variant::I32(row.video)), Put(Op::FlvAudioBitrate, Variant::I32(row.audio))})
            EXPECT_NE(std::find(calls.begin(), calls.end(), put), calls.end()) << put;
        dlg->OnSkinButton("BUTTON_STOP");
    }
    // Values typed into the output dialog that match no preset clear every option.
    flv.Edit(FlvIds::kWidthEdit)->setText("400");
    flv.Button(FlvIds::kOk)->click();
    EXPECT_TRUE(checked().isEmpty());
}

TEST_F(MainWindowFixture, TheRecordingsListHoldsThisRunsFilesAndOpensTheirFolder) {
    SwitchSkin(SwitchControlRect(0)).WritePackage(dir.filePath("Deluxe.zip"));
    dlg->OnChangeSkin(32778);
    dlg->show();
    const QStringList files{"/videos/one/a.flv", "/videos/two/b.flv"};
    for (const QString& file : files) {
        services.fileAnswers = {file};
        dlg->OnSkinButton("BUTTON_CONVERT");
    }
    fake->startResult = -1;  // a file that never started is not listed
    services.fileAnswers = {QString("/videos/three/c.flv")};
    dlg->OnSkinButton("BUTTON_CONVERT");
    services.messages.clear();

    // A switch rebuilds the list from what this run recorded.
    dlg->OnChangeSkin(32778);
    SkinListBox* list = dlg->ListBoxes().front().get();
    ASSERT_EQ(list->name, "LIST_RECORDINGS");
    EXPECT_EQ(list->Items(), (QStringList{"a.flv", "b.flv"}));

    QTest::mouseDClick(list, Qt::LeftButton, {}, list->RowRect(1).center());
    EXPECT_EQ(services.openedFolders, QStringList{"/videos/two"});
    QTest::mouseDClick(list, Qt::LeftButton, {}, QPoint(5, list->height() - 3));  // below the rows
    EXPECT_EQ(services.openedFolders.size(), 1);
    EXPECT_TRUE(services.messages.empty());

    services.openFolderSucceeds = false;
    QTest::mouseDClick(list, Qt::LeftButton, {}, list->RowRect(0).center());
    EXPECT_EQ(services.messageTexts(), QStringList{"The folder \"/videos/one\" cannot be opened."});
}

// A start-up package that cannot be used gives way to the shipped one, with a word about it;
// the shipped one failing too cannot loop.
TEST(CCaptureDlgInit, AnUnusableStartupPackageFallsBackToTheShippedOne) {
    struct Row {
        const char* name;
        bool localDamaged;      // garbage bytes in the working folder's Blue.skn
        bool localWithoutSkin;  // a readable archive without Skin.ini
        bool shippedWorks;
        QStringList messages;   // in order, the fallback message abbreviated to its start
        bool controls;
    };
    const QString fallback = "The skin package";
    const Row rows[] = {
        {"damaged", true, false, true,
         {"The central directory was not found.", "Open failed", fallback}, true},
        {"no Skin.ini", false, true, true, {fallback}, true},
        {"no local copy, shipped damaged", false, false, false,
         {"The central directory was not found.", "Open failed"}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeCaptureRegistration fake;
        ScriptedServices services;
        QTemporaryDir work, shipped;
        auto garbage = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::WriteOnly) && f.write(QByteArray(2000, 'x')) == 2000;
        };
        if (row.localDamaged) {
            ASSERT_TRUE(garbage(work.filePath("Blue.skn")));
        }
        if (row.localWithoutSkin)
            SkinBuilder().File("readme.txt", "hi").WritePackage(work.filePath("Blue.skn"));
        if (row.shippedWorks) {
            BasicSkin(kSkinSections).WritePackage(shipped.filePath("Blue.skn"));
        } else {
            ASSERT_TRUE(garbage(shipped.filePath("Blue.skn")));
        }
        CCaptureDlg dlg;
        dlg.SetStartDirectory(work.path());
        dlg.SetInstalledDirectory(shipped.path());
        dlg.OnInitDialog();

        const QStringList texts = services.messageTexts();
        ASSERT_EQ(texts.size(), row.messages.size()) << texts.join('|').toStdString();
        for (int i = 0; i < texts.size(); ++i)
            EXPECT_TRUE(texts[i].startsWith(row.messages[i])) << texts[i].toStdString();
        if (row.shippedWorks) {
            EXPECT_TRUE(texts.back().contains(QDir::toNativeSeparators(shipped.filePath("Blue.skn"))));
        }
        EXPECT_EQ(!dlg.Buttons().empty(), row.controls);
        if (row.controls) {
            EXPECT_FALSE(dlg.Background().isNull());
            EXPECT_EQ(dlg.CaptureControl()->geometry(), QRect(40, 30, 120, 90));
        }
    }
}

// The skin's grey-picture box and the text overlay dialog's grey scale box are one switch.
TEST_F(MainWindowFixture, TheGreyPictureBoxWorksTheDialogsGreyScaleSwitch) {
    SwitchSkin(SwitchControlRect(0)).WritePackage(dir.filePath("Deluxe.zip"));
    dlg->OnChangeSkin(32778);
    dlg->show();
    ASSERT_EQ(dlg->Checks().size(), 1u);
    QCheckBox* dialogBox = dlg->OverlayTextDlg().Check(OverlayTextIds::kGreyScale);
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        fake->Clear();
        QTest::mouseClick(dlg->Checks()[0].get(), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(dlg->Checks()[0]->isChecked, on);
        EXPECT_EQ(dialogBox->isChecked(), on);
        EXPECT_EQ(Calls(), std::vector<FakeCall>{Method(Op::SetGrayScale, {Variant::Bool(on)})});
    }
    // Switched in the dialog, the box follows, and a new skin shows it too.
    dialogBox->click();
    EXPECT_TRUE(dlg->Checks()[0]->isChecked);
    dlg->OnChangeSkin(32778);
    ASSERT_EQ(dlg->Checks().size(), 1u);
    EXPECT_TRUE(dlg->Checks()[0]->isChecked);
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
    EXPECT_EQ(Calls().front(), Put(Op::StopRequested, Variant::Bool(true)));
}

// "BUTTON_STREAM": where to is asked once, and that dialog's Ok runs the recording sequence
// with the stream as its target; the key shows nowhere but in the call that carries it.
TEST_F(MainWindowFixture, GoLiveRunsTheRecordingSequenceWithTheStreamAsItsTarget) {
    CLiveStreamDlg& live = dlg->LiveStreamDlg();
    dlg->OnSkinButton("BUTTON_STREAM");
    EXPECT_TRUE(live.isVisible());
    EXPECT_EQ(live.focusWidget(), live.Edit(LiveStreamIds::kServerEdit));  // the first empty field
    EXPECT_TRUE(Calls().empty());

    const QString key = "k3y-of-mine";
    auto fill = [&](const QString& server, bool copy) {
        live.Edit(LiveStreamIds::kServerEdit)->setText(server);
        live.Edit(LiveStreamIds::kKeyEdit)->setText(key);
        live.Check(LiveStreamIds::kRecordCopy)->setChecked(copy);
        fake->Clear();
        services.messages.clear();
        live.Button(LiveStreamIds::kOk)->click();
    };
    EXPECT_EQ(live.Edit(LiveStreamIds::kKeyEdit)->echoMode(), QLineEdit::Password);

    // Ok refuses an address that cannot work, says why and stays open on the address;
    // nothing is stored, so Go live asks again.
    for (const char* bad : {"http://example.org/live", "rtmp:/127.0.0.1:19360live"}) {
        live.Edit(LiveStreamIds::kServerEdit)->setText(bad);
        live.Edit(LiveStreamIds::kKeyEdit)->setText(key);
        live.Button(LiveStreamIds::kOk)->click();
        EXPECT_EQ(services.messageTexts(),
                  QStringList{"The live stream cannot go to this address: the server address must start with rtmp://, rtmps:// or srt://."});
        EXPECT_TRUE(live.isVisible());
        EXPECT_EQ(live.Edit(LiveStreamIds::kServerEdit)->selectedText(), bad);
        EXPECT_TRUE(live.Server().isEmpty());
        services.messages.clear();
    }
    // A good address without a key: the key's field is at fault.
    live.Edit(LiveStreamIds::kServerEdit)->setText("rtmp://127.0.0.1/live");
    live.Edit(LiveStreamIds::kKeyEdit)->clear();
    live.Button(LiveStreamIds::kOk)->click();
    EXPECT_EQ(services.messageTexts(), QStringList{"The live stream cannot go to this address: the stream key is empty."});
    EXPECT_EQ(live.focusWidget(), live.Edit(LiveStreamIds::kKeyEdit));
    services.messages.clear();
    live.Button(LiveStreamIds::kCancel)->click();
    dlg->OnSkinButton("BUTTON_STREAM");
    EXPECT_TRUE(live.isVisible());
    EXPECT_TRUE(Calls().empty());

    fill("rtmp://127.0.0.1:1935/live", false);  // the dialog Go live opened: live at once
    EXPECT_FALSE(live.isVisible());
    EXPECT_TRUE(services.fileRequests.empty());  // no local copy: no file to name
    // The server is asked first, before anything is put.
    EXPECT_EQ(Calls(), Join({{Method(Op::CheckStreamServer, {Variant::Str("rtmp://127.0.0.1:1935/live"),
                                                            Variant::Str(key.toStdString())})},
                             DeviceSelection(), OverlaySet(), {Put(Op::OutputFormat, Variant::I32(platform::kOutputFormatFlv))},
                             FlvValues(),
                             {Put(Op::CaptureFileName, Variant::Str("")), Put(Op::CaptureToFile, Variant::Bool(true)),
                              Put(Op::StreamServer, Variant::Str("rtmp://127.0.0.1:1935/live")),
                              Put(Op::StreamKey, Variant::Str(key.toStdString()))},
                             StartSettings(), {Method(Op::StartCapture)}, ApplyOverlays()}));
    EXPECT_EQ(dlg->Edits().front()->text(), "rtmp://127.0.0.1:1935/live/****");
    EXPECT_TRUE(services.messages.empty());

    // With a local copy the save question comes as for a recording; a failed start says
    // which server, never the key. Ok of the dialog opened otherwise only stores.
    dlg->OnSkinButton("BUTTON_STOP");
    fill("rtmp://127.0.0.1:1935/live/" + key, true);
    EXPECT_TRUE(Calls().empty());
    fake->startResult = -1;
    services.fileAnswers = {QString("/videos/copy.flv")};
    dlg->OnSkinButton("BUTTON_STREAM");
    ASSERT_EQ(services.fileRequests.size(), 1u);
    EXPECT_TRUE(services.fileRequests[0].confirmOverwrite);
    const auto calls = Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), Put(Op::CaptureFileName, Variant::Str("/videos/copy.flv"))),
              calls.end());
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(services.messageTexts()[0].contains("rtmp://127.0.0.1:1935/live/****"));
    EXPECT_FALSE(services.messageTexts()[0].contains(key));
}

// The Live Stream dialog's list of destinations: added, switched off, removed; the first that
// is on goes as the stream's server and key, every other one that is on as a further
// destination; the list names servers, never keys.
TEST_F(MainWindowFixture, TheLiveDialogsDestinationsAllGoLiveFromOneStart) {
    CLiveStreamDlg& live = dlg->LiveStreamDlg();
    QComboBox* list = live.Combo(LiveStreamIds::kDestinationList);
    live.show();
    const struct {
        const char *server, *key;
        bool on;
    } rows[] = {{"rtmp://a.example/live", "key-a", true},
                {"srt://b.example:9000?latency=200000", "key-b", true},
                {"rtmp://c.example/live", "key-c", false},
                {"rtmp://d.example/live", "key-d", true}};
    for (const auto& r : rows) {
        if (&r != rows) live.Button(LiveStreamIds::kAddDestination)->click();
        live.Edit(LiveStreamIds::kServerEdit)->setText(r.server);
        live.Edit(LiveStreamIds::kKeyEdit)->setText(r.key);
        live.Check(LiveStreamIds::kDestinationOn)->setChecked(r.on);
    }
    live.Button(LiveStreamIds::kRemoveDestination)->click();  // d goes
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(1), "2: srt://b.example:9000?latency=200000");
    for (int i = 0; i < list->count(); ++i) EXPECT_FALSE(list->itemText(i).contains("key-"));
    // Back on the first, its own fields show.
    list->setCurrentIndex(0);
    emit list->activated(0);
    EXPECT_EQ(live.Edit(LiveStreamIds::kKeyEdit)->text(), "key-a");
    live.Button(LiveStreamIds::kOk)->click();
    EXPECT_FALSE(live.isVisible());

    fake->Clear();
    services.fileAnswers = {QString("/videos/live.flv")};  // the local copy's name
    dlg->OnSkinButton("BUTTON_STREAM");
    const auto calls = Calls();
    auto has = [&](const FakeCall& c) { return std::find(calls.begin(), calls.end(), c) != calls.end(); };
    EXPECT_TRUE(has(Put(Op::StreamServer, Variant::Str("rtmp://a.example/live"))));
    EXPECT_TRUE(has(Method(Op::AddStreamDestination,
                           {Variant::Str("srt://b.example:9000?latency=200000"), Variant::Str("key-b")})));
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const FakeCall& c) { return c.dispid == DispidOf(Op::AddStreamDestination); }),
              1);
}
