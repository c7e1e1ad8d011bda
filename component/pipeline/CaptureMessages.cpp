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

QString SizeText(int64_t bytes) {
    static const char* const kUnits[] = {"kB", "MB", "GB", "TB"};
    if (bytes < 1000) return QStringLiteral("%1 B").arg(bytes);
    double value = double(bytes);
    int unit = -1;
    while (value >= 1000 && unit < 3) value /= 1000, ++unit;
    return QStringLiteral("%1 %2").arg(value, 0, 'f', value < 100 ? 1 : 0).arg(QLatin1String(kUnits[unit]));
}

namespace {
QString LastsText(double seconds) {
    if (seconds >= 3600) return QStringLiteral("about %1 h").arg(qRound(seconds / 3600));
    if (seconds >= 60) return QStringLiteral("about %1 min").arg(qRound(seconds / 60));
    return QStringLiteral("under a minute");
}
}  // namespace

QString FiguresText(const RecordingFigures& f) {
    QStringList parts;
    if (f.hasFile) parts << SizeText(f.fileBytes);
    if (f.bitsPerSecond > 0) parts << QStringLiteral("%1 Mb/s").arg(f.bitsPerSecond / 1e6, 0, 'f', 1);
    if (f.dropped > 0) parts << QStringLiteral("%1 dropped").arg(f.dropped);
    if (f.freeBytes) {
        QString free = SizeText(*f.freeBytes) + QStringLiteral(" free");
        if (f.secondsLeft) free += QStringLiteral(", ") + LastsText(*f.secondsLeft);
        if (f.Warning()) free = QStringLiteral("Disk nearly full: ") + free;
        parts << free;
    }
    return parts.join(QStringLiteral("  "));
}

QString OverloadText(int64_t dropped) {
    return QStringLiteral("Encoder overloaded: %1 frames dropped").arg(dropped);
}

QString SnapshotSavedText(const QString& fileName) { return QStringLiteral("Saved ") + fileName; }

std::string NoSnapshotText() {
    return "there is no picture to save; press Play to start the preview first";
}

QString StatusText(bool stopped, const QStringList& alerts,
                   const std::vector<std::pair<std::string, StreamStatus>>& streams, int64_t runningUs) {
    QStringList lines = alerts;
    if (stopped) lines.prepend(QStringLiteral("Preview stopped: press Play to start it"));
    // One line a destination, in their order; named by their server only when there are several.
    for (auto it = streams.rbegin(); it != streams.rend(); ++it) {
        const QString words = QString::fromStdString(StreamStatusText(it->second));
        if (words.isEmpty()) continue;
        const QString name = streams.size() > 1 ? QString::fromStdString(it->first) + QStringLiteral("  ") : QString();
        // A slow link's own bitrate, while the stream is fed at it.
        const int lowered = it->second.videoBitrate;
        const QString rate = lowered > 0 ? QStringLiteral("  video %1 Mb/s for a slow link").arg(lowered / 1e6, 0, 'f', 2)
                                         : QString();
        lines.prepend(name + words + QStringLiteral("  ") + RunningTime(runningUs) + rate);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace component
