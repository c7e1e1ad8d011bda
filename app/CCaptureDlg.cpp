#include "CCaptureDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

#include "AppIcon.h"
#include "RecordingFolder.h"
#include "platform/CaptureInterface.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinEditBox.h"
#include "controls/SkinListBox.h"
#include "dialogs/DialogIds.h"
#include "platform/DialogTemplate.h"
#include "platform/DialogUnits.h"
#include "platform/HandlerGuard.h"
#include "platform/Keyring.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/StreamAddress.h"
#include "RememberedSettings.h"
#include "skin/SkinPackages.h"

#include <utility>

namespace {

// Window template 102: its size and the two hosted controls, in dialog units.
const QRect kTemplateSize(0, 0, 719, 486);
const QRect kWmvEditorRect(134, 328, 60, 25);
const QRect kCaptureRect(304, 196, 91, 72);

constexpr const char* kMsgKeyNotRemembered = "The stream key is not remembered: no keyring is running.";
constexpr const char* kMsgCaptureFailure =
    "Capture Failure, Video/Audio compressor not correct or capture file opening";
constexpr const char* kVideoFilesFilter =
    "All Video Files(*.wmv, *mp4, *avi)|*.wmv;*.mp4;*.avi||";
QString Text(std::string_view s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

// The save dialog's types, one for each recording type the control writes, in its order.
QString RecordingFilter() {
    QString filter;
    for (const platform::OutputFormatInfo& f : platform::kOutputFormats)
        filter += QStringLiteral("%1|*.%2|").arg(Text(f.label), Text(f.extension));
    return filter + QStringLiteral("|");
}
constexpr const char* kRecordingsList = "LIST_RECORDINGS";
constexpr const char* kGreyScaleCheck = "CHECK_GREYSCALE";

// The skin's quality options choose the output size and bitrates (bits per second).
struct QualityPreset {
    const char* option;
    CFlvPropertiesDlg::Quality values;
};
constexpr QualityPreset kQualityPresets[] = {
    {"OPTION_QUALITY_LOW", {256000, 320, 240, 64000}},
    {"OPTION_QUALITY_MEDIUM", {512000, 320, 240, 128000}},  // the output dialog's own start
    {"OPTION_QUALITY_HIGH", {1500000, 640, 480, 192000}},
};

const QualityPreset* FindPreset(const QString& option) {
    for (const QualityPreset& p : kQualityPresets)
        if (option == QLatin1String(p.option)) return &p;
    return nullptr;
}

// The frame rate is a float; the control takes whole frames per second in 16 bits. A rate
// beyond that range saturates rather than wrapping, so that 65561 is refused by the control
// as too fast instead of recording at 25 without a word.
int16_t FrameRateArgument(float rate) {
    if (!std::isfinite(rate)) return 0;
    const double whole = std::trunc(double(rate));
    return static_cast<int16_t>(std::clamp(whole, double(std::numeric_limits<int16_t>::min()),
                                           double(std::numeric_limits<int16_t>::max())));
}

// The skin buttons the window acts on, by name; a name is written here once.
constexpr char kButtonExit[] = "BUTTON_EXIT";
constexpr char kButtonClose[] = "BUTTON_CLOSE";
constexpr char kButtonConvert[] = "BUTTON_CONVERT";
constexpr char kButtonPlay[] = "BUTTON_PLAY";
constexpr char kButtonPause[] = "BUTTON_PAUSE";
constexpr char kButtonStop[] = "BUTTON_STOP";
constexpr char kButtonSnapshot[] = "BUTTON_SNAPSHOT";

// Keys for the main commands, which the skin's buttons give only to the mouse. Space plays
// or pauses, whichever of the two buttons is shown.
struct KeyCommand {
    QKeyCombination key;
    QStringList buttons;
};
const KeyCommand kKeyCommands[] = {
    {Qt::Key_Space, {kButtonPause, kButtonPlay}},
    {Qt::CTRL | Qt::Key_R, {kButtonConvert}},
    {Qt::CTRL | Qt::Key_S, {kButtonStop}},
    {Qt::CTRL | Qt::Key_Period, {kButtonStop}},
    {Qt::CTRL | Qt::Key_Q, {kButtonExit, kButtonClose}},
    {Qt::Key_F12, {kButtonSnapshot}},
};

void Exclaim(QWidget* owner, const QString& text) {
    platform::ShowMessage(owner, text, platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
}

}  // namespace

CCaptureDlg::CCaptureDlg(QWidget* parent) : CSkinDialog(parent), m_hIcon(MakeAppIcon()) {
    // The frameless window still needs a name for task bars and window lists.
    setWindowTitle(QString::fromLatin1(platform::kAppName));
    for (const KeyCommand& command : kKeyCommands)
        KeyCommands().Add(QKeySequence(command.key), command.buttons);
    const QSize base = platform::DialogBaseUnits(platform::TemplateFont("MS Sans Serif", 8));
    resize(platform::DialogUnitsToPixels(kTemplateSize, base).size());
    if (auto* editor = platform::ControlContainer::Create(platform::kWmvEditorClassId, this)) {
        editor->setObjectName(platform::ControlName(kWmvEditorControlId));
        editor->setGeometry(platform::DialogUnitsToPixels(kWmvEditorRect, base));
    }
    if (auto* capture = platform::ControlContainer::Create(platform::kCaptureControlClassId, this)) {
        capture->setObjectName(platform::ControlName(kCaptureControlId));
        capture->setGeometry(platform::DialogUnitsToPixels(kCaptureRect, base));
    }
}

CCaptureDlg::~CCaptureDlg() {
    // The hosted controls go first, while the window they draw into still exists.
    delete CaptureControl();
    delete WmvEditor();
}

platform::HostedControl* CCaptureDlg::CaptureControl() const {
    return findChild<platform::HostedControl*>(platform::ControlName(kCaptureControlId),
                                               Qt::FindDirectChildrenOnly);
}

platform::HostedControl* CCaptureDlg::WmvEditor() const {
    return findChild<platform::HostedControl*>(platform::ControlName(kWmvEditorControlId),
                                               Qt::FindDirectChildrenOnly);
}

bool CCaptureDlg::OnInitDialog() {
    const QString current = platform::CurrentDirectory();
    LoadStartupSkin();
    platform::SetCurrentDirectory(current);
    CSkinDialog::OnInitDialog();
    m_capture.Attach(CaptureControl());
    m_wmvEditor = WmvEditor();

    FillOutputFormat();
    setWindowIcon(m_hIcon);
    PlaceCaptureControl();

    m_overlayTextDlg.SetMainWindow(this);
    m_overlayImageDlg.SetMainWindow(this);
    m_audioDeviceDlg.SetMainWindow(this);
    m_videoDeviceDlg.SetMainWindow(this);
    m_dateTimeDlg.SetMainWindow(this);
    // A control that cannot list its devices leaves the lists empty; the dialogs come anyway.
    platform::RunGuarded(this, [this] { FillNameLists(); });
    CreateSettingsDialogs();
    // Values typed into the output dialog may match a quality option, or none any more.
    connect(&m_flvDlg, &QDialog::accepted, this, [this] {
        ShowQuality();
        // A size or rate of the user's own is kept from now on, whatever camera is chosen.
        if (CurrentOutputPicture() != m_followedPicture) m_outputChosen = true;
        OverlaySizesFollowThePicture();
        // The preview shows the picture as a recording started now would hold it.
        if (m_previewing && m_recordingPath.isEmpty()) platform::RunGuarded(this, [this] { Preview(); });
    });
    connect(&m_videoDeviceDlg, &QDialog::accepted, this, [this] { OutputFollowsTheCamera(); });
    ShowQuality();
    // A camera found at start sets the output as choosing it would; the test pattern leaves
    // the output dialog's own values.
    m_followedPicture = CurrentOutputPicture();
    bool camera = false;
    if (m_capture.Control()) platform::RunGuarded(this, [&] { camera = !m_capture.VideoDeviceNode(0).isEmpty(); });
    if (camera) OutputFollowsTheCamera();
    if (QCheckBox* grey = m_overlayTextDlg.Check(OverlayTextIds::kGreyScale))
        connect(grey, &QCheckBox::toggled, this, [this] { ShowGreyScale(); });
    ShowGreyScale();
    LoadRememberedSettings();
    for (const RememberedDialog& d : RememberedDialogs())
        connect(d.dialog, &QDialog::accepted, this, [this, group = QString::fromLatin1(d.group)] {
            // A device chosen by the user replaces the one that was not connected.
            m_keptAbsent.removeIf([&](auto it) { return it.key().startsWith(group + QLatin1Char('/')); });
            RememberSettings();
        });
    return true;
}

std::vector<CCaptureDlg::RememberedDialog> CCaptureDlg::RememberedDialogs() {
    // In the order they are put back: the devices before what depends on them.
    return {{&m_videoDeviceDlg, "VideoDevice", VideoDeviceIds::kOk, VideoDeviceIds::kDeviceList},
            {&m_audioDeviceDlg, "AudioDevice", AudioDeviceIds::kOk, AudioDeviceIds::kDeviceList},
            {&m_flvDlg, "Output", FlvIds::kOk},
            {&m_dateTimeDlg, "DateTime", DateTimeIds::kOk},
            {&m_overlayTextDlg, "OverlayText", OverlayTextIds::kOk},
            {&m_overlayImageDlg, "OverlayImage", OverlayImageIds::kOk},
            {&m_liveStreamDlg, "LiveStream", LiveStreamIds::kOk}};
}

void CCaptureDlg::LoadRememberedSettings() {
    const remembered::Loaded loaded = remembered::Load(remembered::FilePath());
    if (!loaded.problem.isEmpty()) Exclaim(this, loaded.problem);
    // The user asked to remember: a damaged file is replaced by a whole one at the next Ok.
    m_remember = loaded.values || !loaded.problem.isEmpty();
    if (!loaded.values) return;
    remembered::Values values = *loaded.values;
    m_restoring = true;
    const int skin = values.value(QStringLiteral("Main/skin")).toInt();
    if (skin != kSkinCommands[size_t(SkinIndex())].id) OnChangeSkin(skin);
    m_lastRecording = values.value(QStringLiteral("Main/lastRecording"));
    FindRememberedCamera(values);
    // Remembered sizes are the user's: a camera chosen later does not change them.
    m_outputChosen = values.contains(QStringLiteral("Output/%1").arg(FlvIds::kWidthEdit));
    if (values.contains(QStringLiteral("DateTime/%1").arg(DateTimeIds::kFontSizeList))) m_dateTimeDlg.KeepFontSize();
    if (values.contains(QStringLiteral("OverlayText/%1").arg(OverlayTextIds::kFontSizeList)))
        m_overlayTextDlg.KeepFontSize();
    for (const RememberedDialog& d : RememberedDialogs()) {
        const QString group = QString::fromLatin1(d.group);
        const QStringList missing = remembered::Restore(*d.dialog, group, values);
        if (d.device >= 0 && !missing.isEmpty() && missing.front() == values.value(DeviceKey(d))) {
            // Not connected: the default serves this run, and the file keeps the choice for
            // when the device is back, unless the user chooses another.
            const QComboBox* list = d.dialog->Combo(d.device);
            if (m_capture.Control())
                m_capture.ShowMessage(QStringLiteral("%1 is not connected; using %2")
                                      .arg(missing.front(), list ? list->currentText() : QString()));
            for (auto it = values.cbegin(); it != values.cend(); ++it)
                if (it.key().startsWith(group + QLatin1Char('/'))) m_keptAbsent.insert(it.key(), it.value());
        }
        // The key comes from the keyring, never from the file; with no keyring the field
        // starts empty, and Ok would refuse an address without its key.
        if (d.dialog == &m_liveStreamDlg) {
            std::string why;
            const std::optional<std::string> key = platform::KeyringLookup(&why);
            // The keyring holds the destinations' keys a line each, in their order.
            const QStringList keys = QString::fromStdString(key.value_or("")).split(QLatin1Char('\n'));
            m_liveStreamDlg.Edit(LiveStreamIds::kKeyEdit)->setText(keys.front());
            m_liveStreamDlg.SetKeyNote(key ? QString() : QString::fromLatin1(kMsgKeyNotRemembered));
            m_liveStreamDlg.StoreFields();
            if (const QString listed = values.value(QStringLiteral("LiveStream/destinations")); !listed.isEmpty()) {
                QList<CLiveStreamDlg::Destination> destinations;
                for (const QString& entry : listed.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    destinations.append({entry.section(QLatin1Char('|'), 1), keys.value(destinations.size()),
                                         entry.section(QLatin1Char('|'), 0, 0) == QLatin1String("1")});
                m_liveStreamDlg.SetDestinations(destinations);
            }
        } else if (QPushButton* ok = d.dialog->Button(d.ok)) {
            ok->click();
        }
    }
    m_restoring = false;
}

QString CCaptureDlg::DeviceKey(const RememberedDialog& d) {
    return QStringLiteral("%1/%2").arg(QString::fromLatin1(d.group)).arg(d.device);
}

void CCaptureDlg::FindRememberedCamera(remembered::Values& values) {
    // The camera is found by its card and bus, under whatever name and node it has now; by
    // its card alone when that names one device (plugged into another port).
    const QString identity = values.value(QStringLiteral("VideoDevice/identity"));
    if (identity.isEmpty() || !m_capture.Control()) return;
    const QStringList& names = m_videoDeviceDlg.DeviceNames();
    const QString card = identity.section(QLatin1Char('|'), 0, 0);
    int found = -1;
    std::vector<int> sameCard;
    for (int i = 0; i < names.size() && found < 0; ++i) {
        const QString other = m_capture.VideoDeviceIdentity(static_cast<int16_t>(i));
        if (other == identity) found = i;
        else if (other.section(QLatin1Char('|'), 0, 0) == card) sameCard.push_back(i);
    }
    if (found < 0 && sameCard.size() == 1) found = sameCard.front();
    if (found >= 0) values[QStringLiteral("VideoDevice/%1").arg(VideoDeviceIds::kDeviceList)] = names[found];
}

void CCaptureDlg::RememberSettings() {
    if (!m_remember || m_restoring || !m_keepThisRun) return;
    remembered::Values values;
    values[QStringLiteral("Main/skin")] = QString::number(kSkinCommands[size_t(SkinIndex())].id);
    values[QStringLiteral("Main/lastRecording")] = m_lastRecording;
    for (const RememberedDialog& d : RememberedDialogs())
        remembered::Capture(*d.dialog, QString::fromLatin1(d.group), values,
                            {LiveStreamIds::kKeyEdit, LiveStreamIds::kShowKey, LiveStreamIds::kDestinationList,
                             LiveStreamIds::kDestinationOn});
    // Every destination, "on|server" each (addresses hold no blanks); their keys go to the keyring.
    QStringList destinations, keys;
    for (const CLiveStreamDlg::Destination& d : m_liveStreamDlg.Destinations()) {
        destinations << QStringLiteral("%1|%2").arg(d.on ? 1 : 0).arg(d.server);
        keys << d.key;
    }
    values[QStringLiteral("LiveStream/destinations")] = destinations.join(QLatin1Char(' '));
    values[QStringLiteral("LiveStream/%1").arg(LiveStreamIds::kServerEdit)] = m_liveStreamDlg.Destinations().front().server;
    values[QStringLiteral("VideoDevice/identity")] =
        m_capture.Control() ? m_capture.VideoDeviceIdentity(static_cast<int16_t>(m_videoDeviceDlg.DeviceIndex()))
                            : QString();
    values.insert(m_keptAbsent);
    const QString why = remembered::Save(remembered::FilePath(), values);
    if (!why.isEmpty() && !std::exchange(m_toldUnwritable, true))
        Exclaim(this, QStringLiteral("The settings cannot be kept: %1.").arg(why));
    while (!keys.isEmpty() && keys.back().isEmpty()) keys.removeLast();
    const std::string key = keys.join(QLatin1Char('\n')).toStdString();
    std::string keyringWhy;
    const bool kept = key.empty() ? platform::KeyringClear(&keyringWhy) : platform::KeyringStore(key, &keyringWhy);
    m_liveStreamDlg.SetKeyNote(kept || key.empty() ? QString() : QString::fromLatin1(kMsgKeyNotRemembered));
}

void CCaptureDlg::SetRemember(bool on) {
    m_remember = on;
    if (on) {
        m_toldUnwritable = false;
        RememberSettings();
    } else {
        if (!remembered::Forget(remembered::FilePath()))
            Exclaim(this, QStringLiteral("The remembered settings in \"%1\" cannot be deleted.")
                              .arg(QDir::toNativeSeparators(remembered::FilePath())));
        std::string why;
        platform::KeyringClear(&why);  // nothing there, or no keyring: nothing to delete
        m_liveStreamDlg.SetKeyNote(QString());
    }
}

void CCaptureDlg::FillOutputFormat() {
    if (SkinComboBox* combo = FirstComboBox()) {
        for (const platform::OutputFormatInfo& f : platform::kOutputFormats) combo->AddString(Text(f.name));
        combo->SelectText(Text(m_defaultFormat->name));
    }
}

const platform::OutputFormatInfo& CCaptureDlg::DefaultFormat() {
    // The skin's format box, where it has one, sets the type the save dialog offers first.
    if (SkinComboBox* combo = FirstComboBox())
        if (const platform::OutputFormatInfo* f = platform::OutputFormatNamed(combo->Text().toStdString()))
            m_defaultFormat = f;
    return *m_defaultFormat;
}

void CCaptureDlg::PlaceCaptureControl() {
    platform::HostedControl* control = m_capture.Control();
    if (!control || !m_controlRect.isValid()) return;
    control->setGeometry(m_controlRect);
    control->raise();  // above the skin's controls, which a switch makes anew
    control->show();
}

void CCaptureDlg::OnSkinSwitched() {
    // Nothing lasts beyond this run, so a new skin's places take effect now, not at the
    // next start: the video goes into the new frame and the lists show what they held.
    FillOutputFormat();
    PlaceCaptureControl();
    ShowQuality();
    ShowGreyScale();
    ShowRecordings();
    RememberSettings();
}

void CCaptureDlg::ShowGreyScale() {
    const QCheckBox* grey = m_overlayTextDlg.Check(OverlayTextIds::kGreyScale);
    if (!grey) return;
    for (const auto& check : m_checks)
        if (check->name == QLatin1String(kGreyScaleCheck)) check->SetChecked(grey->isChecked());
}

void CCaptureDlg::OnSkinCheckClick(int index) {
    if (index < 0 || index >= int(m_checks.size())) return;
    const SkinCheckButton& check = *m_checks[index];
    if (check.name != QLatin1String(kGreyScaleCheck)) return;
    // The text overlay dialog holds the switch; the skin's box works it as the dialog's does.
    QCheckBox* grey = m_overlayTextDlg.Check(OverlayTextIds::kGreyScale);
    if (grey && grey->isChecked() != check.isChecked) grey->click();
}

void CCaptureDlg::ShowQuality() {
    const CFlvPropertiesDlg::Quality current = m_flvDlg.CurrentQuality();
    for (const auto& option : m_options)
        if (const QualityPreset* preset = FindPreset(option->name))
            option->SetChecked(preset->values == current);
}

SkinListBox* CCaptureDlg::RecordingsList() const {
    for (const auto& list : m_listBoxes)
        if (list->name == QLatin1String(kRecordingsList)) return list.get();
    return nullptr;
}

void CCaptureDlg::ShowRecordings() {
    SkinListBox* list = RecordingsList();
    if (!list) return;
    list->installEventFilter(this);  // a double click opens the recording's folder
    while (list->Count() < m_recordings.size())
        list->AddItem(QFileInfo(m_recordings[list->Count()]).fileName());
}

void CCaptureDlg::OpenRecordingFolder(int row) {
    if (row < 0 || row >= m_recordings.size()) return;
    const QString folder = QFileInfo(m_recordings[row]).absolutePath();
    if (!platform::OpenFolder(folder))
        Exclaim(this, QStringLiteral("The folder \"%1\" cannot be opened.")
                          .arg(QDir::toNativeSeparators(folder)));
}

bool CCaptureDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        SkinListBox* list = RecordingsList();
        if (list && watched == list)
            OpenRecordingFolder(list->RowAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
    }
    return CSkinDialog::eventFilter(watched, event);
}

void CCaptureDlg::FillNameLists() {
    m_videoDeviceDlg.DeviceNames() = ReadAllNames([this] { return m_capture.GetVideoDevices(); });
    m_videoDeviceDlg.FormatNames() = ReadAllNames([this] { return m_capture.GetVideoFormats(); });
    m_audioDeviceDlg.InputNames() = ReadAllNames([this] { return m_capture.GetAudioInputs(); });
    m_audioDeviceDlg.DeviceNames() = ReadAllNames([this] { return m_capture.GetAudioDevices(); });
    m_videoDeviceDlg.InputNames() = ReadAllNames([this] { return m_capture.GetVideoInputs(); });
    m_videoDeviceDlg.StandardNames() = ReadAllNames([this] { return m_capture.GetVideoStandards(); });
}

void CCaptureDlg::CreateSettingsDialogs() {
    m_videoDeviceDlg.Create(this);
    m_audioDeviceDlg.Create(this);
    m_dateTimeDlg.Create(this);
    m_overlayTextDlg.Create(this);
    m_overlayImageDlg.Create(this);
    m_flvDlg.Create(this);
    m_liveStreamDlg.Create(this);
    // Opened by Go live, the dialog's Ok goes live at once; opened from the menu it only stores.
    connect(&m_liveStreamDlg, &QDialog::finished, this, [this](int result) {
        const bool goLive = std::exchange(m_goLiveOnOk, false);
        if (goLive && result == QDialog::Accepted)
            platform::RunGuarded(this, [this] { GoLive(); });
    });
}

void CCaptureDlg::AskForStreamAddress(bool thenGoLive) {
    m_goLiveOnOk = thenGoLive;
    m_liveStreamDlg.show();
}

void CCaptureDlg::OnSkinButton(const QString& name) {
    platform::RunGuarded(this, [&] { Dispatch(name); });
}

const CCaptureDlg::ButtonCommand CCaptureDlg::kButtonCommands[] = {
    {kButtonExit, [](CCaptureDlg& d) { d.done(1); }},
    {kButtonClose, [](CCaptureDlg& d) { d.done(1); }},
    {"BUTTON_ADD", [](CCaptureDlg&) { ShowVideoFilesDialog(false); }},
    {"BUTTON_BROWSE", [](CCaptureDlg&) { ShowVideoFilesDialog(true); }},
    {kButtonConvert, [](CCaptureDlg& d) { d.Record(); }},
    {"BUTTON_STREAM", [](CCaptureDlg& d) { d.GoLive(); }},
    {"BUTTON_UP", [](CCaptureDlg& d) { Exclaim(&d, QStringLiteral("Up Button Pressed")); }},
    {"BUTTON_DOWN", [](CCaptureDlg& d) { Exclaim(&d, QStringLiteral("Down Button Pressed")); }},
    {"BUTTON_VIDEODEVICE", [](CCaptureDlg& d) { d.m_videoDeviceDlg.show(); }},
    {"BUTTON_AUDIODEVICE", [](CCaptureDlg& d) { d.m_audioDeviceDlg.show(); }},
    {"BUTTON_DATATIME", [](CCaptureDlg& d) { d.m_dateTimeDlg.show(); }},
    {"BUTTON_OVERLAYTEXT", [](CCaptureDlg& d) { d.m_overlayTextDlg.show(); }},
    {"BUTTON_OVERLAYIMAGE", [](CCaptureDlg& d) { d.m_overlayImageDlg.show(); }},
    {"BUTTON_WMVPROFILE", [](CCaptureDlg& d) { d.m_flvDlg.show(); }},
    {kButtonPlay, [](CCaptureDlg& d) { d.Preview(); }},
    {kButtonPause, [](CCaptureDlg& d) { d.Pause(); }},
    {kButtonStop, [](CCaptureDlg& d) { d.Stop(); }},
    {kButtonSnapshot, [](CCaptureDlg& d) { d.TakeSnapshot(); }},
    {"BUTTON_MINIMIZE", [](CCaptureDlg& d) { d.showMinimized(); }},
};

void CCaptureDlg::ShowVideoFilesDialog(bool save) {
    platform::FileDialogRequest request;
    request.save = save;
    request.filter = QString::fromLatin1(kVideoFilesFilter);
    request.mustExist = true;
    request.multiSelect = true;
    // The two buttons only show the dialog: the window has no use for a chosen file.
    platform::RunFileDialog(request);
}

void CCaptureDlg::Dispatch(const QString& name) {
    // Names compare exactly; the first equal row runs and any other name does nothing.
    for (const ButtonCommand& command : kButtonCommands)
        if (name == QLatin1String(command.name)) return command.run(*this);
}

void CCaptureDlg::ApplyDeviceSelection() {
    m_capture.SetVideoDeviceIndex(static_cast<int16_t>(m_videoDeviceDlg.DeviceIndex()));
    m_capture.SetVideoInputIndex(static_cast<int16_t>(m_videoDeviceDlg.InputIndex()));
    m_capture.SetVideoFormatIndex(static_cast<int16_t>(m_videoDeviceDlg.FormatIndex()));
    m_capture.SetVideoStandardIndex(static_cast<int16_t>(m_videoDeviceDlg.StandardIndex()));
    m_capture.SetDeinterlace(m_videoDeviceDlg.Deinterlace());
    m_capture.SetAudioDeviceIndex(static_cast<int16_t>(m_audioDeviceDlg.DeviceIndex()));
    m_capture.SetAudioInputIndex(static_cast<int16_t>(m_audioDeviceDlg.InputIndex()));
}

void CCaptureDlg::ApplyOverlaySet() {
    m_capture.DrawDateTime(m_dateTimeDlg.Left(), m_dateTimeDlg.Top(),
                           static_cast<int16_t>(m_dateTimeDlg.FormatIndex()));
    m_capture.DrawOverlayText(0, m_overlayTextDlg.Left(), m_overlayTextDlg.Top(),
                              m_overlayTextDlg.OverlayText());
    const COverlayImageDlg& image = m_overlayImageDlg;
    m_capture.DrawOverlayImage(0, static_cast<int16_t>(image.Left()),
                               static_cast<int16_t>(image.Top()), image.ImageFile(),
                               image.TransparentColour(), static_cast<int16_t>(image.Alpha()));
}

void CCaptureDlg::ApplyOverlays() {
    m_capture.SetVideoRotation(static_cast<int16_t>(m_overlayTextDlg.RotationIndex()));
    m_capture.SetInvertColor(m_overlayTextDlg.InvertFlag() == 1);
    ApplyOverlaySet();
}

void CCaptureDlg::ApplyStartSettings() {
    m_capture.SetAudioSyncMode(static_cast<int16_t>(m_audioDeviceDlg.SyncMode()));
    m_capture.SetAudioOffset(static_cast<int16_t>(m_audioDeviceDlg.AudioOffset()));
    m_capture.SetActiveOverlay(m_overlayTextDlg.UseOverlayFlag() == 1 ? 0 : -1);
}

void CCaptureDlg::Record() { StartRecording(false); }

void CCaptureDlg::GoLive() {
    const CLiveStreamDlg& d = m_liveStreamDlg;
    // Nowhere to go yet: ask first; its Ok goes live.
    if (d.Server().isEmpty() || d.Key().isEmpty()) {
        AskForStreamAddress(true);
        return;
    }
    const auto address = platform::ParseStreamAddress(d.Server().toStdString(), d.Key().toStdString());
    if (!address) {
        Exclaim(this, QStringLiteral("The live stream cannot start: %1.")
                          .arg(QString::fromStdString(address.Error())));
        AskForStreamAddress(true);
        return;
    }
    // Before the save dialog: a server that cannot be reached leaves the user no file to name.
    if (const QString unreachable = m_capture.CheckStreamServer(d.Server(), d.Key()); !unreachable.isEmpty()) {
        Exclaim(this, QStringLiteral("The live stream could not start: %1.").arg(unreachable));
        return;
    }
    StartRecording(true);
}

QString CCaptureDlg::StreamServerShown() const {
    QString shown = m_liveStreamDlg.Server().trimmed();
    // A key pasted into the address stays hidden there too.
    if (!m_liveStreamDlg.Key().isEmpty()) shown.replace(m_liveStreamDlg.Key(), QStringLiteral("****"));
    return shown;
}

QMenu* CCaptureDlg::BuildContextMenu(QWidget* parent) {
    QMenu* menu = CSkinDialog::BuildContextMenu(parent);
    menu->addSeparator();
    QAction* remember = menu->addAction(QStringLiteral("Remember Settings"));
    remember->setCheckable(true);
    remember->setChecked(m_remember);
    connect(remember, &QAction::toggled, this, [this](bool on) { SetRemember(on); });
    QAction* live = menu->addAction(QStringLiteral("&Live Stream…"));
    connect(live, &QAction::triggered, this, [this] { AskForStreamAddress(false); });
    QAction* controls = menu->addAction(QStringLiteral("Camera C&ontrols…"));
    connect(controls, &QAction::triggered, this, [this] {
        platform::RunGuarded(this, [&] { m_videoDeviceDlg.ShowCameraControls(m_videoDeviceDlg.DeviceIndex()); });
    });
    QAction* snapshot = menu->addAction(QStringLiteral("Take &Snapshot"));
    snapshot->setShortcut(QKeySequence(Qt::Key_F12));
    connect(snapshot, &QAction::triggered, this, [this] { OnSkinButton(QLatin1String(kButtonSnapshot)); });
    return menu;
}

bool CCaptureDlg::RecordTo(const QString& path, bool live) {
    StartRecording(live, path);
    return !m_recordingPath.isEmpty();
}

void CCaptureDlg::StartRecording(bool live, std::optional<QString> chosen) {
    ApplyDeviceSelection();
    // The user names a new recording here: no must-exist check, and replacing a file is
    // asked about first.
    platform::FileDialogRequest request;
    request.save = true;
    request.owner = this;
    const platform::OutputFormatInfo& offered = DefaultFormat();
    request.filter = RecordingFilter();
    request.selectedFilter = int(&offered - platform::kOutputFormats.data());
    request.defaultExt = Text(offered.extension);
    request.suffixFollowsFilter = true;
    request.confirmOverwrite = true;
    request.initialDir = RecordingStartFolder(m_lastRecording);
    ApplyOverlaySet();
    m_capture.SetOutputFormat(offered.value);
    // A stream without a local copy asks for no file.
    const bool localCopy = !live || m_liveStreamDlg.RecordCopy();
    auto path = chosen ? chosen
                : localCopy ? platform::RunFileDialog(request)
                            : std::optional<QString>(QString());
    if (!path) return;
    // The extension typed decides the type; a bare name gets the offered type's extension.
    if (!path->isEmpty()) {
        const QString suffix = QFileInfo(*path).suffix();
        if (suffix.isEmpty()) *path += QLatin1Char('.') + Text(offered.extension);
        const platform::OutputFormatInfo* typed = platform::OutputFormatNamed(suffix.toStdString());
        if (typed && typed != &offered) m_capture.SetOutputFormat(typed->value);
    }
    m_lastRecording = *path;

    // The control writes one file at a time: a recording still running is finished first,
    // so that it ends whole and the new one starts with the values chosen now.
    const bool finishedOne = !m_recordingPath.isEmpty();
    if (finishedOne) FinishCapture();
    ApplyOutputSettings();
    m_capture.SetCaptureFileName(*path);
    m_capture.SetCaptureToFile(true);
    if (live) {
        m_capture.SetStreamServer(m_liveStreamDlg.Server());
        m_capture.SetStreamKey(m_liveStreamDlg.Key());
        // The dialog checked every address at Ok: the component takes them all.
        for (const CLiveStreamDlg::Destination& d : m_liveStreamDlg.MoreDestinations())
            m_capture.AddStreamDestination(d.server, d.key);
    }
    ApplyStartSettings();
    const int16_t started = m_capture.StartCapture();
    // Asked at once: the preview restarted below would answer for itself.
    const QString cause = started == platform::kStartFailed ? m_capture.StartFailureReason() : QString();
    ApplyOverlays();
    if (started == platform::kStartFailed) {
        // Left on, a later Play would record into this file without being asked.
        m_capture.SetCaptureToFile(false);
        if (finishedOne) {
            // The preview that ran with the finished recording comes back.
            m_capture.StartCapture();
            ApplyOverlays();
        }
        QString text = live ? QStringLiteral("The live stream could not start: check that the "
                                             "server at %1 is running and takes streams.")
                                  .arg(StreamServerShown())
                            : QString::fromLatin1(kMsgCaptureFailure);
        // The cause itself, which otherwise shows only behind the box, in the preview.
        if (!cause.isEmpty()) text += QStringLiteral("\n\nThe cause: %1.").arg(cause);
        Exclaim(this, text);
        return;
    }
    // The capture runs now, whichever state it started from: the button that pauses it is
    // the one on show, so that one press pauses.
    ShowSkinButton(kButtonPause, true);
    ShowSkinButton(kButtonPlay, false);
    m_previewing = true;
    // Only a file that is being written is named in the File box and the list; a stream
    // with no copy is named by its server, never by its key.
    m_recordingPath = path->isEmpty() ? StreamServerShown() + QStringLiteral("/****") : *path;
    if (!m_edits.empty()) m_edits.front()->setText(m_recordingPath);
    if (!path->isEmpty() && !m_recordings.contains(*path)) m_recordings << *path;
    ShowRecordings();
}

void CCaptureDlg::ApplyOutputSettings() {
    m_capture.SetFlvAudioBitrate(m_flvDlg.AudioBitrate());
    m_capture.SetFlvAudioChannels(m_flvDlg.AudioChannels());
    m_capture.SetFlvAudioSampleRate(m_flvDlg.AudioSampleRate());
    m_capture.SetFlvVideoHeight(m_flvDlg.Height());
    m_capture.SetFlvVideoWidth(m_flvDlg.Width());
    m_capture.SetFlvVideoBitrate(m_flvDlg.VideoBitrate());
    m_capture.SetFlvFrameRate(FrameRateArgument(m_flvDlg.FrameRate()));
}

void CCaptureDlg::Preview() {
    ShowSkinButton(kButtonPause, true);
    ShowSkinButton(kButtonPlay, false);
    ApplyDeviceSelection();
    // The output values too: the preview is composed at the size and rate of the file a
    // Record pressed now would write, so every overlay sits where it will in the file.
    ApplyOutputSettings();
    ApplyStartSettings();
    m_previewing = m_capture.StartCapture() != platform::kStartFailed;
    ApplyOverlays();
}

void CCaptureDlg::TakeSnapshot() {
    const QString folder = SnapshotFolder();
    if (folder.isEmpty()) {
        Exclaim(this, QStringLiteral("The snapshot cannot be saved: the Pictures folder \"%1\" cannot be made.")
                          .arg(QDir::toNativeSeparators(
                              QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))));
        return;
    }
    const QString path = SnapshotPath(folder, QDateTime::currentDateTime());
    const QString refused = m_capture.SaveSnapshot(path);
    if (!refused.isEmpty())
        Exclaim(this, QStringLiteral("The snapshot was not saved: %1.").arg(refused));
}

void CCaptureDlg::Pause() {
    ShowSkinButton(kButtonPause, false);
    ShowSkinButton(kButtonPlay, true);
    m_capture.PauseCapture();
    m_previewing = false;
}

void CCaptureDlg::FinishCapture() {
    m_capture.SetStopRequested(true);
    m_capture.SetCaptureToFile(false);
    m_capture.StopCapture();
    m_recordingPath.clear();
    m_previewing = false;
}

void CCaptureDlg::Stop() {
    FinishCapture();
    // Back to the preview with the settings last sent.
    m_previewing = m_capture.StartCapture() != platform::kStartFailed;
    ApplyOverlays();
    ShowSkinButton(kButtonPlay, true);
}

void CCaptureDlg::ShowSkinButton(const char* name, bool show) {
    if (SkinButton* button = FindButton(QString::fromLatin1(name))) button->setVisible(show);
}

void CCaptureDlg::OnSkinOption(const QString& name) {
    if (const QualityPreset* preset = FindPreset(name)) {
        m_flvDlg.SetQuality(preset->values);
        m_outputChosen = true;
        OverlaySizesFollowThePicture();
    }
}

OutputPicture CCaptureDlg::CurrentOutputPicture() const {
    return {m_flvDlg.Width(), m_flvDlg.Height(), m_flvDlg.FrameRate()};
}

void CCaptureDlg::OutputFollowsTheCamera() {
    if (m_outputChosen) return;
    const std::optional<OutputPicture> picture = OutputForFormat(m_videoDeviceDlg.ChosenFormat());
    if (!picture) return;
    m_flvDlg.SetPicture(picture->width, picture->height, picture->frameRate);
    m_followedPicture = *picture;
    ShowQuality();
    OverlaySizesFollowThePicture();
}

void CCaptureDlg::OverlaySizesFollowThePicture() {
    platform::RunGuarded(this, [this] {
        m_dateTimeDlg.FollowPictureHeight(m_flvDlg.Height());
        m_overlayTextDlg.FollowPictureHeight(m_flvDlg.Height());
    });
}
// The skin's sliders (the progress slider is hidden) have no effect on capture.
void CCaptureDlg::OnSkinSlider(const QString&, int) {}

void CCaptureDlg::paintEvent(QPaintEvent* e) {
    if (!isMinimized()) {
        CSkinDialog::paintEvent(e);
        return;
    }
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QSize icon(32, 32);
    const QPoint at((width() - icon.width() + 1) / 2, (height() - icon.height() + 1) / 2);
    p.drawPixmap(at, m_hIcon.pixmap(icon));
}
