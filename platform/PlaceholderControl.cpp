#include "PlaceholderControl.h"

#include <QPainter>

namespace platform {

PlaceholderControl::PlaceholderControl(const QString& caption, QWidget* parent)
    : HostedControl(parent), m_caption(caption) {}

void PlaceholderControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.setPen(Qt::gray);
    p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_caption);
}

Variant PlaceholderControl::Invoke(int dispid, InvokeKind, const std::vector<Variant>&) {
    throw DispatchError(DispatchError::Code::NoControl, dispid,
                        "The control is not available (DISPID " + std::to_string(dispid) + ").");
}

}  // namespace platform
