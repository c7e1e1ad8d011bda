// What screen readers learn about a skin control. The controls draw everything themselves,
// so Qt's own interfaces would call them plain client areas; each control describes itself
// through SkinAccessibleControl and one factory turns that into an accessible interface.
#pragma once

#include <QAccessible>
#include <QString>

class SkinAccessibleControl {
public:
    virtual ~SkinAccessibleControl() = default;
    virtual QAccessible::Role AccessibleRole() const = 0;
    // Used when the widget has no accessibleName (set from a tool tip, for example).
    virtual QString AccessibleFallbackName() const = 0;
    virtual void AccessibleState(QAccessible::State&) const {}
    // Controls with a value (sliders, scroll bars) fill the three numbers and return true.
    virtual bool AccessibleValue(int& value, int& minimum, int& maximum) const {
        (void)value, (void)minimum, (void)maximum;
        return false;
    }
    // Controls a user can press (buttons) return true and act as if clicked.
    virtual bool CanAccessiblePress() const { return false; }
    virtual void AccessiblePress() {}
    // The window's key for what the control does, for example "Ctrl+R"; empty for none.
    virtual QString AccessibleShortcut() const { return {}; }
};

// Installs the factory; every skin control calls it on construction, only the first counts.
void EnableSkinAccessibility();
