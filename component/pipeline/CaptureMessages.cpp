#include "component/pipeline/CaptureMessages.h"

#include <algorithm>

namespace component {

namespace {
const QString kStartFailure = QStringLiteral("Capture could not start: ");
}  // namespace

QString RunningTime(int64_t us) {
    const int64_t s = std::max<int64_t>(0, us) / 1000000;
    auto two = [](int64_t v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return QStringLiteral("%1:%2:%3").arg(two(s / 3600), two(s / 60 % 60), two(s % 60));
}

QString RecordingText(int64_t recordedUs) { return QStringLiteral("REC ") + RunningTime(recordedUs); }

QString PausedText() { return QStringLiteral("PAUSED"); }

std::string StreamStatusText(const StreamStatus& s) {
    switch (s.state) {
    case StreamState::Connecting: return "Connecting…";
    case StreamState::Live: return "Live";
    case StreamState::Reconnecting: return "Reconnecting… (" + std::to_string(s.attempt) + ")";
    case StreamState::LiveAgain: return "Live again";
    case StreamState::Stopped: break;
    }
    return {};
}

QString StatusEventText(StatusEvent e, const QString& device) {
    switch (e) {
    case StatusEvent::VideoDeviceLost:
        return QStringLiteral("The video device \"%1\" was disconnected. The last picture is held.")
            .arg(device);
    case StatusEvent::AudioDeviceLost:
        return QStringLiteral("The audio device \"%1\" was disconnected. Silence is recorded instead.")
            .arg(device);
    case StatusEvent::VideoDeviceBack:
        return QStringLiteral("The video device \"%1\" is back.").arg(device);
    case StatusEvent::AudioDeviceBack:
        return QStringLiteral("The audio device \"%1\" is back.").arg(device);
    case StatusEvent::DiskFull:
        return QStringLiteral("Recording stopped: the disk is full. The file keeps what was recorded.");
    case StatusEvent::WriteFailed:
        return QStringLiteral("Recording stopped: the file could not be written. The file keeps what was recorded.");
    case StatusEvent::EncodeFailed:
        return QStringLiteral("Recording stopped: the encoder failed. The file keeps what was recorded.");
    }
    return {};
}

std::optional<StatusEvent> EndedEvent(StatusEvent e) {
    if (e == StatusEvent::VideoDeviceBack) return StatusEvent::VideoDeviceLost;
    if (e == StatusEvent::AudioDeviceBack) return StatusEvent::AudioDeviceLost;
    return std::nullopt;
}

QString StartFailureText(const std::string& reason) {
    return kStartFailure + QString::fromStdString(reason);
}

bool IsStartFailureText(const QString& line) { return line.startsWith(kStartFailure); }

QString SnapshotSavedText(const QString& fileName) { return QStringLiteral("Saved ") + fileName; }

std::string NoSnapshotText() {
    return "there is no picture to save; press Play to start the preview first";
}

QString StatusText(bool stopped, const QStringList& alerts, const std::optional<StreamStatus>& stream,
                   int64_t runningUs) {
    QStringList lines = alerts;
    if (stopped) lines.prepend(QStringLiteral("Preview stopped: press Play to start it"));
    if (stream) {
        const QString words = QString::fromStdString(StreamStatusText(*stream));
        if (!words.isEmpty()) lines.prepend(words + QStringLiteral("  ") + RunningTime(runningUs));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace component
