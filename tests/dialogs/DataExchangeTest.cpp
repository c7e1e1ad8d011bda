#include <gtest/gtest.h>

#include <optional>

#include "platform/DataExchange.h"

using namespace platform;

TEST(ParseInt, FollowsTheEditBoxReadingRules) {
    struct Row {
        const char* text;
        std::optional<int32_t> value;
    };
    const QString blanks30(30, ' ');
    const Row rows[] = {
        {"12", 12},           {" \t-250\t ", -250},   {"+7", 7},
        {"0", 0},             {"007", 7},             {"  0", 0},
        {"", std::nullopt},   {"   ", std::nullopt},  {"-0", std::nullopt},
        {"+0", std::nullopt}, {"abc", std::nullopt},  {"12a", std::nullopt},
        {"1 2", std::nullopt}, {"0x10", std::nullopt}, {"- 5", std::nullopt},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt}, {"99999999999999999999", std::nullopt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(ParseInt32(r.text), r.value);
    }
    // Only the first 31 characters are read.
    EXPECT_EQ(ParseInt32(blanks30 + "5"), 5);
    EXPECT_EQ(ParseInt32(blanks30 + " 5"), std::nullopt);
    EXPECT_EQ(ParseInt32("1" + blanks30 + "x"), 1);
}

TEST(ParseInt, SixteenBitFieldsRejectWhatDoesNotFit) {
    EXPECT_EQ(ParseInt16("32767"), int16_t(32767));
    EXPECT_EQ(ParseInt16("-32768"), int16_t(-32768));
    EXPECT_EQ(ParseInt16("32768"), std::nullopt);
    EXPECT_EQ(ParseInt16("40000"), std::nullopt);
    EXPECT_EQ(ParseInt16("-32769"), std::nullopt);
}

TEST(ParseFloat, TakesPlainDecimalNumbersThatFitAFloat) {
    struct Row {
        const char* text;
        std::optional<float> value;
    };
    const Row rows[] = {
        {"29.97", 29.97f},  {"25", 25.0f},       {" 3.5\t", 3.5f},     {".5", 0.5f},
        {"0.0", 0.0f},      {"1e3", 1000.0f},    {"-2.5E-1", -0.25f},  {"+4", 4.0f},
        {".0", std::nullopt}, {"-0.0", std::nullopt}, {"", std::nullopt},
        {"1e", std::nullopt}, {"inf", std::nullopt}, {"nan", std::nullopt},
        {"0x1p3", std::nullopt}, {"3,5", std::nullopt}, {"1e39", std::nullopt},
        {".", std::nullopt},  {"abc", std::nullopt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(ParseFloat(r.text), r.value);
    }
}

TEST(FormatFloat, UsesSixSignificantDigitsInTheShortestForm) {
    EXPECT_EQ(FormatFloat(25.0f), "25");
    EXPECT_EQ(FormatFloat(29.97f), "29.97");
    EXPECT_EQ(FormatFloat(0.1f), "0.1");
    EXPECT_EQ(FormatFloat(1234567.0f), "1.23457e+06");
    // What is written reads back as the same float.
    for (float f : {29.97f, 0.333333f, 59.94f}) EXPECT_EQ(ParseFloat(FormatFloat(f)), f);
}

TEST(LeadingInt, ReadsTheLeadingNumberOrZero) {
    EXPECT_EQ(LeadingInt("12"), 12);
    EXPECT_EQ(LeadingInt("98 pt"), 98);
    EXPECT_EQ(LeadingInt("x12"), 0);
    EXPECT_EQ(LeadingInt(""), 0);
}
