// The capture control hosted as control 1004: a dispatch server for the operations of
// platform/CaptureInterface.h, keeping every value put into it, and the window that shows
// the preview and, in plain words, what happened to the capture.
#pragma once

#include "component/pipeline/CaptureEngine.h"
#include "component/pipeline/PreviewPainter.h"
#include "component/pipeline/RecordingFigures.h"
#include "component/pipeline/CaptureSettings.h"
#include "component/sources/DeviceCatalog.h"
#include "component/sources/DeviceWatch.h"

#include <memory>
#include "component/overlays/OverlaySettings.h"
#include "platform/CaptureInterface.h"
#include "platform/ControlContainer.h"

#include <QTimer>

#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace component {

using platform::CaptureOp;

struct CaptureControlOptions {
    std::function<DeviceCatalog()> devices;  // defaults to probing this machine
    SourceFactory sources;                   // defaults to SourceFactory::Default()
    SinkFactory sinks;                       // defaults to plain files
};

class CaptureControl : public platform::HostedControl, private platform::IDispatch {
    Q_OBJECT
public:
    explicit CaptureControl(QWidget* parent, CaptureControlOptions options = {});
    ~CaptureControl() override;
    platform::IDispatch& Dispatch() override { return *this; }

    const CaptureSettings& Settings() const { return m_settings; }
    const OverlaySettings& Overlays() const { return m_overlays; }
    const DeviceCatalog& Devices();
    // Probes again when the watch saw a device come or go; true when the lists differ.
    bool RefreshDevices();
    CaptureEngine::State CaptureState() const { return m_engine.CurrentState(); }
    RecordingStats Stats() const { return m_engine.Stats(); }
    // The running recording's clock, as "REC" shows it.
    int64_t RecordedUs() const { return m_engine.RecordedUs(); }
    std::optional<StreamStatus> LiveStatus() const { return m_engine.LiveStatus(); }
    // The words the window shows over the picture; empty while a capture runs undisturbed.
    QString StatusText() const;
    // The preview's corner: "REC hh:mm:ss" while recording, "PAUSED" while paused.
    QString IndicatorText() const;
    // Beside it while recording: the file's size, its bitrate, the pictures dropped, the disk.
    RecordingFigures Figures();
    // Where the indicator and meter were last painted; empty when nothing was shown.
    QRect IndicatorRect() const { return m_painter.IndicatorRect(); }
    SoundLevelMeter::Reading SoundLevel() const;
    // Preview measurements: pictures painted, and capture-to-paint delay of each.
    int64_t FramesPainted() const { return m_painter.FramesPainted(); }
    const std::vector<int64_t>& PreviewLatenciesUs() const { return m_painter.LatenciesUs(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    platform::Variant Invoke(int dispid, platform::InvokeKind kind,
                             const std::vector<platform::Variant>& args) override;
    platform::Variant Perform(CaptureOp op, const std::vector<platform::Variant>& args);
    platform::Variant Collection(CaptureOp op, std::vector<std::string> names) const;
    int16_t StartCapture();
    void StopCapture();
    // "" when the picture was saved at `path`, else why not.
    std::string SaveSnapshot(const std::string& path);
    TextOverlay& Text(const platform::Variant& index);
    ImageOverlay& Image(const platform::Variant& index);
    void OverlaysChanged();
    // GUI thread: the status events the worker threads left in m_pendingStatus.
    Q_INVOKABLE void DeliverStatus();
    void OnStatus(StatusEvent event, const QString& device);
    void ShowNotice(const QString& text);

    CaptureControlOptions m_options;
    std::optional<DeviceCatalog> m_catalog;
    std::unique_ptr<DeviceWatch> m_watch;  // from the first RefreshDevices on
    CaptureSettings m_settings;
    OverlaySettings m_overlays;
    // Filled by the engine's threads, so it outlives the engine.
    std::mutex m_statusMutex;
    std::vector<std::pair<StatusEvent, std::string>> m_pendingStatus;  // guarded
    CaptureEngine m_engine;
    PreviewPainter m_painter;
    QStringList m_alerts;  // what happened, in plain words, oldest first
    std::string m_startFailure;  // why the last start failed; empty when it did not
    QString m_notice;      // a passing word ("Saved …"), shown for a moment after the alerts
    QTimer m_noticeTimer;  // clears it; a newer notice starts it again
    FiguresTracker m_figures;
    int m_figuresOf = 0;  // the recording number m_figures follows
};

}  // namespace component
