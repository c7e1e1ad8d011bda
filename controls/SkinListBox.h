// A list in skin colours with a bitmap scroll bar.
#pragma once

#include <QStringList>
#include <QWidget>

#include "SkinListColours.h"

class SkinScrollBar;

class SkinListBox : public QWidget {
    Q_OBJECT
public:
    SkinListBox(QWidget* parent, const QRect& rect, const SkinListColours& colours,
                const SkinScrollBarImages& images);

    QString name;
    int index = 0;

    void AddString(const QString& text);
    int Count() const { return int(m_rows.size()); }
    QStringList Items() const { return m_rows; }
    SkinScrollBar* ScrollBar() const { return m_scrollBar; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    SkinListColours m_colours;
    QStringList m_rows;
    SkinScrollBar* m_scrollBar;
};
