// Where the save dialog of a new recording opens: where the user saved last time, else the
// user's Videos folder, else the current folder.
#pragma once

#include <QDateTime>
#include <QString>

// `previousRecording` is the path of the last recording (empty before the first); `videos`
// the user's Videos folder, made when it is missing; `current` the last resort.
QString RecordingStartFolder(const QString& previousRecording, const QString& videos,
                             const QString& current);

// The same with the platform's Videos folder and current directory.
QString RecordingStartFolder(const QString& previousRecording);

// Where a snapshot taken at `now` goes in `folder`: "Capture YYYY-MM-DD HH-MM-SS.png", with
// " (2)", " (3)", ... when that name is taken (two snapshots in one second).
QString SnapshotPath(const QString& folder, const QDateTime& now);
// The user's Pictures folder, made when it is missing; empty when it cannot be made.
QString SnapshotFolder();
