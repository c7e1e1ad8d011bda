#include "DialogTemplate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DialogUnits.h"

namespace platform {

namespace {

QWidget* MakeControl(const ControlTemplate& c, QWidget* parent) {
    const QString text = QString::fromUtf8(c.text ? c.text : "");
    switch (c.kind) {
    case ControlKind::Static: {
        auto* label = new QLabel(text, parent);
        // Wrapped at word breaks and cut at the rectangle, as a plain static text is.
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        return label;
    }
    case ControlKind::GroupBox: {
        auto* group = new QGroupBox(text, parent);
        // A frame drawn behind its neighbours, never in the way of their clicks.
        group->setAttribute(Qt::WA_TransparentForMouseEvents);
        return group;
    }
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, parent);
        // No dialog has a default button: Enter never clicks one.
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
    case ControlKind::CheckBox: return new QCheckBox(text, parent);
    case ControlKind::Edit: return new QLineEdit(text, parent);
    case ControlKind::DropDownList: return new QComboBox(parent);
    }
    return nullptr;
}

}  // namespace

QString ControlName(int id) { return QString::number(id); }

void BuildControls(QWidget* dialog, const DialogTemplate& tmpl) {
    const QSize base = DialogBaseUnits(dialog->font());
    dialog->setFixedSize(DialogUnitsToPixels(QRect(0, 0, tmpl.width, tmpl.height), base).size());
    for (const ControlTemplate& c : tmpl.controls) {
        QWidget* w = MakeControl(c, dialog);
        QRect r = DialogUnitsToPixels(QRect(c.x, c.y, c.w, c.h), base);
        if (c.kind == ControlKind::DropDownList) {
            // The template's height includes the dropped list; the closed box is one line.
            r.setHeight(std::min(r.height(), w->sizeHint().height()));
        } else if (c.kind == ControlKind::GroupBox && c.text && *c.text) {
            // The style draws the frame below its caption, where the template puts the frame
            // line through the caption's middle: raise the box by half a line.
            r.setTop(r.top() - QFontMetrics(dialog->font()).height() / 2);
        }
        w->setGeometry(r);
        if (c.id != kNoId) w->setObjectName(ControlName(c.id));
        if (c.disabled) w->setEnabled(false);
        if (c.kind == ControlKind::GroupBox) w->lower();
    }
}

}  // namespace platform
