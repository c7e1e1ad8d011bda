#include <gtest/gtest.h>

#include "RowName.h"

#include "ControlsFixture.h"
#include "controls/SkinSlider.h"

namespace {

struct PixelRow {
    const char* label;
    int length, thumb, position, rangeMin, rangeMax, pixel;
};

class SliderPixel : public ::testing::TestWithParam<PixelRow> {};

TEST_P(SliderPixel, PositionToPixel) {
    const PixelRow& r = GetParam();
    EXPECT_EQ(SliderPixelFromPosition(r.length, r.thumb, r.position, r.rangeMin, r.rangeMax), r.pixel);
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, SliderPixel,
    ::testing::Values(PixelRow{"start_is_half_a_thumb_in", 100, 10, 0, 0, 7200, 5},
                      PixelRow{"end_is_half_a_thumb_short", 100, 10, 7200, 0, 7200, 95},
                      PixelRow{"middle", 100, 10, 3600, 0, 7200, 50},
                      PixelRow{"truncates_toward_zero", 100, 10, 1, 0, 7200, 5},
                      PixelRow{"odd_thumb_halves_down", 101, 11, 7200, 0, 7200, 95},
                      PixelRow{"offset_range", 100, 10, 150, 100, 200, 50},
                      PixelRow{"equal_range_ends_rest_at_start", 100, 10, 7, 7, 7, 5},
                      PixelRow{"thumb_as_long_as_slider_rests_at_start", 10, 10, 50, 0, 100, 5}),
    RowName());

struct PositionRow {
    const char* label;
    int length, thumb, pixel, rangeMin, rangeMax, position;
};

class SliderPosition : public ::testing::TestWithParam<PositionRow> {};

TEST_P(SliderPosition, PixelToPosition) {
    const PositionRow& r = GetParam();
    EXPECT_EQ(SliderPositionFromPixel(r.length, r.thumb, r.pixel, r.rangeMin, r.rangeMax), r.position);
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, SliderPosition,
    ::testing::Values(PositionRow{"start", 100, 10, 5, 0, 7200, 0},
                      PositionRow{"end", 100, 10, 95, 0, 7200, 7200},
                      PositionRow{"middle", 100, 10, 50, 0, 7200, 3600},
                      PositionRow{"truncates", 100, 10, 6, 0, 7200, 80},
                      PositionRow{"before_start_toward_zero", 100, 10, 4, 0, 7200, -80},
                      PositionRow{"equal_range_ends", 100, 10, 60, 3, 3, 3},
                      PositionRow{"thumb_as_long_as_slider", 10, 10, 5, 20, 40, 20}),
    RowName());

const QColor kBack(0, 0, 160), kChannel(200, 200, 0), kThumb(Qt::white), kActive(Qt::cyan);

class SkinSliderTest : public ::testing::Test {
protected:
    FakeSkinHost host;
    Pictures pictures;
    QString channel = pictures.Add("channel.bmp", SolidImage(100, 8, kChannel));
    QString thumb = pictures.Add("thumb.bmp", SolidImage(10, 20, kThumb));
    QString active = pictures.Add("active.bmp", SolidImage(10, 20, kActive));
    SkinSlider* slider = nullptr;

    void SetUp() override {
        slider = Make(channel, thumb, active);
        ASSERT_TRUE(host.ShowAndActivate());
    }
    SkinSlider* Make(const QString& channelPath, const QString& thumbPath, const QString& activePath,
                     QPoint at = {20, 50}) {
        auto* s = new SkinSlider(&host, &host, QRect(at, QSize(1, 1)));
        s->transparentColor = 0xFF00FF;
        s->SetChannelImage(channelPath);
        s->SetThumbImages(thumbPath, activePath, true);
        s->SetDrawFocusRect(false, false);
        s->SetRange(0, 7200, false);
        return s;
    }
    // A pixel of the slider, in its own coordinates.
    QRgb At(int x, int y, SkinSlider* s = nullptr) {
        s = s ? s : slider;
        return PixelAt(host, s->geometry().topLeft() + QPoint(x, y));
    }
};

TEST_F(SkinSliderTest, SizesItselfFromThePictures) {
    EXPECT_EQ(slider->size(), QSize(100, 20));
    EXPECT_EQ(slider->ThumbSize(), QSize(10, 20));
}

TEST_F(SkinSliderTest, ThumbFlushWithEitherEndAndChannelUpToItsCentre) {
    slider->SetPosition(0);
    EXPECT_EQ(slider->ThumbPixel(), 5);
    EXPECT_EQ(At(0, 10), Rgb(kThumb));
    EXPECT_EQ(At(9, 10), Rgb(kThumb));
    EXPECT_EQ(At(10, 10), Rgb(kBack));  // nothing of the channel past the thumb's centre

    slider->SetPosition(7200);
    EXPECT_EQ(slider->ThumbPixel(), 95);
    EXPECT_EQ(At(89, 10), Rgb(kChannel));
    EXPECT_EQ(At(90, 10), Rgb(kThumb));
    EXPECT_EQ(At(99, 10), Rgb(kThumb));
}

TEST_F(SkinSliderTest, SetPositionClampsIntoTheRange) {
    slider->SetPosition(9999);
    EXPECT_EQ(slider->GetPosition(), 7200);
    slider->SetPosition(-5);
    EXPECT_EQ(slider->GetPosition(), 0);
}

TEST_F(SkinSliderTest, SetRangeLeavesThePositionUntilTheNextSetPosition) {
    slider->SetPosition(5000);
    slider->SetRange(0, 100, false);
    EXPECT_EQ(slider->GetPosition(), 5000);
    slider->SetPosition(slider->GetPosition());
    EXPECT_EQ(slider->GetPosition(), 100);
}

TEST_F(SkinSliderTest, HorizontalChannelSitsHalfTheHeightDifferenceDown) {
    slider->SetPosition(7200);
    // Thumb 20 high, channel 8: the channel runs from y = 6 to y = 13.
    EXPECT_EQ(At(2, 5), Rgb(kBack));
    EXPECT_EQ(At(2, 6), Rgb(kChannel));
    EXPECT_EQ(At(2, 13), Rgb(kChannel));
    EXPECT_EQ(At(2, 14), Rgb(kBack));
}

TEST_F(SkinSliderTest, VerticalSliderFillsFromTheThumbDown) {
    const QString vChannel = pictures.Add("vchannel.bmp", SolidImage(8, 100, kChannel));
    const QString vThumb = pictures.Add("vthumb.bmp", SolidImage(20, 10, kThumb));
    SkinSlider* v = Make(vChannel, vThumb, QString(), {150, 20});
    v->vertical = true;
    v->SetPosition(0);
    EXPECT_EQ(v->ThumbPixel(), 5);
    EXPECT_EQ(At(10, 9, v), Rgb(kThumb));
    EXPECT_EQ(At(6, 50, v), Rgb(kChannel));  // offset |20 - 8| / 2 = 6
    EXPECT_EQ(At(5, 50, v), Rgb(kBack));
    v->SetPosition(7200);
    EXPECT_EQ(At(6, 50, v), Rgb(kBack));
    EXPECT_EQ(At(10, 95, v), Rgb(kThumb));
}

TEST_F(SkinSliderTest, DraggingJumpsTellsTheHostAndClampsAtBothEnds) {
    pointer::Press(slider, {50, 10});
    EXPECT_EQ(slider->GetPosition(), 3600);
    EXPECT_TRUE(slider->hasFocus());
    EXPECT_EQ(At(50, 2), Rgb(kActive));  // the active thumb while dragging
    pointer::Move(slider, {-30, 10});
    EXPECT_EQ(slider->GetPosition(), 0);
    pointer::Move(slider, {170, 40});
    EXPECT_EQ(slider->GetPosition(), 7200);
    pointer::Release(slider, {170, 40});
    EXPECT_FALSE(slider->IsDragging());
    EXPECT_EQ(At(95, 2), Rgb(kThumb));
    EXPECT_EQ(host.calls, (QStringList{"slider 0 3600", "slider 0 0", "slider 0 7200"}));
    pointer::Move(slider, {20, 10});  // no drag, no report
    EXPECT_EQ(host.calls.size(), 3);
}

struct KeyRow {
    Qt::Key key;
    int from, to;
};

TEST_F(SkinSliderTest, KeysMoveAndClampWithoutTellingTheHost) {
    const KeyRow rows[] = {{Qt::Key_PageUp, 100, 80},  {Qt::Key_PageDown, 100, 120},
                           {Qt::Key_End, 100, 7200},   {Qt::Key_Home, 100, 0},
                           {Qt::Key_Left, 100, 99},    {Qt::Key_Up, 100, 99},
                           {Qt::Key_Right, 100, 101},  {Qt::Key_Down, 100, 101},
                           {Qt::Key_Left, 0, 0},       {Qt::Key_PageUp, 10, 0},
                           {Qt::Key_Right, 7200, 7200}, {Qt::Key_PageDown, 7190, 7200}};
    slider->setFocus();
    for (const KeyRow& r : rows) {
        slider->SetPosition(r.from);
        QTest::keyClick(slider, r.key);
        EXPECT_EQ(slider->GetPosition(), r.to) << "key " << r.key << " from " << r.from;
    }
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_EQ(slider->SetPageSize(100), 20);
    slider->SetPosition(500);
    QTest::keyClick(slider, Qt::Key_PageDown);
    EXPECT_EQ(slider->GetPosition(), 600);
}

TEST_F(SkinSliderTest, TabGivesItTheFocus) {
    host.setFocus();
    QTest::keyClick(&host, Qt::Key_Tab);
    EXPECT_TRUE(slider->hasFocus());
}

TEST_F(SkinSliderTest, DisabledSliderShowsNoThumbAndIgnoresTheMouse) {
    slider->SetPosition(0);
    slider->SetEnabled(false);
    EXPECT_NE(At(0, 0), Rgb(kThumb));
    pointer::Click(slider, {50, 10});
    EXPECT_EQ(slider->GetPosition(), 0);
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(SkinSliderTest, KeyColouredThumbPixelsShowWhatIsUnder) {
    QImage img = SolidImage(10, 20, kThumb);
    img.setPixel(0, 0, qRgb(255, 0, 255));
    SkinSlider* s = Make(channel, pictures.Add("keyed.bmp", img), QString(), {20, 90});
    s->SetPosition(7200);
    EXPECT_EQ(At(90, 0, s), Rgb(kBack));
    EXPECT_EQ(At(91, 0, s), Rgb(kThumb));
}

TEST_F(SkinSliderTest, CopiesTheWindowBackgroundOnlyOnce) {
    slider->SetPosition(0);
    EXPECT_EQ(At(50, 1), Rgb(kBack));
    host.background = SolidImage(200, 150, Qt::darkGreen);
    host.update();
    slider->update();
    EXPECT_EQ(PixelAt(host, {5, 5}), Rgb(Qt::darkGreen));
    EXPECT_EQ(At(50, 1), Rgb(kBack));  // still the copy taken at the first paint
}

TEST_F(SkinSliderTest, MissingPicturesLeaveAChannelSizedSliderWithoutThumb) {
    SkinSlider* s = Make(channel, pictures.Missing(), QString(), {20, 100});
    EXPECT_EQ(s->size(), QSize(100, 8));
    EXPECT_FALSE(s->SetThumbImages(pictures.Missing(), QString(), true));
    EXPECT_TRUE(s->SetThumbImages(QString(), QString(), true));  // null: no thumb, no failure
    // A named active picture that does not load takes the thumb with it.
    EXPECT_FALSE(s->SetThumbImages(thumb, pictures.Missing(), true));
    s->SetPosition(7200);
    EXPECT_EQ(At(1, 4, s), Rgb(kChannel));
    EXPECT_EQ(At(99, 4, s), Rgb(kChannel));
}

TEST_F(SkinSliderTest, DegenerateRangeOrLengthRestsAtTheStart) {
    slider->SetRange(7, 7, true);
    slider->SetPosition(7);
    EXPECT_EQ(slider->ThumbPixel(), 5);
    pointer::Click(slider, {60, 10});
    EXPECT_EQ(slider->GetPosition(), 7);

    const QString shortChannel = pictures.Add("short.bmp", SolidImage(10, 8, kChannel));
    SkinSlider* s = Make(shortChannel, thumb, QString(), {20, 100});
    pointer::Click(s, {9, 10});
    EXPECT_EQ(s->GetPosition(), 0);
    EXPECT_EQ(s->ThumbPixel(), 5);
}

}  // namespace
