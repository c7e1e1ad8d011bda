// Shows the start-up skin in a skinned window on whatever platform Qt is given, for a test
// that looks at it from outside. Usage: <skins folder> <shape picture to write>
// Writes the window's shape (white inside, black outside), prints "shown" once the window is
// up, then obeys lines on standard input: "minimize", "quit".
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSocketNotifier>

#include <cstdio>
#include <iostream>
#include <string>

#include "skin/CSkinDialog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) return 2;
    CSkinDialog window;
    window.SetStartDirectory(QString::fromLocal8Bit(argv[1]));
    window.LoadStartupSkin();
    if (window.Background().isNull()) return 3;

    QImage shape(window.Background().size(), QImage::Format_RGB32);
    shape.fill(Qt::black);
    {
        QPainter p(&shape);
        p.setClipRegion(window.Region());
        p.fillRect(shape.rect(), Qt::white);
    }
    if (!shape.save(QString::fromLocal8Bit(argv[2]), "PNG")) return 4;

    window.show();
    std::printf("shown\n");
    std::fflush(stdout);

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string line;
        if (!std::getline(std::cin, line) || line == "quit") {
            input.setEnabled(false);
            app.quit();
        } else if (line == "minimize") {
            window.showMinimized();
        }
    });
    return app.exec();
}
