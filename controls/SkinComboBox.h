// A skin combo box: a controller that lays out its drop-down button, edit and list, opens
// and closes the list and takes the chosen text. It draws only the frame of the open list.
#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include "SkinAccessible.h"
#include "SkinListColours.h"

class SkinComboButton;
class SkinComboEdit;
class SkinComboList;
class SkinHost;
class SkinScrollBar;

struct SkinComboLayout {
    QRect edit, button, list, whole;
};

// Places the parts from the combo's rect (left, top, right, bottom, right and bottom
// exclusive) and the drop-down button's cell size; the list is never less than 50 high.
SkinComboLayout ComputeComboLayout(int left, int top, int right, int bottom, int cellWidth,
                                   int cellHeight);

struct SkinComboColours {
    platform::Colour editBack = 0, editText = 0, editFrame = 0;
    SkinListColours list;
};

class SkinComboBox : public QWidget, public SkinAccessibleControl {
    Q_OBJECT
public:
    // Builds the button, edit and list as siblings in parent, with the list closed. The
    // button keeps its own colour key, black, whatever the skin's key: skins drawn for
    // that rule leave black around the arrow to be cut out.
    SkinComboBox(SkinHost* host, QWidget* parent, const QRect& rect, const QString& buttonStrip,
                 const SkinComboColours& colours, const SkinScrollBarImages& images);
    ~SkinComboBox() override;

    QString name;
    int index = 0;

    void ToggleList();
    // Shows text in the edit and closes the list.
    void SelectText(const QString& text);
    void AddString(const QString& text);
    QString Text() const;
    QStringList Items() const;
    bool IsListVisible() const;
    const SkinComboLayout& Layout() const { return m_layout; }
    QSize ButtonCell() const { return {m_buttonWidth, m_buttonHeight}; }
    SkinScrollBar* ListScrollBar() const;
    SkinComboButton* Button() const;
    SkinComboEdit* Edit() const;
    SkinComboList* List() const;

    QAccessible::Role AccessibleRole() const override { return QAccessible::ComboBox; }
    QString AccessibleFallbackName() const override { return name; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void LoadButtonStrip(const QString& path);
    QRect FrameRect() const;

    SkinHost* m_host;
    SkinComboLayout m_layout;
    int m_buttonWidth = 0, m_buttonHeight = 0;
    bool m_listClosed = true;
    QPointer<SkinComboButton> m_button;
    QPointer<SkinComboEdit> m_edit;
    QPointer<SkinComboList> m_list;
};
