// Every word the capture control shows over its preview, written in one place: the state of
// the capture and of the live stream, and what happened to the devices and the file.
#pragma once

#include "component/pipeline/RecordingFigures.h"
#include "component/pipeline/StatusEvent.h"
#include "component/recording/StreamOutput.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>

namespace component {

// "hh:mm:ss" of `us`; a negative time reads as 0.
QString RunningTime(int64_t us);
// The preview's corner while recording: "REC hh:mm:ss".
QString RecordingText(int64_t recordedUs);
// The preview's corner while paused.
QString PausedText();
// "Live", "Reconnecting… (2)" and so on; empty when there is no stream.
std::string StreamStatusText(const StreamStatus& status);
// What happened, in plain words; `device` names the device a ...DeviceLost/Back event is about.
QString StatusEventText(StatusEvent event, const QString& device);
// For a ...DeviceBack event, the ...DeviceLost event it ends.
std::optional<StatusEvent> EndedEvent(StatusEvent event);
// Why the last StartCapture failed, and how to tell that line among the others.
QString StartFailureText(const std::string& reason);
bool IsStartFailureText(const QString& line);
// Beside "REC": "12.4 MB  2.6 Mb/s  12.3 GB free, about 5 h", the dropped pictures when
// there are any, and a warning when the disk lasts under five minutes.
QString FiguresText(const RecordingFigures& figures);
// "12.3 GB", "850 kB": decimal units, as disks are sold.
QString SizeText(int64_t bytes);
// Over the picture while the encoder cannot keep up.
QString OverloadText(int64_t dropped);
// After a snapshot: "Saved <file name>".
QString SnapshotSavedText(const QString& fileName);
// Why a snapshot was not taken.
std::string NoSnapshotText();

// The lines over the picture: the stream's state with `runningUs` (the recording's own clock,
// which "REC" shows too), then "Preview stopped…" when the capture is stopped, then what
// happened, oldest first.
QString StatusText(bool stopped, const QStringList& alerts,
                   const std::vector<std::pair<std::string, StreamStatus>>& streams,
                   int64_t runningUs);

}  // namespace component
