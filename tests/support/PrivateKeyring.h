// A session bus of the test's own, in a private folder, with (or without) an unlocked GNOME
// keyring on it; this process's D-Bus clients use it while the object lives.
#pragma once

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

class PrivateKeyring {
public:
    explicit PrivateKeyring(bool withKeyring);
    ~PrivateKeyring();
    PrivateKeyring(const PrivateKeyring&) = delete;
    PrivateKeyring& operator=(const PrivateKeyring&) = delete;

    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    QString home() const { return m_dir.path(); }  // where the keyring keeps its files

private:
    // No blank in its name: a D-Bus address would need it escaped (the default name holds
    // the application's, "Capture Station").
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/cs-keyring-XXXXXX")};
    QProcess m_bus;
    QProcess m_keyring;
    QByteArray m_oldAddress;
    QString m_error;
};
