#include <gtest/gtest.h>

#include "RowName.h"

#include "ControlsFixture.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinComboList.h"
#include "controls/SkinEditBox.h"
#include "controls/SkinScrollBar.h"

namespace {

// Rectangles as left, top, right, bottom with right and bottom exclusive.
struct Edges {
    int l, t, r, b;
};
QRect R(Edges e) { return QRect(e.l, e.t, e.r - e.l, e.b - e.t); }

struct LayoutRow {
    const char* label;
    Edges rect;
    int cellWidth, cellHeight;
    Edges edit, button, list, whole;
};

class ComboLayout : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(ComboLayout, PlacesThePartsFromTheRectAndTheButtonCell) {
    const LayoutRow& row = GetParam();
    const SkinComboLayout l = ComputeComboLayout(row.rect.l, row.rect.t, row.rect.r, row.rect.b,
                                                 row.cellWidth, row.cellHeight);
    EXPECT_EQ(l.edit, R(row.edit));
    EXPECT_EQ(l.button, R(row.button));
    EXPECT_EQ(l.list, R(row.list));
    EXPECT_EQ(l.whole, R(row.whole));
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, ComboLayout,
    ::testing::Values(
        // The list runs from y = 32 to y = 82: raised to 50 high.
        LayoutRow{"skin_example", {10, 10, 110, 40}, 16, 20,
                  {10, 10, 94, 30}, {94, 9, 110, 31}, {10, 32, 109, 82}, {10, 10, 110, 82}},
        LayoutRow{"box_20_high_strip_16_high", {0, 0, 100, 20}, 16, 16,
                  {0, 0, 84, 16}, {84, -1, 100, 17}, {0, 18, 99, 68}, {0, 0, 100, 68}},
        LayoutRow{"list_exactly_50_keeps_its_bottom", {0, 0, 100, 70}, 10, 18,
                  {0, 0, 90, 18}, {90, -1, 100, 19}, {0, 20, 99, 70}, {0, 0, 100, 70}},
        LayoutRow{"tall_list_keeps_its_bottom", {5, 5, 105, 200}, 20, 10,
                  {5, 5, 85, 15}, {85, 4, 105, 16}, {5, 17, 104, 200}, {5, 5, 105, 200}},
        LayoutRow{"strip_missing", {5, 5, 105, 100}, 0, 0,
                  {5, 5, 105, 5}, {105, 4, 105, 6}, {5, 7, 104, 100}, {5, 5, 105, 100}}),
    RowName());

class SkinComboBoxTest : public ::testing::Test {
protected:
    FakeSkinHost host{QSize(200, 150), QColor(0, 0, 160)};
    Pictures pictures;
    std::unique_ptr<SkinComboBox> combo;

    void SetUp() override {
        SkinComboColours colours;
        colours.editBack = 0xFFFFFF;
        colours.editText = 0x000000;
        colours.editFrame = 0x00FF00;  // green
        colours.list = {0xFFFFFF, 0x000000, 0x800000, 0xFFFFFF};
        SkinScrollBarImages images;
        images.up = pictures.Add("up.bmp", SolidImage(12, 12, Qt::red));
        images.upPressed = images.up;
        images.down = pictures.Add("down.bmp", SolidImage(12, 12, Qt::red));
        images.downPressed = images.down;
        images.thumb = pictures.Add("thumb.bmp", SolidImage(12, 12, Qt::blue));
        images.thumbPressed = images.thumb;
        const QString strip = pictures.Add("combo.bmp", ButtonStrip(16, 20, Qt::gray, Qt::white, Qt::black, Qt::gray));
        combo = std::make_unique<SkinComboBox>(&host, &host, R({10, 10, 110, 40}), strip, colours,
                                               images);
        host.combo = combo.get();
        ASSERT_TRUE(host.ShowAndActivate());
    }
    void TearDown() override { host.combo = nullptr; }
};

TEST_F(SkinComboBoxTest, BuildsItsPartsAtTheLayoutWithTheListClosed) {
    EXPECT_EQ(combo->ButtonCell(), QSize(16, 20));
    EXPECT_EQ(combo->Layout().list, R({10, 32, 109, 82}));
    EXPECT_EQ(combo->Button()->geometry(), combo->Layout().button);
    EXPECT_EQ(combo->Edit()->geometry(), combo->Layout().edit);
    SkinScrollBar* bar = combo->ListScrollBar();
    EXPECT_EQ(combo->List()->geometry().united(bar->geometry()), combo->Layout().list);
    EXPECT_EQ(bar->width(), 12);
    EXPECT_EQ(combo->Button()->name, "COMBO_BTN");
    EXPECT_EQ(combo->Edit()->name, "COMBO_EDIT");
    EXPECT_EQ(combo->List()->name, "COMBO_LIST");
    EXPECT_TRUE(combo->Edit()->isEnabled());
    EXPECT_FALSE(combo->IsListVisible());
    EXPECT_TRUE(bar->isHidden());
}

TEST_F(SkinComboBoxTest, ToggleOpensAndClosesListAndBarAndAsksForTheCoveredControls) {
    combo->ToggleList();
    EXPECT_TRUE(combo->IsListVisible());
    EXPECT_FALSE(combo->ListScrollBar()->isHidden());
    EXPECT_EQ(host.repaintRequests, 0);
    combo->ToggleList();
    EXPECT_FALSE(combo->IsListVisible());
    EXPECT_TRUE(combo->ListScrollBar()->isHidden());
    EXPECT_EQ(host.repaintRequests, 1);
}

TEST_F(SkinComboBoxTest, OpenListHasAFrameInTheEditsFrameColour) {
    const QPoint leftOfList(9, 50);
    EXPECT_EQ(PixelAt(host, leftOfList), Rgb(QColor(0, 0, 160)));
    combo->ToggleList();
    EXPECT_EQ(PixelAt(host, leftOfList), Rgb(Qt::green));
    EXPECT_EQ(PixelAt(host, {50, 82}), Rgb(Qt::green));
    combo->ToggleList();
    EXPECT_EQ(PixelAt(host, leftOfList), Rgb(QColor(0, 0, 160)));
}

TEST_F(SkinComboBoxTest, ClickingARowShowsItsTextAndClosesTheList) {
    for (const char* s : {"FLV", "item1", "item2"}) combo->AddString(s);
    EXPECT_EQ(combo->Items(), (QStringList{"FLV", "item1", "item2"}));
    pointer::Click(combo->Button(), {3, 3});
    ASSERT_TRUE(combo->IsListVisible());
    pointer::Click(combo->List(), combo->List()->RowRect(1).center());
    EXPECT_EQ(combo->Text(), "item1");
    EXPECT_FALSE(combo->IsListVisible());
}

TEST_F(SkinComboBoxTest, ClickingEmptyListSpacePutsAnEmptyText) {
    combo->AddString("FLV");
    combo->SelectText("FLV");
    combo->ToggleList();
    const QRect below = combo->List()->RowRect(1);
    ASSERT_LT(below.top(), combo->List()->height());
    pointer::Click(combo->List(), below.center());
    EXPECT_EQ(combo->Text(), "");
    EXPECT_FALSE(combo->IsListVisible());
}

TEST_F(SkinComboBoxTest, SelectTextAlwaysLeavesTheListClosed) {
    combo->SelectText("FLV");
    EXPECT_EQ(combo->Text(), "FLV");
    EXPECT_FALSE(combo->IsListVisible());
    combo->ToggleList();
    combo->SelectText("item2");
    EXPECT_FALSE(combo->IsListVisible());
    combo->ToggleList();  // and the next toggle opens it again
    EXPECT_TRUE(combo->IsListVisible());
}

TEST_F(SkinComboBoxTest, PartsGoWithTheComboBox) {
    QPointer<QWidget> button = combo->Button(), edit = combo->Edit(), list = combo->List(),
                      bar = combo->ListScrollBar();
    combo.reset();
    EXPECT_TRUE(button.isNull() && edit.isNull() && list.isNull() && bar.isNull());
}

}  // namespace
