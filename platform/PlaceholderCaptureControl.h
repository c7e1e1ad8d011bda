// Stands in for the capture component while none is built in: answers every call the program
// makes, lists one test entry in each device collection and captures nothing.
#pragma once

#include "PlaceholderControl.h"

namespace platform {

class PlaceholderCaptureControl : public PlaceholderControl {
    Q_OBJECT
public:
    explicit PlaceholderCaptureControl(QWidget* parent);

private:
    Variant Invoke(int dispid, InvokeKind kind, const std::vector<Variant>& args) override;
};

}  // namespace platform
