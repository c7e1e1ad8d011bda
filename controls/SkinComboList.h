// The drop-down list of a skin combo box: one column; a click hands the chosen text to the
// window's first combo box, which closes the list.
#pragma once

#include "SkinListView.h"

class SkinHost;

class SkinComboList : public SkinListView {
    Q_OBJECT
public:
    SkinComboList(SkinHost* host, QWidget* parent, const QRect& rect);

    void AddItem(const QString& text);

protected:
    void PaintRowText(QPainter& p, const Row& row, const QRect& rect) const override;
    void OnClicked() override;

private:
    SkinHost* m_host;
};
