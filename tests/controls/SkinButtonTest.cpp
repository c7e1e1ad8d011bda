#include <gtest/gtest.h>

#include "RowName.h"

#include <QMouseEvent>
#include <QPointer>

#include <functional>
#include <memory>

#include "ControlsFixture.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"

namespace {

const QColor kNormal = Qt::red, kHover = Qt::green, kPressed = Qt::blue, kDisabled = Qt::gray;
const QRect kRect(20, 20, 30, 20);  // larger than a 10 x 10 cell: cells are stretched

class SkinButtonTest : public ::testing::Test {
public:
    FakeSkinHost host;
    Pictures pictures;
    QString strip = pictures.Add("btn.bmp", ButtonStrip(10, 10, kNormal, kHover, kPressed, kDisabled));

    template <class T = SkinButton>
    T* Make(const QRect& rect = kRect) {
        auto* b = new T(&host, &host, rect);
        b->transparentColor = 0xFF00FF;
        b->LoadImages(strip, rect);
        return b;
    }
    QRgb Centre(SkinButton* b) { return PixelAt(host, b->geometry().center()); }
    void SetUp() override { ASSERT_TRUE(host.ShowAndActivate()); }
};

// How a button is brought into a state before its picture is read.
enum class Mouse { Away, Over, HeldDown };

struct StateRow {
    const char* label;
    std::function<SkinButton*(SkinButtonTest&)> make;
    bool checked, toggle, enabled;
    Mouse mouse;
    QColor expected;
};

class ButtonStates : public SkinButtonTest, public ::testing::WithParamInterface<int> {};

const StateRow kStates[] = {
    {"plain idle", [](auto& t) { return t.Make(); }, false, false, true, Mouse::Away, kNormal},
    {"plain hovered", [](auto& t) { return t.Make(); }, false, false, true, Mouse::Over, kHover},
    {"plain held down", [](auto& t) { return t.Make(); }, false, false, true, Mouse::HeldDown, kPressed},
    {"plain disabled", [](auto& t) { return t.Make(); }, false, false, false, Mouse::Away, kDisabled},
    {"plain checked", [](auto& t) { return t.Make(); }, true, false, true, Mouse::Away, kPressed},
    {"plain checked hovered", [](auto& t) { return t.Make(); }, true, false, true, Mouse::Over, kHover},
    {"check checked hovered", [](auto& t) { return t.template Make<SkinCheckButton>(); }, true, false, true, Mouse::Over, kPressed},
    {"check hovered", [](auto& t) { return t.template Make<SkinCheckButton>(); }, false, false, true, Mouse::Over, kHover},
    {"option checked hovered", [](auto& t) { return t.template Make<SkinOptionButton>(); }, true, false, true, Mouse::Over, kPressed},
    {"option disabled", [](auto& t) { return t.template Make<SkinOptionButton>(); }, false, false, false, Mouse::Away, kDisabled},
    {"combo checked hovered", [](auto& t) { return t.template Make<SkinComboButton>(); }, true, false, true, Mouse::Over, kHover},
    {"toggle off hovered", [](auto& t) { return t.Make(); }, false, true, true, Mouse::Over, kNormal},
    {"toggle off held down", [](auto& t) { return t.Make(); }, false, true, true, Mouse::HeldDown, kNormal},
    {"toggle on disabled", [](auto& t) { return t.Make(); }, true, true, false, Mouse::Away, kPressed},
    {"toggle on hovered", [](auto& t) { return t.template Make<SkinCheckButton>(); }, true, true, true, Mouse::Over, kPressed},
};

TEST_P(ButtonStates, DrawsTheCellOfItsState) {
    const StateRow& row = kStates[GetParam()];
    SCOPED_TRACE(row.label);
    SkinButton* b = row.make(*this);
    b->isChecked = row.checked;
    b->toggle = row.toggle;
    b->setEnabled(row.enabled);
    pointer::Move(&host, {150, 120});
    if (row.mouse == Mouse::Over) pointer::Move(b, {5, 5});
    if (row.mouse == Mouse::HeldDown) pointer::Press(b, {5, 5});
    // Every pixel of the button shows the one cell, stretched to the button.
    const QImage shot = Shot(host);
    for (QPoint p : {kRect.topLeft(), kRect.center(), kRect.bottomRight()})
        EXPECT_EQ(shot.pixel(p) & 0xFFFFFF, Rgb(row.expected)) << p.x() << "," << p.y();
    if (row.mouse == Mouse::HeldDown) pointer::Release(b, {5, 5});
}

INSTANTIATE_TEST_SUITE_P(Variants, ButtonStates,
                         ::testing::Range(0, int(std::size(kStates))),
                         [](const auto& info) { return TestNameOf(kStates[info.param].label); });

TEST_F(SkinButtonTest, StripRemainderColumnsNeverShow) {
    // 43 columns: four cells of 10 and three yellow columns that belong to no cell.
    QImage img(43, 10, QImage::Format_RGB32);
    img.fill(Qt::yellow);
    QPainter(&img).drawImage(0, 0, ButtonStrip(10, 10, kNormal, kHover, kPressed, kDisabled));
    const QString path = pictures.Add("odd.bmp", img);
    auto* b = new SkinButton(&host, &host, kRect);
    b->LoadImages(path, kRect);
    b->setEnabled(false);
    const QImage shot = Shot(host).copy(kRect);
    for (int x = 0; x < shot.width(); ++x) EXPECT_EQ(shot.pixel(x, 5) & 0xFFFFFF, Rgb(kDisabled)) << x;
}

TEST_F(SkinButtonTest, KeyColouredPixelsShowTheWindow) {
    QImage img = ButtonStrip(10, 10, kNormal, kHover, kPressed, kDisabled);
    for (int i = 0; i < 4; ++i) img.setPixel(i * 10, 0, qRgb(255, 0, 255));
    const QRect r(60, 60, 10, 10);
    auto* b = new SkinButton(&host, &host, r);
    b->transparentColor = 0xFF00FF;
    b->LoadImages(pictures.Add("keyed.bmp", img), r);
    EXPECT_EQ(PixelAt(host, r.topLeft()), Rgb(QColor(0, 0, 160)));
    EXPECT_EQ(PixelAt(host, r.topLeft() + QPoint(1, 0)), Rgb(kNormal));
}

TEST_F(SkinButtonTest, AStripThatDoesNotLoadKeepsThePictures) {
    SkinButton* b = Make();
    b->LoadImages(pictures.Missing(), kRect);
    EXPECT_EQ(Centre(b), Rgb(kNormal));
}

TEST_F(SkinButtonTest, DraggingOntoTheButtonWithTheLeftButtonHeldDoesNotLightIt) {
    SkinButton* b = Make();
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), b->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b, &move);
    EXPECT_FALSE(b->IsHover());
    EXPECT_EQ(Centre(b), Rgb(kNormal));
    // Through the window: the press elsewhere keeps the button out of it.
    pointer::Press(&host, {150, 120});
    pointer::Move(&host, b->geometry().center());
    EXPECT_FALSE(b->IsHover());
    EXPECT_EQ(Centre(b), Rgb(kNormal));
    pointer::Release(&host, b->geometry().center());
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(SkinButtonTest, ReleaseOutsideSendsNothingAndHoverEndsWhenThePointerLeaves) {
    SkinButton* b = Make();
    pointer::Press(b, {5, 5});
    EXPECT_EQ(Centre(b), Rgb(kPressed));
    pointer::Move(b, {100, 60});
    EXPECT_FALSE(b->IsHover());
    EXPECT_EQ(Centre(b), Rgb(kNormal));
    pointer::Release(b, {100, 60});
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(SkinButtonTest, ReleaseInsideClicksThenShowsNormalUntilTheMouseMoves) {
    SkinButton* b = Make();
    b->index = 3;
    pointer::Move(b, {4, 4});
    ASSERT_TRUE(b->IsHover());
    pointer::Click(b, {5, 5});
    EXPECT_EQ(host.calls, QStringList{"button 3"});
    EXPECT_FALSE(b->IsHover());
    EXPECT_EQ(Centre(b), Rgb(kNormal));
    pointer::Move(b, {6, 6});
    EXPECT_EQ(Centre(b), Rgb(kHover));
}

TEST_F(SkinButtonTest, VariantsTakeTheirStepAndTellTheHostByIndex) {
    auto* check = Make<SkinCheckButton>(QRect(10, 10, 10, 10));
    auto* option = Make<SkinOptionButton>(QRect(30, 10, 10, 10));
    check->index = 1;
    option->index = 2;
    pointer::Click(check, {5, 5});
    EXPECT_TRUE(check->isChecked);
    pointer::Click(check, {5, 5});
    EXPECT_FALSE(check->isChecked);
    pointer::Click(option, {5, 5});
    pointer::Click(option, {5, 5});
    EXPECT_TRUE(option->isChecked);  // an option that is on stays on, and still tells
    EXPECT_EQ(host.calls, (QStringList{"check 1", "check 1", "option 2", "option 2"}));
}

TEST_F(SkinButtonTest, ComboButtonTogglesTheFirstComboBox) {
    SkinComboBox combo(&host, &host, QRect(100, 10, 80, 60), strip, {}, {});
    host.combo = &combo;
    pointer::Click(combo.Button(), {2, 2});
    EXPECT_TRUE(combo.IsListVisible());
    pointer::Click(combo.Button(), {2, 2});
    EXPECT_FALSE(combo.IsListVisible());
    EXPECT_TRUE(host.calls.isEmpty());
    host.combo = nullptr;
}

TEST_F(SkinButtonTest, AHostThatDestroysTheButtonWhenToldIsSafe) {
    struct Destroying : FakeSkinHost {
        std::unique_ptr<SkinButton> button;
        void OnSkinButtonClick(int) override { button.reset(); }
    } window;
    ASSERT_TRUE(window.ShowAndActivate());
    window.button = std::make_unique<SkinButton>(&window, &window, kRect);
    QPointer<SkinButton> watch(window.button.get());
    pointer::Click(watch, {5, 5});
    EXPECT_TRUE(watch.isNull());
}

TEST_F(SkinButtonTest, ToolTipIsShownOnlyWhileActive) {
    SkinButton* b = Make();
    b->SetToolTipText("Preview", true);
    EXPECT_EQ(b->toolTip(), "Preview");
    b->ActivateToolTip(false);
    EXPECT_TRUE(b->toolTip().isEmpty());
    b->SetToolTipText(QString(), true);  // a null text changes nothing
    EXPECT_TRUE(b->toolTip().isEmpty());
    b->ActivateToolTip(true);
    EXPECT_EQ(b->toolTip(), "Preview");
}

TEST_F(SkinButtonTest, SetCheckedRepaintsOnlyOnAChange) {
    SkinButton* b = Make();
    b->SetChecked(true);
    EXPECT_EQ(Centre(b), Rgb(kPressed));
    b->SetChecked(false);
    EXPECT_EQ(Centre(b), Rgb(kNormal));
}

}  // namespace
