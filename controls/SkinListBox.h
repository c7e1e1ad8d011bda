// A LISTBOXINFO list: numbered rows, the number right-aligned in a narrow first column.
#pragma once

#include "SkinListView.h"

class SkinListBox : public SkinListView {
    Q_OBJECT
public:
    static constexpr int kNumberColumnWidth = 35;

    SkinListBox(QWidget* parent, const QRect& rect);

    // Appends row n (the row count plus one) as "%3s." and text.
    void AddItem(const QString& text);
    void AddString(const QString& text) { AddItem(text); }
    // Sizes the text column to the list less the bar less 40; call after AttachScrollBar.
    void SetupColumns();
    int TextColumnWidth() const { return m_textColumnWidth; }

protected:
    void PaintRowText(QPainter& p, const Row& row, const QRect& rect) const override;

private:
    int m_textColumnWidth = -1;  // -1: up to the list's right edge
};
