#include <gtest/gtest.h>

#include "ScriptedServices.h"
#include "platform/ControlContainer.h"

using namespace platform;

TEST(ConvertFilter, TurnsPipeListsIntoQtNameFilters) {
    EXPECT_EQ(ConvertFilter("flv file(*.flv)|*.flv|All Files(*.*)|*.*|| "),
              (QStringList{"flv file(*.flv)", "All Files(*.*)"}));
    EXPECT_EQ(ConvertFilter("FLV video (*.flv)|*.flv|MP4 video (*.mp4)|*.mp4||"),
              (QStringList{"FLV video (*.flv)", "MP4 video (*.mp4)"}));
    EXPECT_EQ(ConvertFilter("All Video Files(*.wmv, *mp4, *avi)|*.wmv;*.mp4;*.avi||"),
              (QStringList{"All Video Files(*.wmv, *mp4, *avi) (*.wmv *.mp4 *.avi)"}));
    EXPECT_TRUE(ConvertFilter("").isEmpty());
}

TEST(ShowMessage, GoesThroughTheInstalledServiceWithTheApplicationTitle) {
    ScriptedServices s;
    s.messageAnswers.push_back(IDYES);
    EXPECT_EQ(ShowMessage(nullptr, "Retry?", MsgButtons::YesNo, MsgIcon::Stop), IDYES);
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0].title, "Capture Station");
    EXPECT_EQ(s.messages[0].icon, MsgIcon::Stop);
}

TEST(ControlContainer, CreatesByClassIdWithPlaceholdersForBothControls) {
    EXPECT_EQ(ControlContainer::Create("{no-such-id}", nullptr), nullptr);
    ControlContainer::Unregister(kCaptureControlClassId);
    ControlContainer::Unregister(kWmvEditorClassId);
    RegisterPlaceholderControls();
    // The capture stand-in answers (StartCapture "started"); the editor is only hosted.
    std::unique_ptr<HostedControl> c(ControlContainer::Create(kCaptureControlClassId, nullptr));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Dispatch().Invoke(0x67, InvokeKind::Method, {}).ToI16(), 0);
    std::unique_ptr<HostedControl> editor(ControlContainer::Create(kWmvEditorClassId, nullptr));
    ASSERT_NE(editor, nullptr);
    EXPECT_THROW(editor->Dispatch().Invoke(1, InvokeKind::Method, {}), DispatchError);
}
