#include "SkinAccessible.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

class SkinAccessibleInterface : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    SkinAccessibleInterface(QWidget* widget, const SkinAccessibleControl* control)
        : QAccessibleWidget(widget), m_control(control) {}

    // Asked each time: an interface made while a variant was still being built must not
    // keep the role of its base class.
    QAccessible::Role role() const override { return m_control->AccessibleRole(); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString set = widget()->accessibleName();
            return set.isEmpty() ? m_control->AccessibleFallbackName() : set;
        }
        if (t == QAccessible::Value) {
            int value = 0, minimum = 0, maximum = 0;
            if (m_control->AccessibleValue(value, minimum, maximum)) return QString::number(value);
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        m_control->AccessibleState(s);
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        int value = 0, minimum = 0, maximum = 0;
        if (t == QAccessible::ValueInterface && m_control->AccessibleValue(value, minimum, maximum))
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Read-only: assistive tools may read the value, moving it stays with mouse and keys.
    QVariant currentValue() const override { return Value(0); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return Value(2); }
    QVariant minimumValue() const override { return Value(1); }
    QVariant minimumStepSize() const override { return 1; }

private:
    QVariant Value(int which) const {
        int v[3] = {0, 0, 0};
        if (!m_control->AccessibleValue(v[0], v[1], v[2])) return {};
        return v[which];
    }

    const SkinAccessibleControl* m_control;
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    const auto* control = dynamic_cast<const SkinAccessibleControl*>(object);
    if (!widget || !control) return nullptr;
    return new SkinAccessibleInterface(widget, control);
}

}  // namespace

void EnableSkinAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}
