// The test picture and sound: what a recording of them is measured by.
#include "component/sources/TestPattern.h"
#include "component/sources/TestTone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using component::TestPattern;
using component::TestTone;

namespace {

double MeanLuma(const QImage& img) {
    const QImage g = img.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x) sum += g.constScanLine(y)[x];
    return sum / (double(g.width()) * g.height());
}

TEST(TestPattern, CounterReadsBackAtEverySize) {
    for (QSize size : {QSize(160, 120), QSize(320, 240), QSize(1280, 720)}) {
        TestPattern p(size.width(), size.height());
        for (int64_t index : {int64_t(0), int64_t(1), int64_t(29), int64_t(30), int64_t(123457),
                              (int64_t(1) << 24) - 1})
            EXPECT_EQ(TestPattern::ReadCounter(p.Render(index, 30).ToImage()), index) << index;
        EXPECT_EQ(TestPattern::ReadCounter(p.Render(int64_t(1) << 24, 30).ToImage()), 0);  // wraps
    }
}

TEST(TestPattern, FlashesWhiteOnTheFirstFrameOfEachSecond) {
    TestPattern p(320, 240);
    for (int64_t index = 0; index < 60; ++index) {
        const double luma = MeanLuma(p.Render(index, 30).ToImage());
        if (index % 30 == 0) EXPECT_GT(luma, 200) << index;
        else EXPECT_LT(luma, 150) << index;
    }
    EXPECT_TRUE(TestPattern::IsFlash(50, 25));
    EXPECT_FALSE(TestPattern::IsFlash(51, 25));
}

TEST(TestPattern, PicturesStillHeldAreNotOverwritten) {
    TestPattern p(160, 120);
    std::vector<component::YuvImage> held;
    for (int64_t i = 0; i < 10; ++i) held.push_back(p.Render(i, 30));
    for (int64_t i = 10; i < 40; ++i) p.Render(i, 30);  // planes of gone pictures are used again
    for (int64_t i = 0; i < 10; ++i) EXPECT_EQ(TestPattern::ReadCounter(held[size_t(i)].ToImage()), i);
}

TEST(TestTone, BeepsDuringTheFirstTenthOfEachSecond) {
    const int rate = 48000;
    std::vector<int16_t> buf(size_t(rate) * 2 * 2);
    TestTone::Fill(int64_t(rate) * 7, rate, 2, buf.data(), rate * 2);  // seconds 7 and 8
    auto at = [&](int frame) { return std::abs(int(buf[size_t(frame) * 2])); };
    int loud = 0, quiet = 0;
    for (int i = 0; i < rate * 2; ++i) {
        const bool inBeep = (i % rate) < rate / 10;
        if (inBeep) loud = std::max(loud, at(i));
        else quiet = std::max(quiet, at(i));
        EXPECT_EQ(buf[size_t(i) * 2], buf[size_t(i) * 2 + 1]);
    }
    EXPECT_GT(loud, 16000);
    EXPECT_EQ(quiet, 0);
    // The beep begins right at the second: within the first few samples it is already rising.
    EXPECT_GT(at(12), 1000);
}

}  // namespace
