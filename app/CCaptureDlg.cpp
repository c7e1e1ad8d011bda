#include "CCaptureDlg.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

#include "AppIcon.h"
#include "capture/CaptureDispids.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinEditBox.h"
#include "platform/DialogTemplate.h"
#include "platform/DialogUnits.h"
#include "platform/HandlerGuard.h"
#include "platform/Paths.h"
#include "platform/Services.h"

namespace {

// Window template 102: its size and the two hosted controls, in dialog units.
const QRect kTemplateSize(0, 0, 719, 486);
const QRect kWmvEditorRect(134, 328, 60, 25);
const QRect kCaptureRect(304, 196, 91, 72);

constexpr const char* kMsgCaptureFailure =
    "Capture Failure, Video/Audio compressor not correct or capture file opening";
constexpr const char* kVideoFilesFilter =
    "All Video Files(*.wmv, *mp4, *avi)|*.wmv;*.mp4;*.avi||";
constexpr const char* kRecordingFilter = "flv file(*.flv)|*.flv|All Files(*.*)|*.*|| ";

// The frame rate is a float; the control takes whole frames per second in 16 bits.
int16_t FrameRateArgument(float rate) {
    if (!std::isfinite(rate)) return 0;
    const double whole = std::trunc(double(rate));
    const double clamped = std::clamp(whole, double(std::numeric_limits<int32_t>::min()),
                                      double(std::numeric_limits<int32_t>::max()));
    return static_cast<int16_t>(static_cast<int32_t>(clamped));
}

// Keys for the main commands, which the skin's buttons give only to the mouse. Space plays
// or pauses, whichever of the two buttons is shown.
struct KeyCommand {
    QKeyCombination key;
    QStringList buttons;
};
const KeyCommand kKeyCommands[] = {
    {Qt::Key_Space, {QStringLiteral("BUTTON_PAUSE"), QStringLiteral("BUTTON_PLAY")}},
    {Qt::CTRL | Qt::Key_R, {QStringLiteral("BUTTON_CONVERT")}},
    {Qt::CTRL | Qt::Key_S, {QStringLiteral("BUTTON_STOP")}},
    {Qt::CTRL | Qt::Key_Period, {QStringLiteral("BUTTON_STOP")}},
    {Qt::CTRL | Qt::Key_Q, {QStringLiteral("BUTTON_EXIT"), QStringLiteral("BUTTON_CLOSE")}},
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

    if (SkinComboBox* combo = FirstComboBox()) {
        combo->AddString(QStringLiteral("FLV"));
        combo->SelectText(QStringLiteral("FLV"));
    }
    setWindowIcon(m_hIcon);
    if (platform::HostedControl* control = m_capture.Control(); control && m_controlRect.isValid()) {
        control->setGeometry(m_controlRect);
        control->raise();
        control->show();
    }

    m_overlayTextDlg.SetMainWindow(this);
    m_overlayImageDlg.SetMainWindow(this);
    m_audioDeviceDlg.SetMainWindow(this);
    m_videoDeviceDlg.SetMainWindow(this);
    m_dateTimeDlg.SetMainWindow(this);
    // A control that cannot list its devices leaves the lists empty; the dialogs come anyway.
    platform::RunGuarded(this, [this] { FillNameLists(); });
    CreateSettingsDialogs();
    return true;
}

void CCaptureDlg::FillNameLists() {
    m_videoDeviceDlg.DeviceNames() = ReadAllNames([this] { return m_capture.GetVideoDevices(); });
    m_videoDeviceDlg.FormatNames() = ReadAllNames([this] { return m_capture.GetVideoFormats(); });
    m_audioDeviceDlg.InputNames() = ReadAllNames([this] { return m_capture.GetAudioInputs(); });
    m_audioDeviceDlg.DeviceNames() = ReadAllNames([this] { return m_capture.GetAudioDevices(); });
    m_videoDeviceDlg.InputNames() = ReadAllNames([this] { return m_capture.GetVideoInputs(); });
}

void CCaptureDlg::CreateSettingsDialogs() {
    m_videoDeviceDlg.Create(this);
    m_audioDeviceDlg.Create(this);
    m_dateTimeDlg.Create(this);
    m_overlayTextDlg.Create(this);
    m_overlayImageDlg.Create(this);
    m_flvDlg.Create(this);
}

void CCaptureDlg::OnSkinButton(const QString& name) {
    platform::RunGuarded(this, [&] { Dispatch(name); });
}

void CCaptureDlg::Dispatch(const QString& name) {
    auto is = [&name](const char* candidate) { return name == QLatin1String(candidate); };
    if (is("BUTTON_EXIT") || is("BUTTON_CLOSE")) {
        done(1);
    } else if (is("BUTTON_ADD") || is("BUTTON_BROWSE")) {
        platform::FileDialogRequest request;
        request.save = is("BUTTON_BROWSE");
        request.filter = QString::fromLatin1(kVideoFilesFilter);
        request.mustExist = true;
        request.multiSelect = true;
        platform::RunFileDialog(request);  // nothing is done with the choice
    } else if (is("BUTTON_CONVERT")) {
        Record();
    } else if (is("BUTTON_UP")) {
        Exclaim(this, QStringLiteral("Up Button Pressed"));
    } else if (is("BUTTON_DOWN")) {
        Exclaim(this, QStringLiteral("Down Button Pressed"));
    } else if (is("BUTTON_VIDEODEVICE")) {
        m_videoDeviceDlg.show();
    } else if (is("BUTTON_AUDIODEVICE")) {
        m_audioDeviceDlg.show();
    } else if (is("BUTTON_DATATIME")) {
        m_dateTimeDlg.show();
    } else if (is("BUTTON_OVERLAYTEXT")) {
        m_overlayTextDlg.show();
    } else if (is("BUTTON_OVERLAYIMAGE")) {
        m_overlayImageDlg.show();
    } else if (is("BUTTON_WMVPROFILE")) {
        m_flvDlg.show();
    } else if (is("BUTTON_PLAY")) {
        Preview();
    } else if (is("BUTTON_PAUSE")) {
        Pause();
    } else if (is("BUTTON_STOP")) {
        Stop();
    } else if (is("BUTTON_MINIMIZE")) {
        showMinimized();
    }
}

void CCaptureDlg::ApplyDeviceSelection() {
    m_capture.SetVideoDeviceIndex(static_cast<int16_t>(m_videoDeviceDlg.DeviceIndex()));
    m_capture.SetVideoInputIndex(static_cast<int16_t>(m_videoDeviceDlg.InputIndex()));
    m_capture.SetVideoFormatIndex(static_cast<int16_t>(m_videoDeviceDlg.FormatIndex()));
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

void CCaptureDlg::Record() {
    ApplyDeviceSelection();
    // The user names a new recording here: no must-exist check, and replacing a file is
    // asked about first.
    platform::FileDialogRequest request;
    request.save = true;
    request.owner = this;
    request.filter = QString::fromLatin1(kRecordingFilter);
    request.defaultExt = QStringLiteral("flv");
    request.confirmOverwrite = true;
    ApplyOverlaySet();
    m_capture.SetOutputFormat(capture::kOutputFormatFlv);
    const auto path = platform::RunFileDialog(request);
    if (!path) return;

    m_capture.SetFlvAudioBitrate(m_flvDlg.AudioBitrate());
    m_capture.SetFlvAudioChannels(m_flvDlg.AudioChannels());
    m_capture.SetFlvAudioSampleRate(m_flvDlg.AudioSampleRate());
    m_capture.SetFlvVideoHeight(m_flvDlg.Height());
    m_capture.SetFlvVideoWidth(m_flvDlg.Width());
    m_capture.SetFlvVideoBitrate(m_flvDlg.VideoBitrate());
    m_capture.SetFlvFrameRate(FrameRateArgument(m_flvDlg.FrameRate()));
    m_capture.SetCaptureFileName(*path);
    if (!m_edits.empty()) m_edits.front()->setText(*path);
    m_capture.SetCaptureToFile(true);
    ApplyStartSettings();
    const int16_t started = m_capture.StartCapture();
    ApplyOverlays();
    if (started == capture::kStartFailed) Exclaim(this, QString::fromLatin1(kMsgCaptureFailure));
}

void CCaptureDlg::Preview() {
    ShowSkinButton("BUTTON_PAUSE", true);
    ShowSkinButton("BUTTON_PLAY", false);
    ApplyDeviceSelection();
    ApplyStartSettings();
    m_capture.StartCapture();
    ApplyOverlays();
}

void CCaptureDlg::Pause() {
    ShowSkinButton("BUTTON_PAUSE", false);
    ShowSkinButton("BUTTON_PLAY", true);
    m_capture.PauseCapture();
}

void CCaptureDlg::Stop() {
    m_capture.SetStopRequested(true);
    m_capture.SetCaptureToFile(false);
    m_capture.StopCapture();
    // Back to the preview with the settings last sent.
    m_capture.StartCapture();
    ApplyOverlays();
    ShowSkinButton("BUTTON_PLAY", true);
}

void CCaptureDlg::ShowSkinButton(const char* name, bool show) {
    if (SkinButton* button = FindButton(QString::fromLatin1(name))) button->setVisible(show);
}

void CCaptureDlg::OnSkinOption(const QString&) {}
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
