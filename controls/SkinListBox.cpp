#include "SkinListBox.h"

#include <QPainter>

#include "SkinScrollBar.h"

SkinListBox::SkinListBox(QWidget* parent, const QRect& rect, const SkinListColours& colours,
                         const SkinScrollBarImages& images)
    : QWidget(parent), m_colours(colours), m_scrollBar(new SkinScrollBar(this, images)) {
    setGeometry(rect);
    show();
}

void SkinListBox::AddString(const QString& text) {
    m_rows << text;
    update();
}

void SkinListBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), platform::ToQColor(m_colours.back));
}
