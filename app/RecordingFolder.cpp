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

QString SnapshotPath(const QString& folder, const QDateTime& now) {
    const QString stem = QStringLiteral("Capture ") + now.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    const QDir dir(folder);
    QString name = stem + QStringLiteral(".png");
    for (int n = 2; QFileInfo::exists(dir.filePath(name)); ++n)
        name = stem + QStringLiteral(" (%1).png").arg(n);
    return dir.filePath(name);
}

QString SnapshotFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (pictures.isEmpty() || !QDir().mkpath(pictures)) return {};
    return QDir(pictures).absolutePath();
}

QString RecordingStartFolder(const QString& previousRecording) {
    return RecordingStartFolder(previousRecording,
                                QStandardPaths::writableLocation(QStandardPaths::MoviesLocation),
                                platform::CurrentDirectory());
}
