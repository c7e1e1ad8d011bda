#include "ControlContainer.h"

#include "PlaceholderCaptureControl.h"
#include "PlaceholderControl.h"

#include <map>

namespace platform {

namespace {
std::map<std::string, ControlFactory>& Registry() {
    static std::map<std::string, ControlFactory> registry;
    return registry;
}
}  // namespace

void ControlContainer::Register(const std::string& classId, ControlFactory factory) {
    Registry()[classId] = std::move(factory);
}

void ControlContainer::Unregister(const std::string& classId) { Registry().erase(classId); }

bool ControlContainer::IsRegistered(const std::string& classId) {
    return Registry().count(classId) != 0;
}

HostedControl* ControlContainer::Create(const std::string& classId, QWidget* parent) {
    auto it = Registry().find(classId);
    if (it == Registry().end()) return nullptr;
    return it->second(parent);
}

void RegisterPlaceholderControls() {
    if (!ControlContainer::IsRegistered(kCaptureControlClassId))
        ControlContainer::Register(kCaptureControlClassId, [](QWidget* parent) {
            return new PlaceholderCaptureControl(parent);
        });
    if (!ControlContainer::IsRegistered(kWmvEditorClassId))
        ControlContainer::Register(kWmvEditorClassId, [](QWidget* parent) {
            auto* c = new PlaceholderControl(QString(), parent);
            c->hide();  // only hosted, nothing to show
            return c;
        });
}

}  // namespace platform
