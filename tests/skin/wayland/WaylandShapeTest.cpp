// The shaped window under a real Wayland compositor (weston) of the test's own, seen through
// weston's screenshooter, with the start-up skin shown by a helper program on Qt's wayland
// platform. Wayland ignores window masks for drawing, so this is where a key-coloured band
// around the shape would show; and there the window cannot place itself, so a drag by the
// background must hand the move to the compositor.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <string>

#include "TestDisplays.h"
#include "WaitFor.h"

namespace {

// Where the compositor may draw its pointer's picture (an arrow below and right of the point,
// a hand around it) while the pointer is at `p`.
QRect PointerPicture(QPoint p) { return QRect(p - QPoint(32, 32), QSize(64, 64)); }

bool Inside(const QImage& shape, int x, int y) { return qGray(shape.pixel(x, y)) > 128; }

// The helper's window on a compositor: its shape, and the point of background to drag it by.
class ShownWindow {
public:
    // Starts the helper and waits for its window; says what went wrong, or nothing.
    std::string Show(const QProcessEnvironment& env) {
        const QString shapePath = m_work.filePath("shape.png");
        m_process.setProcessEnvironment(env);
        m_process.start(QStringLiteral(CS_WINDOW_HELPER), {QStringLiteral(CS_SKINS_DIR), shapePath});
        WaitForLine(m_process, 20000);
        const QList<QByteArray> words = m_process.readLine().simplified().split(' ');
        if (words.size() != 3 || words[0] != "shown")
            return "no window: " + m_process.readAllStandardError().toStdString();
        grip = QPoint(words[1].toInt(), words[2].toInt());
        shape = QImage(shapePath);
        if (shape.isNull()) return "no shape picture";
        for (int y = 0; y < shape.height(); ++y)
            for (int x = 0; x < shape.width(); ++x)
                if (Inside(shape, x, y))
                    inside |= QRect(x, y, 1, 1);
                else
                    ++outside;
        return {};
    }

    // Waits until a screenshot shows the window whole and where `expected` says (anywhere,
    // when it is empty); the shot and the window's top left on the output.
    bool Find(Weston& weston, QImage& shot, QPoint& origin, const QRect& ignored = QRect(),
              const QRect& expected = QRect()) const {
        QRect found;
        const bool seen = WaitFor([&] {
            shot = weston.Screenshot();
            found = shot.isNull() ? QRect() : NonDesktopArea(shot, ignored);
            return expected.isEmpty() ? found.size() == inside.size() : found == expected;
        }, 30000);
        origin = found.topLeft() - inside.topLeft();
        if (!seen)
            ADD_FAILURE() << "seen " << found.width() << "x" << found.height() << " at "
                          << found.x() << "," << found.y() << ", shape " << inside.width()
                          << "x" << inside.height();
        return seen;
    }

    void Write(const char* line) { m_process.write(line); }

    int Quit() {
        m_process.write("quit\n");
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000)) m_process.kill();
        return m_process.exitCode();
    }

    QImage shape;
    QRect inside;      // the shape's bounding rectangle, in the window
    long outside = 0;  // how many of the picture's pixels the shape leaves out
    QPoint grip;

private:
    QTemporaryDir m_work;
    QProcess m_process;
    const Stopped m_stopped{m_process};
};

}  // namespace

TEST(ShapedWindowOnWayland, ShowsNoKeyColourAndTheDesktopAroundTheShape) {
    Weston weston;
    ASSERT_TRUE(weston.WaitUntilListening()) << weston.Log().toStdString();
    ShownWindow window;
    ASSERT_EQ(window.Show(weston.Environment()), "");
    const QImage& shape = window.shape;
    // The start-up skin must cut something away, or there would be nothing to see.
    ASSERT_GT(window.outside, 0);

    // The window appears once weston has drawn the desktop and the window's first frame.
    QImage shot;
    QPoint origin;
    ASSERT_TRUE(window.Find(weston, shot, origin));

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
    window.Write("minimize\n");
    EXPECT_TRUE(WaitFor([&] {
        shot = weston.Screenshot();
        return !shot.isNull() && NonDesktopArea(shot).isEmpty();
    }, 15000));

    EXPECT_EQ(window.Quit(), 0);
}

// A client cannot place its own window on Wayland: a drag by the skin's background only moves
// the window if it is handed to the compositor while the button is down.
TEST(ShapedWindowOnWayland, DraggedByItsBackgroundItMovesWithThePointerAndStaysWhereDropped) {
    VirtualX x;
    ASSERT_TRUE(x.WaitUntilListening());
    Weston weston(x.Name());
    ASSERT_TRUE(weston.WaitUntilListening()) << weston.Log().toStdString();
    ShownWindow window;
    ASSERT_EQ(window.Show(weston.Environment()), "");
    // The nested weston moves its pointer by the X pointer's steps and stops it at the
    // output's edges, so driving both into opposite corners lines the two up. Only with a
    // client's window up is weston surely reading the X pointer: before, the steps can be lost.
    ASSERT_TRUE(x.MovePointer({kOutput.width() - 1, kOutput.height() - 1}));
    ASSERT_TRUE(x.MovePointer({0, 0}));
    QImage shot;
    QPoint origin;
    ASSERT_TRUE(window.Find(weston, shot, origin, PointerPicture({0, 0})));
    const QRect before = window.inside.translated(origin);

    // Half the free space on the roomier side, on each axis: the window stays on the output.
    const auto step = [](int low, int high) { return low >= high ? -low / 2 : high / 2; };
    const QPoint moved(step(before.left(), kOutput.width() - 1 - before.right()),
                       step(before.top(), kOutput.height() - 1 - before.bottom()));
    const QPoint grip = origin + window.grip;
    const QPoint half = grip + moved / 2, end = grip + moved;
    ASSERT_TRUE(x.Xdo(VirtualX::MoveTo(grip) + QStringList{"mousedown", "1"} + VirtualX::MoveTo(half)));
    // The move begins once the window has asked for it; until then the compositor lets the
    // pointer go alone, so it is stirred at the end point until the window has followed.
    QRect found;
    EXPECT_TRUE(WaitFor([&] {
        x.Xdo(VirtualX::MoveTo(end + QPoint(1, 1)) + VirtualX::MoveTo(end));
        shot = weston.Screenshot();
        found = shot.isNull() ? QRect() : NonDesktopArea(shot, PointerPicture(end));
        return found == before.translated(moved);
    }, 20000)) << "moved by " << moved.x() << "," << moved.y() << "; seen at " << found.x()
               << "," << found.y() << ", was at " << before.x() << "," << before.y();
    ASSERT_TRUE(x.Xdo({"mouseup", "1"}));

    // Once the button is up the pointer moves alone.
    const QPoint away = end + QPoint(12, 12);
    ASSERT_TRUE(x.MovePointer(away));
    EXPECT_TRUE(window.Find(weston, shot, origin, PointerPicture(away), before.translated(moved)));

    EXPECT_EQ(window.Quit(), 0);
}
