// Displays of a test's own for the program's real windows: a virtual X server (Xvfb) that
// xdotool drives, and weston, headless or nested in that X display, seen through its
// screenshooter.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "WaitFor.h"

// The desktop's colour behind every window, as weston.ini below sets it.
inline const QRgb kDesktop = qRgb(0x00, 0xA0, 0x00);
inline const QSize kOutput(1280, 1024);

// Ends a process however the test ends.
struct Stopped {
    QProcess& process;
    ~Stopped() {
        if (process.state() == QProcess::NotRunning) return;
        process.terminate();
        if (!process.waitForFinished(5000)) process.kill();
        process.waitForFinished(5000);
    }
};

// Waits for a whole line from a process, or for its end.
inline bool WaitForLine(QProcess& process, int timeoutMs) {
    return WaitFor([&] {
        process.waitForReadyRead(100);
        return process.canReadLine() || process.state() == QProcess::NotRunning;
    }, timeoutMs);
}

// A virtual X display of the output's size: the nested compositor's window fills it, so the
// X pointer that xdotool drives is weston's pointer, at the same coordinates.
class VirtualX {
public:
    VirtualX() {
        m_server.start(QStringLiteral("Xvfb"),
                       {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0",
                        QStringLiteral("%1x%2x24").arg(kOutput.width()).arg(kOutput.height())});
    }
    bool WaitUntilListening() {
        if (!m_server.waitForStarted(5000) || !WaitForLine(m_server, 10000)) return false;
        const QByteArray number = m_server.readLine().trimmed();
        if (number.isEmpty()) return false;
        m_name = ':' + QString::fromLatin1(number);
        return true;
    }
    const QString& Name() const { return m_name; }

    // Runs one xdotool command line (several commands may be chained) against this display.
    bool Xdo(const QStringList& arguments) const {
        QProcess xdo;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_name);
        xdo.setProcessEnvironment(env);
        xdo.start(QStringLiteral("xdotool"), arguments);
        return xdo.waitForFinished(10000) && xdo.exitStatus() == QProcess::NormalExit &&
               xdo.exitCode() == 0;
    }
    // The xdotool command that moves the pointer to `to`, to chain with others.
    static QStringList MoveTo(QPoint to) {
        return {"mousemove", QString::number(to.x()), QString::number(to.y())};
    }
    bool MovePointer(QPoint to) const { return Xdo(MoveTo(to)); }

private:
    QProcess m_server;
    const Stopped m_stopped{m_server};
    QString m_name;
};

// weston of the test's own: headless (no input at all), or nested in an X display, which gives
// it a seat whose pointer follows the X pointer.
class Weston {
public:
    explicit Weston(const QString& xDisplay = QString()) {
        m_socket = QStringLiteral("cs-wayland-%1").arg(QCoreApplication::applicationPid());
        QFile::setPermissions(m_runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner);
        QFile ini(m_runtime.filePath("weston.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[core]\nshell=desktop-shell.so\n"
                      "[shell]\nbackground-color=0xff00a000\npanel-position=none\n"
                      "locking=false\nanimation=none\nstartup-animation=none\n");
        ini.close();
        QProcessEnvironment env = Environment();
        if (!xDisplay.isEmpty()) env.insert(QStringLiteral("DISPLAY"), xDisplay);
        m_weston.setProcessEnvironment(env);
        m_weston.setProcessChannelMode(QProcess::MergedChannels);
        // --debug lets any client use the screenshooter.
        m_weston.start(QStringLiteral("weston"),
                       {xDisplay.isEmpty() ? "--backend=headless-backend.so"
                                           : "--backend=x11-backend.so",
                        "--use-pixman", QStringLiteral("--width=%1").arg(kOutput.width()),
                        QStringLiteral("--height=%1").arg(kOutput.height()), "--idle-time=0",
                        "--debug", "--socket=" + m_socket, "--config=" + ini.fileName()});
    }

    bool WaitUntilListening() {
        return m_weston.waitForStarted(5000) &&
               WaitFor([&] { return QFile::exists(m_runtime.filePath(m_socket)); }, 10000);
    }
    QString Log() { return QString::fromLocal8Bit(m_weston.readAll()); }

    // What a client of this compositor needs, and nothing of any other display.
    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), m_socket);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        return env;
    }

    // The whole output, as the compositor last drew it; a null image when the shot failed.
    QImage Screenshot() {
        QTemporaryDir folder;
        QProcess shooter;
        shooter.setProcessEnvironment(Environment());
        shooter.setWorkingDirectory(folder.path());
        shooter.start(QStringLiteral("weston-screenshooter"), {});
        if (!shooter.waitForFinished(10000) || shooter.exitCode() != 0) return {};
        const QStringList shots = QDir(folder.path()).entryList({"*.png"}, QDir::Files);
        if (shots.isEmpty()) return {};
        return QImage(folder.filePath(shots.first())).convertToFormat(QImage::Format_RGB32);
    }

private:
    QTemporaryDir m_runtime;
    QString m_socket;
    QProcess m_weston;
    const Stopped m_stopped{m_weston};
};

// Where anything other than the desktop shows, leaving out the pixels in `ignored` (where
// the compositor draws its pointer).
inline QRect NonDesktopArea(const QImage& shot, const QRect& ignored = QRect()) {
    QRect area;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) != kDesktop && !ignored.contains(x, y))
                area |= QRect(x, y, 1, 1);
    return area;
}

