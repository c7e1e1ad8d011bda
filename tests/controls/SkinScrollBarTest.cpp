#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QTimerEvent>
#include <QWheelEvent>

#include "ControlsFixture.h"
#include "controls/SkinListBox.h"
#include "controls/SkinScrollBar.h"

namespace {

const QColor kTrack(128, 128, 128), kUp(Qt::red), kUpPressed(Qt::darkRed), kDown(Qt::green),
    kDownPressed(Qt::darkGreen), kThumb(Qt::blue), kThumbPressed(Qt::darkBlue);
const SkinListColours kColours{0xFFFFFF, 0x000000, 0x800000, 0x00FFFF};  // white, black, navy, yellow
const QRect kListRect(10, 10, 116, 140);  // the bar takes the right-hand 16 pixels

class ScrollBarTest : public ::testing::Test {
protected:
    FakeSkinHost host;
    Pictures pictures;
    SkinListBox* list = nullptr;
    SkinScrollBar* bar = nullptr;

    void SetUp() override {
        SkinScrollBarImages images;
        images.track = pictures.Add("track.bmp", SolidImage(16, 10, kTrack));
        images.up = pictures.Add("up.bmp", SolidImage(16, 16, kUp));
        images.upPressed = pictures.Add("upp.bmp", SolidImage(16, 16, kUpPressed));
        images.down = pictures.Add("down.bmp", SolidImage(16, 16, kDown));
        images.downPressed = pictures.Add("downp.bmp", SolidImage(16, 16, kDownPressed));
        images.thumb = pictures.Add("thumb.bmp", SolidImage(16, 20, kThumb));
        images.thumbPressed = pictures.Add("thumbp.bmp", SolidImage(16, 20, kThumbPressed));
        list = new SkinListBox(&host, kListRect);
        list->SetColours(kColours);
        list->AttachScrollBar(images);
        list->SetupColumns();
        bar = list->ScrollBar();
        ASSERT_TRUE(host.ShowAndActivate());
    }
    void Fill(int rows) {
        for (int i = 0; i < rows; ++i) list->AddItem(QStringLiteral("row %1").arg(i));
    }
    QRgb BarPixel(int x, int y) { return PixelAt(host, bar->geometry().topLeft() + QPoint(x, y)); }
    int Track() const { return bar->height() - 16 - 16 - 20; }
    int ExpectedThumbTop(int position) const {
        return 16 + int(position * (double(Track()) / list->ScrollLimit()));
    }
    void Timer(int id) {
        ASSERT_NE(id, 0);
        QTimerEvent e(id);
        QCoreApplication::sendEvent(bar, &e);
    }
    int Interval(int id) {
        for (const auto& t : QAbstractEventDispatcher::instance()->registeredTimers(bar))
            if (t.timerId == id) return t.interval;
        return -1;
    }
};

TEST_F(ScrollBarTest, StandsBesideTheListInItsRightHandStrip) {
    EXPECT_EQ(list->geometry(), QRect(10, 10, 100, 140));
    EXPECT_EQ(bar->geometry(), QRect(110, 10, 16, 140));
    EXPECT_EQ(list->TextColumnWidth(), 100 - 16 - 40);
}

TEST_F(ScrollBarTest, AListWithFewerRowsThanFitGetsAFlatBar) {
    Fill(2);
    ASSERT_EQ(list->ScrollLimit(), 0);
    const QImage shot = Shot(host).copy(bar->geometry());
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            ASSERT_EQ(shot.pixel(x, y) & 0xFFFFFF, Rgb(Qt::white)) << x << "," << y;
}

TEST_F(ScrollBarTest, DrawsArrowsTrackAndThumbWhenTheListScrolls) {
    Fill(40);
    ASSERT_GT(list->ScrollLimit(), 0);
    EXPECT_EQ(bar->ThumbTop(), 16);
    EXPECT_EQ(BarPixel(8, 8), Rgb(kUp));
    EXPECT_EQ(BarPixel(8, 139), Rgb(kDown));
    EXPECT_EQ(BarPixel(8, 16), Rgb(kThumb));
    EXPECT_EQ(BarPixel(8, 60), Rgb(kTrack));
}

TEST_F(ScrollBarTest, ThumbFollowsTheListPosition) {
    Fill(40);
    const int limit = list->ScrollLimit();
    for (int position : {0, 1, limit / 2, limit}) {
        list->ScrollRows(position - list->ScrollPosition());
        bar->Update();
        EXPECT_EQ(bar->ThumbTop(), ExpectedThumbTop(position)) << position;
    }
    EXPECT_EQ(bar->ThumbTop(), 140 - 16 - 20);
}

TEST_F(ScrollBarTest, HoldingTheDownArrowRepeatsAfterTheFirstDelay) {
    Fill(40);
    const QPoint arrow(8, 130);
    pointer::Press(bar, arrow);
    EXPECT_EQ(list->ScrollPosition(), 0);  // nothing on the press itself
    const int first = bar->FirstRepeatTimerId();
    EXPECT_EQ(Interval(first), 250);
    EXPECT_EQ(bar->RepeatTimerId(), 0);
    EXPECT_EQ(BarPixel(8, 130), Rgb(kDownPressed));

    Timer(first);
    EXPECT_EQ(list->ScrollPosition(), 0);
    EXPECT_EQ(bar->FirstRepeatTimerId(), 0);
    const int repeat = bar->RepeatTimerId();
    EXPECT_EQ(Interval(repeat), 50);
    for (int i = 1; i <= 3; ++i) {
        Timer(repeat);
        EXPECT_EQ(list->ScrollPosition(), i);
    }
    pointer::Release(bar, arrow);
    EXPECT_EQ(list->ScrollPosition(), 4);  // one more step on release over the arrow
    EXPECT_EQ(bar->RepeatTimerId(), 0);
    EXPECT_EQ(bar->FirstRepeatTimerId(), 0);
    EXPECT_EQ(bar->ThumbTop(), ExpectedThumbTop(4));
}

TEST_F(ScrollBarTest, MovingOffAHeldArrowStopsTheRepeat) {
    Fill(40);
    pointer::Press(bar, {8, 8});
    Timer(bar->FirstRepeatTimerId());
    const int repeat = bar->RepeatTimerId();
    list->ScrollRows(10);
    Timer(repeat);
    EXPECT_EQ(list->ScrollPosition(), 9);
    pointer::Move(bar, {8, 12});
    Timer(repeat);
    EXPECT_EQ(list->ScrollPosition(), 8);
    pointer::Move(&host, {150, 12});  // off the bar: the arrow no longer counts as pressed
    Timer(repeat);
    EXPECT_EQ(list->ScrollPosition(), 8);
    pointer::Release(&host, {150, 12});
}

TEST_F(ScrollBarTest, ReleaseAwayFromTheArrowPagesTowardTheReleasePoint) {
    Fill(60);
    const int page = list->RowsPerPage();
    list->ScrollRows(20);
    bar->Update();
    const int thumbTop = bar->ThumbTop();

    // Down arrow pressed, released on the track above the thumb: one page up.
    pointer::Press(bar, {8, 130});
    pointer::Move(bar, {8, thumbTop - 5});
    pointer::Release(bar, {8, thumbTop - 5});
    EXPECT_EQ(list->ScrollPosition(), 20 - page);

    // Up arrow pressed, released on the track below the thumb: one page down.
    bar->Update();
    const int below = bar->ThumbTop() + 25;
    pointer::Press(bar, {8, 8});
    pointer::Move(bar, {8, below});
    pointer::Release(bar, {8, below});
    EXPECT_EQ(list->ScrollPosition(), 20);

    // A plain click on the track pages too.
    bar->Update();
    pointer::Click(bar, {8, bar->ThumbTop() + 25});
    EXPECT_EQ(list->ScrollPosition(), 20 + page);
}

TEST_F(ScrollBarTest, DraggedThumbStaysBetweenTheArrowsAndScrollsWholeRows) {
    Fill(40);
    const int limit = list->ScrollLimit();
    pointer::Press(bar, {8, 26});
    EXPECT_TRUE(bar->ThumbDragging());
    pointer::Move(bar, {8, 139});
    EXPECT_EQ(list->ScrollPosition(), limit);
    EXPECT_EQ(bar->ThumbTop(), 140 - 16 - 20);
    EXPECT_EQ(BarPixel(8, 110), Rgb(kThumbPressed));
    pointer::Move(bar, {8, 16 + Track() / 2 + 10});
    EXPECT_EQ(list->ScrollPosition(), int((Track() / 2) / (double(Track()) / limit)));
    pointer::Move(bar, {8, -5});
    EXPECT_EQ(list->ScrollPosition(), 0);
    EXPECT_EQ(bar->ThumbTop(), 16);
    pointer::Release(bar, {8, -5});
    EXPECT_EQ(list->ScrollPosition(), 0);  // the end of a drag never pages
    EXPECT_FALSE(bar->ThumbDragging());
}

TEST_F(ScrollBarTest, NothingToScrollMeansTheThumbRestsAndDraggingDoesNothing) {
    Fill(2);
    pointer::Press(bar, {8, 20});
    pointer::Move(bar, {8, 100});
    EXPECT_EQ(bar->ThumbTop(), 16);
    EXPECT_EQ(list->ScrollPosition(), 0);
    pointer::Release(bar, {8, 100});
    EXPECT_EQ(list->ScrollPosition(), 0);
}

TEST_F(ScrollBarTest, PartsLightUnderThePointerAndGoOutWhenItMovesOnToTheList) {
    Fill(40);
    pointer::Move(bar, {8, 8});
    EXPECT_TRUE(bar->UpPressed());
    EXPECT_EQ(BarPixel(8, 8), Rgb(kUpPressed));
    pointer::Move(list, {50, 8});  // the list passes its moves on to the bar
    EXPECT_FALSE(bar->UpPressed());
    EXPECT_EQ(BarPixel(8, 8), Rgb(kUp));
}

TEST_F(ScrollBarTest, WheelAndKeysScrollTheListAndMoveTheThumb) {
    Fill(40);
    QWheelEvent notch(QPointF(50, 50), list->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &notch);
    EXPECT_EQ(list->ScrollPosition(), QApplication::wheelScrollLines());
    EXPECT_EQ(bar->ThumbTop(), ExpectedThumbTop(list->ScrollPosition()));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(list->FirstSelected(), 39);
    EXPECT_EQ(list->ScrollPosition(), list->ScrollLimit());
    EXPECT_EQ(bar->ThumbTop(), 140 - 16 - 20);
}

TEST_F(ScrollBarTest, RowsShowTheSkinColoursForSelectedAndNormalRows) {
    Fill(5);
    pointer::Click(list, list->RowRect(1).center());
    ASSERT_TRUE(list->IsSelected(1));
    const QImage shot = Shot(host).copy(list->geometry());
    const QRect selected = list->RowRect(1), normal = list->RowRect(2);
    EXPECT_EQ(shot.pixel(selected.right(), selected.center().y()) & 0xFFFFFF, Rgb(QColor(0, 0, 128)));
    EXPECT_EQ(shot.pixel(normal.right(), normal.center().y()) & 0xFFFFFF, Rgb(Qt::white));
    auto count = [&](const QRect& r, QColor c) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += (shot.pixel(x, y) & 0xFFFFFF) == Rgb(c);
        return n;
    };
    EXPECT_GT(count(selected, Qt::yellow), 0);
    EXPECT_EQ(count(selected, Qt::black), 0);
    EXPECT_GT(count(normal, Qt::black), 0);
    EXPECT_EQ(count(list->rect().adjusted(0, 5 * list->RowHeight(), 0, 0), Qt::black), 0);
}

}  // namespace
