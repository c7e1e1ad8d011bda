#include <gtest/gtest.h>

#include "skin/CIniFile.h"

TEST(CIniFile, NamesAreCaseInsensitiveAndValuesTrimmedAndUnquoted) {
    const CIniFile ini = CIniFile::FromText(
        "[Screen]\r\n  Main =  back.bmp  \r\n[transparent]\nCOLOR=\"0xFF00FF\"\n"
        "[q]\na='single'\nb=\"unbalanced\nc=\"\"\n");
    EXPECT_EQ(ini.ReadString("SCREEN", "main", "-"), "back.bmp");
    EXPECT_EQ(ini.ReadString("TRANSPARENT", "color", "-"), "0xFF00FF");
    EXPECT_EQ(ini.ReadString("q", "a", "-"), "single");
    EXPECT_EQ(ini.ReadString("q", "b", "-"), "\"unbalanced");
    EXPECT_EQ(ini.ReadString("q", "c", "-"), "");
    EXPECT_EQ(ini.ReadString("q", "missing", "-"), "-");
    EXPECT_EQ(ini.ReadString("nosection", "a", "dflt"), "dflt");
}

TEST(CIniFile, FirstSectionAndFirstKeyWin) {
    const CIniFile ini = CIniFile::FromText("[A]\nk=1\nK=2\n[a]\nk=3\nz=4\n");
    EXPECT_EQ(ini.ReadString("a", "k", ""), "1");
    EXPECT_EQ(ini.ReadString("a", "z", "none"), "none");
}

TEST(CIniFile, ValuesKeepAtMost2047Characters) {
    for (size_t n : {2046u, 2047u, 2048u, 5000u}) {
        const CIniFile ini = CIniFile::FromText("[s]\nk=" + std::string(n, 'x') + "\n");
        EXPECT_EQ(ini.ReadString("s", "k", "").size(), std::min<size_t>(n, 2047)) << n;
    }
}

TEST(CIniFile, SectionKeysInFileOrder) {
    const CIniFile ini = CIniFile::FromText("[BUTTONINFO]\n1=a\n3=b\n; note\nnovalue\n2=c\n[x]\n");
    std::vector<std::string> keys;
    EXPECT_TRUE(ini.ReadSectionKeys("buttoninfo", keys));
    EXPECT_EQ(keys, (std::vector<std::string>{"1", "3", "2"}));
    EXPECT_FALSE(ini.ReadSectionKeys("x", keys));
    EXPECT_TRUE(keys.empty());
    EXPECT_FALSE(ini.ReadSectionKeys("missing", keys));
}

TEST(CIniFile, KeyListStopsAtItsBuffer) {
    // Names of 9 characters take 10 places each; 16383 places hold 1638 whole names, and the
    // 3 places left hold a cut name of 2 characters and its terminator.
    std::string text = "[s]\n";
    for (int i = 0; i < 2000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "k%08d", i);
        text += std::string(name) + "=v\n";
    }
    std::vector<std::string> keys;
    ASSERT_TRUE(CIniFile::FromText(text).ReadSectionKeys("s", keys));
    ASSERT_EQ(keys.size(), 1639u);
    EXPECT_EQ(keys[1637], "k00001637");
    EXPECT_EQ(keys[1638], "k0");

    // Exactly full: the last whole name fits and nothing is cut.
    std::string exact = "[s]\n";
    for (int i = 0; i < 1638; ++i) exact += "kaaaaaaaa=v\n";
    exact += std::string(2, 'b') + "=v\n";  // 1638*10 + 3 = 16383
    ASSERT_TRUE(CIniFile::FromText(exact).ReadSectionKeys("s", keys));
    EXPECT_EQ(keys.size(), 1639u);
    EXPECT_EQ(keys.back(), "bb");
    // One more character: the last name is cut to one.
    std::string over = exact.substr(0, exact.size() - 5) + "bbb=v\n";
    ASSERT_TRUE(CIniFile::FromText(over).ReadSectionKeys("s", keys));
    EXPECT_EQ(keys.back(), "bb");
}

TEST(CIniFile, MissingFileReadsAsEmpty) {
    const CIniFile ini("/nonexistent/Skin.ini");
    EXPECT_EQ(ini.ReadString("Screen", "Main", "d"), "d");
    std::vector<std::string> keys;
    EXPECT_FALSE(ini.ReadSectionKeys("Screen", keys));
}
