#include "SkinListBox.h"

#include <QPainter>

#include "SkinScrollBar.h"

namespace {
constexpr int kPadding = 2;  // text keeps off the column edges
}

SkinListBox::SkinListBox(QWidget* parent, const QRect& rect)
    : SkinListView(parent, rect, false) {}

void SkinListBox::AddItem(const QString& text) {
    AppendRow(QStringLiteral("%1.").arg(Count() + 1, 3), text);
}

void SkinListBox::SetupColumns() {
    const int bar = ScrollBar() ? ScrollBar()->width() : 0;
    m_textColumnWidth = std::max(0, width() - bar - 40);
    update();
}

void SkinListBox::PaintRowText(QPainter& p, const Row& row, const QRect& rect) const {
    const QRect number(rect.left(), rect.top(), kNumberColumnWidth, rect.height());
    p.drawText(number.adjusted(kPadding, 0, -kPadding, 0), Qt::AlignRight | Qt::AlignVCenter,
               row.number);
    const int width = m_textColumnWidth < 0 ? rect.width() - kNumberColumnWidth : m_textColumnWidth;
    const QRect text(rect.left() + kNumberColumnWidth, rect.top(), std::max(0, width), rect.height());
    const QRect inner = text.adjusted(kPadding, 0, -kPadding, 0);
    p.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(row.text, Qt::ElideRight, std::max(0, inner.width())));
}
