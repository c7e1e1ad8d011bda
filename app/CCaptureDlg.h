// The main capture window: the skinned window that hosts the capture control, owns the six
// settings dialogs and turns skin-button clicks into capture commands.
#pragma once

#include <QIcon>
#include <QMap>
#include <QStringList>

#include <optional>

#include "capture/CVideoCap.h"
#include "dialogs/CAudioDeviceDlg.h"
#include "dialogs/CDateTimeDlg.h"
#include "dialogs/CFlvPropertiesDlg.h"
#include "dialogs/CLiveStreamDlg.h"
#include "dialogs/COverlayImageDlg.h"
#include "dialogs/COverlayTextDlg.h"
#include "dialogs/CVideoDeviceDlg.h"
#include "StartValues.h"
#include "dialogs/CaptureHost.h"
#include "platform/CaptureInterface.h"
#include "platform/ControlContainer.h"
#include "skin/CSkinDialog.h"

class SkinListBox;

class CCaptureDlg : public CSkinDialog, public CaptureHost {
    Q_OBJECT
public:
    // Ids of the two controls of the window's template.
    static constexpr int kCaptureControlId = 1004;
    static constexpr int kWmvEditorControlId = 1041;

    explicit CCaptureDlg(QWidget* parent = nullptr);
    ~CCaptureDlg() override;

    bool OnInitDialog() override;
    // The command dispatcher: every skin button reports here by name.
    void OnSkinButton(const QString& name) override;
    void OnSkinOption(const QString& name) override;
    void OnSkinSlider(const QString& name, int position) override;
    void OnSkinCheckClick(int index) override;

    CVideoCap& Capture() override { return m_capture; }

    // The hosted controls; nullptr when their class id is not registered.
    platform::HostedControl* CaptureControl() const;
    platform::HostedControl* WmvEditor() const;
    const QIcon& Icon() const { return m_hIcon; }

    CVideoDeviceDlg& VideoDeviceDlg() { return m_videoDeviceDlg; }
    CAudioDeviceDlg& AudioDeviceDlg() { return m_audioDeviceDlg; }
    CDateTimeDlg& DateTimeDlg() { return m_dateTimeDlg; }
    COverlayTextDlg& OverlayTextDlg() { return m_overlayTextDlg; }
    COverlayImageDlg& OverlayImageDlg() { return m_overlayImageDlg; }
    CFlvPropertiesDlg& FlvDlg() { return m_flvDlg; }
    CLiveStreamDlg& LiveStreamDlg() { return m_liveStreamDlg; }
    // Starts recording into `path` without asking (empty with `live`: a stream without a local
    // copy); false when it did not start, the reason told as a failed Record tells it.
    bool RecordTo(const QString& path, bool live);
    // With "Remember Settings" on, writes this run's settings (a run given options keeps
    // none of them: DoNotRemember).
    void RememberSettings();
    void DoNotRemember() { m_keepThisRun = false; }
    bool RemembersSettings() const { return m_remember; }
    // Ends the running recording or stream whole.
    void FinishRecording() { FinishCapture(); }
    // This run's recordings, oldest first: the files that started recording.
    const QStringList& Recordings() const { return m_recordings; }

protected:
    void paintEvent(QPaintEvent*) override;
    void OnSkinSwitched() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Dispatch(const QString& name);
    struct ButtonCommand {
        const char* name;
        void (*run)(CCaptureDlg&);
    };
    static const ButtonCommand kButtonCommands[];
    static void ShowVideoFilesDialog(bool save);
    void ApplyDeviceSelection();
    void ApplyOverlaySet();
    void ApplyOverlays();
    void ApplyStartSettings();
    void Record();
    // "BUTTON_STREAM": the recording sequence with the live stream as its target.
    void GoLive();
    // Shows the Live Stream dialog; with thenGoLive its Ok goes live at once.
    void AskForStreamAddress(bool thenGoLive);
    // The recording sequence; `live` streams as well, with a local copy if the user asked.
    void StartRecording(bool live, std::optional<QString> chosen = std::nullopt);
    QMenu* BuildContextMenu(QWidget* parent) override;
    QString StreamServerShown() const;
    void Preview();
    // The output dialog's values into the control.
    void ApplyOutputSettings();
    void Pause();
    void Stop();
    // "BUTTON_SNAPSHOT" and F12: the picture as recorded, as a PNG in the Pictures folder.
    void TakeSnapshot();
    // Ends what runs, finishing a recording's file; the control then records no more.
    void FinishCapture();
    void ShowSkinButton(const char* name, bool show);
    // The main window's own pieces on the current skin.
    void PlaceCaptureControl();
    void FillOutputFormat();
    // The recording type the save dialog offers first.
    const platform::OutputFormatInfo& DefaultFormat();
    void ShowQuality();
    void ShowGreyScale();
    void ShowRecordings();
    SkinListBox* RecordingsList() const;
    void OpenRecordingFolder(int row);
    void FillNameLists();
    void CreateSettingsDialogs();
    struct RememberedDialog {
        platform::TemplateDialog* dialog;
        const char* group;
        int ok;
        int device = -1;  // the device list of a device dialog
    };
    std::vector<RememberedDialog> RememberedDialogs();
    static QString DeviceKey(const RememberedDialog& d);
    void LoadRememberedSettings();
    // Until the user sets the output's size or rate, they follow the chosen camera format,
    // and the overlays' sizes follow the output's height until the user picks them.
    OutputPicture CurrentOutputPicture() const;
    void OutputFollowsTheCamera();
    void OverlaySizesFollowThePicture();
    // Names the remembered camera by the name it has in this run's list.
    void FindRememberedCamera(QMap<QString, QString>& values);
    void SetRemember(bool on);

    // Declaration order is construction order.
    COverlayTextDlg m_overlayTextDlg;
    COverlayImageDlg m_overlayImageDlg;
    CFlvPropertiesDlg m_flvDlg;
    CVideoCap m_capture;
    // The window's template hosts the profile editor at its place; nothing calls it.
    platform::HostedControl* m_wmvEditor = nullptr;
    QIcon m_hIcon;
    QString m_lastRecording;  // the path of the last recording, for the next save dialog
    CVideoDeviceDlg m_videoDeviceDlg;
    CAudioDeviceDlg m_audioDeviceDlg;
    CDateTimeDlg m_dateTimeDlg;
    CLiveStreamDlg m_liveStreamDlg;
    bool m_goLiveOnOk = false;  // the Live Stream dialog was opened by Go live
    bool m_previewing = false;  // Play runs the picture (not paused, not stopped)
    bool m_outputChosen = false;      // the user set the output's size or rate
    OutputPicture m_followedPicture;  // what the output dialog was given to follow the camera
    bool m_remember = false;     // "Remember Settings": the file is there
    bool m_keepThisRun = true;
    bool m_restoring = false;    // the remembered values are being put back
    bool m_toldUnwritable = false;
    // The remembered choice of a device that was not connected at start, kept in the file
    // until the user chooses another.
    QMap<QString, QString> m_keptAbsent;
    // The file a recording started by this window writes into; empty when none runs.
    QString m_recordingPath;
    QStringList m_recordings;
    const platform::OutputFormatInfo* m_defaultFormat = &platform::kOutputFormats[0];
};
