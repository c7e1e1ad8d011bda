#include "component/media/CaptureClock.h"
#include "component/recording/Timeline.h"

#include <gtest/gtest.h>

using component::Timeline;

namespace {

constexpr int64_t kS = 1000000;

TEST(Timeline, StartsOnTheNextFrameOfTheGrid) {
    Timeline t(30);
    EXPECT_FALSE(t.Map(10 * kS).has_value());  // nothing before it begins
    t.Begin(10 * kS + 1);
    EXPECT_EQ(t.startUs(), component::GridTimeUs(301, 30));
    EXPECT_FALSE(t.Map(10 * kS).has_value());
    EXPECT_EQ(t.Map(t.startUs()), 0);
    EXPECT_EQ(t.Map(t.startUs() + 123), 123);
}

TEST(Timeline, PausesAreLeftOutInWholeFrames) {
    Timeline t(25);
    t.Begin(0);
    t.Pause(1 * kS);
    EXPECT_TRUE(t.IsPaused());
    EXPECT_EQ(t.Position(kS + 300000), kS);  // holds still while paused
    t.Resume(kS + 390000);                  // 390 ms, lengthened to 400 ms (10 frames)
    EXPECT_FALSE(t.IsPaused());
    EXPECT_EQ(t.pausedTotalUs(), 400000);
    EXPECT_FALSE(t.Map(kS + 395000).has_value());
    EXPECT_EQ(t.Map(kS + 400000), kS);
    EXPECT_EQ(t.Map(2 * kS), kS + 600000);
    EXPECT_EQ(t.Map(999999), 999999);  // before the pause: untouched

    t.Pause(3 * kS);
    t.Resume(3 * kS + 40000);
    EXPECT_EQ(t.pausedTotalUs(), 440000);
    EXPECT_EQ(t.Map(4 * kS), 4 * kS - 440000);
}

TEST(Timeline, RepeatedPauseAndResumeAreHarmless) {
    Timeline t(30);
    t.Begin(0);
    t.Resume(5);  // not paused: nothing happens
    t.Pause(kS);
    t.Pause(kS + 500000);  // already paused: the first pause holds
    t.Resume(kS + 2 * kS / 30);
    EXPECT_EQ(t.pausedTotalUs(), component::GridTimeUs(2, 30));
}

TEST(Timeline, MappedTimesNeverGoBack) {
    Timeline t(30);
    t.Begin(0);
    int64_t last = -1;
    for (int64_t us = 0; us < 5 * kS; us += 7919) {
        if (us > kS && us < kS + 8000) t.Pause(us);
        if (us > 2 * kS && us < 2 * kS + 8000) t.Resume(us);
        const int64_t p = t.Position(us);
        EXPECT_GE(p, last);
        last = p;
    }
}

}  // namespace
