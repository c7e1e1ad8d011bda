#include "CLiveStreamDlg.h"

#include "DialogIds.h"
#include "DialogTemplates.h"

#include <QLabel>
#include <QLineEdit>

#include "platform/Services.h"
#include "platform/StreamAddress.h"

using namespace LiveStreamIds;

CLiveStreamDlg::CLiveStreamDlg() : platform::TemplateDialog(kLiveStreamTemplate) {}

void CLiveStreamDlg::DoDataExchange(platform::DataExchange& dx) {
    dx.Text(Edit(kServerEdit), m_server);
    dx.Text(Edit(kKeyEdit), m_key);
}

bool CLiveStreamDlg::OnInitDialog() {
    TemplateDialog::OnInitDialog();
    Edit(kServerEdit)->setPlaceholderText(QStringLiteral("rtmp://host[:port]/app"));
    // The key is a password to the stream: not shown unless asked for, never remembered by
    // the platform's input methods.
    Edit(kKeyEdit)->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData |
                                        Qt::ImhNoPredictiveText);
    ShowKey(false);
    SetChecked(kRecordCopy, m_recordCopy);
    OnClicked(kShowKey, [this] { ShowKey(IsChecked(kShowKey)); });
    OnClicked(kOk, [this] { OnOk(); });
    OnClicked(kCancel, [this] { reject(); });
    return true;
}

void CLiveStreamDlg::ShowKey(bool shown) {
    Edit(kKeyEdit)->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
}

void CLiveStreamDlg::OnOk() {
    const QString server = Edit(kServerEdit)->text().trimmed();
    const QString key = Edit(kKeyEdit)->text().trimmed();
    // Both empty clears the destination; anything else must be an address that can work,
    // or the dialog stays open on the field at fault.
    if (!server.isEmpty() || !key.isEmpty()) {
        const auto address = platform::ParseStreamAddress(server.toStdString(), key.toStdString());
        if (!address) {
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
    }
    m_recordCopy = IsChecked(kRecordCopy);
    UpdateData(true);
    m_server = m_server.trimmed();
    m_key = m_key.trimmed();
    UpdateData(false);
    StandardOk();
}

void CLiveStreamDlg::StoreFields() {
    m_recordCopy = IsChecked(kRecordCopy);
    UpdateData(true);
    m_server = m_server.trimmed();
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
    // The first field still to fill takes the keyboard, the address when both are filled.
    QLineEdit* server = Edit(kServerEdit);
    QLineEdit* key = Edit(kKeyEdit);
    if (server && key) (server->text().isEmpty() || !key->text().isEmpty() ? server : key)->setFocus();
}
