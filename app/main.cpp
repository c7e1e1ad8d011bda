#include <QApplication>

#include "CCaptureApp.h"
#include "component/CaptureComponent.h"
#include "platform/ControlContainer.h"
#include "platform/Services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(platform::kAppName));
    // Lets the desktop match the window to its installed entry and icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(CS_DESKTOP_ID));
    RegisterCaptureComponent();  // the capture control, hosted as control 1004
    platform::RegisterPlaceholderControls();
    return CCaptureApp().Run();
}
