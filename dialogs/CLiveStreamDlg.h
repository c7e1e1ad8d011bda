// Where a live stream goes: one or more destinations (a server's address and a stream key,
// each on or off), all fed by one encode, and whether a local copy is recorded too. The
// fields show the destination chosen in the list.
#pragma once

#include "platform/TemplateDialog.h"

#include <QList>
#include <QString>

class CLiveStreamDlg : public platform::TemplateDialog {
    Q_OBJECT
public:
    CLiveStreamDlg();

    struct Destination {
        QString server;
        QString key;
        bool on = true;
    };
    // The first destination that is on (empty when none is), and the others that are on.
    QString Server() const { return FirstOn().server; }
    QString Key() const { return FirstOn().key; }
    QList<Destination> MoreDestinations() const;
    const QList<Destination>& Destinations() const { return m_destinations; }
    // Kept as if entered and Ok'd (remembered ones coming back); at least one stays.
    void SetDestinations(const QList<Destination>& destinations);
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
    Destination FirstOn() const;
    // The fields into the destination shown, and a destination into the fields.
    void KeepShown();
    void Show(int index);
    void ListDestinations();

    QString m_server;
    QString m_key;
    bool m_recordCopy = true;
    QList<Destination> m_destinations{Destination{}};  // as at the last Ok
    QList<Destination> m_editing{Destination{}};       // while the dialog is open
    int m_shown = 0;
};
