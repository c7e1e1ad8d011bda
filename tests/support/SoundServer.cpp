#include "SoundServer.h"

#include "WaitFor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace {
QString Socket(const QTemporaryDir& dir) { return dir.filePath("run/native"); }

QProcessEnvironment PrivateEnvironment(const QTemporaryDir& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Everything the server and its clients keep goes into the private folder.
    env.insert("HOME", dir.filePath("home"));
    env.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("home/.config"));
    env.insert("PULSE_RUNTIME_PATH", dir.filePath("run"));
    env.insert("PULSE_STATE_PATH", dir.filePath("state"));
    env.insert("PULSE_SERVER", "unix:" + Socket(dir));
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    env.remove("LD_PRELOAD");
    return env;
}
}  // namespace

SoundServer::SoundServer() : m_dir(QDir::tempPath() + "/cs-sound-XXXXXX") {
    if (!m_dir.isValid()) {
        m_error = "no temporary folder";
        return;
    }
    for (const char* sub : {"home/.config", "run", "state"}) QDir(m_dir.path()).mkpath(sub);
    QFile conf(m_dir.filePath("asound.conf"));
    if (conf.open(QIODevice::WriteOnly)) {
        const QByteArray server = address().toUtf8();
        conf.write("pcm.!default { type pulse server \"" + server + "\" device \"" +
                   QByteArray(kNullSink) + ".monitor\" }\n"
                   "ctl.!default { type pulse server \"" + server + "\" }\n");
    }
    m_server.setProcessEnvironment(PrivateEnvironment(m_dir));
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // -n: none of the machine's own configuration; the modules are all we load. A server
    // started by root in user mode only warns, so this runs the same as root and as a user.
    // The null sink renders up to two seconds ahead when nobody asks for less, and a recorder
    // that connects to its monitor then gets nothing until that has run out; norewinds keeps
    // it within 50 ms, so the monitor records from the moment it is opened, as a card does.
    m_server.start("pulseaudio",
                   {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                    "--log-level=error", "--log-target=stderr", "-L",
                    "module-native-protocol-unix auth-anonymous=1 socket=" + Socket(m_dir), "-L",
                    QString("module-null-sink norewinds=1 sink_name=") + kNullSink, "-L",
                    QString("module-sine-source source_name=") + kSineSource + " frequency=440"});
    if (!m_server.waitForStarted(10000)) {
        m_error = "pulseaudio did not start: " + m_server.errorString();
        return;
    }
    const bool up = WaitFor(
        [&] {
            return m_server.state() != QProcess::Running ||
                   (QFileInfo::exists(Socket(m_dir)) && Pactl({"info"}));
        },
        20000);
    if (!up || m_server.state() != QProcess::Running) m_error = "pulseaudio did not come up";
}

SoundServer::~SoundServer() {
    if (m_server.state() == QProcess::NotRunning) return;
    m_server.terminate();
    if (!m_server.waitForFinished(5000)) {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
}

QString SoundServer::address() const { return "unix:" + Socket(m_dir); }

QString SoundServer::alsaConfigPath() const {
    // The system's configuration first (it defines the pulse plugin), ours after it.
    return "/usr/share/alsa/alsa.conf:" + m_dir.filePath("asound.conf");
}

void SoundServer::UseInThisProcess() const {
    ::setenv("PULSE_SERVER", address().toLocal8Bit().constData(), 1);
    ::setenv("ALSA_CONFIG_PATH", alsaConfigPath().toLocal8Bit().constData(), 1);
}

void SoundServer::ForgetInThisProcess() { ::unsetenv("PULSE_SERVER"); }

bool SoundServer::Pactl(const QStringList& args, QString* out) const {
    QProcess p;
    p.setProcessEnvironment(PrivateEnvironment(m_dir));
    p.start("pactl", args);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    if (out) *out = QString::fromLocal8Bit(p.readAllStandardOutput());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
