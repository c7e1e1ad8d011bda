#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "DialogTestSupport.h"
#include "ScriptedServices.h"
#include "dialogs/COverlayImageDlg.h"
#include "dialogs/DialogIds.h"

using namespace OverlayImageIds;
using platform::Variant;

namespace {

struct OverlayImageFixture : ::testing::Test {
    ScriptedServices services;
    FakeCaptureHost host;
    COverlayImageDlg dlg;
    QString file;
    void SetUp() override {
        dlg.SetMainWindow(&host);
        dlg.Create(nullptr);
        dlg.show();
        file = QDir::currentPath() + "/image.bmp";
    }
    FakeCall Draw(int16_t left, int16_t top, const QString& path, uint32_t colour, int16_t alpha) {
        return Method(Op::DrawOverlayImage, {Variant::I16(0), Variant::I16(left), Variant::I16(top),
                             Variant::Str(path.toStdString()), Variant::Colour(colour),
                             Variant::I16(alpha)});
    }
    void Type(int id, const QString& text) { dlg.Edit(id)->setText(text); }
};

}  // namespace

TEST_F(OverlayImageFixture, StartsWithTheInitialValuesAndSendsNothing) {
    EXPECT_EQ(dlg.Edit(kLeftEdit)->text(), "20");
    EXPECT_EQ(dlg.Edit(kTopEdit)->text(), "0");
    EXPECT_EQ(dlg.Edit(kAlphaEdit)->text(), "100");
    EXPECT_EQ(dlg.Edit(kFileEdit)->text(), file);
    EXPECT_EQ(dlg.ImageFile(), file);
    EXPECT_TRUE(dlg.Check(kShowImage)->isChecked());
    EXPECT_EQ(dlg.TransparentColour(), 0u);
    EXPECT_TRUE(host.script->calls.empty());
}

TEST_F(OverlayImageFixture, AlphaIsNotLimitedButTravelsInSixteenBits) {
    Type(kAlphaEdit, "300");
    dlg.Button(kDrawImage)->click();
    Type(kAlphaEdit, "70000");
    dlg.Button(kDrawImage)->click();
    EXPECT_EQ(dlg.Alpha(), 70000);
    EXPECT_EQ(host.Calls(), (std::vector<FakeCall>{Draw(20, 0, file, 0, 300),
                                                   Draw(20, 0, file, 0, int16_t(70000 - 65536))}));
}

TEST_F(OverlayImageFixture, ABadLeftStopsTheReadAfterAlpha) {
    Type(kAlphaEdit, "5");
    Type(kLeftEdit, "x");
    Type(kTopEdit, "9");
    Type(kFileEdit, "/typed.bmp");
    dlg.Button(kDrawImage)->click();
    EXPECT_EQ(services.messageTexts(), QStringList{"Please enter an integer."});
    EXPECT_EQ(host.Calls(), std::vector<FakeCall>{Draw(20, 0, file, 0, 5)});
}

TEST_F(OverlayImageFixture, SelectImageDrawsWhetherPickedOrCancelled) {
    Type(kLeftEdit, "55");
    dlg.Button(kSelectImage)->click();  // cancelled: the edits are not read
    services.fileAnswers = {QString("/pictures/logo.bmp")};
    dlg.Button(kSelectImage)->click();
    ASSERT_EQ(services.fileRequests.size(), 2u);
    const platform::FileDialogRequest& r = services.fileRequests[0];
    EXPECT_FALSE(r.save);
    EXPECT_TRUE(r.mustExist);
    EXPECT_EQ(r.filter, "bmp file(*.bmp)|*.bmp||");
    EXPECT_EQ(r.owner, &dlg);
    EXPECT_EQ(host.Calls(), (std::vector<FakeCall>{Draw(20, 0, file, 0, 100),
                                                   Draw(20, 0, "/pictures/logo.bmp", 0, 100)}));
    // Picking rewrote the edits from the stored values, dropping the unread typing.
    EXPECT_EQ(dlg.Edit(kFileEdit)->text(), "/pictures/logo.bmp");
    EXPECT_EQ(dlg.Edit(kLeftEdit)->text(), "20");
}

TEST_F(OverlayImageFixture, ChangeColourReadsTheEditsAndDrawsEvenWhenCancelled) {
    Type(kLeftEdit, "55");
    dlg.Button(kTransparentColour)->click();
    services.colourAnswers = {platform::MakeColour(0, 255, 0)};
    Type(kFileEdit, "/typed.bmp");
    dlg.Button(kTransparentColour)->click();
    EXPECT_EQ(services.colourRequests, (std::vector<platform::Colour>{0, 0}));
    EXPECT_EQ(host.Calls(), (std::vector<FakeCall>{Draw(55, 0, file, 0, 100),
                                                   Draw(55, 0, "/typed.bmp", 0x00FF00, 100)}));
}

TEST_F(OverlayImageFixture, ShowImageAndOk) {
    dlg.Check(kShowImage)->click();
    EXPECT_EQ(host.Calls(), std::vector<FakeCall>{Method(Op::ShowOverlayImage, {Variant::I16(0), Variant::Bool(false)})});
    Type(kTopEdit, "33");
    dlg.Button(kOk)->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Top(), 33);
}
