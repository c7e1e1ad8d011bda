#include "CLiveStreamDlg.h"

#include "DialogIds.h"
#include "DialogTemplates.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "platform/Services.h"
#include "platform/StreamAddress.h"

#include <algorithm>

using namespace LiveStreamIds;

CLiveStreamDlg::CLiveStreamDlg() : platform::TemplateDialog(kLiveStreamTemplate) {}

void CLiveStreamDlg::DoDataExchange(platform::DataExchange& dx) {
    dx.Text(Edit(kServerEdit), m_server);
    dx.Text(Edit(kKeyEdit), m_key);
}

bool CLiveStreamDlg::OnInitDialog() {
    TemplateDialog::OnInitDialog();
    Edit(kServerEdit)->setPlaceholderText(QStringLiteral("rtmp://host[:port]/app or srt://host:port"));
    // The key is a password to the stream: not shown unless asked for, never remembered by
    // the platform's input methods.
    Edit(kKeyEdit)->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData |
                                        Qt::ImhNoPredictiveText);
    ShowKey(false);
    SetChecked(kRecordCopy, m_recordCopy);
    OnClicked(kShowKey, [this] { ShowKey(IsChecked(kShowKey)); });
    SetChecked(kDestinationOn, true);
    ListDestinations();
    // The list names the destination by the address as it is typed.
    connect(Edit(kServerEdit), &QLineEdit::textChanged, this, [this](const QString& server) {
        if (QComboBox* list = Combo(kDestinationList); list && m_shown < list->count())
            list->setItemText(m_shown, QStringLiteral("%1: %2").arg(m_shown + 1).arg(server.isEmpty() ? tr("(new)") : server.trimmed()));
    });
    OnSelChange(kDestinationList, [this] {
        KeepShown();
        Show(Selection(kDestinationList));
    });
    OnClicked(kAddDestination, [this] {
        KeepShown();
        m_editing.append(Destination{});
        Show(int(m_editing.size()) - 1);
        Edit(kServerEdit)->setFocus();
    });
    OnClicked(kRemoveDestination, [this] {
        if (m_editing.size() < 2) return;
        m_editing.removeAt(m_shown);
        m_shown = -1;  // nothing of the removed one is kept
        Show(std::max(0, Selection(kDestinationList) - 1));
    });
    OnClicked(kOk, [this] { OnOk(); });
    OnClicked(kCancel, [this] { reject(); });
    return true;
}

void CLiveStreamDlg::ShowKey(bool shown) {
    Edit(kKeyEdit)->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
}

void CLiveStreamDlg::OnOk() {
    KeepShown();
    // Both fields empty clears a destination; anything else must be an address that can
    // work, or the dialog stays open on the destination and the field at fault.
    for (int i = 0; i < m_editing.size(); ++i) {
        const Destination& d = m_editing[i];
        if (d.server.isEmpty() && d.key.isEmpty()) continue;
        const auto address = platform::ParseStreamAddress(d.server.toStdString(), d.key.toStdString());
        if (address) continue;
        Show(i);
        platform::ShowMessage(this,
                              QStringLiteral("The live stream cannot go to this address: %1.")
                                  .arg(QString::fromStdString(address.Error())),
                              platform::MsgButtons::Ok, platform::MsgIcon::Exclamation);
        const bool keyAtFault = address.Error().find("stream key") != std::string::npos;
        QLineEdit* field = Edit(keyAtFault ? kKeyEdit : kServerEdit);
        field->setFocus();
        field->selectAll();
        return;
    }
    // Emptied destinations go, all but the one shown when nothing else is left.
    for (int i = int(m_editing.size()) - 1; i >= 0 && m_editing.size() > 1; --i)
        if (m_editing[i].server.isEmpty() && m_editing[i].key.isEmpty()) m_editing.removeAt(i);
    m_destinations = m_editing;
    Show(std::min(m_shown, int(m_editing.size()) - 1));
    m_recordCopy = IsChecked(kRecordCopy);
    StandardOk();
}

void CLiveStreamDlg::StoreFields() {
    m_recordCopy = IsChecked(kRecordCopy);
    KeepShown();
    m_destinations = m_editing;
}

void CLiveStreamDlg::SetDestinations(const QList<Destination>& destinations) {
    m_destinations = destinations.isEmpty() ? QList<Destination>{Destination{}} : destinations;
    m_editing = m_destinations;
    if (IsCreated()) Show(0);
}

CLiveStreamDlg::Destination CLiveStreamDlg::FirstOn() const {
    for (const Destination& d : m_destinations)
        if (d.on && !d.server.isEmpty()) return d;
    return {};
}

QList<CLiveStreamDlg::Destination> CLiveStreamDlg::MoreDestinations() const {
    QList<Destination> more;
    bool first = true;
    for (const Destination& d : m_destinations) {
        if (!d.on || d.server.isEmpty()) continue;
        if (!first) more << d;
        first = false;
    }
    return more;
}

void CLiveStreamDlg::KeepShown() {
    if (m_shown < 0 || m_shown >= m_editing.size()) return;
    Destination& d = m_editing[m_shown];
    d.server = Edit(kServerEdit)->text().trimmed();
    d.key = Edit(kKeyEdit)->text().trimmed();
    d.on = IsChecked(kDestinationOn);
    m_server = d.server;
    m_key = d.key;
}

void CLiveStreamDlg::Show(int index) {
    m_shown = std::clamp(index, 0, int(m_editing.size()) - 1);
    const Destination& d = m_editing[m_shown];
    m_server = d.server;
    m_key = d.key;
    UpdateData(false);
    SetChecked(kDestinationOn, d.on);
    ListDestinations();
}

void CLiveStreamDlg::ListDestinations() {
    QComboBox* list = Combo(kDestinationList);
    if (!list) return;
    const QSignalBlocker quiet(list);
    list->clear();
    for (int i = 0; i < m_editing.size(); ++i) {
        // Named by the server only: a key never shows in the list.
        const QString server = m_editing[i].server;
        list->addItem(QStringLiteral("%1: %2").arg(i + 1).arg(server.isEmpty() ? tr("(new)") : server));
    }
    list->setCurrentIndex(m_shown);
    if (QWidget* remove = Control(kRemoveDestination)) remove->setEnabled(m_editing.size() > 1);
}

void CLiveStreamDlg::SetKeyNote(const QString& text) {
    if (auto* note = qobject_cast<QLabel*>(Control(kKeyNote))) {
        note->setWordWrap(true);
        note->setText(text);
    }
}

QString CLiveStreamDlg::KeyNote() const {
    const auto* note = qobject_cast<const QLabel*>(Control(kKeyNote));
    return note ? note->text() : QString();
}

void CLiveStreamDlg::showEvent(QShowEvent* e) {
    TemplateDialog::showEvent(e);
    // Opened again, the dialog shows what its last Ok kept: what Cancel left is gone.
    m_editing = m_destinations;
    Show(0);
    // The first field still to fill takes the keyboard, the address when both are filled.
    QLineEdit* server = Edit(kServerEdit);
    QLineEdit* key = Edit(kKeyEdit);
    if (server && key) (server->text().isEmpty() || !key->text().isEmpty() ? server : key)->setFocus();
}
