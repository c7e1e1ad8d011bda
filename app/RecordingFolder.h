// Where the save dialog of a new recording opens: where the user saved last time, else the
// user's Videos folder, else the current folder.
#pragma once

#include <QString>

// `previousRecording` is the path of the last recording (empty before the first); `videos`
// the user's Videos folder, made when it is missing; `current` the last resort.
QString RecordingStartFolder(const QString& previousRecording, const QString& videos,
                             const QString& current);

// The same with the platform's Videos folder and current directory.
QString RecordingStartFolder(const QString& previousRecording);
