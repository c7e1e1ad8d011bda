#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "DialogTestSupport.h"
#include "ScriptedServices.h"
#include "dialogs/CAudioDeviceDlg.h"
#include "dialogs/CVideoDeviceDlg.h"
#include "dialogs/DialogIds.h"

using platform::InvokeKind;
using platform::Variant;

namespace {

struct VideoFixture : ::testing::Test {
    ScriptedServices services;
    FakeCaptureHost host;
    CVideoDeviceDlg dlg;
    void Create(QStringList devices, QStringList formats, QStringList inputs) {
        dlg.DeviceNames() = devices;
        dlg.FormatNames() = formats;
        dlg.InputNames() = inputs;
        dlg.SetMainWindow(&host);
        dlg.Create(nullptr);
        dlg.show();
        // An open device dialog asks, and only asks, whether devices came or went.
        EXPECT_EQ(host.script->calls, std::vector<FakeCall>{Method(Op::RefreshDevices)});
        host.script->calls.clear();
    }
    QComboBox* List(int id) { return dlg.Combo(id); }
};

}  // namespace

using namespace VideoDeviceIds;

TEST_F(VideoFixture, ListsTheNamesAndStoresTheSelectionsOnOk) {
    Create({"Camera A", "Camera B"}, {"640x480", "320x240"}, {"Composite", "S-Video"});
    EXPECT_EQ(Items(List(kDeviceList)), (QStringList{"Camera A", "Camera B"}));
    EXPECT_EQ(List(kDeviceList)->currentIndex(), 0);
    EXPECT_EQ(List(kFormatList)->currentIndex(), 0);
    EXPECT_EQ(List(kInputList)->currentIndex(), 0);
    List(kFormatList)->setCurrentIndex(1);
    List(kInputList)->setCurrentIndex(1);
    dlg.Button(kOk)->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.DeviceIndex(), 0);
    EXPECT_EQ(dlg.FormatIndex(), 1);
    EXPECT_EQ(dlg.InputIndex(), 1);
    EXPECT_TRUE(host.script->calls.empty());
}

TEST_F(VideoFixture, EmptyListsStoreMinusOne) {
    Create({}, {}, {});
    for (int id : {kDeviceList, kFormatList, kInputList}) EXPECT_EQ(List(id)->count(), 0);
    dlg.Button(kOk)->click();
    EXPECT_EQ(dlg.DeviceIndex(), -1);
    EXPECT_EQ(dlg.FormatIndex(), -1);
    EXPECT_EQ(dlg.InputIndex(), -1);
}

TEST_F(VideoFixture, ChoosingADeviceRefillsFormatsAndInputsFromTheControl) {
    Create({"Camera A", "Camera B"}, {"640x480", "320x240"}, {"Composite", "S-Video"});
    Choose(List(kDeviceList), 1);

    // Camera B has one format and no inputs; every read goes through a fresh collection.
    const std::vector<FakeCall> expected{
        Method(Op::SelectVideoDevice, {Variant::I16(1)}),
        Get(Op::VideoFormats), CountOf(Op::VideoFormats),
        Get(Op::VideoFormats), ItemNameOf(Op::VideoFormats, 0),
        Get(Op::VideoInputs), CountOf(Op::VideoInputs),
        Get(Op::VideoStandards), CountOf(Op::VideoStandards),
    };
    EXPECT_EQ(host.script->calls, expected);
    EXPECT_EQ(host.script->collectionsAlive, 0);
    EXPECT_EQ(Items(List(kFormatList)), QStringList{"1280x720"});
    EXPECT_EQ(List(kFormatList)->currentIndex(), 0);
    EXPECT_EQ(List(kInputList)->count(), 0);
    EXPECT_EQ(List(kInputList)->currentIndex(), -1);

    // Cancel stores nothing, but the lists keep the new device's entries.
    dlg.Button(kCancel)->click();
    EXPECT_EQ(dlg.DeviceIndex(), 0);
    EXPECT_EQ(dlg.FormatIndex(), 0);
    EXPECT_EQ(dlg.InputIndex(), 0);
    EXPECT_EQ(dlg.FormatNames(), (QStringList{"640x480", "320x240"}));
    dlg.show();
    dlg.Button(kOk)->click();
    EXPECT_EQ(dlg.DeviceIndex(), 1);
    EXPECT_EQ(dlg.FormatIndex(), 0);
    EXPECT_EQ(dlg.InputIndex(), -1);
}

TEST_F(VideoFixture, AFailingControlIsReportedAndTheDialogStays) {
    Create({"Camera A", "Camera B"}, {"640x480"}, {"Composite"});
    host.script->failDispid = DispidOf(Op::SelectVideoDevice);
    Choose(List(kDeviceList), 1);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "The capture control failed call 116.");
    EXPECT_EQ(host.Calls(), std::vector<FakeCall>{Method(Op::SelectVideoDevice, {Variant::I16(1)})});
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(VideoFixture, EnterHidesWithoutStoringTheSelections) {
    Create({"Camera A", "Camera B"}, {"640x480", "320x240"}, {"Composite"});
    List(kFormatList)->setCurrentIndex(1);
    QTest::keyClick(List(kFormatList), Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.FormatIndex(), 0);
}

namespace {

struct AudioFixture : ::testing::Test {
    ScriptedServices services;
    FakeCaptureHost host;
    CAudioDeviceDlg dlg;
    void Create(QStringList devices, QStringList inputs) {
        dlg.DeviceNames() = devices;
        dlg.InputNames() = inputs;
        dlg.SetMainWindow(&host);
        dlg.Create(nullptr);
        dlg.show();
        // An open device dialog asks, and only asks, whether devices came or went.
        EXPECT_EQ(host.script->calls, std::vector<FakeCall>{Method(Op::RefreshDevices)});
        host.script->calls.clear();
    }
    void Ok() { dlg.Button(AudioDeviceIds::kOk)->click(); }
};

}  // namespace

TEST_F(AudioFixture, FreshOkStoresTheDefaults) {
    Create({"Microphone"}, {"Line In", "Mic In"});
    EXPECT_EQ(Items(dlg.Combo(AudioDeviceIds::kSyncModeList)),
              (QStringList{"No Sync", "Sync with stream offset (Auto Mode)",
                           "Sync with stream offset (Manual Mode)"}));
    EXPECT_EQ(dlg.Combo(AudioDeviceIds::kSyncModeList)->currentIndex(), 1);
    EXPECT_EQ(dlg.Edit(AudioDeviceIds::kOffsetEdit)->text(), "1");
    Ok();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.DeviceIndex(), 0);
    EXPECT_EQ(dlg.InputIndex(), 0);
    EXPECT_EQ(dlg.SyncMode(), 1);
    EXPECT_EQ(dlg.AudioOffset(), 1);
    EXPECT_TRUE(host.script->calls.empty());
}

TEST_F(AudioFixture, StoresSelectionsAndASignedOffset) {
    Create({"Microphone", "Headset"}, {"Line In", "Mic In"});
    dlg.Combo(AudioDeviceIds::kDeviceList)->setCurrentIndex(1);
    dlg.Combo(AudioDeviceIds::kInputList)->setCurrentIndex(1);
    dlg.Combo(AudioDeviceIds::kSyncModeList)->setCurrentIndex(2);
    dlg.Edit(AudioDeviceIds::kOffsetEdit)->setText(" -250 ");
    Ok();
    EXPECT_EQ(dlg.DeviceIndex(), 1);
    EXPECT_EQ(dlg.InputIndex(), 1);
    EXPECT_EQ(dlg.SyncMode(), 2);
    EXPECT_EQ(dlg.AudioOffset(), -250);
    EXPECT_EQ(dlg.Edit(AudioDeviceIds::kOffsetEdit)->text(), "-250");
}

TEST_F(AudioFixture, ANonNumericOffsetIsReportedOnceAndDiscarded) {
    Create({"Microphone"}, {"Line In"});
    dlg.Edit(AudioDeviceIds::kOffsetEdit)->setText("soon");
    Ok();
    EXPECT_EQ(services.messageTexts(), QStringList{"Please enter an integer."});
    EXPECT_EQ(dlg.AudioOffset(), 1);
    EXPECT_EQ(dlg.Edit(AudioDeviceIds::kOffsetEdit)->text(), "1");
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(AudioFixture, EmptyListsStoreMinusOne) {
    Create({}, {});
    Ok();
    EXPECT_EQ(dlg.DeviceIndex(), -1);
    EXPECT_EQ(dlg.InputIndex(), -1);
    EXPECT_EQ(dlg.SyncMode(), 1);
}
