#include "CLiveStreamDlg.h"

#include "DialogIds.h"
#include "DialogTemplates.h"

#include <QLineEdit>

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
    m_recordCopy = IsChecked(kRecordCopy);
    UpdateData(true);
    m_server = m_server.trimmed();
    m_key = m_key.trimmed();
    UpdateData(false);
    StandardOk();
}
