#include <QApplication>

#include "CCaptureApp.h"
#include "platform/ControlContainer.h"
#include "platform/Services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(platform::kAppName));
    platform::RegisterPlaceholderControls();
    return CCaptureApp().Run();
}
