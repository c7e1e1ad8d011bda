// Records the test sources into the file named on the command line (at 160x120, or at the
// size given after it) until killed, printing "recording" once it started and "frames N"
// each time more frames are in the file.
#include "ComponentDriver.h"

#include "component/CaptureControl.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: %s output.flv [WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    const int width = argc == 4 ? std::atoi(argv[2]) : 160;
    const int height = argc == 4 ? std::atoi(argv[3]) : 120;
    component::CaptureControl control(nullptr);
    ComponentDriver driver(control.Dispatch());
    driver.SelectTestSources(std::to_string(width) + "x" + std::to_string(height) + " RGB32 30 fps");
    driver.flv.videoWidth = int16_t(width);
    driver.flv.videoHeight = int16_t(height);
    driver.flv.frameRate = 30;
    if (driver.Record(argv[1]) != 0) return 1;
    std::printf("recording\n");
    std::fflush(stdout);
    int64_t reported = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const int64_t n = control.Stats().framesWritten;
        if (n == reported) return;
        reported = n;
        std::printf("frames %lld\n", static_cast<long long>(n));
        std::fflush(stdout);
    });
    poll.start(5);
    return app.exec();
}
