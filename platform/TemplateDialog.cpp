#include "TemplateDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "DialogUnits.h"
#include "HandlerGuard.h"

namespace platform {

namespace {
// Caption with a close box, no minimise, maximise or help buttons.
constexpr Qt::WindowFlags kDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint |
                                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowCloseButtonHint;
}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& tmpl) : m_template(tmpl) {}

void TemplateDialog::Create(QWidget* parent) {
    if (m_created) return;
    m_created = true;
    setParent(parent, kDialogFlags);  // leaves the window hidden
    setWindowTitle(QString::fromUtf8(m_template.title));
    setFont(TemplateFont(QString::fromLatin1(m_template.fontFace), m_template.fontPoints));
    BuildControls(this, m_template);
    OnInitDialog();
}

QWidget* TemplateDialog::Control(int id) const {
    return findChild<QWidget*>(ControlName(id), Qt::FindDirectChildrenOnly);
}
QLineEdit* TemplateDialog::Edit(int id) const { return qobject_cast<QLineEdit*>(Control(id)); }
QComboBox* TemplateDialog::Combo(int id) const { return qobject_cast<QComboBox*>(Control(id)); }
QCheckBox* TemplateDialog::Check(int id) const { return qobject_cast<QCheckBox*>(Control(id)); }
QPushButton* TemplateDialog::Button(int id) const {
    return qobject_cast<QPushButton*>(Control(id));
}

bool TemplateDialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void TemplateDialog::StandardOk() {
    if (UpdateData(true)) done(QDialog::Accepted);
}

bool TemplateDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void TemplateDialog::DoDataExchange(DataExchange&) {}

void TemplateDialog::OnClicked(int id, std::function<void()> handler) {
    auto* button = qobject_cast<QAbstractButton*>(Control(id));
    if (!button) return;
    connect(button, &QAbstractButton::clicked, this,
            [this, handler = std::move(handler)] { RunGuarded(this, handler); });
}

void TemplateDialog::OnSelChange(int id, std::function<void()> handler) {
    QComboBox* combo = Combo(id);
    if (!combo) return;
    connect(combo, &QComboBox::activated, this,
            [this, handler = std::move(handler)] { RunGuarded(this, handler); });
}

void TemplateDialog::FillList(int id, const QStringList& texts, int selection) {
    QComboBox* combo = Combo(id);
    if (!combo) return;
    combo->addItems(texts);
    combo->setCurrentIndex(selection >= 0 && selection < combo->count() ? selection : -1);
}

int TemplateDialog::Selection(int id) const {
    const QComboBox* combo = Combo(id);
    return combo ? combo->currentIndex() : -1;
}

bool TemplateDialog::IsChecked(int id) const {
    const QCheckBox* box = Check(id);
    return box && box->isChecked();
}

void TemplateDialog::SetChecked(int id, bool checked) {
    if (QCheckBox* box = Check(id)) box->setChecked(checked);
}

void TemplateDialog::keyPressEvent(QKeyEvent* e) {
    if (e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier) {
        switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            RunGuarded(this, [this] { StandardOk(); });
            e->accept();
            return;
        case Qt::Key_Escape:
            reject();
            e->accept();
            return;
        default: break;
        }
    }
    QDialog::keyPressEvent(e);
}

}  // namespace platform
