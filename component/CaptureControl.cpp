#include "component/CaptureControl.h"

#include "component/media/CaptureClock.h"
#include "component/media/Diagnostics.h"
#include "component/overlays/HatchPatterns.h"
#include "component/recording/FileSink.h"
#include "component/NameCollection.h"
#include "component/pipeline/CaptureMessages.h"

#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

namespace component {

using platform::DispatchError;
using platform::InvokeKind;
using platform::Variant;

namespace {
constexpr int kNoticeMs = 2000;

CaptureControlOptions WithDefaults(CaptureControlOptions o) {
    if (!o.devices) o.devices = &DeviceCatalog::Probe;
    if (!o.sources.video || !o.sources.audio) o.sources = SourceFactory::Default();
    if (!o.sinks) o.sinks = &FileSink::Create;
    return o;
}
}  // namespace

CaptureControl::CaptureControl(QWidget* parent, CaptureControlOptions options)
    : platform::HostedControl(parent),
      m_options(WithDefaults(std::move(options))),
      m_engine(m_options.sources, m_options.sinks,
               // Worker threads only wake the GUI thread: what they hand over goes through the
               // preview mailbox and m_pendingStatus, under locks of our own.
               CaptureEngine::Hooks{
                   [this] { QMetaObject::invokeMethod(this, "update", Qt::QueuedConnection); },
                   [this](StatusEvent e, const std::string& device) {
                       {
                           std::lock_guard lock(m_statusMutex);
                           m_pendingStatus.emplace_back(e, device);
                       }
                       QMetaObject::invokeMethod(this, "DeliverStatus", Qt::QueuedConnection);
                   }}) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_noticeTimer.setSingleShot(true);
    connect(&m_noticeTimer, &QTimer::timeout, this, [this] {
        m_notice.clear();
        update();
    });
}

CaptureControl::~CaptureControl() {
    // The application may close in the middle of a recording: finish the file properly.
    m_engine.Stop();
}

const DeviceCatalog& CaptureControl::Devices() {
    if (!m_catalog) m_catalog = m_options.devices();
    return *m_catalog;
}

bool CaptureControl::RefreshDevices() {
    Devices();
    if (!m_watch) m_watch = std::make_unique<DeviceWatch>();
    if (!m_watch->Changed()) return false;
    DeviceCatalog fresh = m_options.devices();
    auto names = [](const DeviceCatalog& c) {
        std::vector<std::string> n;
        for (const VideoDevice& d : c.video) n.push_back(d.path + '|' + d.name);
        n.push_back({});
        for (const AudioDevice& d : c.audio) n.push_back(d.source + '|' + d.name);
        return n;
    };
    const bool changed = names(fresh) != names(*m_catalog);
    m_catalog = std::move(fresh);
    return changed;
}

Variant CaptureControl::Invoke(int dispid, InvokeKind kind, const std::vector<Variant>& args) {
    const platform::CaptureOpInfo* op = platform::FindCaptureOp(dispid);
    if (!op)
        throw DispatchError(DispatchError::Code::UnknownName, dispid,
                            "the capture control has no DISPID " + std::to_string(dispid));
    platform::CheckCall(*op, kind, args);
    Variant result = Perform(op->op, args);
    // What an operation changes on the picture is the table's to say, not each case's.
    if (op->effect == platform::CaptureEffect::Overlays) OverlaysChanged();
    return result;
}

Variant CaptureControl::Collection(CaptureOp op, std::vector<std::string> names) const {
    return Variant::Object(
        std::make_shared<NameCollection>(std::move(names), platform::CaptureOpRow(op).itemDispid));
}

TextOverlay& CaptureControl::Text(const Variant& index) { return m_overlays.texts[index.ToI16()]; }
ImageOverlay& CaptureControl::Image(const Variant& index) { return m_overlays.images[index.ToI16()]; }

void CaptureControl::OverlaysChanged() { m_engine.Processing().SetOverlaySettings(m_overlays); }

Variant CaptureControl::Perform(CaptureOp op, const std::vector<Variant>& a) {
    using O = CaptureOp;
    CaptureSettings& s = m_settings;
    auto videoDevice = [this](int index) -> const VideoDevice* {
        const auto& list = Devices().video;
        return index >= 0 && index < int(list.size()) ? &list[size_t(index)] : nullptr;
    };
    switch (op) {
    case O::VideoDeviceIndex: s.videoDeviceIndex = a[0].ToI16(); break;
    case O::VideoFormatIndex: s.videoFormatIndex = a[0].ToI16(); break;
    case O::VideoInputIndex: s.videoInputIndex = a[0].ToI16(); break;
    case O::AudioDeviceIndex: s.audioDeviceIndex = a[0].ToI16(); break;
    case O::AudioInputIndex: s.audioInputIndex = a[0].ToI16(); break;
    case O::SelectVideoDevice:
        s.describedVideoDevice = a[0].ToI16();
        s.describedVideoStandard = 0;  // a new device is described from its first standard
        break;
    case O::VideoDevices: {
        std::vector<std::string> names;
        for (const VideoDevice& d : Devices().video) names.push_back(d.name);
        return Collection(op, std::move(names));
    }
    case O::VideoFormats: {
        std::vector<std::string> names;
        if (const VideoDevice* d = videoDevice(s.describedVideoDevice))
            for (const VideoFormat& f : d->FormatsFor(s.describedVideoStandard)) names.push_back(f.name);
        return Collection(op, std::move(names));
    }
    case O::VideoStandards: {
        std::vector<std::string> names;
        if (const VideoDevice* d = videoDevice(s.describedVideoDevice))
            for (const VideoStandard& st : d->standards) names.push_back(st.name);
        return Collection(op, std::move(names));
    }
    case O::VideoStandardIndex: s.videoStandardIndex = a[0].ToI16(); break;
    case O::SelectVideoStandard: s.describedVideoStandard = a[0].ToI16(); break;
    case O::Deinterlace: s.deinterlace = a[0].ToBool(); break;
    case O::VideoDeviceNode: {
        const VideoDevice* d = videoDevice(a[0].ToI16());
        return Variant::Str(d && d->kind == VideoKind::V4l2 ? d->path : std::string());
    }
    case O::VideoDeviceIdentity: {
        const VideoDevice* d = videoDevice(a[0].ToI16());
        return Variant::Str(!d ? std::string() : d->identity.empty() ? d->name : d->identity);
    }
    case O::ShowMessage:
        if (const QString line = QString::fromStdString(a[0].ToStr()); !m_alerts.contains(line)) m_alerts << line;
        update();
        break;
    case O::RefreshDevices: return Variant::Bool(RefreshDevices());
    case O::AddStreamDestination: {
        const Result<StreamUrl> url = StreamUrl::Parse(a[0].ToStr(), a[1].ToStr());
        if (!url) return Variant::Str(url.Error());
        s.moreStreams.emplace_back(a[0].ToStr(), a[1].ToStr());
        return Variant::Str({});
    }
    case O::SaveSnapshot: return Variant::Str(SaveSnapshot(a[0].ToStr()));
    case O::StartFailureReason: return Variant::Str(m_startFailure);
    case O::CheckStreamServer: {
        const Result<StreamUrl> url = StreamUrl::Parse(a[0].ToStr(), a[1].ToStr());
        if (!url) return Variant::Str(url.Error());
        const Result<> reached = StreamOutput::CheckServer(*url);
        return Variant::Str(reached ? std::string() : reached.Error());
    }
    case O::VideoInputs: {
        const VideoDevice* d = videoDevice(s.describedVideoDevice);
        return Collection(op, d ? d->inputs : std::vector<std::string>{});
    }
    case O::AudioDevices: {
        std::vector<std::string> names;
        for (const AudioDevice& d : Devices().audio) names.push_back(d.name);
        return Collection(op, std::move(names));
    }
    case O::AudioInputs: {
        const auto& list = Devices().audio;
        const int i = s.audioDeviceIndex;
        return Collection(op, i >= 0 && i < int(list.size()) ? list[size_t(i)].inputs
                                                              : std::vector<std::string>{});
    }
    case O::CaptureToFile: s.captureToFile = a[0].ToBool(); break;
    case O::CaptureFileName: s.captureFileName = a[0].ToStr(); break;
    case O::StopRequested: s.stopRequested = a[0].ToBool(); break;
    case O::AudioSyncMode: s.audioSyncMode = a[0].ToI16(); break;
    case O::AudioOffset: s.audioOffsetMs = a[0].ToI16(); break;
    case O::OutputFormat: s.outputFormat = a[0].ToI32(); break;
    case O::FlvAudioBitrate: s.flv.audioBitrate = a[0].ToI32(); break;
    case O::FlvAudioChannels: s.flv.audioChannels = a[0].ToI16(); break;
    case O::FlvAudioSampleRate: s.flv.audioSampleRate = a[0].ToI32(); break;
    case O::FlvVideoHeight: s.flv.videoHeight = a[0].ToI16(); break;
    case O::FlvVideoBitrate: s.flv.videoBitrate = a[0].ToI32(); break;
    case O::FlvVideoWidth: s.flv.videoWidth = a[0].ToI16(); break;
    case O::FlvFrameRate: s.flv.frameRate = a[0].ToI16(); break;
    case O::StartCapture: return Variant::I16(StartCapture());
    case O::StopCapture: StopCapture(); break;
    case O::PauseCapture:
        m_engine.Pause();
        update();
        break;

    case O::DateTimeColor: m_overlays.dateTime.colour = a[0].ToColour(); break;
    case O::DateTimeFontName: m_overlays.dateTime.fontName = a[0].ToStr(); break;
    case O::DateTimeFontSize: m_overlays.dateTime.fontSize = a[0].ToI16(); break;
    case O::DateTimeFontStyle: m_overlays.dateTime.fontStyle = a[0].ToI16(); break;
    case O::ShowDateTime: m_overlays.dateTime.show = a[0].ToBool(); break;
    case O::DrawDateTime:
        m_overlays.dateTime.left = a[0].ToI16();
        m_overlays.dateTime.top = a[1].ToI16();
        m_overlays.dateTime.formatIndex = a[2].ToI16();
        break;
    case O::ActiveOverlay: m_overlays.activeOverlay = a[0].ToI32(); break;
    case O::SetVideoRotation: m_overlays.rotation = a[0].ToI16(); break;
    case O::SetInvertColor: m_overlays.invert = a[0].ToBool(); break;
    case O::SetGrayScale: m_overlays.greyScale = a[0].ToBool(); break;
    case O::ShowOverlayImage: Image(a[0]).show = a[1].ToBool(); break;
    case O::DrawOverlayImage: {
        ImageOverlay& img = Image(a[0]);
        img.left = a[1].ToI16();
        img.top = a[2].ToI16();
        img.path = a[3].ToStr();
        img.transparentColour = a[4].ToColour();
        img.alpha = a[5].ToI16();
        break;
    }
    case O::SetOverlayTextColor: Text(a[0]).colour = a[1].ToColour(); break;
    case O::SetOverlayTextFontName: Text(a[0]).fontName = a[1].ToStr(); break;
    case O::SetOverlayTextFontSize: Text(a[0]).fontSize = a[1].ToI16(); break;
    case O::ShowOverlayText: Text(a[0]).show = a[1].ToBool(); break;
    case O::DrawOverlayText: {
        TextOverlay& t = Text(a[0]);
        t.left = a[1].ToI16();
        t.top = a[2].ToI16();
        t.text = a[3].ToStr();
        break;
    }
    case O::SetOverlayTextFontStyle: Text(a[0]).fontStyle = a[1].ToI16(); break;
    case O::SetOverlayTextStyle: Text(a[0]).style = a[1].ToI16(); break;
    case O::SetOverlayTextOutlineBackColor:
        Text(a[0]).outlineBackColour = a[1].ToColour();
        break;
    case O::SetOverlayTextOutlineColor: Text(a[0]).outlineColour = a[1].ToColour(); break;
    case O::SetOverlayTextHatchBrush: {
        TextOverlay& t = Text(a[0]);
        t.hatchStyle = a[1].ToI16();
        t.hatchForeColour = a[2].ToColour();
        t.hatchBackColour = a[3].ToColour();
        // 0 for a hatch style this component draws, -1 otherwise.
        return Variant::I16(IsHatchStyle(t.hatchStyle) ? 0 : -1);
    }
    case O::SetOverlayTextTextureBrush: Text(a[0]).texturePath = a[1].ToStr(); break;
    case O::StreamServer: s.streamServer = a[0].ToStr(); break;
    case O::StreamKey: s.streamKey = a[0].ToStr(); break;
    case O::Count: break;
    }
    return Variant();
}

int16_t CaptureControl::StartCapture() {
    const bool wasStopped = m_engine.CurrentState() == CaptureEngine::State::Stopped;
    Result<CaptureRequest> request = CaptureRequest::From(m_settings, Devices());
    // A stream's address and key serve the one start they were put for.
    m_settings.streamServer.clear();
    m_settings.streamKey.clear();
    m_settings.moreStreams.clear();
    const Result<> started = request ? m_engine.Start(*request) : Result<>(request.AsFailure());
    m_alerts.removeIf(IsStartFailureText);
    m_startFailure = started ? std::string() : started.Error();
    if (!started) {
        Diagnose("StartCapture failed: " + started.Error());
        m_alerts << StartFailureText(started.Error());
        update();
        return platform::kStartFailed;
    }
    if (wasStopped) m_alerts.clear();
    update();
    return 0;
}

std::string CaptureControl::SaveSnapshot(const std::string& path) {
    const QImage picture = m_engine.CurrentState() == CaptureEngine::State::Stopped
                               ? QImage()
                               : m_painter.Latest(m_engine.Preview());
    if (picture.isNull()) return NoSnapshotText();
    const QString file = QString::fromStdString(path);
    QSaveFile out(file);
    // Written whole or not at all: a full disk leaves no half picture behind.
    if (!out.open(QIODevice::WriteOnly))
        return "cannot write " + path + ": " + out.errorString().toStdString();
    if (!picture.save(&out, "PNG") || !out.commit())
        return "cannot write " + path + ": " +
               (out.error() != QFileDevice::NoError ? out.errorString().toStdString()
                                                    : std::string("the picture could not be encoded"));
    ShowNotice(SnapshotSavedText(QFileInfo(file).fileName()));
    return {};
}

void CaptureControl::StopCapture() {
    m_engine.Stop();
    m_painter.Forget();
    m_alerts.clear();
    update();
}

void CaptureControl::DeliverStatus() {
    std::vector<std::pair<StatusEvent, std::string>> events;
    {
        std::lock_guard lock(m_statusMutex);
        events.swap(m_pendingStatus);
    }
    for (const auto& [event, device] : events) OnStatus(event, QString::fromStdString(device));
}

void CaptureControl::OnStatus(StatusEvent event, const QString& device) {
    const QString text = StatusEventText(event, device);
    if (const std::optional<StatusEvent> ended = EndedEvent(event)) {
        // A device that is back takes its alert away and says so for a moment.
        m_alerts.removeAll(StatusEventText(*ended, device));
        ShowNotice(text);
        return;
    }
    if (!m_alerts.contains(text)) m_alerts << text;
    update();
}

void CaptureControl::ShowNotice(const QString& text) {
    m_notice = text;
    m_noticeTimer.start(kNoticeMs);
    update();
}

QString CaptureControl::StatusText() const {
    // Paused or running, the indicator in the corner says so.
    QStringList lines = m_alerts;
    if (m_engine.IsRecording())
        if (const int64_t dropped = m_engine.Stats().framesDropped; dropped > 0) lines << OverloadText(dropped);
    if (!m_notice.isEmpty()) lines << m_notice;
    return component::StatusText(m_engine.CurrentState() == CaptureEngine::State::Stopped, lines,
                                 m_engine.LiveStatuses(), m_engine.RecordedUs());
}

QString CaptureControl::IndicatorText() const {
    switch (m_engine.CurrentState()) {
    case CaptureEngine::State::Paused: return PausedText();
    case CaptureEngine::State::Running:
        return m_engine.IsRecording() ? RecordingText(m_engine.RecordedUs()) : QString();
    case CaptureEngine::State::Stopped: break;
    }
    return {};
}

RecordingFigures CaptureControl::Figures() {
    if (m_engine.RecordingNumber() != m_figuresOf) {
        m_figuresOf = m_engine.RecordingNumber();
        m_figures.Begin(m_engine.RecordingPath());
    }
    return m_figures.Update(ClockNowUs(), m_engine.Stats());
}

SoundLevelMeter::Reading CaptureControl::SoundLevel() const {
    return m_engine.SoundLevel().Read(ClockNowUs());
}

void CaptureControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const CaptureEngine::State state = m_engine.CurrentState();
    const bool recording = state == CaptureEngine::State::Running && m_engine.IsRecording();
    IndicatorState indicator{IndicatorText(), recording, SoundLevel(), {}, false};
    if (m_engine.IsRecording()) {
        const RecordingFigures figures = Figures();
        indicator.figures = FiguresText(figures);
        indicator.warning = figures.Warning();
    }
    m_painter.Paint(p, rect(), m_engine.Preview(), {state != CaptureEngine::State::Stopped, indicator, StatusText()});
}

}  // namespace component
