// Keeps a device dialog's device list in step with the devices on offer while the dialog is
// open: a camera or microphone plugged in appears, one that goes away stays listed as
// "<name> (not connected)" while it is chosen or shown, so nothing vanishes from under a
// selection.
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>

class CSettingsDialog;
class CVideoCap;

class DeviceListFollower : public QObject {
public:
    struct Binding {
        int listId;               // the dialog's device list
        QStringList* names;       // the names the capture control offers, by its indexes
        int32_t* chosen;          // the index chosen at the last Ok
        std::function<QStringList(CVideoCap&)> read;  // the control's current names
        // The shown device is now at this entry (past the control's names: not connected).
        std::function<void(int)> shownMoved;
    };
    DeviceListFollower(CSettingsDialog& dialog, Binding binding);

    // Reads the lists again if the control saw a device come or go.
    void Check();
    // The name behind an entry of the list, marked or not.
    QString NameAt(int index) const;

    static QString AbsentName(const QString& name);

protected:
    // Follows while the dialog is on screen, and only then.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CheckQuietly();

    CSettingsDialog& m_dialog;
    Binding m_binding;
    QStringList m_absent;  // listed after the control's names
    QTimer m_timer;
};
