#include "SkinButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "FocusMark.h"
#include "SkinComboBox.h"
#include "SkinHost.h"
#include "platform/Bitmap.h"

SkinButton::SkinButton(SkinHost* host, QWidget* parent, const QRect& rect)
    : QWidget(parent), m_host(host) {
    EnableSkinAccessibility();
    setGeometry(rect);
    setMouseTracking(true);
    // A tab stop for the keyboard; a click does not take the focus, so the mark shows only
    // for someone working the window with keys.
    setFocusPolicy(Qt::TabFocus);
    show();
}

void SkinButton::LoadImages(const QString& path, const QRect& rect) {
    const QImage strip = platform::LoadBitmap(path);
    if (strip.isNull()) return;
    // Remainder columns right of four whole cells never show.
    const int cellWidth = strip.width() / 4;
    const QSize size(std::max(0, rect.width()), std::max(0, rect.height()));
    for (int i = 0; i < 4; ++i) {
        m_cells[i] = size.isEmpty() || cellWidth == 0
                         ? QImage()
                         : strip.copy(i * cellWidth, 0, cellWidth, strip.height())
                               .scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    m_keyedValid = false;
    update();
}

void SkinButton::SetFocusPicture(const QImage& picture) {
    m_focus = picture.isNull() || size().isEmpty()
                  ? QImage()
                  : picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    m_keyedValid = false;
    update();
}

const QImage& SkinButton::KeyedCell(State state) {
    // The key is applied when drawn, so a colour set after loading still counts.
    if (!m_keyedValid || m_keyedWith != transparentColor) {
        for (int i = 0; i < 4; ++i) m_keyed[i] = platform::KeyedImage(m_cells[i], transparentColor);
        m_keyedFocus = platform::KeyedImage(m_focus, transparentColor);
        m_keyedWith = transparentColor;
        m_keyedValid = true;
    }
    return m_keyed[static_cast<int>(state)];
}

void SkinButton::SetToolTipText(const QString& text, bool activate) {
    if (text.isNull()) return;
    m_toolTip = text;
    m_hasToolTip = true;
    setAccessibleName(text);
    ActivateToolTip(activate);
}

void SkinButton::ActivateToolTip(bool on) {
    if (!m_hasToolTip) return;
    m_toolTipOn = on;
    if (!on) {
        setToolTip(QString());
    } else if (m_shortcut.isEmpty()) {
        setToolTip(m_toolTip);
    } else {
        setToolTip(m_toolTip.isEmpty() ? m_shortcut
                                       : QStringLiteral("%1 (%2)").arg(m_toolTip, m_shortcut));
    }
}

void SkinButton::SetShortcutText(const QString& key) {
    m_shortcut = key;
    ActivateToolTip(m_toolTipOn);
}

void SkinButton::Click() {
    m_hover = false;
    OnClickStep();
    update();
    Notify();  // last: the host may destroy this button (a command that rebuilds the skin)
}

void SkinButton::SetChecked(bool value) {
    if (value == isChecked) return;
    isChecked = value;
    update();
}

SkinButton::State SkinButton::CurrentState() const {
    if (toggle) return isChecked ? State::Pressed : State::Normal;
    if (isChecked && !m_hover) return State::Pressed;
    if (m_leftDown && m_pointerInside) return State::Pressed;
    if (m_hover) return State::Hover;
    if (!isEnabled()) return State::Disabled;
    return State::Normal;
}

void SkinButton::AccessibleState(QAccessible::State& state) const {
    const bool latches = toggle || !TracksHoverWhileChecked();
    state.checkable = latches;
    state.checked = latches && isChecked;
    state.pressed = CurrentState() == State::Pressed;
    state.hotTracked = m_hover;
}

void SkinButton::paintEvent(QPaintEvent*) {
    const QImage& cell = KeyedCell(CurrentState());
    QPainter p(this);
    if (!cell.isNull()) p.drawImage(0, 0, cell);  // no strip: the background shows through
    if (!hasFocus()) return;
    if (!m_keyedFocus.isNull())
        p.drawImage(0, 0, m_keyedFocus);
    else
        DrawFocusDots(p, rect());
}

void SkinButton::SetHover(bool on) {
    if (m_hover == on) return;
    m_hover = on;
    update();
}

void SkinButton::TrackHover(const QPoint& point, Qt::MouseButtons buttons) {
    if (!rect().contains(point)) {
        SetHover(false);
        return;
    }
    if (m_hover) return;
    // A latched check or option box keeps its Pressed picture under the mouse.
    if (!TracksHoverWhileChecked() && isChecked) return;
    // Dragging onto a button with the left button held does not light it.
    if (buttons & Qt::LeftButton) return;
    if (!QApplication::activeWindow()) return;
    SetHover(true);
}

void SkinButton::enterEvent(QEnterEvent* e) {
    TrackHover(e->position().toPoint(), QGuiApplication::mouseButtons());
}

void SkinButton::leaveEvent(QEvent*) { SetHover(false); }

void SkinButton::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
}

void SkinButton::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    SetHover(false);
    update();
}

void SkinButton::keyPressEvent(QKeyEvent* e) {
    // Space presses the focused button, as on any push button; a key held down presses once.
    if (e->key() != Qt::Key_Space || e->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
    if (!e->isAutoRepeat()) Click();
}

void SkinButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    m_leftDown = true;
    m_pointerInside = true;
    update();
}

void SkinButton::mouseMoveEvent(QMouseEvent* e) {
    const QPoint point = e->position().toPoint();
    if (m_leftDown) {
        const bool inside = rect().contains(point);
        if (inside != m_pointerInside) {
            m_pointerInside = inside;
            update();
        }
    }
    TrackHover(point, e->buttons());
    e->accept();  // moves over a control are the control's, not the window's
}

void SkinButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    // Any release this button receives inside it is a click; only the point counts.
    if (rect().contains(e->position().toPoint())) {
        // The host is told before the button lets go of its pressed look; it may even
        // destroy the button (a command that rebuilds the skin), so look before touching it.
        QPointer<SkinButton> alive(this);
        Click();
        if (!alive) return;
    }
    m_leftDown = false;
    m_pointerInside = false;
    update();
}

void SkinButton::Notify() {
    if (m_host) m_host->OnSkinButtonClick(index);
}

void SkinCheckButton::OnClickStep() { isChecked = !isChecked; }

void SkinCheckButton::Notify() {
    if (m_host) m_host->OnSkinCheckClick(index);
}

// An option that is on stays on; the host clears the others of its group.
void SkinOptionButton::OnClickStep() { isChecked = true; }

void SkinOptionButton::Notify() {
    if (m_host) m_host->OnSkinOptionClick(index);
}

void SkinComboButton::Notify() {
    if (m_host)
        if (SkinComboBox* combo = m_host->FirstComboBox()) combo->ToggleList();
}
