#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "DialogTestSupport.h"
#include "ScriptedServices.h"
#include "dialogs/CDateTimeDlg.h"
#include "dialogs/DialogIds.h"
#include "dialogs/FontFamilyList.h"

using namespace DateTimeIds;
using platform::Variant;

namespace {

struct DateTimeFixture : ::testing::Test {
    ScriptedServices services;
    FakeCaptureHost host;
    CDateTimeDlg dlg;
    void SetUp() override {
        dlg.SetMainWindow(&host);
        dlg.Create(nullptr);
        dlg.show();
    }
    QComboBox* List(int id) { return dlg.Combo(id); }
};

}  // namespace

TEST_F(DateTimeFixture, StartsWithTheInitialChoicesAndSendsNothing) {
    EXPECT_EQ(dlg.windowTitle(), "Data Time");
    EXPECT_EQ(List(kFormatList)->count(), 19);
    EXPECT_EQ(List(kFormatList)->currentText(), "mm/dd/yyyy");
    EXPECT_EQ(List(kFormatList)->itemText(18), "dd.mm.yyyy.mm:ss");
    EXPECT_EQ(Items(List(kFontStyleList)),
              (QStringList{"Regular", "Bold", "Italic", "BoldItalic", "Underline"}));
    EXPECT_EQ(List(kFontNameList)->currentText(), "Arial");
    EXPECT_EQ(Items(List(kFontNameList)).mid(0, 4),
              (QStringList{"Arial", "Arial Black", "Comic Sans MS", "Times New Roman"}));
    const QStringList sizes = Items(List(kFontSizeList));
    ASSERT_EQ(sizes.size(), 46);
    EXPECT_EQ(sizes.front(), "8");
    EXPECT_EQ(sizes[1], "10");
    EXPECT_EQ(sizes.back(), "98");
    EXPECT_EQ(List(kFontSizeList)->currentText(), "8");
    EXPECT_TRUE(dlg.Check(kShow)->isChecked());
    EXPECT_EQ(dlg.Edit(kLeftEdit)->text(), "0");
    EXPECT_EQ(dlg.Edit(kTopEdit)->text(), "30");
    EXPECT_TRUE(host.script->calls.empty());
}

TEST_F(DateTimeFixture, InstalledFamiliesFollowTheFixedNamesOnceEach) {
    const QStringList names = Items(List(kFontNameList));
    EXPECT_GT(names.size(), 4);
    for (int i = 0; i < names.size(); ++i)
        for (int j = i + 1; j < names.size(); ++j)
            EXPECT_NE(names[i].compare(names[j], Qt::CaseInsensitive), 0) << names[i].toStdString();
}

TEST_F(DateTimeFixture, ListChoicesAndTheCheckBoxGoToTheControlAtOnce) {
    Choose(List(kFontStyleList), 3);
    Choose(List(kFontNameList), 2);
    Choose(List(kFontSizeList), 2);
    dlg.Check(kShow)->click();
    const std::vector<FakeCall> expected{
        Put(Op::DateTimeFontStyle, Variant::I16(3)),
        Put(Op::DateTimeFontName, Variant::Str("Comic Sans MS")),
        Put(Op::DateTimeFontSize, Variant::I16(12)),
        Put(Op::ShowDateTime, Variant::Bool(false)),
    };
    EXPECT_EQ(host.Calls(), expected);
}

TEST_F(DateTimeFixture, AFormatChangeDrawsAtOnceButOnlyOkStoresIt) {
    Choose(List(kFormatList), 5);
    EXPECT_EQ(host.Calls(), std::vector<FakeCall>{Method(
                                Op::DrawDateTime, {Variant::I16(0), Variant::I16(30), Variant::I16(5)})});
    dlg.Button(kCancel)->click();
    EXPECT_EQ(dlg.FormatIndex(), 0);
    dlg.show();
    dlg.Button(kOk)->click();
    EXPECT_EQ(dlg.FormatIndex(), 5);
}

TEST_F(DateTimeFixture, DrawTimeWithATopOutOfRangeDrawsAtTheStoredTop) {
    dlg.Edit(kLeftEdit)->setText("15");
    dlg.Edit(kTopEdit)->setText("40000");
    dlg.Button(kDrawTime)->click();
    EXPECT_EQ(services.messageTexts(), QStringList{"Please enter an integer."});
    EXPECT_EQ(host.Calls(), std::vector<FakeCall>{Method(
                                Op::DrawDateTime, {Variant::I16(15), Variant::I16(30), Variant::I16(0)})});
    EXPECT_EQ(dlg.Left(), 15);
    EXPECT_EQ(dlg.Top(), 30);
}

TEST_F(DateTimeFixture, OnlyTheColourDialogsOkChangesTheColour) {
    const platform::Colour initial = dlg.Colour();
    services.colourAnswers = {std::nullopt, platform::MakeColour(255, 0, 0)};
    dlg.Button(kColour)->click();
    EXPECT_TRUE(host.script->calls.empty());
    dlg.Button(kColour)->click();
    EXPECT_EQ(services.colourRequests, (std::vector<platform::Colour>{initial, initial}));
    EXPECT_EQ(host.Calls(), std::vector<FakeCall>{Put(Op::DateTimeColor, Variant::Colour(0x0000FF))});
    EXPECT_EQ(dlg.Colour(), 0x0000FFu);
}

TEST(FontFamilyList, AddsAFamilyOnceAndVerticalFacesOnlyWhenTrueType) {
    QComboBox list;
    list.addItems({"Arial", "Times New Roman"});
    EXPECT_TRUE(fonts::AddFontFamily(&list, "DejaVu Sans", fonts::kTrueTypeFontType));
    // The same family reported again for another character set, or in another case.
    EXPECT_FALSE(fonts::AddFontFamily(&list, "DejaVu Sans", fonts::kTrueTypeFontType));
    EXPECT_FALSE(fonts::AddFontFamily(&list, "dejavu sans", fonts::kTrueTypeFontType));
    EXPECT_FALSE(fonts::AddFontFamily(&list, "ARIAL", fonts::kTrueTypeFontType));
    EXPECT_FALSE(fonts::AddFontFamily(&list, "@Mincho", fonts::kRasterFontType));
    EXPECT_TRUE(fonts::AddFontFamily(&list, "@Gothic", fonts::kTrueTypeFontType));
    EXPECT_TRUE(fonts::AddFontFamily(&list, "Fixed", fonts::kRasterFontType));
    EXPECT_EQ(Items(&list),
              (QStringList{"Arial", "Times New Roman", "DejaVu Sans", "@Gothic", "Fixed"}));
    EXPECT_EQ(list.itemData(2).toInt(), fonts::kTrueTypeFontType);
    EXPECT_EQ(list.itemData(4).toInt(), fonts::kRasterFontType);
}
