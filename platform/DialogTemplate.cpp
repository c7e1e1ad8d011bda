#include "DialogTemplate.h"

#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QStyle>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DialogUnits.h"

#include <algorithm>
#include <vector>

namespace platform {

namespace {

// A list opened as wide as its longest item, whatever the style does with the popup.
class TemplateComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    void showPopup() override {
        QAbstractItemView* list = view();
        list->setTextElideMode(Qt::ElideNone);
        list->setMinimumWidth(list->sizeHintForColumn(0) + list->verticalScrollBar()->sizeHint().width() +
                              2 * list->frameWidth());
        QComboBox::showPopup();
    }
};

// The width a static or check box text needs on one line.
int TextWidth(QWidget* w) {
    const QFontMetrics fm(w->font());
    if (auto* label = qobject_cast<QLabel*>(w)) return fm.horizontalAdvance(label->text()) + 1;
    if (auto* check = qobject_cast<QCheckBox*>(w)) {
        QStyle* style = check->style();
        return fm.horizontalAdvance(check->text()) + style->pixelMetric(QStyle::PM_IndicatorWidth) +
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + 2;
    }
    return 0;
}

// A template's rectangles were drawn for the fonts of another system: a text that needs a
// little more than its rectangle takes it from free space beside it (right first, then
// left), never over another control and never out of its frame.
void MakeRoomForText(QWidget* dialog, QWidget* w, const std::vector<QWidget*>& controls) {
    const int need = TextWidth(w);
    QRect r = w->geometry();
    if (need <= r.width()) return;
    int leftBound = 0, rightBound = dialog->width();
    for (QWidget* other : controls) {
        if (other == w) continue;
        const QRect o = other->geometry();
        if (qobject_cast<QGroupBox*>(other)) {
            if (!o.contains(r)) continue;
            // Inside a frame: keep a character's margin from its lines.
            const int margin = QFontMetrics(dialog->font()).averageCharWidth();
            leftBound = std::max(leftBound, o.left() + margin);
            rightBound = std::min(rightBound, o.right() - margin);
            continue;
        }
        if (o.bottom() < r.top() || o.top() > r.bottom()) continue;
        if (o.left() >= r.right()) rightBound = std::min(rightBound, o.left() - 1);
        else if (o.right() <= r.left()) leftBound = std::max(leftBound, o.right() + 1);
    }
    const int right = std::min(rightBound, r.left() + need - 1);
    if (right > r.right()) r.setRight(right);
    const int left = std::max(leftBound, r.right() - need + 1);
    if (left < r.left()) r.setLeft(left);
    w->setGeometry(r);
}

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
    case ControlKind::DropDownList: {
        auto* combo = new TemplateComboBox(parent);
        // The closed box may cut a long choice; its tip shows it whole.
        QObject::connect(combo, &QComboBox::currentTextChanged, combo, &QWidget::setToolTip);
        return combo;
    }
    }
    return nullptr;
}

}  // namespace

QString ControlName(int id) { return QString::number(id); }

void BuildControls(QWidget* dialog, const DialogTemplate& tmpl) {
    const QSize base = DialogBaseUnits(dialog->font());
    std::vector<QWidget*> controls;
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
        controls.push_back(w);
    }
    for (QWidget* w : controls) MakeRoomForText(dialog, w, controls);
}

}  // namespace platform
