#include <gtest/gtest.h>

#include "skin/zip/ZipEntryName.h"

namespace {

struct ConversionCase {
    std::string stored;
    bool utf8;
    std::string expected;
};

TEST(ZipEntryName, ConvertsCodePage437AndSeparators) {
    const ConversionCase cases[] = {
        {"skin/a.bmp", false, "skin/a.bmp"},
        {"skin\\a.bmp", false, "skin/a.bmp"},
        {"\x80\x9E\xB0\xE1\xFF", false, "\xC3\x87\xE2\x82\xA7\xE2\x96\x91\xC3\x9F\xC2\xA0"},
        {"\xC3\xA9\\x", true, "\xC3\xA9/x"},  // UTF-8 flag: bytes kept, "\" still a separator
        {"\xC3\xA9", false, "\xE2\x94\x9C\xE2\x8C\x90"},
    };
    for (const ConversionCase& c : cases)
        EXPECT_EQ(ZipEntryName::ToUtf8(c.stored, c.utf8), c.expected) << c.stored;
}

struct PathCase {
    std::string name;
    std::optional<std::vector<std::string>> expected;
};

TEST(ZipEntryName, SafeComponentsStayInsideTheFolder) {
    using V = std::vector<std::string>;
    const PathCase cases[] = {
        {"a.bmp", V{"a.bmp"}},
        {"skin/a.bmp", V{"skin", "a.bmp"}},
        {"./skin//./a.bmp", V{"skin", "a.bmp"}},
        {"skin/", V{"skin"}},
        {"", V{}},
        {"..a/b..", V{"..a", "b.."}},
        {"ab:c/d", V{"ab:c", "d"}},
        {"...", V{"..."}},
        {"..", std::nullopt},
        {"../x", std::nullopt},
        {"a/../b", std::nullopt},
        {"a/..", std::nullopt},
        {"/etc/x", V{"etc", "x"}},
        {"//server/x", V{"server", "x"}},
        {"C:x", V{"x"}},
        {"z:/x", V{"x"}},
        {"C:", V{}},
        {"C:D:x", V{"D:x"}},  // one drive only; the rest is an ordinary name here
        {"C:/../x", std::nullopt},
        {std::string("a\0b", 3), std::nullopt},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(ZipEntryName::SafeComponents(c.name), c.expected) << c.name;
}

}  // namespace
