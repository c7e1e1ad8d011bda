// Hosts controls by class id, standing in for the component hosting of dialog templates.
#pragma once

#include <QWidget>

#include <functional>
#include <string>

#include "Dispatch.h"

namespace platform {

// Class ids of the two controls the main window's template names.
inline constexpr const char* kCaptureControlClassId = "{6F3B2A10-9C4E-4D57-8A21-3E5C7B9D1F04}";
inline constexpr const char* kWmvEditorClassId = "{2D9E4C71-5B08-4F3A-B6E2-7A1C0D8E3F41}";

// A hosted control: a child widget reached by dispatch calls.
class HostedControl : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // The control's dispatch interface; calls on it may throw DispatchError.
    virtual IDispatch& Dispatch() = 0;
};

using ControlFactory = std::function<HostedControl*(QWidget* parent)>;

class ControlContainer {
public:
    // Registering a class id again replaces its factory (tests put fakes in place).
    static void Register(const std::string& classId, ControlFactory factory);
    static void Unregister(const std::string& classId);
    static bool IsRegistered(const std::string& classId);
    // Returns nullptr when nothing is registered under the class id.
    static HostedControl* Create(const std::string& classId, QWidget* parent);
};

// Registers the stand-ins for 1004 and 1041 under any class id that has no factory yet.
void RegisterPlaceholderControls();

}  // namespace platform
