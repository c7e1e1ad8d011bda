#include <gtest/gtest.h>

#include "skin/CIniFile.h"
#include "skin/SkinDescription.h"

namespace {

SkinDescription Read(const std::string& text) { return ReadSkinDescription(CIniFile::FromText(text)); }

}  // namespace

TEST(SkinDescription, EverySectionKindReadsIntoItsFields) {
    const SkinDescription d = Read(
        "[Screen]\nMain=bg.bmp\n[TRANSPARENT]\nCOLOR=0x00FF00\n[CONTROL]\nCONTROL=1,2,3,4\n"
        "[ICON]\nICON=icon.bmp,5,6,7,8\n[CAPTION]\nCAPTION=X,0,0,90,12,Title,Arial,9,0xFF0000\n"
        "[BUTTONINFO]\n1=BUTTON_PLAY,play.bmp,10,20,30,40,Play,TRUE\n"
        "[SLIDERINFO]\n1=SLIDER_PROGRESS,ch.bmp,th.bmp,ath.bmp,0,0,100,10,VERT,42,Seek\n"
        "[OPTIONINFO]\n1=OPTION_A,o.bmp,1,1,2,2,Opt,FALSE,TRUE\n"
        "[CHECKINFO]\n1=CHECK_B,c.bmp,1,1,2,2,Chk,TRUE,FALSE\n"
        "[LABELINFO]\n1=LABEL_TIME,3,3,50,15,00:00,Times New Roman,11,0x0000FF\n"
        "[EDITBOXINFO]\n1=EDIT_FILE,60,100,190,115,0xFFFFFF,0x000000,0x808080,TRUE\n"
        "[LISTBOXINFO]\n1=LIST_R,0,0,50,50,0xFFFFFF,0,0x800000,0xFFFFFF,t,u,up,d,dp,th,thp\n"
        "[COMBOBOXINFO]\n1=COMBO_F,0,0,80,90,strip.bmp,1,2,3,4,5,6,7,t,u,up,d,dp,th,thp\n");
    EXPECT_EQ(d.background, "bg.bmp");
    EXPECT_EQ(d.transparent, 0x00FF00u);
    EXPECT_EQ(d.control, (SkinRect{1, 2, 3, 4}));
    ASSERT_TRUE(d.icon && d.caption);
    EXPECT_EQ(d.icon->image, "icon.bmp");
    EXPECT_EQ(d.icon->rect, (SkinRect{5, 6, 7, 8}));
    EXPECT_EQ(d.caption->name, "");
    EXPECT_EQ(d.caption->text, "Title");
    EXPECT_EQ(d.caption->colour, 0x0000FFu);  // 0xRRGGBB as written, 0x00BBGGRR kept

    ASSERT_EQ(d.buttons.size(), 1u);
    EXPECT_EQ(d.buttons[0].name, "BUTTON_PLAY");
    EXPECT_EQ(d.buttons[0].rect, (SkinRect{10, 20, 30, 40}));
    EXPECT_TRUE(d.buttons[0].toggle);
    ASSERT_EQ(d.sliders.size(), 1u);
    EXPECT_TRUE(d.sliders[0].vertical);
    EXPECT_EQ(d.sliders[0].position, 42);
    EXPECT_EQ(d.sliders[0].activeThumb, "ath.bmp");
    ASSERT_EQ(d.options.size(), 1u);
    EXPECT_TRUE(!d.options[0].toggle && d.options[0].checked);
    ASSERT_EQ(d.checks.size(), 1u);
    EXPECT_TRUE(d.checks[0].toggle && !d.checks[0].checked);
    ASSERT_EQ(d.labels.size(), 1u);
    EXPECT_EQ(d.labels[0].face, "Times New Roman");
    EXPECT_EQ(d.labels[0].points, 11);
    ASSERT_EQ(d.edits.size(), 1u);
    EXPECT_TRUE(d.edits[0].enabled);
    EXPECT_EQ(d.edits[0].frame, 0x808080u);
    ASSERT_EQ(d.lists.size(), 1u);
    EXPECT_EQ(d.lists[0].colours.selectedBack, 0x000080u);
    EXPECT_EQ(d.lists[0].bar.back(), "thp");
    ASSERT_EQ(d.combos.size(), 1u);
    EXPECT_EQ(d.combos[0].strip, "strip.bmp");
    EXPECT_EQ(d.combos[0].list.selectedText, 7u << 16);
    EXPECT_EQ(d.combos[0].bar.front(), "t");
}

TEST(SkinDescription, NumberedSectionsReadKeysOneToTheirCountAndSkipEmptyOnes) {
    // Three keys: 1, 3 and "x". Key 2 is missing and 3 is empty; key 4 lies beyond the count.
    const SkinDescription d =
        Read("[BUTTONINFO]\n1=A,a.bmp,0,0,1,1,,FALSE\n3=\nx=X\n[LABELINFO]\n4=L,0,0,1,1,t,f,1,0\n");
    ASSERT_EQ(d.buttons.size(), 1u);
    EXPECT_EQ(d.buttons[0].name, "A");
    EXPECT_TRUE(d.labels.empty());
    EXPECT_FALSE(d.transparent || d.control || d.icon || d.caption);
}
