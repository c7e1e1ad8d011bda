#include "SkinComboList.h"

#include <QPainter>

#include "SkinComboBox.h"
#include "SkinHost.h"

namespace {
constexpr int kPadding = 2;
}

SkinComboList::SkinComboList(SkinHost* host, QWidget* parent, const QRect& rect)
    : SkinListView(parent, rect, true), m_host(host) {}

void SkinComboList::AddItem(const QString& text) { AppendRow(QString(), text); }

void SkinComboList::PaintRowText(QPainter& p, const Row& row, const QRect& rect) const {
    const QRect inner = rect.adjusted(kPadding, 0, -kPadding, 0);
    p.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(row.text, Qt::ElideRight, std::max(0, inner.width())));
}

// Empty space selects nothing, so a click there puts an empty text in the box.
void SkinComboList::OnClicked() {
    const int row = FirstSelected();
    const QString text = row < 0 ? QString() : Items().at(row);
    if (m_host)
        if (SkinComboBox* combo = m_host->FirstComboBox()) combo->SelectText(text);
}
