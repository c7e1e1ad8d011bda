#include "SkinButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "SkinComboBox.h"
#include "SkinHost.h"
#include "platform/Bitmap.h"

SkinButton::SkinButton(SkinHost* host, QWidget* parent, const QRect& rect)
    : QWidget(parent), m_host(host) {
    setGeometry(rect);
    show();
}

void SkinButton::LoadImages(const QString& path, const QRect& rect) {
    const QImage strip = platform::LoadBitmap(path);
    if (strip.isNull()) return;
    const int cellWidth = strip.width() / 4;
    const QSize size(rect.width(), rect.height());
    for (int i = 0; i < 4; ++i) {
        const QImage cell = strip.copy(i * cellWidth, 0, cellWidth, strip.height());
        m_cells[i] = platform::KeyedImage(
            cell.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation), transparentColor);
    }
    update();
}

void SkinButton::SetToolTipText(const QString& text, bool activate) {
    m_toolTip = text;
    ActivateToolTip(activate);
}

void SkinButton::ActivateToolTip(bool on) { setToolTip(on ? m_toolTip : QString()); }

void SkinButton::SetChecked(bool value) {
    if (value == isChecked) return;
    isChecked = value;
    update();
}

SkinButton::State SkinButton::CurrentState() const {
    if (toggle) return isChecked ? State::Pressed : State::Normal;
    if (isChecked && !m_hover) return State::Pressed;
    if (m_pressed) return State::Pressed;
    if (m_hover) return State::Hover;
    if (!isEnabled()) return State::Disabled;
    return State::Normal;
}

void SkinButton::paintEvent(QPaintEvent*) {
    const QImage& cell = m_cells[static_cast<int>(CurrentState())];
    if (cell.isNull()) return;
    QPainter(this).drawImage(0, 0, cell);
}

void SkinButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    m_pressed = true;
    update();
}

void SkinButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    m_pressed = false;
    update();
    if (rect().contains(e->position().toPoint())) {
        m_hover = false;
        OnClicked();
    }
}

void SkinButton::OnClicked() {
    if (m_host) m_host->OnSkinButtonClick(index);
}

void SkinCheckButton::OnClicked() {
    isChecked = !isChecked;
    update();
    if (m_host) m_host->OnSkinCheckClick(index);
}

void SkinOptionButton::OnClicked() {
    if (!isChecked) isChecked = true;
    update();
    if (m_host) m_host->OnSkinOptionClick(index);
}

void SkinComboButton::OnClicked() {
    if (m_host)
        if (SkinComboBox* combo = m_host->FirstComboBox()) combo->ToggleList();
}
