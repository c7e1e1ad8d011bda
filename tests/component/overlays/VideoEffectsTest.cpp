// The processing stage's effects on small pictures whose pixels are known exactly.
#include "StageRun.h"

#include "component/overlays/VideoEffects.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

using component::OverlaySettings;
using component::ProcessingStage;

namespace {

constexpr int kW = 8, kH = 4;
const QRgb kTopLeft = qRgb(255, 0, 0);
const QRgb kTopRight = qRgb(0, 255, 0);
const QRgb kGround = qRgb(10, 200, 50);

// The markers are 2x2 blocks, which keep their colour in the recorded 4:2:0 planes.
QImage Marked() {
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(kGround);
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
        img.setPixelColor(p, QColor(kTopLeft));
        img.setPixelColor(QPoint(kW - 1 - p.x(), p.y()), QColor(kTopRight));
    }
    return img;
}

bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QImage Processed(const OverlaySettings& s, QImage img = Marked()) { return RunStage(s, img); }

struct RotationCase {
    int rotation;
    QPoint topLeftGoesTo;
    QPoint topRightGoesTo;
};

// Quarter turns are clockwise; the flip comes after the turn.
const RotationCase kRotations[] = {
    {0, {0, 0}, {7, 0}},  {1, {3, 0}, {3, 7}},  {2, {7, 3}, {0, 3}},  {3, {0, 7}, {0, 0}},
    {4, {7, 0}, {0, 0}},  {5, {0, 0}, {0, 7}},  {6, {0, 3}, {7, 3}},  {7, {3, 7}, {3, 0}},
    {8, {0, 3}, {7, 3}},  {9, {3, 7}, {3, 0}},  {10, {7, 0}, {0, 0}}, {11, {0, 0}, {0, 7}},
};

}  // namespace

TEST(VideoEffects, EachRotationPutsTheCornerMarkersWhereItsLabelSays) {
    static_assert(std::size(kRotations) == component::kRotationLabels.size());
    for (const RotationCase& c : kRotations) {
        SCOPED_TRACE(component::kRotationLabels[size_t(c.rotation)]);
        OverlaySettings s = NoOverlays();
        s.rotation = int16_t(c.rotation);
        const QImage out = Processed(s);
        const bool quarter = c.rotation % 2 != 0;
        ASSERT_EQ(out.size(), quarter ? QSize(kH, kW) : QSize(kW, kH));
        EXPECT_TRUE(Near(out.pixel(c.topLeftGoesTo), kTopLeft, 8)) << std::hex << out.pixel(c.topLeftGoesTo);
        EXPECT_TRUE(Near(out.pixel(c.topRightGoesTo), kTopRight, 8)) << std::hex << out.pixel(c.topRightGoesTo);
        int marked = 0;
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) marked += !Near(out.pixel(x, y), kGround, 8);
        EXPECT_EQ(marked, 8);
    }
}

TEST(VideoEffects, RotationsOutsideTheListLeaveThePictureAlone) {
    for (int16_t r : {int16_t(-1), int16_t(12), int16_t(32767)}) {
        OverlaySettings s = NoOverlays();
        s.rotation = r;
        EXPECT_EQ(Processed(s), Processed(NoOverlays())) << r;
    }
}

TEST(VideoEffects, InvertAndGreyGiveTheExpectedValuesInEveryCombination) {
    struct Case {
        bool invert, grey;
        int rotation;
    };
    for (const Case c : {Case{true, false, 0}, Case{false, true, 0}, Case{true, true, 0},
                         Case{true, true, 1}, Case{true, false, 7}, Case{false, true, 11}}) {
        SCOPED_TRACE(testing::Message() << c.invert << c.grey << c.rotation);
        OverlaySettings s = NoOverlays();
        s.invert = c.invert;
        s.greyScale = c.grey;
        s.rotation = int16_t(c.rotation);
        const QImage out = Processed(s);
        const QPoint ground(2, 2);  // off both markers in every orientation
        const QRgb p = out.pixel(ground);
        int r = qRed(kGround), g = qGreen(kGround), b = qBlue(kGround);
        if (c.invert) r = 255 - r, g = 255 - g, b = 255 - b;
        if (c.grey) {
            const int y = int(0.299 * r + 0.587 * g + 0.114 * b + 0.5);
            r = g = b = y;
        }
        // The effects work on the planes: a few levels off the RGB arithmetic.
        EXPECT_TRUE(Near(p, AsRecorded(qRgb(r, g, b)), 4)) << std::hex << p << " " << AsRecorded(qRgb(r, g, b));
        if (c.grey) {
            EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
        }
        EXPECT_EQ(qAlpha(p), 255);
    }
}

TEST(VideoEffects, TheCapturedPictureSharedWithOthersIsNotChanged) {
    // Each effect alone: each must write into planes of its own.
    for (const auto& set : {+[](OverlaySettings& s) { s.invert = true; }, +[](OverlaySettings& s) { s.greyScale = true; },
                            +[](OverlaySettings& s) { s.rotation = 4; }, +[](OverlaySettings& s) { s.dateTime.show = true, s.dateTime.top = 0; }}) {
        const component::YuvImage original = component::YuvImage::FromImage(Marked());
        const QImage before = original.ToImage();
        component::YuvImage frame = original;  // shares the planes, as the preview and the encoder do
        OverlaySettings s = NoOverlays();
        set(s);
        ProcessingStage stage;
        stage.SetOverlaySettings(s);
        stage.Apply(frame, 0);
        EXPECT_EQ(original.ToImage(), before);
        EXPECT_NE(frame.ToImage(), before);
    }
}
