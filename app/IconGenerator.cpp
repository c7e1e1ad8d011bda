// app-icon-generator <folder>: writes the program's icon into <folder>/hicolor/<n>x<n>/apps/
// at the sizes desktops look for, so the installed icon is the one the window shows.
#include <QDir>
#include <QGuiApplication>

#include <cstdio>

#include "AppIcon.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: app-icon-generator <folder> <icon name>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(dir, name);
        if (!QDir().mkpath(dir) || !DrawAppIcon(size).save(path)) {
            std::fprintf(stderr, "app-icon-generator: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
