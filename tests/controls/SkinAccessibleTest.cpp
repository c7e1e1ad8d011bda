#include <gtest/gtest.h>

#include "RowName.h"

#include <QAccessible>
#include <QAccessibleValueInterface>

#include <functional>

#include "ControlsFixture.h"
#include "controls/CLabel.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinListBox.h"
#include "controls/SkinScrollBar.h"
#include "controls/SkinSlider.h"

namespace {

struct AccessibleRow {
    const char* label;
    std::function<QWidget*(FakeSkinHost&)> make;
    QAccessible::Role role;
    QString name;
};

template <class T>
T* Named(T* control, const char* name, const char* tip = nullptr) {
    control->name = name;
    if constexpr (requires { control->SetToolTipText(QString(), true); })
        if (tip) control->SetToolTipText(tip, true);
    return control;
}

const AccessibleRow kRows[] = {
    {"button_named_by_its_tip",
     [](FakeSkinHost& h) { return Named(new SkinButton(&h, &h, {0, 0, 9, 9}), "BUTTON_PLAY", "Preview"); },
     QAccessible::Button, "Preview"},
    {"button_without_tip_named_by_skin_name",
     [](FakeSkinHost& h) { return Named(new SkinButton(&h, &h, {0, 0, 9, 9}), "BUTTON_STOP"); },
     QAccessible::Button, "BUTTON_STOP"},
    {"inactive_tip_still_names_it",
     [](FakeSkinHost& h) {
         auto* b = Named(new SkinButton(&h, &h, {0, 0, 9, 9}), "BUTTON_X");
         b->SetToolTipText("Exit", false);
         return b;
     },
     QAccessible::Button, "Exit"},
    {"check_box",
     [](FakeSkinHost& h) { return Named(new SkinCheckButton(&h, &h, {0, 0, 9, 9}), "CHECK_A", "Audio"); },
     QAccessible::CheckBox, "Audio"},
    {"option_box",
     [](FakeSkinHost& h) { return Named(new SkinOptionButton(&h, &h, {0, 0, 9, 9}), "OPTION_A"); },
     QAccessible::RadioButton, "OPTION_A"},
    {"combo_button",
     [](FakeSkinHost& h) { return Named(new SkinComboButton(&h, &h, {0, 0, 9, 9}), "COMBO_BTN"); },
     QAccessible::ButtonDropDown, "COMBO_BTN"},
    {"slider",
     [](FakeSkinHost& h) { return Named(new SkinSlider(&h, &h, {0, 0, 9, 9}), "SLIDER_VOLUME", "Volume"); },
     QAccessible::Slider, "Volume"},
    {"label_named_by_its_text",
     [](FakeSkinHost& h) {
         auto* l = new CLabel(&h, &h, {0, 0, 9, 9});
         l->name = "LABEL_MODE";
         l->SetText("Mode");
         return l;
     },
     QAccessible::StaticText, "Mode"},
    {"list_box",
     [](FakeSkinHost& h) { return Named(new SkinListBox(&h, {0, 0, 50, 50}), "LIST_FILES"); },
     QAccessible::List, "LIST_FILES"},
};

class Accessible : public ::testing::TestWithParam<int> {
protected:
    FakeSkinHost host;
};

TEST_P(Accessible, HasTheRoleAndNameOfWhatItShows) {
    const AccessibleRow& row = kRows[GetParam()];
    QWidget* w = row.make(host);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), row.role);
    EXPECT_EQ(iface->text(QAccessible::Name), row.name);
}

INSTANTIATE_TEST_SUITE_P(Controls, Accessible, ::testing::Range(0, int(std::size(kRows))),
                         [](const auto& info) { return TestNameOf(kRows[info.param].label); });

TEST(AccessibleState, CheckAndOptionBoxesReportTheirCheckedState) {
    FakeSkinHost host;
    auto* check = new SkinCheckButton(&host, &host, {0, 0, 9, 9});
    auto* plain = new SkinButton(&host, &host, {10, 0, 9, 9});
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(check);
    EXPECT_TRUE(iface->state().checkable);
    EXPECT_FALSE(iface->state().checked);
    check->SetChecked(true);
    EXPECT_TRUE(iface->state().checked);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(plain)->state().checkable);
    plain->toggle = true;
    plain->isChecked = true;
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(plain)->state().checked);
}

TEST(AccessibleValue, SliderAndScrollBarReportPositionAndRange) {
    FakeSkinHost host;
    auto* slider = new SkinSlider(&host, &host, {0, 0, 9, 9});
    slider->SetRange(0, 7200, false);
    slider->SetPosition(300);
    QAccessibleValueInterface* value = QAccessible::queryAccessibleInterface(slider)->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 300);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 7200);
    value->setCurrentValue(5);  // read-only: only mouse and keys move it
    EXPECT_EQ(slider->GetPosition(), 300);

    auto* list = new SkinListBox(&host, {0, 20, 60, 50});
    list->name = "LIST_FILES";
    list->AttachScrollBar({});
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(list->ScrollBar());
    EXPECT_EQ(bar->role(), QAccessible::ScrollBar);
    EXPECT_EQ(bar->text(QAccessible::Name), "LIST_FILES");
    ASSERT_NE(bar->valueInterface(), nullptr);
    EXPECT_EQ(bar->valueInterface()->maximumValue().toInt(), 0);
}

TEST(AccessibleAction, PressingAButtonClicksItAndOnlyButtonsOfferIt) {
    FakeSkinHost host;
    auto* plain = new SkinButton(&host, &host, {0, 0, 9, 9});
    auto* check = new SkinCheckButton(&host, &host, {10, 0, 9, 9});
    auto* option = new SkinOptionButton(&host, &host, {20, 0, 9, 9});
    plain->SetToolTipText("Record", true);
    plain->SetShortcutText("Ctrl+R");
    for (QWidget* w : std::initializer_list<QWidget*>{plain, check, option}) {
        QAccessibleActionInterface* actions =
            QAccessible::queryAccessibleInterface(w)->actionInterface();
        ASSERT_NE(actions, nullptr);
        EXPECT_EQ(actions->actionNames().value(0), QAccessibleActionInterface::pressAction());
        actions->doAction(QAccessibleActionInterface::pressAction());
    }
    EXPECT_EQ(host.calls, (QStringList{"button 0", "check 0", "option 0"}));
    EXPECT_TRUE(check->isChecked);
    EXPECT_TRUE(option->isChecked);

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(plain);
    EXPECT_EQ(iface->text(QAccessible::Name), "Record");
    EXPECT_EQ(iface->text(QAccessible::Accelerator), "Ctrl+R");
    EXPECT_EQ(plain->toolTip(), "Record (Ctrl+R)");
    const QString press = QAccessibleActionInterface::pressAction();
    EXPECT_EQ(iface->actionInterface()->keyBindingsForAction(press), QStringList{"Ctrl+R"});

    auto* slider = new SkinSlider(&host, &host, {0, 20, 9, 9});
    QAccessibleActionInterface* sliderActions =
        QAccessible::queryAccessibleInterface(slider)->actionInterface();
    EXPECT_TRUE(!sliderActions ||
                !sliderActions->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

TEST(AccessibleCombo, ComboBoxIsAComboBox) {
    FakeSkinHost host;
    SkinComboBox combo(&host, &host, {10, 10, 100, 30}, QString(), {}, {});
    combo.name = "COMBO_FORMAT";
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&combo);
    EXPECT_EQ(iface->role(), QAccessible::ComboBox);
    EXPECT_EQ(iface->text(QAccessible::Name), "COMBO_FORMAT");
}

}  // namespace
