#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include <set>

#include "DialogTestSupport.h"
#include "ScriptedServices.h"
#include "dialogs/COverlayTextDlg.h"
#include "dialogs/DialogIds.h"

using namespace OverlayTextIds;
using platform::Variant;

namespace {

constexpr int kGoverned[] = {kFontColour,  kHatchStyleList, kHatchForeColour, kHatchBackColour,
                             kSelectTexture, kOutlineColour, kOutlineBackColour};

struct OverlayTextFixture : ::testing::Test {
    ScriptedServices services;
    FakeCaptureHost host;
    COverlayTextDlg dlg;
    void SetUp() override {
        dlg.SetMainWindow(&host);
        dlg.Create(nullptr);
        dlg.show();
    }
    QComboBox* List(int id) { return dlg.Combo(id); }
    std::set<int> Enabled() {
        std::set<int> on;
        for (int id : kGoverned)
            if (dlg.Control(id)->isEnabled()) on.insert(id);
        return on;
    }
};

}  // namespace

TEST_F(OverlayTextFixture, StartsWithTheInitialStateAndSendsNothing) {
    EXPECT_EQ(Enabled(), std::set<int>{kFontColour});
    EXPECT_EQ(List(kTextStyleList)->currentText(), "Normal");
    EXPECT_EQ(List(kRotationList)->currentText(), "No Rotation");
    EXPECT_EQ(List(kRotationList)->count(), 12);
    EXPECT_TRUE(dlg.Check(kShowText)->isChecked());
    EXPECT_TRUE(dlg.Check(kUseOverlay)->isChecked());
    EXPECT_FALSE(dlg.Check(kInvert)->isChecked());
    EXPECT_FALSE(dlg.Check(kGreyScale)->isChecked());
    EXPECT_EQ(dlg.Edit(kText1Edit)->text(), "Korvex Software");
    EXPECT_EQ(dlg.Edit(kText2Edit)->text(), "www.example.com");
    EXPECT_EQ(dlg.Edit(kLeftEdit)->text(), "0");
    EXPECT_EQ(dlg.Edit(kTopEdit)->text(), "0");
    EXPECT_EQ(dlg.Edit(kTextureFileEdit)->text(), QDir::currentPath() + "/image.bmp");
    EXPECT_FALSE(dlg.Edit(kTextureFileEdit)->isEnabled());
    EXPECT_TRUE(host.script->calls.empty());
}

TEST_F(OverlayTextFixture, TheHatchListHoldsTheFiftyThreeStylesInOrder) {
    const QStringList hatch = Items(List(kHatchStyleList));
    ASSERT_EQ(hatch.size(), 53);
    EXPECT_EQ(hatch.front(), "HatchStyleHorizontal ");
    EXPECT_EQ(hatch[6], "HatchStyle05Percent ");
    EXPECT_EQ(hatch[18], "HatchStyleLightDownwardDiagonal ");
    EXPECT_EQ(hatch[36], "HatchStyleZigZag ");
    EXPECT_EQ(hatch.back(), "HatchStyleSolidDiamond ");
}

TEST_F(OverlayTextFixture, EachTextStyleEnablesItsControls) {
    const std::pair<int, std::set<int>> table[] = {
        {3, {kHatchStyleList, kHatchForeColour, kHatchBackColour}},
        {1, {kOutlineColour}},
        {2, {kOutlineColour, kOutlineBackColour}},
        {4, {kSelectTexture}},
        {0, {kFontColour}},
    };
    for (const auto& [style, enabled] : table) {
        SCOPED_TRACE(style);
        host.script->Clear();
        Choose(List(kTextStyleList), style);
        EXPECT_EQ(Enabled(), enabled);
        EXPECT_EQ(host.Calls().at(0), Method(Op::SetOverlayTextStyle, {Variant::I16(0), Variant::I16(int16_t(style))}));
    }
}

TEST_F(OverlayTextFixture, TextureBrushSendsTheStoredFileEvenWhenEmpty) {
    const QString initial = dlg.TextureImageFile();
    Choose(List(kTextStyleList), 4);
    EXPECT_EQ(host.Calls().back(), Method(Op::SetOverlayTextTextureBrush, {Variant::I16(0), Variant::Str(initial.toStdString())}));
    EXPECT_TRUE(services.messages.empty());

    // An empty file name read from the (display-only) edit is warned about and sent anyway.
    dlg.Edit(kTextureFileEdit)->setText("");
    dlg.Button(kDrawText)->click();
    host.script->Clear();
    Choose(List(kTextStyleList), 4);
    EXPECT_EQ(services.messageTexts(), QStringList{"select Texture Brush image"});
    EXPECT_EQ(host.Calls(), (std::vector<FakeCall>{Method(Op::SetOverlayTextStyle, {Variant::I16(0), Variant::I16(4)}),
                                                   Method(Op::SetOverlayTextTextureBrush, {Variant::I16(0), Variant::Str("")})}));
}

TEST_F(OverlayTextFixture, APickedTextureIsShownSentAndKept) {
    Choose(List(kTextStyleList), 4);
    services.fileAnswers = {QString("/pictures/brick.png")};
    dlg.Button(kSelectTexture)->click();
    ASSERT_EQ(services.fileRequests.size(), 1u);
    const platform::FileDialogRequest& r = services.fileRequests[0];
    EXPECT_FALSE(r.save);
    EXPECT_TRUE(r.mustExist);
    EXPECT_EQ(r.owner, &dlg);
    EXPECT_EQ(r.filter, "bmp file(*.bmp)|*.bmp|JPEG file(*.jpg)|*.jpg|GIF file(*.gif)|*.gif|"
                        "PNG file(*.png)|*.png|All Files(*.*)|*.*||");
    EXPECT_EQ(dlg.Edit(kTextureFileEdit)->text(), "/pictures/brick.png");
    EXPECT_EQ(host.Calls().back(), Method(Op::SetOverlayTextTextureBrush, {Variant::I16(0), Variant::Str("/pictures/brick.png")}));

    Choose(List(kTextStyleList), 0);
    Choose(List(kTextStyleList), 4);
    EXPECT_EQ(host.Calls().back(), Method(Op::SetOverlayTextTextureBrush, {Variant::I16(0), Variant::Str("/pictures/brick.png")}));
}

TEST_F(OverlayTextFixture, AQuarterTurnWithInversionWarnsAndStillRotates) {
    dlg.Check(kInvert)->click();
    Choose(List(kRotationList), 1);
    EXPECT_EQ(services.messageTexts(),
              QStringList{"You selected rotate value that cannot support grayscale or invert color"});
    EXPECT_EQ(host.Calls(), (std::vector<FakeCall>{Method(Op::SetInvertColor, {Variant::Bool(true)}),
                                                   Method(Op::SetVideoRotation, {Variant::I16(1)})}));
}

TEST_F(OverlayTextFixture, EffectsConflictingWithAQuarterTurnAreRefused) {
    Choose(List(kRotationList), 3);
    host.script->Clear();
    dlg.Check(kGreyScale)->click();
    EXPECT_EQ(services.messageTexts(),
              QStringList{"You selected rotate value that cannot support grayscale"});
    EXPECT_TRUE(dlg.Check(kGreyScale)->isChecked());
    EXPECT_TRUE(host.script->calls.empty());
    dlg.Check(kGreyScale)->click();
    EXPECT_EQ(host.Calls(), std::vector<FakeCall>{Method(Op::SetGrayScale, {Variant::Bool(false)})});

    services.messages.clear();
    host.script->Clear();
    dlg.Check(kInvert)->click();
    EXPECT_EQ(services.messageTexts(),
              QStringList{"You selected rotate value cannot support invert color"});
    EXPECT_TRUE(host.script->calls.empty());
}

TEST_F(OverlayTextFixture, DrawTextSendsBothLinesAtTheStoredPosition) {
    dlg.Edit(kLeftEdit)->setText("12");
    dlg.Edit(kTopEdit)->setText("-40000");
    dlg.Edit(kText1Edit)->setText("");
    dlg.Edit(kText2Edit)->setText("");
    dlg.Button(kDrawText)->click();
    // The top is refused, so the read stopped before the texts.
    EXPECT_EQ(services.messageTexts(), QStringList{"Please enter an integer."});
    EXPECT_EQ(host.Calls().back(),
              Method(Op::DrawOverlayText, {Variant::I16(0), Variant::I16(12), Variant::I16(0),
                            Variant::Str("Korvex Software\r\nwww.example.com")}));
    dlg.Edit(kTopEdit)->setText("7");
    dlg.Button(kDrawText)->click();
    EXPECT_EQ(host.Calls().back(), Method(Op::DrawOverlayText, {Variant::I16(0), Variant::I16(12), Variant::I16(7),
                                                 Variant::Str("\r\n")}));
}

TEST_F(OverlayTextFixture, HatchCallsCarryBothStoredColours) {
    Choose(List(kTextStyleList), 3);
    Choose(List(kHatchStyleList), 5);
    services.colourAnswers = {platform::MakeColour(0, 0, 255)};
    dlg.Button(kHatchForeColour)->click();
    const auto calls = host.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1], Method(Op::SetOverlayTextHatchBrush, {Variant::I16(0), Variant::I16(5), Variant::Colour(0x000000),
                                      Variant::Colour(0xFFFFFF)}));
    EXPECT_EQ(calls[2], Method(Op::SetOverlayTextHatchBrush, {Variant::I16(0), Variant::I16(5), Variant::Colour(0xFF0000),
                                      Variant::Colour(0xFFFFFF)}));
}

TEST_F(OverlayTextFixture, FontChoicesGoToTheControlAtOnce) {
    Choose(List(kFontStyleList), 1);
    Choose(List(kFontSizeList), 45);
    Choose(List(kFontNameList), 3);
    dlg.Check(kShowText)->click();
    services.colourAnswers = {platform::MakeColour(1, 2, 3)};
    dlg.Button(kFontColour)->click();
    const std::vector<FakeCall> expected{
        Method(Op::SetOverlayTextFontStyle, {Variant::I16(0), Variant::I16(1)}),
        Method(Op::SetOverlayTextFontSize, {Variant::I16(0), Variant::I16(98)}),
        Method(Op::SetOverlayTextFontName, {Variant::I16(0), Variant::Str("Times New Roman")}),
        Method(Op::ShowOverlayText, {Variant::I16(0), Variant::Bool(false)}),
        Method(Op::SetOverlayTextColor, {Variant::I16(0), Variant::Colour(0x030201)}),
    };
    EXPECT_EQ(host.Calls(), expected);
}

TEST_F(OverlayTextFixture, OkStoresRotationInversionAndUseOverlay) {
    Choose(List(kRotationList), 4);
    dlg.Check(kInvert)->click();
    dlg.Check(kUseOverlay)->click();
    dlg.Edit(kText2Edit)->setText("www.example.org");
    EXPECT_EQ(dlg.RotationIndex(), 0);
    dlg.Button(kOk)->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.RotationIndex(), 4);
    EXPECT_EQ(dlg.InvertFlag(), 1);
    EXPECT_EQ(dlg.UseOverlayFlag(), 0);
    EXPECT_EQ(dlg.Text2(), "www.example.org");
}
