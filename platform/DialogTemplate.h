// Dialog templates as data: the controls of a dialog with their ids, texts and rectangles in
// dialog units, built into widgets with the template font's units.
#pragma once

#include <QString>

#include <span>

class QWidget;

namespace platform {

enum class ControlKind { Static, GroupBox, PushButton, CheckBox, Edit, DropDownList };

// Statics and group boxes that nothing refers to carry no id.
inline constexpr int kNoId = -1;

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, w, h;  // dialog units
    bool disabled = false;
};

struct DialogTemplate {
    int resourceId;
    const char* title;
    const char* fontFace;
    int fontPoints;
    int width, height;  // client area, dialog units
    std::span<const ControlTemplate> controls;
};

// The object name a control of the given id carries, so it can be found by id.
QString ControlName(int id);

// Creates the template's controls as children of dialog (whose font must already be the
// template font) and gives the dialog the template's client size.
void BuildControls(QWidget* dialog, const DialogTemplate& tmpl);

}  // namespace platform
