#include <QApplication>

#include "CCaptureApp.h"
#include "component/CaptureComponent.h"
#include "platform/ControlContainer.h"
#include "platform/Services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(platform::kAppName));
    RegisterCaptureComponent();  // the capture control, hosted as control 1004
    platform::RegisterPlaceholderControls();
    return CCaptureApp().Run();
}
