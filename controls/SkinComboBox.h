// A skin combo box: a controller that lays out its drop-down button, edit and list.
#pragma once

#include <QRect>
#include <QWidget>

#include "SkinListColours.h"

class SkinComboButton;
class SkinComboEdit;
class SkinHost;
class SkinListBox;
class SkinScrollBar;

struct SkinComboLayout {
    QRect edit, button, list, whole;
};

// Places the parts from the combo's rect (left, top, right, bottom) and the drop-down
// button's cell size; the list is never less than 50 pixels high.
SkinComboLayout ComputeComboLayout(int left, int top, int right, int bottom, int cellWidth,
                                   int cellHeight);

struct SkinComboColours {
    platform::Colour editBack = 0, editText = 0, editFrame = 0;
    SkinListColours list;
};

class SkinComboBox : public QWidget {
    Q_OBJECT
public:
    SkinComboBox(SkinHost* host, QWidget* parent, const QRect& rect, const QString& buttonStrip,
                 const SkinComboColours& colours, const SkinScrollBarImages& images,
                 platform::Colour transparentColor);
    ~SkinComboBox() override;

    QString name;
    int index = 0;

    void ToggleList();
    void AddString(const QString& text);
    void SelectText(const QString& text);
    QString Text() const;
    QStringList Items() const;
    bool IsListVisible() const;
    const SkinComboLayout& Layout() const { return m_layout; }
    SkinScrollBar* ListScrollBar() const;
    SkinComboButton* Button() const { return m_button; }
    SkinComboEdit* Edit() const { return m_edit; }
    SkinListBox* List() const { return m_list; }

private:
    SkinComboLayout m_layout;
    SkinComboButton* m_button;
    SkinComboEdit* m_edit;
    SkinListBox* m_list;
};
