// Stand-in for a hosted control that is not built in: draws a plain panel and fails every
// dispatch call.
#pragma once

#include "ControlContainer.h"

namespace platform {

class PlaceholderControl : public HostedControl, private IDispatch {
    Q_OBJECT
public:
    PlaceholderControl(const QString& caption, QWidget* parent);
    IDispatch& Dispatch() override { return *this; }

protected:
    void paintEvent(QPaintEvent*) override;
    Variant Invoke(int dispid, InvokeKind kind, const std::vector<Variant>& args) override;

private:
    QString m_caption;
};

}  // namespace platform
