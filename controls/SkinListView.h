// What the skin list box and the combo box's drop-down list share: rows drawn in the skin's
// colours, scrolled a whole row at a time, with a SkinScrollBar beside them in place of a
// scroll bar of their own.
#pragma once

#include <QFont>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "SkinAccessible.h"
#include "SkinListColours.h"

class SkinScrollBar;

// "Arial", 18 pixels high, characters 10 pixels wide on average.
QFont SkinListFont();

class SkinListView : public QWidget, public SkinAccessibleControl {
    Q_OBJECT
public:
    SkinListView(QWidget* parent, const QRect& rect, bool singleSelection);
    ~SkinListView() override;

    QString name;
    int index = 0;

    void SetBackColor(platform::Colour colour);
    void SetTextColor(platform::Colour colour);
    void SetSelBackColour(platform::Colour colour);
    void SetSelTextColour(platform::Colour colour);
    // The four in the order skins give them: back, text, selected back, selected text.
    void SetColours(const SkinListColours& colours);
    const SkinListColours& Colours() const { return m_colours; }

    // Makes the bar beside the list: the list gives up the bar's width on its right.
    void AttachScrollBar(const SkinScrollBarImages& images);
    SkinScrollBar* ScrollBar() const;

    int Count() const { return int(m_rows.size()); }
    QStringList Items() const;
    int RowHeight() const { return m_rowHeight; }
    QRect RowRect(int row) const;
    int RowAt(const QPoint& point) const;  // -1 below the last row
    bool IsSelected(int row) const;
    int FirstSelected() const;  // -1 when none
    void SelectOnly(int row);   // -1 clears the selection

    // The scroll state the bar shows: the top row, and the largest top row there can be.
    int ScrollPosition() const;
    int ScrollLimit() const;
    int RowsPerPage() const;
    // Scrolls by whole rows; the bar is left as it is (a dragged thumb follows the mouse).
    void ScrollRows(int rows);

    QAccessible::Role AccessibleRole() const override { return QAccessible::List; }
    QString AccessibleFallbackName() const override { return name; }

protected:
    struct Row {
        QString number;  // first column of a numbered list, else empty
        QString text;
        bool selected = false;
    };
    void AppendRow(const QString& number, const QString& text);
    // Lays out one row's text; selection colours are already set on the painter.
    virtual void PaintRowText(QPainter& p, const Row& row, const QRect& rect) const = 0;
    // A finished left click on the list.
    virtual void OnClicked() {}

    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void resizeEvent(QResizeEvent*) override;

    const QFont& ListFont() const { return m_font; }

private:
    void SetTop(int top);
    void MakeVisible(int row);
    void UpdateBar();

    QList<Row> m_rows;
    SkinListColours m_colours;
    QFont m_font;
    int m_rowHeight = 1;
    int m_top = 0;
    int m_current = -1;  // the row keys move from
    int m_anchor = -1;   // where a Shift range starts
    int m_wheelRemainder = 0;
    bool m_singleSelection;
    bool m_leftDown = false;
    QPointer<SkinScrollBar> m_scrollBar;
};
