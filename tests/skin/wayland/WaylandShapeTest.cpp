// The shaped window under a real Wayland compositor: a headless weston of the test's own,
// a screenshot taken through weston's screenshooter, and the start-up skin shown by a helper
// program on Qt's wayland platform. Wayland ignores window masks for drawing, so this is
// where a key-coloured band around the shape would show.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegion>
#include <QTemporaryDir>

#include <memory>

#include "WaitFor.h"

namespace {

// The desktop's colour behind every window, as weston.ini below sets it.
const QRgb kDesktop = qRgb(0x00, 0xA0, 0x00);

class HeadlessWeston {
public:
    HeadlessWeston() {
        m_socket = QStringLiteral("cs-wayland-%1").arg(QCoreApplication::applicationPid());
        QFile::setPermissions(m_runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner);
        QFile ini(m_runtime.filePath("weston.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[core]\nshell=desktop-shell.so\n"
                      "[shell]\nbackground-color=0xff00a000\npanel-position=none\n"
                      "locking=false\nanimation=none\nstartup-animation=none\n");
        ini.close();
        m_weston.setProcessEnvironment(Environment());
        m_weston.setProcessChannelMode(QProcess::MergedChannels);
        // --debug lets any client use the screenshooter.
        m_weston.start(QStringLiteral("weston"),
                       {"--backend=headless-backend.so", "--use-pixman", "--width=1280",
                        "--height=1024", "--idle-time=0", "--debug",
                        "--socket=" + m_socket, "--config=" + ini.fileName()});
    }
    ~HeadlessWeston() {
        m_weston.terminate();
        if (!m_weston.waitForFinished(5000)) m_weston.kill();
        m_weston.waitForFinished(5000);
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
};

// Where anything other than the desktop shows.
QRect NonDesktopArea(const QImage& shot) {
    QRect area;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) != kDesktop) area |= QRect(x, y, 1, 1);
    return area;
}

bool Inside(const QImage& shape, int x, int y) { return qGray(shape.pixel(x, y)) > 128; }

// The bounding rectangle of the shape, and how many of its picture's pixels lie outside it.
QRect InsideOf(const QImage& shape, long& outside) {
    QRect inside;
    outside = 0;
    for (int y = 0; y < shape.height(); ++y)
        for (int x = 0; x < shape.width(); ++x)
            if (Inside(shape, x, y))
                inside |= QRect(x, y, 1, 1);
            else
                ++outside;
    return inside;
}

// Ends the helper however the test ends.
struct Stopped {
    QProcess& process;
    ~Stopped() {
        if (process.state() == QProcess::NotRunning) return;
        process.kill();
        process.waitForFinished(5000);
    }
};

}  // namespace

TEST(ShapedWindowOnWayland, ShowsNoKeyColourAndTheDesktopAroundTheShape) {
    HeadlessWeston weston;
    ASSERT_TRUE(weston.WaitUntilListening()) << weston.Log().toStdString();

    QTemporaryDir work;
    const QString shapePath = work.filePath("shape.png");
    QProcess window;
    const Stopped stopped{window};
    window.setProcessEnvironment(weston.Environment());
    window.start(QStringLiteral(CS_WINDOW_HELPER), {QStringLiteral(CS_SKINS_DIR), shapePath});
    ASSERT_TRUE(WaitFor([&] {
        window.waitForReadyRead(100);
        return window.canReadLine() || window.state() == QProcess::NotRunning;
    }, 20000));
    ASSERT_EQ(window.readLine().trimmed(), "shown") << window.readAllStandardError().toStdString();

    const QImage shape(shapePath);
    ASSERT_FALSE(shape.isNull());
    long outside = 0;
    const QRect inside = InsideOf(shape, outside);
    // The start-up skin must cut something away, or there would be nothing to see.
    ASSERT_GT(outside, 0);

    // The window appears once weston has drawn the desktop and the window's first frame.
    QImage shot;
    QRect found;
    EXPECT_TRUE(WaitFor([&] {
        shot = weston.Screenshot();
        found = shot.isNull() ? QRect() : NonDesktopArea(shot);
        return found.size() == inside.size();
    }, 30000)) << "seen " << found.width() << "x" << found.height() << ", shape "
               << inside.width() << "x" << inside.height();
    ASSERT_EQ(found.size(), inside.size());
    const QPoint origin = found.topLeft() - inside.topLeft();

    // Outside the shape the desktop shows; nowhere does the key colour (magenta) show.
    long wrongOutside = 0, keyPixels = 0;
    for (int y = 0; y < shape.height(); ++y) {
        for (int x = 0; x < shape.width(); ++x) {
            const QPoint at = origin + QPoint(x, y);
            if (!shot.rect().contains(at)) continue;
            if (!Inside(shape, x, y) && shot.pixel(at) != kDesktop) ++wrongOutside;
        }
    }
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) == qRgb(255, 0, 255)) ++keyPixels;
    EXPECT_EQ(wrongOutside, 0);
    EXPECT_EQ(keyPixels, 0);
    for (const QPoint corner : {QPoint(0, 0), QPoint(shape.width() - 1, 0),
                                QPoint(0, shape.height() - 1),
                                QPoint(shape.width() - 1, shape.height() - 1)})
        EXPECT_EQ(shot.pixel(origin + corner), kDesktop) << corner.x() << "," << corner.y();

    // Minimising works there too: the window leaves the desktop.
    window.write("minimize\n");
    EXPECT_TRUE(WaitFor([&] {
        shot = weston.Screenshot();
        return !shot.isNull() && NonDesktopArea(shot).isEmpty();
    }, 15000));

    window.write("quit\n");
    window.closeWriteChannel();
    if (!window.waitForFinished(10000)) window.kill();
    EXPECT_EQ(window.exitCode(), 0);
}
