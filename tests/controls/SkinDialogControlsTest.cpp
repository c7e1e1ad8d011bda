// The controls inside the skinned window: what the loader makes of every section, what a
// switch frees, and what the window does with its controls' reports and mouse moves.
#include <gtest/gtest.h>

#include <QPointer>

#include "ControlsFixture.h"
#include "controls/CLabel.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinComboList.h"
#include "controls/SkinEditBox.h"
#include "controls/SkinListBox.h"
#include "controls/SkinScrollBar.h"
#include "controls/SkinSlider.h"
#include "skin/CSkinDialog.h"

namespace {

const std::string kBar = "t.bmp,u.bmp,u.bmp,d.bmp,d.bmp,th.bmp,th.bmp";

// Sections written out of order: the loader's order does not depend on the file's.
const std::string kEveryKind =
    "[COMBOBOXINFO]\n1=COMBO_FORMAT,110,10,190,40,combo.bmp,0xFFFFFF,0,0x00FF00,0xFFFFFF,0,"
    "0x000080,0xFFFFFF," + kBar + "\n"
    "[LISTBOXINFO]\n1=LIST_A,10,60,60,110,0xFFFFFF,0,0x000080,0xFFFFFF," + kBar + "\n"
    "2=LIST_B,70,60,100,110,0xFFFFFF,0,0x000080,0xFFFFFF," + kBar + "\n"
    "[EDITBOXINFO]\n1=EDIT_FILE,10,120,60,135,0xFFFFFF,0,0x808080,TRUE\n"
    "[LABELINFO]\n1=LABEL_MODE,70,120,100,135,mode,DejaVu Sans,8,0xFFFFFF\n"
    "[CHECKINFO]\n1=CHECK_A,btn.bmp,10,40,20,50,Check,F,TRUE\n"
    "[OPTIONINFO]\n1=OPTION_A,btn.bmp,30,40,40,50,Option,F,F\n"
    "[SLIDERINFO]\n1=SLIDER_VOLUME,ch.bmp,th.bmp,th.bmp,10,25,90,35,V,9000,Volume\n"
    "[BUTTONINFO]\n1=BUTTON_PLAY,btn.bmp,60,40,70,50,Preview,T\n";

SkinBuilder EveryKindSkin() {
    SkinBuilder b = BasicSkin(kEveryKind);
    b.Image("combo.bmp", ButtonStrip(16, 20, Qt::gray, Qt::white, Qt::black, Qt::gray))
        .Image("t.bmp", SolidImage(12, 12, Qt::gray))
        .Image("u.bmp", SolidImage(12, 12, Qt::red))
        .Image("d.bmp", SolidImage(12, 12, Qt::green))
        .Image("th.bmp", SolidImage(12, 10, Qt::blue))
        .Image("ch.bmp", SolidImage(6, 80, Qt::yellow));
    return b;
}

struct Spy : CSkinDialog {
    QStringList reports;
    void OnSkinButton(const QString& n) override { reports << "button " + n; }
    void OnSkinOption(const QString& n) override { reports << "option " + n; }
    void OnSkinSlider(const QString& n, int p) override {
        reports << QStringLiteral("slider %1 %2").arg(n).arg(p);
    }
};

class WindowControls : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Spy dlg;

    void Load(const SkinBuilder& skin, const char* sub = "a") {
        dlg.SetIniPath(skin.WriteFolder(dir.filePath(sub)));
        dlg.LoadSkin();
    }
    bool Show() {
        dlg.move(50, 50);
        dlg.show();
        if (!QTest::qWaitForWindowExposed(&dlg)) return false;
        dlg.activateWindow();
        return QTest::qWaitForWindowActive(&dlg);
    }
    // The skin controls among the window's children, in stacking order: creation order,
    // except that a list rises above the bar made for it.
    QStringList ControlClasses() const {
        QStringList names;
        for (QObject* child : dlg.children())
            if (dynamic_cast<SkinAccessibleControl*>(child) || qobject_cast<SkinEditBox*>(child))
                names << child->metaObject()->className();
        return names;
    }
};

TEST_F(WindowControls, CreatesEveryKindInTheLoadersOrder) {
    Load(EveryKindSkin());
    EXPECT_EQ(ControlClasses(),
              (QStringList{"SkinButton", "SkinSlider", "SkinOptionButton", "SkinCheckButton",
                           "CLabel" /* caption */, "CLabel", "SkinEditBox", "SkinScrollBar",
                           "SkinListBox", "SkinScrollBar", "SkinListBox", "SkinComboBox",
                           "SkinComboButton", "SkinComboEdit", "SkinScrollBar", "SkinComboList"}));
    EXPECT_EQ(dlg.Buttons()[0]->toolTip(), "Preview");
    EXPECT_TRUE(dlg.Buttons()[0]->toggle);
    EXPECT_TRUE(dlg.Checks()[0]->isChecked);
    EXPECT_FALSE(dlg.Options()[0]->isChecked);

    SkinSlider* slider = dlg.Sliders()[0].get();
    EXPECT_TRUE(slider->vertical);
    EXPECT_EQ(slider->GetRangeMin(), 0);
    EXPECT_EQ(slider->GetRangeMax(), 7200);
    EXPECT_EQ(slider->GetPosition(), 7200);
    EXPECT_EQ(slider->toolTip(), "Volume");

    ASSERT_EQ(dlg.ListBoxes().size(), 2u);
    SkinListBox* list = dlg.ListBoxes()[1].get();
    EXPECT_EQ(list->index, 1);
    EXPECT_EQ(list->name, "LIST_B");
    EXPECT_EQ(list->Colours().selectedBack, 0x800000u);
    EXPECT_EQ(list->geometry().right() + 1, list->ScrollBar()->x());

    ASSERT_EQ(dlg.Combos().size(), 1u);
    SkinComboBox* combo = dlg.Combos()[0].get();
    EXPECT_EQ(combo->name, "COMBO_FORMAT");
    EXPECT_EQ(combo->Edit()->FrameColour(), 0x00FF00u);
    EXPECT_FALSE(combo->IsListVisible());
    EXPECT_TRUE(combo->ListScrollBar()->isHidden());
}

TEST_F(WindowControls, ASwitchFreesEveryControlOfTheOldSkin) {
    Load(EveryKindSkin());
    std::vector<QPointer<QObject>> old;
    for (QObject* child : dlg.children()) old.emplace_back(child);
    ASSERT_GT(old.size(), 10u);
    Load(BasicSkin(), "b");
    for (const auto& o : old) EXPECT_TRUE(o.isNull()) << (o ? o->metaObject()->className() : "");
    EXPECT_EQ(ControlClasses(), QStringList{"CLabel"});
}

TEST_F(WindowControls, EditBoxIsEnabledOnlyByExactlyTRUE) {
    Load(BasicSkin("[EDITBOXINFO]\n1=E1,1,1,50,15,0,0,0,TRUE\n2=E2,1,1,50,15,0,0,0,True\n"
                   "3=E3,1,1,50,15,0,0,0,true\n4=E4,1,1,50,15,0,0,0,T\n5=E5,1,1,50,15,0,0,0,FALSE\n"));
    ASSERT_EQ(dlg.Edits().size(), 5u);
    EXPECT_TRUE(dlg.Edits()[0]->isEnabled());
    for (size_t i = 1; i < 5; ++i) EXPECT_FALSE(dlg.Edits()[i]->isEnabled()) << i;
}

TEST_F(WindowControls, ClickingTheAudioStreamOptionClearsTheOthersButNeverItself) {
    Load(BasicSkin("[OPTIONINFO]\n1=OPTION_AUDIOSTREAM1,btn.bmp,10,40,20,50,a,F,TRUE\n"
                   "2=OPTION_B,btn.bmp,30,40,40,50,b,F,TRUE\n"
                   "3=OPTION_C,btn.bmp,50,40,60,50,c,F,TRUE\n"));
    ASSERT_TRUE(Show());
    pointer::Click(dlg.Options()[0].get(), {5, 5});
    EXPECT_TRUE(dlg.Options()[0]->isChecked);
    EXPECT_FALSE(dlg.Options()[1]->isChecked);
    EXPECT_FALSE(dlg.Options()[2]->isChecked);
    EXPECT_EQ(PixelAt(dlg, {35, 45}), Rgb(Qt::red));  // redrawn as Normal
    pointer::Click(dlg.Options()[1].get(), {5, 5});
    EXPECT_TRUE(dlg.Options()[0]->isChecked);
    EXPECT_TRUE(dlg.Options()[1]->isChecked);
    EXPECT_EQ(dlg.reports, (QStringList{"option OPTION_AUDIOSTREAM1", "option OPTION_B"}));
}

TEST_F(WindowControls, ClicksAndSliderMovesArriveByName) {
    Load(EveryKindSkin());
    ASSERT_TRUE(Show());
    pointer::Click(dlg.FindButton("BUTTON_PLAY"), {5, 5});
    SkinSlider* slider = dlg.FindSlider("SLIDER_VOLUME");
    pointer::Click(slider, {3, 5});
    pointer::Click(dlg.Checks()[0].get(), {5, 5});  // checks report to no one by name
    EXPECT_EQ(dlg.reports, (QStringList{"button BUTTON_PLAY", "slider SLIDER_VOLUME 0"}));
    EXPECT_FALSE(dlg.Checks()[0]->isChecked);
}

TEST_F(WindowControls, TheComboButtonOpensTheListAndARowFillsTheBox) {
    Load(EveryKindSkin());
    SkinComboBox* combo = dlg.FirstComboBox();
    combo->AddString("FLV");
    combo->SelectText("FLV");
    ASSERT_TRUE(Show());
    EXPECT_EQ(combo->Text(), "FLV");
    for (int i = 1; i <= 3; ++i) combo->AddString(QStringLiteral("item%1").arg(i));
    pointer::Click(combo->Button(), {3, 3});
    ASSERT_TRUE(combo->IsListVisible());
    combo->List()->ScrollRows(1);  // two rows show: item1 and item2
    pointer::Click(combo->List(), combo->List()->RowRect(2).center());
    EXPECT_EQ(combo->Text(), "item2");
    EXPECT_FALSE(combo->IsListVisible());
}

TEST_F(WindowControls, LeavingTheFirstCombosAreaClosesItsList) {
    Load(EveryKindSkin());
    ASSERT_TRUE(Show());
    SkinComboBox* combo = dlg.FirstComboBox();
    combo->ToggleList();
    const QRect whole = combo->Layout().whole;
    // The window hears moves only over its own background: the gap between box and list.
    pointer::Move(&dlg, QPoint(whole.center().x(), combo->Layout().edit.bottom() + 2));
    EXPECT_TRUE(combo->IsListVisible());
    pointer::Move(&dlg, QPoint(whole.left() - 5, 100));
    EXPECT_FALSE(combo->IsListVisible());
}

TEST_F(WindowControls, OnlyTheFirstListBoxsBarHearsTheWindowsMoves) {
    Load(EveryKindSkin());
    ASSERT_TRUE(Show());
    SkinScrollBar* first = dlg.ListBoxes()[0]->ScrollBar();
    SkinScrollBar* second = dlg.ListBoxes()[1]->ScrollBar();
    // Over each bar's up arrow, then straight on to the window's background.
    pointer::Move(first, {3, 3});
    ASSERT_TRUE(first->UpPressed());
    pointer::Move(&dlg, first->geometry().topRight() + QPoint(2, 3));
    EXPECT_FALSE(first->UpPressed());
    pointer::Move(second, {3, 3});
    ASSERT_TRUE(second->UpPressed());
    pointer::Move(&dlg, second->geometry().topRight() + QPoint(2, 3));
    EXPECT_TRUE(second->UpPressed());
}

TEST_F(WindowControls, TheComboListsBarHearsTheWindowsMoves) {
    Load(EveryKindSkin());
    ASSERT_TRUE(Show());
    SkinComboBox* combo = dlg.FirstComboBox();
    for (int i = 0; i < 10; ++i) combo->AddString(QStringLiteral("row %1").arg(i));
    combo->ToggleList();
    SkinScrollBar* bar = combo->ListScrollBar();
    pointer::Move(bar, {3, bar->height() - 3});
    ASSERT_TRUE(bar->DownPressed());
    pointer::Move(&dlg, bar->geometry().bottomRight() + QPoint(1, -3));  // still in the whole area
    EXPECT_FALSE(bar->DownPressed());
    EXPECT_TRUE(combo->IsListVisible());
}

}  // namespace
