#include "component/CaptureComponent.h"

#include "component/CaptureControl.h"

void RegisterCaptureComponent() {
    platform::ControlContainer::Register(platform::kCaptureControlClassId, [](QWidget* parent) {
        return new component::CaptureControl(parent);
    });
}
