#include "RecordingFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/Paths.h"

QString RecordingStartFolder(const QString& previousRecording, const QString& videos,
                             const QString& current) {
    if (!previousRecording.isEmpty()) {
        const QFileInfo previous(previousRecording);
        if (previous.absoluteDir().exists()) return previous.absolutePath();
    }
    if (!videos.isEmpty() && QDir().mkpath(videos)) return QDir(videos).absolutePath();
    return current;
}

QString RecordingStartFolder(const QString& previousRecording) {
    return RecordingStartFolder(previousRecording,
                                QStandardPaths::writableLocation(QStandardPaths::MoviesLocation),
                                platform::CurrentDirectory());
}
