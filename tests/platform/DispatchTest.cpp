#include <gtest/gtest.h>

#include "platform/Dispatch.h"

using namespace platform;

TEST(Variant, TypedReadsOfTheWrongTypeAreDispatchErrors) {
    EXPECT_EQ(Variant::I16(-3).ToI16(), -3);
    EXPECT_EQ(Variant::Colour(0x123456).ToColour(), 0x123456u);
    EXPECT_THROW(Variant::I32(5).ToI16(), DispatchError);
    EXPECT_THROW(Variant::Str("x").ToBool(), DispatchError);
    EXPECT_THROW(Variant().ToStr(), DispatchError);
    try {
        Variant::Bool(true).ToColour();
        FAIL();
    } catch (const DispatchError& e) {
        EXPECT_EQ(e.ErrorCode(), DispatchError::Code::TypeMismatch);
    }
}

TEST(Variant, EqualityComparesTypeAndValue) {
    EXPECT_EQ(Variant::I16(1), Variant::I16(1));
    EXPECT_FALSE(Variant::I16(1) == Variant::I32(1));
    EXPECT_FALSE(Variant::Colour(1) == Variant::I32(1));
    const Variant text = Variant::Str("a");
    EXPECT_EQ(text.Describe(), "str \"a\"");
}

TEST(RequireArgs, RejectsWrongCountAndWrongTypes) {
    const std::vector<Variant> ok{Variant::I16(0), Variant::Str("p")};
    EXPECT_NO_THROW(RequireArgs(0x7c, ok, {VariantType::I16, VariantType::Str}));
    try {
        RequireArgs(0x7c, {Variant::I16(0)}, {VariantType::I16, VariantType::Str});
        FAIL();
    } catch (const DispatchError& e) {
        EXPECT_EQ(e.ErrorCode(), DispatchError::Code::BadArgCount);
        EXPECT_EQ(e.Dispid(), 0x7c);
    }
    try {
        RequireArgs(0x7c, {Variant::I32(0), Variant::Str("p")}, {VariantType::I16, VariantType::Str});
        FAIL();
    } catch (const DispatchError& e) {
        EXPECT_EQ(e.ErrorCode(), DispatchError::Code::TypeMismatch);
    }
}
