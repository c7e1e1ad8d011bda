// A modeless dialog built from a template: created once, hidden by Ok and Cancel, shown again
// with its controls as they were. Esc and the close box act as Cancel; Enter runs only the
// standard OK step (read the dialog data, hide if that succeeded).
#pragma once

#include <QDialog>

#include <functional>

#include "DataExchange.h"
#include "DialogTemplate.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace platform {

class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    explicit TemplateDialog(const DialogTemplate& tmpl);

    // Creates the window, hidden, with parent as its owner, then runs OnInitDialog once.
    void Create(QWidget* parent);
    bool IsCreated() const { return m_created; }
    const DialogTemplate& Template() const { return m_template; }

    // The control with the given template id; nullptr before Create or for unknown ids.
    QWidget* Control(int id) const;
    QLineEdit* Edit(int id) const;
    QComboBox* Combo(int id) const;
    QCheckBox* Check(int id) const;
    QPushButton* Button(int id) const;

    // Exchanges the edit boxes with the values: read (true) or write (false). False when a
    // read failed; the failure has been shown.
    bool UpdateData(bool saveAndValidate = true);
    // The standard OK step.
    void StandardOk();

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange& dx);

    // Handler wiring; each handler runs at the event boundary (failures become messages).
    // Push buttons and check boxes: a completed click (a check box has already toggled).
    void OnClicked(int id, std::function<void()> handler);
    // Drop-down lists: the user chose an entry.
    void OnSelChange(int id, std::function<void()> handler);

    // Fills a drop-down list with texts and selects the entry at selection (none if invalid).
    void FillList(int id, const QStringList& texts, int selection);
    // The selected index of a drop-down list, -1 when none.
    int Selection(int id) const;
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);

    void keyPressEvent(QKeyEvent*) override;

private:
    const DialogTemplate& m_template;
    bool m_created = false;
};

}  // namespace platform
