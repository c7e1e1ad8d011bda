// The whole station with the real capture component, driven as a user drives it: choose the
// test sources in the device dialogs, preview, record to a file picked in the save dialog,
// stop; then read the recording back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QAbstractItemView>
#include <QStyle>
#include <QStyleOptionButton>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <QTimer>

#include <cmath>
#include <functional>
#include <cstdlib>

#include "MediaReadback.h"
#include "PrivateKeyring.h"
#include "RtmpServer.h"
#include "ScopedVideosFolder.h"
#include "ScriptedServices.h"
#include "WaitFor.h"
#include "app/CCaptureDlg.h"
#include "component/CaptureComponent.h"
#include "component/CaptureControl.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinEditBox.h"
#include "dialogs/DialogIds.h"
#include "platform/Keyring.h"

namespace {

void Choose(QComboBox* combo, const QString& text) {
    ASSERT_NE(combo, nullptr);
    const int i = combo->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    combo->setCurrentIndex(i);
}

// Answers Qt's own save dialog, opened by `open`, as a user does: chooses entry `type` of the
// type list (unless -1) and types `name` into the name box. True when it closed accepted.
bool AnswerRealSaveDialog(const QString& name, int type, const std::function<void()>& open) {
    bool answered = false;
    QTimer answer;
    const QDeadlineTimer deadline(20000);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        // Found among the top-level windows: an offscreen dialog need not become active.
        QFileDialog* fileDialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) fileDialog = d;
        if (deadline.hasExpired()) {
            // Never hang the suite on a dialog that would not close: fail instead.
            answer.stop();
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) modal->reject();
            if (fileDialog) fileDialog->reject();
            return;
        }
        if (!fileDialog) return;
        auto* types = fileDialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        if (type >= 0 && types && types->currentIndex() != type) {
            types->setCurrentIndex(type);
            emit types->activated(type);  // as a click in the list does
            emit types->textActivated(types->itemText(type));
        }
        // Typed into the name box. Choosing the file through selectFile() races the dialog's
        // own folder listing, which can put the bare folder back in the box; the dialog then
        // only opens that folder. Ticks repeat until the dialog has closed.
        auto* edit = fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit) return;
        edit->setText(name);
        static_cast<QDialog*>(fileDialog)->accept();  // as the dialog's Save button does
        if (!fileDialog->isVisible() && fileDialog->result() == QDialog::Accepted) {
            answered = true;
            answer.stop();
        }
    });
    answer.start(20);
    open();
    return answered;
}

// What a player's probe says of a file, and whether ffmpeg decodes it (from `seek` seconds)
// without a word on its error output.
QString Probe(const QString& file, const QStringList& extra) {
    QProcess p;
    p.start("ffprobe", QStringList{"-v", "error"} + extra + QStringList{file});
    if (!p.waitForFinished(30000)) p.kill();
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}
bool DecodesCleanly(const QString& file, double seek) {
    QProcess p;
    p.start("ffmpeg", {"-v", "error", "-ss", QString::number(seek), "-i", file, "-f", "null", "-"});
    if (!p.waitForFinished(60000)) p.kill();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 && p.readAllStandardError().isEmpty();
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
        // The output followed the pattern's first format; these tests record the output
        // dialog's first values, set as a user would.
        CFlvPropertiesDlg& flv = dlg->FlvDlg();
        flv.Edit(FlvIds::kWidthEdit)->setText("320");
        flv.Edit(FlvIds::kHeightEdit)->setText("240");
        flv.Edit(FlvIds::kFrameRateEdit)->setText("25");
        flv.Button(FlvIds::kOk)->click();
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
        EXPECT_TRUE(WaitFor([&] { return control->FramesPainted() >= 3; }, 20000));
        services.fileAnswers.push_back(path);
        dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT"));
        // The FLV dialog's own values start at 25 frames per second.
        EXPECT_TRUE(
            WaitFor([&] { return control->Stats().framesWritten >= 75; }, 30000));
        dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
        *framesWritten = control->Stats().framesWritten;
        EXPECT_TRUE(services.messages.empty())
            << services.messageTexts().join('|').toStdString();
        return ReadRecording(path.toStdString());
    }

    // Records until the file holds `frames` pictures.
    void RecordInto(const QString& path, int64_t frames) {
        services.fileAnswers.push_back(path);
        dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT"));
        EXPECT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= frames; }, 30000))
            << path.toStdString();
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
    EXPECT_TRUE(WaitFor([&] { return control->StatusText().isEmpty(); }, 5000));
}

// Before anything is changed, the component draws the stamp and the text as the date-time
// and text dialogs show them, so the first recording looks as the dialogs say.
TEST_F(StationEndToEnd, TheComponentStartsWithTheOverlayValuesTheDialogsShow) {
    ChooseTestSources(1, QStringLiteral("0"));
    dlg->OnSkinButton(QStringLiteral("BUTTON_PLAY"));
    const component::OverlaySettings& o = control->Overlays();
    CDateTimeDlg& date = dlg->DateTimeDlg();
    const component::DateTimeOverlay& stamp = o.dateTime;
    EXPECT_EQ(QString::fromStdString(stamp.fontName), date.Combo(DateTimeIds::kFontNameList)->currentText());
    EXPECT_EQ(QString::number(stamp.fontSize), date.Combo(DateTimeIds::kFontSizeList)->currentText());
    EXPECT_EQ(stamp.fontStyle, date.Combo(DateTimeIds::kFontStyleList)->currentIndex());
    EXPECT_EQ(stamp.formatIndex, date.Combo(DateTimeIds::kFormatList)->currentIndex());
    EXPECT_EQ(QString::number(stamp.left), date.Edit(DateTimeIds::kLeftEdit)->text());
    EXPECT_EQ(QString::number(stamp.top), date.Edit(DateTimeIds::kTopEdit)->text());
    EXPECT_EQ(stamp.show, date.Check(DateTimeIds::kShow)->isChecked());
    EXPECT_EQ(stamp.colour, date.Colour());

    COverlayTextDlg& textDlg = dlg->OverlayTextDlg();
    ASSERT_EQ(o.texts.count(0), 1u);
    const component::TextOverlay& text = o.texts.at(0);
    EXPECT_EQ(QString::fromStdString(text.fontName), textDlg.Combo(OverlayTextIds::kFontNameList)->currentText());
    EXPECT_EQ(QString::number(text.fontSize), textDlg.Combo(OverlayTextIds::kFontSizeList)->currentText());
    EXPECT_EQ(text.fontStyle, textDlg.Combo(OverlayTextIds::kFontStyleList)->currentIndex());
    EXPECT_EQ(text.style, textDlg.Combo(OverlayTextIds::kTextStyleList)->currentIndex());
    EXPECT_EQ(QString::number(text.left), textDlg.Edit(OverlayTextIds::kLeftEdit)->text());
    EXPECT_EQ(QString::number(text.top), textDlg.Edit(OverlayTextIds::kTopEdit)->text());
    EXPECT_EQ(QString::fromStdString(text.text), textDlg.Edit(OverlayTextIds::kText1Edit)->text() +
                                                     "\r\n" +
                                                     textDlg.Edit(OverlayTextIds::kText2Edit)->text());
    EXPECT_EQ(text.show, textDlg.Check(OverlayTextIds::kShowText)->isChecked());
    dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
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

// Record, then Record again into another file with other output values: the first file is
// finished whole and the second is written with the new values. Done in the Deluxe skin,
// reached through Change Skin, whose quality option chooses the new values.
TEST_F(StationEndToEnd, ASecondRecordFinishesTheFirstFileAndWritesTheSecondWithNewValues) {
    dlg->OnChangeSkin(32778);
    ASSERT_TRUE(services.messages.empty()) << services.messageTexts().join('|').toStdString();
    EXPECT_EQ(control->geometry(), dlg->ControlRect());
    EXPECT_EQ(dlg->FirstComboBox()->Text(), QStringLiteral("FLV"));
    ChooseTestSources(1, QStringLiteral("0"));

    const QString first = dir.filePath(QStringLiteral("a.flv"));
    const QString second = dir.filePath(QStringLiteral("b.flv"));
    RecordInto(first, 25);
    SkinButton* high = nullptr;
    for (const auto& o : dlg->Options())
        if (o->name == QLatin1String("OPTION_QUALITY_HIGH")) high = o.get();
    ASSERT_NE(high, nullptr);
    QTest::mouseClick(high, Qt::LeftButton, {}, high->rect().center());
    RecordInto(second, 25);
    EXPECT_EQ(dlg->Edits().front()->text(), second);
    dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
    EXPECT_TRUE(services.messages.empty()) << services.messageTexts().join('|').toStdString();

    struct Row {
        const QString& path;
        int width, height;
    };
    for (const Row& row : {Row{first, 320, 240}, Row{second, 640, 480}}) {
        SCOPED_TRACE(row.path.toStdString());
        const Readback rb = ReadRecording(row.path.toStdString());
        ASSERT_TRUE(rb.opened) << rb.error;
        EXPECT_EQ(rb.width, row.width);
        EXPECT_EQ(rb.height, row.height);
        EXPECT_EQ(rb.decodeErrors, 0);
        EXPECT_GE(rb.frames.size(), 25u);
        // Finished: the metadata carries the length the file really has.
        ASSERT_TRUE(rb.metaDuration.has_value());
        EXPECT_NEAR(*rb.metaDuration, rb.VideoSpan(), 0.2);
    }
    EXPECT_EQ(dlg->Recordings(), QStringList({first, second}));
}

// A recording that cannot start leaves the control previewing only: Play afterwards, with the
// folder now there, writes nothing.
TEST_F(StationEndToEnd, PlayAfterAFailedRecordWritesNoFile) {
    ChooseTestSources(1, QStringLiteral("0"));
    const QString folder = dir.filePath(QStringLiteral("later"));
    const QString path = folder + QStringLiteral("/x.flv");
    services.fileAnswers.push_back(path);
    dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT"));
    // The message and, under it, the cause.
    ASSERT_EQ(services.messageTexts().size(), 1);
    EXPECT_TRUE(services.messageTexts()[0].startsWith(
        "Capture Failure, Video/Audio compressor not correct or capture file opening\n\nThe cause: "));
    EXPECT_TRUE(services.messageTexts()[0].contains("No such file or directory"))
        << services.messageTexts()[0].toStdString();
    EXPECT_NE(dlg->Edits().front()->text(), path);

    ASSERT_TRUE(QDir().mkpath(folder));
    dlg->OnSkinButton(QStringLiteral("BUTTON_PLAY"));
    const int64_t painted = control->FramesPainted();
    ASSERT_TRUE(WaitFor([&] { return control->FramesPainted() >= painted + 10; }, 20000));
    EXPECT_FALSE(QFileInfo::exists(path));
    dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
    EXPECT_FALSE(QFileInfo::exists(path));
}

// Qt's own save dialog, answered as a user would: nothing is left under the home folder, where
// Qt would otherwise keep the dialog's history.
TEST_F(StationEndToEnd, TheSaveDialogLeavesNothingInTheHomeFolder) {
    QTemporaryDir home, cache;
    ASSERT_TRUE(home.isValid() && cache.isValid());
    struct RestoreEnvironment {
        QByteArray vars[4] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"};
        QByteArray values[4];
        bool set[4];
        RestoreEnvironment() {
            for (int i = 0; i < 4; ++i) {
                set[i] = qEnvironmentVariableIsSet(vars[i].constData());
                values[i] = qgetenv(vars[i].constData());
            }
        }
        ~RestoreEnvironment() {
            for (int i = 0; i < 4; ++i)
                set[i] ? qputenv(vars[i].constData(), values[i]) : qunsetenv(vars[i].constData());
        }
    } restore;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral(".local/share")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());  // font caches are not ours
    // The Videos folder the save dialog starts in is the user's to have; it lies outside
    // this home so that only what the station itself writes would show up there.
    QDir(home.path()).mkpath(QStringLiteral(".config"));
    QFile dirs(home.filePath(QStringLiteral(".config/user-dirs.dirs")));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_VIDEOS_DIR=\"" + dir.path().toUtf8() + "\"\n");
    dirs.close();
    auto entries = [&] {
        QStringList found;
        QDirIterator it(home.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) found << it.next();
        found.sort();
        return found;
    };
    const QStringList before = entries();
    platform::SetFileDialogService(nullptr);  // the real dialog

    ChooseTestSources(1, QStringLiteral("0"));
    const QString path = dir.filePath(QStringLiteral("saved.flv"));
    ASSERT_TRUE(AnswerRealSaveDialog(path, -1, [&] { dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT")); }));
    EXPECT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 5; }, 20000));
    dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
    EXPECT_TRUE(QFileInfo(path).size() > 0);

    EXPECT_EQ(entries(), before);
}

// The Change Skin menu ticks the skin on screen: the start-up Blue one, then the one chosen.
TEST_F(StationEndToEnd, TheChangeSkinMenuTicksTheSkinOnScreen) {
    auto ticked = [&] {
        std::unique_ptr<QMenu> menu(static_cast<CSkinDialog*>(dlg.get())->BuildContextMenu(nullptr));
        QStringList on;
        for (QAction* item : menu->actions().front()->menu()->actions())
            if (item->isChecked()) on << item->text();
        return on;
    };
    EXPECT_EQ(ticked(), QStringList{"Bl&ue"});
    dlg->OnChangeSkin(32776);
    EXPECT_EQ(ticked(), QStringList{"&Gray"});
}

// Change Skin keeps the window where it is, and a skin button with the keyboard focus shows
// it: the skin's own mark (Deluxe brings one) or dots along its edge. Space presses it.
TEST_F(StationEndToEnd, ChangeSkinKeepsThePlaceAndTheFocusedButtonIsMarked) {
    ChooseTestSources(1, QStringLiteral("0"));
    dlg->move(270, 180);
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    struct Row {
        int command;
        bool ownMark;
    } rows[] = {{32776, false}, {32778, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        dlg->OnChangeSkin(row.command);
        EXPECT_EQ(dlg->pos(), QPoint(270, 180));
        SkinButton* play = nullptr;
        for (SkinButton* b : dlg->findChildren<SkinButton*>())
            if (b->name == "BUTTON_PLAY") play = b;
        ASSERT_NE(play, nullptr);
        EXPECT_EQ(play->focusPolicy(), Qt::TabFocus);
        const QImage plain = play->grab().toImage();
        play->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(play->hasFocus());
        const QImage marked = play->grab().toImage();
        auto changedInRow = [&](int y) {
            int n = 0;
            for (int x = 0; x < plain.width(); ++x) n += plain.pixel(x, y) != marked.pixel(x, y);
            return n;
        };
        // Dots: every third pixel of the edge, nothing inside. The ring: a band along the edge.
        if (row.ownMark) {
            EXPECT_GT(changedInRow(plain.height() / 24), plain.width() / 2);
        } else {
            EXPECT_NEAR(changedInRow(0), plain.width() / 3, 2);
        }
        EXPECT_LE(changedInRow(plain.height() / 2), row.ownMark ? plain.width() / 5 : 2);  // edges only
        QTest::keyClick(play, Qt::Key_Space);
        EXPECT_EQ(control->CaptureState(), component::CaptureEngine::State::Running);
        dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
    }
}

// Whether any file under `folder` holds `text`.
bool AnyFileHolds(const QString& folder, const QByteArray& text) {
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly) && f.readAll().contains(text)) return true;
    }
    return false;
}

// "Remember Settings" across a restart: the skin, the device, the output values, the overlay
// text, the server and (from the keyring, never a file) the key come back. A camera that is
// not connected is said once and stays remembered; a damaged file is set aside and said once;
// unticking deletes the file and the key. Without a keyring the key is not kept, and said so.
TEST_F(StationEndToEnd, RememberedSettingsComeBackAfterARestart) {
    QTemporaryDir config;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const QString file = config.filePath("capture-station/settings.ini");
    auto restart = [&] {
        dlg.reset();
        dlg = std::make_unique<CCaptureDlg>();
        dlg->SetStartDirectory(QStringLiteral(CS_SKINS_DIR));
        dlg->OnInitDialog();
        dlg->show();
        control = dynamic_cast<component::CaptureControl*>(dlg->CaptureControl());
    };
    // The menu's entry, read or ticked as a user ticks it; the menu lives for that one use.
    auto remember = [&](std::optional<bool> tick = std::nullopt) {
        std::unique_ptr<QMenu> menu(static_cast<CSkinDialog*>(dlg.get())->BuildContextMenu(nullptr));
        for (QAction* a : menu->actions())
            if (a->text() == "Remember Settings") {
                if (tick) a->setChecked(*tick);
                return a->isChecked();
            }
        ADD_FAILURE() << "no Remember Settings";
        return false;
    };
    for (const bool withKeyring : {true, false}) {
        SCOPED_TRACE(withKeyring ? "with a keyring" : "without one");
        PrivateKeyring keyring(withKeyring);
        ASSERT_TRUE(keyring.ok()) << keyring.error().toStdString();
        restart();
        services.messages.clear();
        EXPECT_FALSE(remember());
        remember(true);
        EXPECT_TRUE(QFileInfo::exists(file));
        dlg->OnChangeSkin(32776);  // Gray
        CVideoDeviceDlg& video = dlg->VideoDeviceDlg();
        Choose(video.Combo(VideoDeviceIds::kDeviceList), QStringLiteral("Test Pattern"));
        Choose(video.Combo(VideoDeviceIds::kFormatList), QStringLiteral("640x480 RGB32 30 fps"));
        video.Button(VideoDeviceIds::kOk)->click();
        dlg->FlvDlg().Edit(FlvIds::kWidthEdit)->setText("640");
        dlg->FlvDlg().Edit(FlvIds::kHeightEdit)->setText("480");
        dlg->FlvDlg().Button(FlvIds::kOk)->click();
        dlg->OverlayTextDlg().Edit(OverlayTextIds::kText1Edit)->setText("Hello, \"world\"");
        dlg->OverlayTextDlg().Button(OverlayTextIds::kOk)->click();
        CLiveStreamDlg& live = dlg->LiveStreamDlg();
        live.Edit(LiveStreamIds::kServerEdit)->setText("rtmp://127.0.0.1:1935/live");
        live.Edit(LiveStreamIds::kKeyEdit)->setText("secret-key");
        live.Button(LiveStreamIds::kAddDestination)->click();  // a second one, left off
        live.Edit(LiveStreamIds::kServerEdit)->setText("srt://127.0.0.1:9000?latency=200000");
        live.Edit(LiveStreamIds::kKeyEdit)->setText("second-key");
        live.Check(LiveStreamIds::kDestinationOn)->setChecked(false);
        live.Button(LiveStreamIds::kOk)->click();

        restart();
        EXPECT_TRUE(remember());
        EXPECT_EQ(dlg->SkinIndex(), 5);
        EXPECT_EQ(dlg->VideoDeviceDlg().Combo(VideoDeviceIds::kFormatList)->currentText(), "640x480 RGB32 30 fps");
        EXPECT_EQ(dlg->FlvDlg().Width(), 640);
        EXPECT_EQ(dlg->OverlayTextDlg().Edit(OverlayTextIds::kText1Edit)->text(), "Hello, \"world\"");
        EXPECT_EQ(dlg->LiveStreamDlg().Server(), "rtmp://127.0.0.1:1935/live");
        EXPECT_EQ(dlg->LiveStreamDlg().Key(), withKeyring ? "secret-key" : "");
        EXPECT_EQ(dlg->LiveStreamDlg().KeyNote(),
                  withKeyring ? "" : "The stream key is not remembered: no keyring is running.");
        ASSERT_EQ(dlg->LiveStreamDlg().Destinations().size(), 2);
        const CLiveStreamDlg::Destination second = dlg->LiveStreamDlg().Destinations()[1];
        EXPECT_EQ(second.server, "srt://127.0.0.1:9000?latency=200000");
        EXPECT_EQ(second.key, withKeyring ? "second-key" : "");
        EXPECT_FALSE(second.on);
        for (const char* key : {"secret-key", "second-key"}) {
            EXPECT_FALSE(AnyFileHolds(config.path(), key));
            EXPECT_FALSE(AnyFileHolds(keyring.home(), key));
        }
        EXPECT_TRUE(services.messages.empty()) << services.messageTexts().join('|').toStdString();
        if (!withKeyring) break;

        // A camera of the file that is not connected: the default serves, the preview says so
        // once, and the file keeps the camera through an Ok elsewhere.
        QSettings edited(file, QSettings::IniFormat);
        edited.setValue(QStringLiteral("VideoDevice/identity"), "USB Camera|usb-0000:00:14.0-1");
        edited.setValue(QStringLiteral("VideoDevice/%1").arg(VideoDeviceIds::kDeviceList), "USB Camera");
        edited.sync();
        restart();
        EXPECT_TRUE(control->StatusText().contains(
            "USB Camera is not connected; using " + dlg->VideoDeviceDlg().DeviceNames().value(0)))
            << control->StatusText().toStdString();
        dlg->FlvDlg().Button(FlvIds::kOk)->click();
        EXPECT_EQ(QSettings(file, QSettings::IniFormat).value("VideoDevice/identity"), "USB Camera|usb-0000:00:14.0-1");

        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::WriteOnly | QIODevice::Truncate));
        written.write("\x01[[[ not settings");
        written.close();
        restart();
        ASSERT_EQ(services.messageTexts().size(), 1);
        EXPECT_TRUE(services.messageTexts()[0].contains("cannot be read")) << services.messageTexts()[0].toStdString();
        EXPECT_TRUE(QFileInfo::exists(file + ".bad"));
        EXPECT_EQ(dlg->FlvDlg().Width(), 320);
        remember(false);
        EXPECT_FALSE(QFileInfo::exists(file));
        std::string why;
        EXPECT_EQ(platform::KeyringLookup(&why).value_or("?"), "") << why;
        restart();
        EXPECT_FALSE(remember());
        EXPECT_EQ(services.messageTexts().size(), 1);
    }
    // A configuration folder that cannot be made (a file stands in its way): said once, and
    // the station goes on.
    QFile blocker(config.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", blocker.fileName().toUtf8());
    restart();
    services.messages.clear();
    remember(true);
    dlg->FlvDlg().Button(FlvIds::kOk)->click();
    ASSERT_EQ(services.messageTexts().size(), 1);
    EXPECT_TRUE(services.messageTexts()[0].startsWith("The settings cannot be kept")) << services.messageTexts()[0].toStdString();
    remember(false);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

// Go live to a server that takes no connections: the user is told before naming a local copy.
// Then Go live once, to one that listens.
TEST_F(StationEndToEnd, GoLiveChecksTheServerBeforeTheSaveDialog) {
    ChooseTestSources(1, QStringLiteral("0"));
    CLiveStreamDlg& live = dlg->LiveStreamDlg();
    live.Edit(LiveStreamIds::kServerEdit)->setText("rtmp://127.0.0.1:1/live");  // nobody listens
    live.Edit(LiveStreamIds::kKeyEdit)->setText("secret-key");
    live.Check(LiveStreamIds::kRecordCopy)->setChecked(true);
    live.Button(LiveStreamIds::kOk)->click();
    dlg->OnSkinButton(QStringLiteral("BUTTON_STREAM"));
    EXPECT_TRUE(services.fileRequests.empty());
    ASSERT_EQ(services.messageTexts().size(), 1);
    EXPECT_TRUE(services.messageTexts()[0].contains("does not take connections")) << services.messageTexts()[0].toStdString();
    EXPECT_FALSE(services.messageTexts()[0].contains("secret-key"));

    // Emptied, then a server that listens, given in the dialog Go live opens: its Ok goes live
    // in one press, and the stream's line replaces every word of the failure.
    live.Edit(LiveStreamIds::kServerEdit)->clear();
    live.Edit(LiveStreamIds::kKeyEdit)->clear();
    live.Button(LiveStreamIds::kOk)->click();
    RtmpServer server;
    ASSERT_TRUE(server.Start()) << server.why().toStdString();
    dlg->OnSkinButton(QStringLiteral("BUTTON_STREAM"));
    ASSERT_TRUE(live.isVisible());
    live.Edit(LiveStreamIds::kServerEdit)->setText(server.url());
    live.Edit(LiveStreamIds::kKeyEdit)->setText("secret-key");
    services.fileAnswers.push_back(dir.filePath("copy.flv"));
    live.Button(LiveStreamIds::kOk)->click();
    EXPECT_TRUE(WaitFor([&] { return control->StatusText().startsWith("Live"); }, 15000))
        << control->StatusText().toStdString();
    EXPECT_FALSE(control->StatusText().contains("connections")) << control->StatusText().toStdString();
    ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 50; }, 20000));
    dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
    EXPECT_EQ(services.messageTexts().size(), 1);
    const QStringList received = server.Recordings();
    ASSERT_EQ(received.size(), 1);
    const Readback rb = ReadRecording(received.front().toStdString());
    ASSERT_TRUE(rb.opened) << rb.error;
    EXPECT_GE(rb.VideoSpan(), 1.0);
}

// Each recording type through Qt's own save dialog, as a user names it: players see the
// container, H.264 and AAC at the output values, decode it without a word and seek into it.
TEST_F(StationEndToEnd, RecordsEachTypeChosenInTheSaveDialog) {
    platform::SetFileDialogService(nullptr);  // the real dialog
    ChooseTestSources(1, QStringLiteral("0"));
    struct Row {
        const char* typed;
        int type;  // chosen in the type list; -1: left as offered (FLV)
        const char* file;
        const char* container;
    } rows[] = {
        {"typed.mp4", -1, "typed.mp4", "mov,mp4,m4a,3gp,3g2,mj2"},
        {"bare", 2, "bare.mkv", "matroska,webm"},
        {"plain", -1, "plain.flv", "flv"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        ASSERT_TRUE(AnswerRealSaveDialog(dir.filePath(row.typed), row.type,
                                         [&] { dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT")); }));
        // 4 s at the output dialog's 25 fps: a key frame at 0 and at 2 s to seek to.
        ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 100; }, 30000));
        dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
        const QString file = dir.filePath(row.file);
        ASSERT_TRUE(QFileInfo::exists(file)) << QDir(dir.path()).entryList(QDir::Files).join(' ').toStdString();
        EXPECT_EQ(Probe(file, {"-show_entries", "format=format_name", "-of", "default=nw=1:nk=1"}), row.container);
        const QString streams = Probe(file, {"-show_entries", "stream=codec_name,width,height,r_frame_rate,sample_rate",
                                             "-of", "compact=p=0"});
        EXPECT_TRUE(streams.contains("codec_name=h264|width=320|height=240|r_frame_rate=25/1")) << streams.toStdString();
        EXPECT_TRUE(streams.contains("codec_name=aac|sample_rate=44100")) << streams.toStdString();
        EXPECT_TRUE(DecodesCleanly(file, 0));
        EXPECT_TRUE(DecodesCleanly(file, 2.5));
        // A seek to 2.5 s lands on the key frame about 2 s in (the streams start a little
        // apart), not back at the start.
        const double landed = Probe(file, {"-read_intervals", "2.5%+#1", "-select_streams", "v", "-show_entries",
                                           "frame=pts_time", "-of", "csv=p=0"}).toDouble();
        EXPECT_GT(landed, 1.5);
        EXPECT_LT(landed, 2.6);
        // The MP4 Stop leaves is a plain one, with no fragments left.
        QFile bytes(file);
        ASSERT_TRUE(bytes.open(QIODevice::ReadOnly));
        if (QByteArray(row.container).startsWith("mov")) {
            EXPECT_FALSE(bytes.readAll().contains("moof"));
        }
    }
    EXPECT_TRUE(services.messages.empty()) << services.messageTexts().join('|').toStdString();
}

}  // namespace

namespace {
// The smallest rectangle holding the pixels of `picture` that `match` with their neighbours
// `solid` pixels away on each side: coding's thin fringes at the bars' edges drop out, a solid
// mark only loses `solid` pixels at each edge, in the preview and the file alike.
QRect BoxOf(const QImage& picture, const std::function<bool(QColor)>& match, int solid = 0) {
    QRect box;
    const QRect inside = picture.rect().adjusted(solid, solid, -solid, -solid);
    auto at = [&](int x, int y) { return match(picture.pixelColor(x, y)); };
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (at(x, y) && (solid == 0 || (at(x - solid, y) && at(x + solid, y) && at(x, y - solid) && at(x, y + solid))))
                box |= QRect(x, y, 1, 1);
    return box;
}
}  // namespace

// The preview before recording is the recording: at 1280x720 the stamp and the picture
// overlay sit in the preview (grabbed at the output's own size) where the next recording's
// frames have them.
TEST_F(StationEndToEnd, ThePreviewLaysTheOverlaysOutAsTheRecordingWill) {
    ChooseTestSources(1, QStringLiteral("0"));
    CVideoDeviceDlg& video = dlg->VideoDeviceDlg();
    Choose(video.Combo(VideoDeviceIds::kFormatList), QStringLiteral("1280x720 RGB32 30 fps"));
    video.Button(VideoDeviceIds::kOk)->click();
    dlg->FlvDlg().Edit(FlvIds::kWidthEdit)->setText("1280");
    dlg->FlvDlg().Edit(FlvIds::kHeightEdit)->setText("720");
    dlg->FlvDlg().Button(FlvIds::kOk)->click();
    CDateTimeDlg& date = dlg->DateTimeDlg();
    services.colourAnswers.push_back(platform::Colour(0x0000FF00));  // green
    date.Button(DateTimeIds::kColour)->click();
    Choose(date.Combo(DateTimeIds::kFontSizeList), QStringLiteral("36"));
    emit date.Combo(DateTimeIds::kFontSizeList)->activated(date.Combo(DateTimeIds::kFontSizeList)->currentIndex());
    date.Edit(DateTimeIds::kLeftEdit)->setText("20");
    date.Edit(DateTimeIds::kTopEdit)->setText("20");
    date.Button(DateTimeIds::kDrawTime)->click();
    date.Button(DateTimeIds::kOk)->click();
    QImage magenta(120, 80, QImage::Format_RGB32);
    magenta.fill(qRgb(255, 0, 255));
    ASSERT_TRUE(magenta.save(dir.filePath("mark.png")));
    COverlayImageDlg& image = dlg->OverlayImageDlg();
    image.Edit(OverlayImageIds::kFileEdit)->setText(dir.filePath("mark.png"));
    image.Edit(OverlayImageIds::kLeftEdit)->setText("1000");
    image.Edit(OverlayImageIds::kTopEdit)->setText("40");
    image.Edit(OverlayImageIds::kAlphaEdit)->setText("255");
    image.Check(OverlayImageIds::kShowImage)->setChecked(true);
    image.Button(OverlayImageIds::kOk)->click();

    // Brighter than the pattern's bars, which are at three quarters.
    auto green = [](QColor c) { return c.green() > 230 && c.red() < 90 && c.blue() < 90; };
    auto pink = [](QColor c) { return c.red() > 220 && c.blue() > 220 && c.green() < 60; };
    dlg->OnSkinButton(QStringLiteral("BUTTON_PLAY"));
    control->resize(1280, 720);  // a pixel of the preview is a pixel of the file
    const int64_t painted = control->FramesPainted();
    ASSERT_TRUE(WaitFor([&] { return control->FramesPainted() >= painted + 5; }, 20000));
    const QImage preview = control->grab().toImage();

    const QString path = dir.filePath("laid.flv");
    services.fileAnswers.push_back(path);
    dlg->OnSkinButton(QStringLiteral("BUTTON_CONVERT"));
    ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 30; }, 30000));
    dlg->OnSkinButton(QStringLiteral("BUTTON_STOP"));
    const QString still = dir.filePath("still.png");
    QProcess::execute("ffmpeg", {"-v", "error", "-y", "-ss", "0.5", "-i", path, "-frames:v", "1", still});
    const QImage recorded(still);
    ASSERT_EQ(recorded.size(), QSize(1280, 720));
    // Each looked for in its half of the top: below, 4:2:0 colour bleeds from the bars into
    // the white of the sweeping bar and the number.
    const struct {
        const char* what;
        std::function<bool(QColor)> match;
        QRect where;
        int solid;  // the picture is a solid block; the stamp's strokes are thin
    } marks[] = {{"stamp", green, QRect(0, 0, 640, 200), 0}, {"picture", pink, QRect(640, 0, 640, 200), 3}};
    for (const auto& [what, match, where, solid] : marks) {
        SCOPED_TRACE(what);
        const QRect inPreview = BoxOf(preview.copy(where), match, solid),
                    inFile = BoxOf(recorded.copy(where), match, solid);
        ASSERT_FALSE(inFile.isEmpty());
        for (const auto& [a, b] : {std::pair{inPreview.left(), inFile.left()}, {inPreview.top(), inFile.top()},
                                  {inPreview.right(), inFile.right()}, {inPreview.bottom(), inFile.bottom()}})
            EXPECT_NEAR(a, b, 2) << "preview " << inPreview.x() << "," << inPreview.y() << " " << inPreview.width()
                                 << "x" << inPreview.height() << ", file " << inFile.x() << "," << inFile.y() << " "
                                 << inFile.width() << "x" << inFile.height();
    }
}

// Every text of every settings dialog fits the rectangle its template gives it, in the fonts
// the station installs: labels, check and push buttons, group captions, and every item of
// every list when the list is open.
TEST_F(StationEndToEnd, EveryDialogTextFitsItsControl) {
    QDialog* dialogs[] = {&dlg->VideoDeviceDlg(), &dlg->AudioDeviceDlg(), &dlg->DateTimeDlg(),
                          &dlg->OverlayTextDlg(), &dlg->OverlayImageDlg(), &dlg->FlvDlg(),
                          &dlg->LiveStreamDlg()};
    QStringList cut;
    int checked = 0;
    for (QDialog* d : dialogs) {
        d->show();
        const QFontMetrics fm(d->font());
        QStyle* style = d->style();
        auto fits = [&](QWidget* w, const QString& text, int room) {
            ++checked;
            if (fm.horizontalAdvance(text) > room)
                cut << QStringLiteral("%1: \"%2\" needs %3 px, has %4")
                           .arg(d->windowTitle(), text).arg(fm.horizontalAdvance(text)).arg(room);
            (void)w;
        };
        for (QWidget* w : d->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(d)) continue;
            if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
                // Wrapped at word breaks: each line within the width, all lines within the height.
                const QRect need = fm.boundingRect(QRect(0, 0, label->width(), 10000),
                                                   Qt::TextWordWrap, label->text());
                fits(w, label->text(), label->width());
                if (need.height() > label->height())
                    cut << QStringLiteral("%1: \"%2\" wraps to %3 px high, has %4")
                               .arg(d->windowTitle(), label->text()).arg(need.height()).arg(label->height());
            } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                // The room the style leaves for the text, beside a box or inside a frame.
                QStyleOptionButton option;
                option.initFrom(button);
                option.text = button->text();
                const bool check = qobject_cast<QCheckBox*>(w);
                fits(w, button->text(), style->subElementRect(check ? QStyle::SE_CheckBoxContents
                                                                    : QStyle::SE_PushButtonContents,
                                                              &option, button).width());
            } else if (auto* group = qobject_cast<QGroupBox*>(w); group && !group->title().isEmpty()) {
                fits(w, group->title(), group->width() - 2 * fm.averageCharWidth());
            } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
                combo->showPopup();
                const int room = combo->view()->viewport()->width() - 2 * fm.averageCharWidth();
                for (int i = 0; i < combo->count(); ++i) fits(w, combo->itemText(i), room);
                combo->hidePopup();
            }
        }
        d->hide();
    }
    EXPECT_GT(checked, 100);
    EXPECT_TRUE(cut.isEmpty()) << cut.join('\n').toStdString();
}
