#include "SkinAccessible.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

class SkinAccessibleInterface : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    SkinAccessibleInterface(QWidget* widget, SkinAccessibleControl* control)
        : QAccessibleWidget(widget), m_control(control) {}

    // Asked each time: an interface made while a variant was still being built must not
    // keep the role of its base class.
    QAccessible::Role role() const override { return m_control->AccessibleRole(); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString set = widget()->accessibleName();
            return set.isEmpty() ? m_control->AccessibleFallbackName() : set;
        }
        if (t == QAccessible::Accelerator) return m_control->AccessibleShortcut();
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

    // Buttons offer the press action; everything else keeps what the widget offers.
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (m_control->CanAccessiblePress()) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && m_control->CanAccessiblePress())
            m_control->AccessiblePress();
        else
            QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        const QString key = m_control->AccessibleShortcut();
        if (action == pressAction() && !key.isEmpty()) return {key};
        return QAccessibleWidget::keyBindingsForAction(action);
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

    SkinAccessibleControl* m_control;
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    auto* control = dynamic_cast<SkinAccessibleControl*>(object);
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
