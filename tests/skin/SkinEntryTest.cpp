#include <gtest/gtest.h>

#include "skin/SkinEntry.h"

TEST(SkinEntry, FieldsKeepTrailingSpacesAndDropLeadingOnes) {
    SkinEntry e("BUTTON_PLAY ,  play.bmp,1, 2");
    EXPECT_EQ(e.NextField(), "BUTTON_PLAY ");
    EXPECT_EQ(e.NextField(), "play.bmp");
    EXPECT_EQ(e.NextInt(), 1);
    EXPECT_EQ(e.NextField(), "2");
}

TEST(SkinEntry, LastFieldRepeatsWhenFieldsRunOut) {
    // A seven-field button: the tip is read again as the toggle flag.
    SkinEntry e("B,img.bmp,1,2,3,4,Toggles the mode");
    EXPECT_EQ(e.NextField(), "B");
    EXPECT_EQ(e.NextField(), "img.bmp");
    EXPECT_EQ(e.ParseRect(), (SkinRect{1, 2, 3, 4}));
    EXPECT_EQ(e.NextField(), "Toggles the mode");
    EXPECT_TRUE(e.NextFlag());
    EXPECT_EQ(e.NextField(), "Toggles the mode");
}

TEST(SkinEntry, RectCoordinatesAreBoundedSoSizesCannotOverflow) {
    SkinEntry e("-99999999999,5,2147483647,-3");
    const SkinRect r = e.ParseRect();
    EXPECT_EQ(r, (SkinRect{-kMaxSkinCoordinate, 5, kMaxSkinCoordinate, -3}));
    EXPECT_EQ(r.width(), 2 * kMaxSkinCoordinate);
    EXPECT_EQ(r.height(), -8);
}

TEST(SkinEntry, EntriesAreCutAt255Characters) {
    SkinEntry e(std::string(300, 'a'));
    EXPECT_EQ(e.NextField().size(), 255u);
}

TEST(SkinEntry, ParseIntReadsLikeAtoi) {
    struct Row { const char* text; int value; } rows[] = {
        {"12", 12}, {"  -7", -7}, {"+3x", 3}, {"", 0}, {"abc", 0}, {"4 5", 4},
        {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1}, {"0x10", 0}};
    for (const auto& r : rows) EXPECT_EQ(SkinEntry::ParseInt(r.text), r.value) << r.text;
}

TEST(SkinEntry, ParseColorSwapsRedAndBlue) {
    struct Row { const char* text; uint32_t value; } rows[] = {
        {"0xFF00FF", 0xFF00FF}, {"0x0000FF", 0xFF0000}, {"0xff0000", 0x0000FF},
        {"0x123456", 0x563412}, {"255", 0xFF0000}, {"0x7F123456", 0x563412},
        {"", kNoColour}, {"red", kNoColour}, {"0x", 0}, {"0xZZ", 0}};
    for (const auto& r : rows) EXPECT_EQ(SkinEntry::ParseColor(r.text), r.value) << r.text;
}

TEST(SkinEntry, FlagsNeedAnUpperCaseT) {
    for (const char* yes : {"TRUE", "T", "Top"}) EXPECT_TRUE(SkinEntry::IsFlagSet(yes)) << yes;
    for (const char* no : {"true", "", "FALSE", " T"}) EXPECT_FALSE(SkinEntry::IsFlagSet(no)) << no;
}

TEST(FormatElapsed, HoursMinutesSecondsCapped) {
    EXPECT_EQ(FormatElapsed(0), "00:00:00");
    EXPECT_EQ(FormatElapsed(7200), "02:00:00");
    EXPECT_EQ(FormatElapsed(3725), "01:02:05");
    EXPECT_EQ(FormatElapsed(359999), "99:59:59");
    EXPECT_EQ(FormatElapsed(400000), "99:59:59");
    EXPECT_EQ(FormatElapsed(-5), "00:00:00");
}
