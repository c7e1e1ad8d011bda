#include "PrivateKeyring.h"

#include "WaitFor.h"

#include <QFile>

#include <csignal>

#include <sys/prctl.h>

namespace {
// No service directories: nothing on this bus starts by itself, so "no keyring" stays so.
const char* kBusConfig =
    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
    "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
    "<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
    "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
    "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
}  // namespace

PrivateKeyring::PrivateKeyring(bool withKeyring) {
    // A test that crashes takes its bus and keyring with it.
    for (QProcess* p : {&m_bus, &m_keyring}) p->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_oldAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    QFile config(m_dir.filePath("bus.conf"));
    if (!config.open(QIODevice::WriteOnly)) {
        m_error = "cannot write the bus configuration";
        return;
    }
    config.write(QString::fromLatin1(kBusConfig).arg(m_dir.path()).toUtf8());
    config.close();
    m_bus.start("dbus-daemon", {"--config-file=" + config.fileName(), "--print-address=1", "--nofork"});
    QByteArray address;
    if (!WaitFor([&] { return (address += m_bus.readAllStandardOutput()).contains('\n') ||
                              m_bus.state() == QProcess::NotRunning; }, 10000) ||
        !address.contains('\n')) {
        m_error = "dbus-daemon did not start: " + m_bus.errorString() + " " + QString::fromLocal8Bit(m_bus.readAllStandardError());
        return;
    }
    address = address.left(address.indexOf('\n'));
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    if (!withKeyring) return;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(address));
    env.insert("HOME", m_dir.path());
    env.insert("XDG_DATA_HOME", m_dir.filePath("data"));
    env.insert("XDG_RUNTIME_DIR", m_dir.path());
    m_keyring.setProcessEnvironment(env);
    m_keyring.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_keyring.start("gnome-keyring-daemon", {"--unlock", "--components=secrets", "--foreground"});
    if (!m_keyring.waitForStarted(10000)) {
        m_error = "gnome-keyring-daemon did not start: " + m_keyring.errorString();
        return;
    }
    m_keyring.write("test-password");  // --unlock reads the password up to the end of input
    m_keyring.closeWriteChannel();
    QProcess ask;
    const bool up = WaitFor([&] {
        ask.start("dbus-send", {"--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                                "org.freedesktop.DBus.NameHasOwner", "string:org.freedesktop.secrets"});
        return ask.waitForFinished(5000) && ask.readAllStandardOutput().contains("boolean true");
    }, 15000);
    if (!up) m_error = "the keyring did not come up on the private bus";
}

PrivateKeyring::~PrivateKeyring() {
    for (QProcess* p : {&m_keyring, &m_bus}) {
        if (p->state() == QProcess::NotRunning) continue;
        p->terminate();
        if (!p->waitForFinished(5000)) p->kill();
        p->waitForFinished(5000);
    }
    if (m_oldAddress.isEmpty())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_oldAddress);
}
