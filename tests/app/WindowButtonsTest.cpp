// The skin's own minimise and close buttons on the program's real window, clicked with the
// pointer on an X display (with a window manager) and under a Wayland compositor.
#include "MediaReadback.h"
#include "TestDisplays.h"
#include "WaitFor.h"
#include "controls/SkinButton.h"
#include "skin/CSkinDialog.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// Where the start-up skin puts a button, and where its shape begins, read from the skin itself.
struct SkinPoints {
    QPoint minimize, exit;
    QRect shape;
};
SkinPoints StartupSkinPoints() {
    CSkinDialog skin;
    skin.SetStartDirectory(QStringLiteral(CS_SKINS_DIR));
    skin.LoadStartupSkin();
    auto centre = [&](const char* name) {
        SkinButton* b = skin.FindButton(QString::fromLatin1(name));
        return b ? b->geometry().center() : QPoint(-1, -1);
    };
    // The shipped skins close with BUTTON_CLOSE, which does what BUTTON_EXIT does.
    const QPoint exit = skin.FindButton(QStringLiteral("BUTTON_EXIT")) ? centre("BUTTON_EXIT") : centre("BUTTON_CLOSE");
    return {centre("BUTTON_MINIMIZE"), exit, skin.Region().boundingRect()};
}

// The program on a display, with a home of its own; its window's place, found by the display.
struct Station {
    QTemporaryDir home;
    QProcess process;
    Stopped stopped{process};
    void Start(QProcessEnvironment env, const QStringList& arguments) {
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath("config"));
        env.remove(QStringLiteral("PULSE_SERVER"));
        // Under the thread sanitizer the program runs on real display stacks (Xlib's
        // extensions, libwayland through libffi, Mesa) that are not instrumented; its own
        // threads are checked by the tests that run it in-process.
        if (const QString tsan = env.value(QStringLiteral("TSAN_OPTIONS")); !tsan.isEmpty())
            env.insert(QStringLiteral("TSAN_OPTIONS"), tsan + QStringLiteral(" report_bugs=0"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(CS_STATION), arguments);
    }
};

QProcessEnvironment OnX(const VirtualX& x) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), x.Name());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

// The top left of the station's visible window on the X display, or nothing.
std::optional<QPoint> XWindowOrigin(const VirtualX& x, qint64 pid) {
    QProcess xdo;
    xdo.setProcessEnvironment(OnX(x));
    xdo.start(QStringLiteral("sh"), {"-c", QStringLiteral("id=$(xdotool search --onlyvisible --pid %1 | head -n1) && "
                                                          "[ -n \"$id\" ] && xdotool getwindowgeometry --shell $id")
                                               .arg(pid)});
    if (!xdo.waitForFinished(10000) || xdo.exitCode() != 0) return std::nullopt;
    int left = -1, top = -1;
    for (const QByteArray& line : xdo.readAllStandardOutput().split('\n')) {
        if (line.startsWith("X=")) left = line.mid(2).toInt();
        if (line.startsWith("Y=")) top = line.mid(2).toInt();
    }
    if (left < 0 || top < 0) return std::nullopt;
    return QPoint(left, top);
}

// openbox on the display, managing it before the program starts, as on a user's desktop.
// Under load openbox now and then fails to open a display that has just come up (and the
// program's window was then seen never mapped): it is started again.
struct WindowManager {
    QProcess process;
    Stopped stopped{process};
    explicit WindowManager(const VirtualX& x) {
        process.setProcessEnvironment(OnX(x));
        process.setProcessChannelMode(QProcess::MergedChannels);
        for (int attempt = 0; attempt < 3 && !managing; ++attempt) {
            process.start(QStringLiteral("openbox"), {"--sm-disable"});
            // The count of desktops is published by a running manager only.
            WaitFor([&] { return (managing = x.Xdo({"get_num_desktops"})) || process.state() == QProcess::NotRunning; }, 20000);
            if (!managing) {
                process.waitForFinished(5000);
                log += process.readAll();
            }
        }
    }
    bool managing = false;
    QByteArray log;
};

}  // namespace

TEST(WindowButtons, MinimiseLeavesTheDesktopOnX11AndUnderWayland) {
    const SkinPoints skin = StartupSkinPoints();
    ASSERT_GE(skin.minimize.x(), 0) << "the start-up skin has no minimise button";
    VirtualX x;
    ASSERT_TRUE(x.WaitUntilListening());
    {
        SCOPED_TRACE("X11");
        WindowManager wm(x);
        ASSERT_TRUE(wm.managing) << wm.log.toStdString();
        Station station;
        station.Start(OnX(x), {});
        std::optional<QPoint> origin;
        ASSERT_TRUE(WaitFor([&] { return (origin = XWindowOrigin(x, station.process.processId())).has_value(); }, 60000))
            << station.process.readAllStandardError().toStdString();
        const QPoint at = *origin + skin.minimize;
        ASSERT_TRUE(x.Xdo(VirtualX::MoveTo(at) + QStringList{"click", "1"}));
        EXPECT_TRUE(WaitFor([&] { return !XWindowOrigin(x, station.process.processId()); }, 15000));
        EXPECT_EQ(station.process.state(), QProcess::Running);
    }
    {
        SCOPED_TRACE("Wayland");
        Weston weston(x.Name());
        ASSERT_TRUE(weston.WaitUntilListening()) << weston.Log().toStdString();
        Station station;
        station.Start(weston.Environment(), {});
        // Lined up as the shape test does: both pointers driven into the opposite corners.
        QImage shot;
        QRect found;
        ASSERT_TRUE(WaitFor([&] {
            x.MovePointer({kOutput.width() - 1, kOutput.height() - 1});
            x.MovePointer({0, 0});
            shot = weston.Screenshot();
            found = shot.isNull() ? QRect() : NonDesktopArea(shot, QRect(0, 0, 40, 40));
            return found.size() == skin.shape.size();
        }, 60000)) << station.process.readAllStandardError().toStdString();
        const QPoint at = found.topLeft() - skin.shape.topLeft() + skin.minimize;

        ASSERT_TRUE(x.Xdo(VirtualX::MoveTo(at) + QStringList{"click", "1"}));
        EXPECT_TRUE(WaitFor([&] {
            shot = weston.Screenshot();
            return !shot.isNull() && NonDesktopArea(shot, QRect(at - QPoint(40, 40), QSize(80, 80))).isEmpty();
        }, 15000));
        EXPECT_EQ(station.process.state(), QProcess::Running);
    }
}

TEST(WindowButtons, CloseWhileRecordingFinishesTheFileWhole) {
    const SkinPoints skin = StartupSkinPoints();
    ASSERT_GE(skin.exit.x(), 0) << "the start-up skin has no close button";
    VirtualX x;
    ASSERT_TRUE(x.WaitUntilListening());
    WindowManager wm(x);
    ASSERT_TRUE(wm.managing) << wm.log.toStdString();
    Station station;
    const QString path = station.home.filePath("closed.flv");
    station.Start(OnX(x), {"--record", path});
    std::optional<QPoint> origin;
    ASSERT_TRUE(WaitFor([&] { return (origin = XWindowOrigin(x, station.process.processId())).has_value(); }, 60000))
        << station.process.readAllStandardError().toStdString();
    ASSERT_TRUE(WaitFor([&] { return QFileInfo(path).size() > 60000; }, 30000));
    ASSERT_TRUE(x.Xdo(VirtualX::MoveTo(*origin + skin.exit) + QStringList{"click", "1"}));
    ASSERT_TRUE(station.process.waitForFinished(30000));
    EXPECT_EQ(station.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(station.process.exitCode(), 0) << station.process.readAllStandardError().toStdString();
    const Readback rb = ReadRecording(path.toStdString());
    ASSERT_TRUE(rb.opened) << rb.error;
    EXPECT_EQ(rb.decodeErrors, 0);
    ASSERT_TRUE(rb.metaDuration.has_value());  // finished, not cut off
    EXPECT_GT(*rb.metaDuration, 0.5);
}
