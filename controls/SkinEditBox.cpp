#include "SkinEditBox.h"

#include <QPainter>

SkinEditBox::SkinEditBox(QWidget* parent, const QRect& rect)
    : SkinEditBox(parent, rect, 0xE7E498, 0x000000, 0xFFFFFF) {}

SkinEditBox::SkinEditBox(QWidget* parent, const QRect& rect, platform::Colour back,
                         platform::Colour text, platform::Colour frame)
    : QLineEdit(parent), m_textColour(text), m_backColour(back), m_frameColour(frame) {
    setGeometry(rect);
    setFrame(false);
    setTextMargins(1, 1, 1, 1);  // keeps the text off the frame
    // Moves over the box are its own, not the window's.
    setMouseTracking(true);
    ApplyColours();
    show();
}

void SkinEditBox::SetBackColor(platform::Colour c) {
    m_backColour = c;
    ApplyColours();
}

void SkinEditBox::SetTextColor(platform::Colour c) {
    m_textColour = c;
    ApplyColours();
}

void SkinEditBox::SetFrameColor(platform::Colour c) {
    m_frameColour = c;
    update();
}

void SkinEditBox::ApplyColours() {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, platform::ToQColor(m_backColour));
    // A disabled box keeps its background but greys its text, as the platform does.
    pal.setColor(QPalette::Active, QPalette::Text, platform::ToQColor(m_textColour));
    pal.setColor(QPalette::Inactive, QPalette::Text, platform::ToQColor(m_textColour));
    setPalette(pal);
    update();
}

void SkinEditBox::paintEvent(QPaintEvent* e) {
    QLineEdit::paintEvent(e);
    QPainter p(this);
    p.setPen(platform::ToQColor(m_frameColour));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

SkinComboEdit::SkinComboEdit(QWidget* parent, const QRect& rect)
    : SkinEditBox(parent, rect, 0x000000, 0x000000, 0x000000) {}
