#include <QApplication>

#include <cstdio>

#include "CCaptureApp.h"
#include "CaptureJob.h"
#include "component/CaptureComponent.h"
#include "platform/ControlContainer.h"
#include "platform/Services.h"

namespace {
void Name() {
    QCoreApplication::setApplicationName(QString::fromLatin1(platform::kAppName));
    QCoreApplication::setApplicationVersion(QStringLiteral(CS_VERSION));
}
}  // namespace

int main(int argc, char** argv) {
    // The command line is read before any display is asked for: --help and a bad option
    // answer on a machine without one too.
    CommandLine line;
    {
        QCoreApplication reading(argc, argv);
        Name();
        line = ParseCommandLine(reading.arguments());
    }
    if (!line.job) {
        std::fputs(qPrintable(line.text), line.exitCode ? stderr : stdout);
        return line.exitCode;
    }
    QApplication app(argc, argv);
    Name();
    // Lets the desktop match the window to its installed entry and icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(CS_DESKTOP_ID));
    RegisterCaptureComponent();  // the capture control, hosted as control 1004
    platform::RegisterPlaceholderControls();
    return CCaptureApp().Run(*line.job);
}
