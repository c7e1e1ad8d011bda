// Records the test sources into the file named on the command line until killed, printing
// "frames N" each time more frames are in the file.
#include "ComponentDriver.h"

#include "component/CaptureControl.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output.flv\n", argv[0]);
        return 2;
    }
    component::CaptureControl control(nullptr);
    ComponentDriver driver(control.Dispatch());
    driver.SelectTestSources("160x120 RGB32 30 fps");
    driver.flv.videoWidth = 160;
    driver.flv.videoHeight = 120;
    driver.flv.frameRate = 30;
    if (driver.Record(argv[1]) != 0) return 1;
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
