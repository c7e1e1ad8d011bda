// The boundary between the event loop and a handler: whatever a handler raises (a failing
// dispatch call above all) is shown to the user here and goes no further.
#pragma once

#include <functional>

class QWidget;

namespace platform {

// Runs handler; returns false when it raised, after the message box has been shown.
bool RunGuarded(QWidget* owner, const std::function<void()>& handler);

}  // namespace platform
