#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "NaiveRegion.h"
#include "platform/Region.h"

using platform::MakeColour;
using platform::RegionFromColourKey;

namespace {
const platform::Colour kKey = MakeColour(255, 0, 255);

QImage Filled(int w, int h, QRgb rgb) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(rgb);
    return img;
}
bool SameRegion(const QRegion& a, const QRegion& b) { return (a ^ b).isEmpty(); }
}  // namespace

TEST(RegionFromColourKey, AllKeyGivesEmptyRegionAndCountsEveryPixel) {
    long removed = 0;
    const QRegion r = RegionFromColourKey(Filled(7, 5, qRgb(255, 0, 255)), kKey, &removed);
    EXPECT_TRUE(r.isEmpty());
    EXPECT_EQ(removed, 35);
}

TEST(RegionFromColourKey, NoKeyGivesTheWholeRectangle) {
    long removed = -1;
    const QRegion r = RegionFromColourKey(Filled(9, 4, qRgb(1, 2, 3)), kKey, &removed);
    EXPECT_TRUE(SameRegion(r, QRegion(0, 0, 9, 4)));
    EXPECT_EQ(removed, 0);
}

TEST(RegionFromColourKey, NullImageGivesEmptyRegion) {
    EXPECT_TRUE(RegionFromColourKey(QImage(), kKey).isEmpty());
}

TEST(RegionFromColourKey, MatchesPixelByPixelRemovalOnRandomPictures) {
    QRandomGenerator rng(1234);
    for (int round = 0; round < 20; ++round) {
        const int w = 1 + int(rng.bounded(40)), h = 1 + int(rng.bounded(30));
        QImage img = Filled(w, h, qRgb(10, 20, 30));
        const int percent = int(rng.bounded(101));
        long expectedKeys = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (int(rng.bounded(100)) < percent) {
                    img.setPixel(x, y, qRgb(255, 0, 255));
                    ++expectedKeys;
                }
        long removed = 0;
        const QRegion fast = RegionFromColourKey(img, kKey, &removed);
        EXPECT_TRUE(SameRegion(fast, NaiveRegionFromColourKey(img, kKey))) << "round " << round;
        EXPECT_EQ(removed, expectedKeys);
    }
}

TEST(RegionFromColourKey, RoundedCornersAreCutOut) {
    QImage img = Filled(20, 20, qRgb(0, 0, 200));
    img.setPixel(0, 0, qRgb(255, 0, 255));
    img.setPixel(19, 19, qRgb(255, 0, 255));
    const QRegion r = RegionFromColourKey(img, kKey);
    EXPECT_FALSE(r.contains(QPoint(0, 0)));
    EXPECT_FALSE(r.contains(QPoint(19, 19)));
    EXPECT_TRUE(r.contains(QPoint(1, 0)));
    EXPECT_TRUE(r.contains(QPoint(10, 10)));
}

TEST(RegionFromColourKey, IgnoresAlphaWhenMatchingTheKey) {
    QImage img(3, 1, QImage::Format_ARGB32);
    img.fill(qRgba(255, 0, 255, 0));
    img.setPixel(1, 0, qRgba(0, 0, 0, 255));
    const QRegion r = RegionFromColourKey(img, kKey);
    EXPECT_TRUE(SameRegion(r, QRegion(1, 0, 1, 1)));
}
