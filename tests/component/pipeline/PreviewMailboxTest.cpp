#include "component/pipeline/PreviewMailbox.h"

#include <gtest/gtest.h>

using component::PreviewMailbox;
using component::VideoFrame;

namespace {

VideoFrame Frame(int64_t t) { return VideoFrame{component::YuvImage(4, 4), t}; }

TEST(PreviewMailbox, KeepsOnlyTheNewestPictureAndWakesOncePerTake) {
    PreviewMailbox box;
    EXPECT_FALSE(box.Take().has_value());
    EXPECT_TRUE(box.Put(Frame(1)));   // the window must be woken
    EXPECT_FALSE(box.Put(Frame(2)));  // already woken; the stale one is dropped
    EXPECT_FALSE(box.Put(Frame(3)));
    EXPECT_EQ(box.replaced(), 2);
    auto taken = box.Take();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->timeUs, 3);
    EXPECT_FALSE(box.Take().has_value());
    EXPECT_TRUE(box.Put(Frame(4)));
    box.Clear();
    EXPECT_FALSE(box.Take().has_value());
}

}  // namespace
