// Where a live stream goes: the server's address and the stream key, and whether a local copy
// is recorded too. Values are kept in memory for this run only, like the other settings.
#pragma once

#include "platform/TemplateDialog.h"

#include <QString>

class CLiveStreamDlg : public platform::TemplateDialog {
    Q_OBJECT
public:
    CLiveStreamDlg();

    const QString& Server() const { return m_server; }
    const QString& Key() const { return m_key; }
    bool RecordCopy() const { return m_recordCopy; }
    // Takes what the fields hold without Ok's checks: a remembered address whose key is
    // still to come.
    void StoreFields();
    // A line under the fields about the key ("not remembered: …"); empty for none.
    void SetKeyNote(const QString& text);
    QString KeyNote() const;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(platform::DataExchange& dx) override;
    void showEvent(QShowEvent* e) override;

private:
    void OnOk();
    void ShowKey(bool shown);

    QString m_server;
    QString m_key;
    bool m_recordCopy = true;
};
