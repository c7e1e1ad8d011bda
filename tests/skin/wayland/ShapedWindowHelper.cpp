// Shows the start-up skin in a skinned window on whatever platform Qt is given, for a test
// that looks at it from outside. Usage: <skins folder> <shape picture to write>
// Writes the window's shape (white inside, black outside), prints "shown X Y" once the window
// is up, where (X, Y) is a point of the bare skin background to drag the window by, then obeys
// lines on standard input: "minimize", "quit".
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QSocketNotifier>

#include <cstdio>
#include <iostream>
#include <string>

#include "skin/CSkinDialog.h"

namespace {

// A point with a margin of background all round it: inside the shape and under no control.
QPoint BackgroundPoint(const CSkinDialog& window) {
    const int margin = 4;
    const QRegion& region = window.Region();
    for (int y = margin; y < window.height() - margin; y += 2)
        for (int x = margin; x < window.width() - margin; x += 2) {
            bool bare = true;
            for (const QPoint d : {QPoint(0, 0), QPoint(-margin, -margin), QPoint(margin, -margin),
                                   QPoint(-margin, margin), QPoint(margin, margin)})
                bare = bare && region.contains(QPoint(x, y) + d) && !window.childAt(QPoint(x, y) + d);
            if (bare) return {x, y};
        }
    return {-1, -1};
}

}  // namespace

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
    const QPoint grip = BackgroundPoint(window);
    if (grip.x() < 0) return 5;
    std::printf("shown %d %d\n", grip.x(), grip.y());
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
