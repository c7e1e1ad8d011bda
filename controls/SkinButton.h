// A push button drawn entirely from a four-cell image strip of the skin, and its variants:
// check box, option box and the drop-down button of a combo box.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "SkinAccessible.h"
#include "platform/Colour.h"

class SkinHost;

class SkinButton : public QWidget, public SkinAccessibleControl {
    Q_OBJECT
public:
    enum class State { Normal, Hover, Pressed, Disabled };

    SkinButton(SkinHost* host, QWidget* parent, const QRect& rect);

    bool isChecked = false;
    bool toggle = false;
    QString name;
    int index = 0;
    platform::Colour transparentColor = 0;

    // Cuts the strip at path into its four cells, each scaled once to the size of rect.
    // A strip that does not load leaves the cells as they were.
    void LoadImages(const QString& path, const QRect& rect);
    // The skin's own mark for the keyboard focus, drawn over the button scaled to it; a null
    // picture leaves the dotted rectangle.
    void SetFocusPicture(const QImage& picture);
    // A null text changes nothing; an active tip is shown, an inactive one suppressed.
    void SetToolTipText(const QString& text, bool activate);
    void ActivateToolTip(bool on);
    void SetChecked(bool value);
    bool IsHover() const { return m_hover; }
    State CurrentState() const;

    // The window's key for this button's command, named in the tool tip; empty for none.
    void SetShortcutText(const QString& key);
    // What a release of the left button inside the button does; assistive tools press
    // through it too.
    void Click();

    QAccessible::Role AccessibleRole() const override { return QAccessible::Button; }
    QString AccessibleFallbackName() const override { return name; }
    void AccessibleState(QAccessible::State& state) const override;
    bool CanAccessiblePress() const override { return true; }
    void AccessiblePress() override { Click(); }
    QString AccessibleShortcut() const override { return m_shortcut; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

    // The variants differ only here: the click's own step and whom it tells.
    virtual void OnClickStep() {}
    virtual void Notify();
    virtual bool TracksHoverWhileChecked() const { return true; }

    SkinHost* m_host;

private:
    void TrackHover(const QPoint& point, Qt::MouseButtons buttons);
    void SetHover(bool on);
    const QImage& KeyedCell(State state);

    QImage m_cells[4];  // Normal, Hover, Pressed, Disabled, scaled to the button
    QImage m_keyed[4];  // the same with the colour key cut out, made on first paint
    QImage m_focus;     // the skin's focus mark at the button's size; null: dotted rectangle
    QImage m_keyedFocus;
    platform::Colour m_keyedWith = 0;
    bool m_keyedValid = false;
    bool m_hover = false;
    bool m_leftDown = false;     // the left button went down on this button
    bool m_pointerInside = false;  // ... and the pointer is over it now
    QString m_toolTip;
    bool m_hasToolTip = false;
    bool m_toolTipOn = false;
    QString m_shortcut;
};

class SkinCheckButton : public SkinButton {
    Q_OBJECT
public:
    using SkinButton::SkinButton;
    QAccessible::Role AccessibleRole() const override { return QAccessible::CheckBox; }

protected:
    void OnClickStep() override;
    void Notify() override;
    bool TracksHoverWhileChecked() const override { return false; }
};

class SkinOptionButton : public SkinButton {
    Q_OBJECT
public:
    using SkinButton::SkinButton;
    QAccessible::Role AccessibleRole() const override { return QAccessible::RadioButton; }

protected:
    void OnClickStep() override;
    void Notify() override;
    bool TracksHoverWhileChecked() const override { return false; }
};

class SkinComboButton : public SkinButton {
    Q_OBJECT
public:
    using SkinButton::SkinButton;
    QAccessible::Role AccessibleRole() const override { return QAccessible::ButtonDropDown; }

protected:
    void Notify() override;
};
