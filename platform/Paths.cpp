#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

QString CurrentDirectory() { return QDir::currentPath(); }

bool SetCurrentDirectory(const QString& dir) { return QDir::setCurrent(dir); }

QString FullPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString InstalledSkinsFolder() {
    const QString appDir = QCoreApplication::applicationDirPath();
    // Beside the executable in the build tree; under share/ once installed.
    for (const QString& candidate :
         {appDir + QStringLiteral("/skins"),
          appDir + QStringLiteral("/../share/capture-station/skins")}) {
        if (QFileInfo(candidate).isDir()) return QDir::cleanPath(candidate);
    }
    return QDir::cleanPath(appDir + QStringLiteral("/skins"));
}

}  // namespace platform
