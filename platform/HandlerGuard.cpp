#include "HandlerGuard.h"

#include <QString>

#include "Dispatch.h"
#include "Services.h"

namespace platform {

bool RunGuarded(QWidget* owner, const std::function<void()>& handler) {
    QString text;
    try {
        handler();
        return true;
    } catch (const DispatchError& e) {
        text = QString::fromStdString(e.what());
    } catch (const std::exception& e) {
        text = QString::fromStdString(e.what());
    } catch (...) {
        text = QStringLiteral("An unexpected error stopped the command.");
    }
    // Shown outside the catch blocks: the message box runs an event loop of its own.
    ShowMessage(owner, text, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

}  // namespace platform
