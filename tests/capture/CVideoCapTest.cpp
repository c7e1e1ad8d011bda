#include <gtest/gtest.h>

#include <functional>

#include "FakeCaptureControl.h"
#include "capture/CVideoCap.h"
#include "platform/PlaceholderCaptureControl.h"

using platform::InvokeKind;
using platform::Variant;

namespace {

struct Row {
    const char* name;
    std::function<void(CVideoCap&)> call;
    FakeCall expected;
};

// Every wrapper member against the control's table, written out independently of the
// wrapper's own constants.
const Row kRows[] = {
    {"VideoDeviceIndex", [](CVideoCap& c) { c.SetVideoDeviceIndex(3); }, Put(0x01, Variant::I16(3))},
    {"VideoFormatIndex", [](CVideoCap& c) { c.SetVideoFormatIndex(4); }, Put(0x02, Variant::I16(4))},
    {"CaptureToFile", [](CVideoCap& c) { c.SetCaptureToFile(true); }, Put(0x06, Variant::Bool(true))},
    {"CaptureFileName", [](CVideoCap& c) { c.SetCaptureFileName("/tmp/ä.flv"); },
     Put(0x07, Variant::Str("/tmp/ä.flv"))},
    {"AudioDeviceIndex", [](CVideoCap& c) { c.SetAudioDeviceIndex(-1); }, Put(0x1a, Variant::I16(-1))},
    {"StopRequested", [](CVideoCap& c) { c.SetStopRequested(true); }, Put(0x21, Variant::Bool(true))},
    {"VideoInputIndex", [](CVideoCap& c) { c.SetVideoInputIndex(2); }, Put(0x2a, Variant::I16(2))},
    {"AudioInputIndex", [](CVideoCap& c) { c.SetAudioInputIndex(1); }, Put(0x33, Variant::I16(1))},
    {"DateTimeColor", [](CVideoCap& c) { c.SetDateTimeColor(0x123456); }, Put(0x35, Variant::Colour(0x123456))},
    {"DateTimeFontName", [](CVideoCap& c) { c.SetDateTimeFontName("Arial"); }, Put(0x36, Variant::Str("Arial"))},
    {"DateTimeFontSize", [](CVideoCap& c) { c.SetDateTimeFontSize(12); }, Put(0x37, Variant::I16(12))},
    {"DateTimeFontStyle", [](CVideoCap& c) { c.SetDateTimeFontStyle(2); }, Put(0x38, Variant::I16(2))},
    {"ShowDateTime", [](CVideoCap& c) { c.SetShowDateTime(false); }, Put(0x39, Variant::Bool(false))},
    {"AudioSyncMode", [](CVideoCap& c) { c.SetAudioSyncMode(2); }, Put(0x43, Variant::I16(2))},
    {"AudioOffset", [](CVideoCap& c) { c.SetAudioOffset(-250); }, Put(0x44, Variant::I16(-250))},
    {"ActiveOverlay", [](CVideoCap& c) { c.SetActiveOverlay(-1); }, Put(0x47, Variant::I32(-1))},
    {"OutputFormat", [](CVideoCap& c) { c.SetOutputFormat(4); }, Put(0x4e, Variant::I32(4))},
    {"FlvAudioBitrate", [](CVideoCap& c) { c.SetFlvAudioBitrate(128000); }, Put(0x57, Variant::I32(128000))},
    {"FlvAudioChannels", [](CVideoCap& c) { c.SetFlvAudioChannels(2); }, Put(0x58, Variant::I16(2))},
    {"FlvAudioSampleRate", [](CVideoCap& c) { c.SetFlvAudioSampleRate(44100); }, Put(0x59, Variant::I32(44100))},
    {"FlvVideoHeight", [](CVideoCap& c) { c.SetFlvVideoHeight(240); }, Put(0x5a, Variant::I16(240))},
    {"FlvVideoBitrate", [](CVideoCap& c) { c.SetFlvVideoBitrate(512000); }, Put(0x5b, Variant::I32(512000))},
    {"FlvVideoWidth", [](CVideoCap& c) { c.SetFlvVideoWidth(320); }, Put(0x5c, Variant::I16(320))},
    {"FlvFrameRate", [](CVideoCap& c) { c.SetFlvFrameRate(25); }, Put(0x5d, Variant::I16(25))},
    {"StartCapture", [](CVideoCap& c) { c.StartCapture(); }, Method(0x67)},
    {"StopCapture", [](CVideoCap& c) { c.StopCapture(); }, Method(0x68)},
    {"DrawDateTime", [](CVideoCap& c) { c.DrawDateTime(1, 2, 3); },
     Method(0x6b, {Variant::I16(1), Variant::I16(2), Variant::I16(3)})},
    {"PauseCapture", [](CVideoCap& c) { c.PauseCapture(); }, Method(0x6d)},
    {"SetVideoRotation", [](CVideoCap& c) { c.SetVideoRotation(5); }, Method(0x72, {Variant::I16(5)})},
    {"SelectVideoDevice", [](CVideoCap& c) { c.SelectVideoDevice(1); }, Method(0x74, {Variant::I16(1)})},
    {"ShowOverlayImage", [](CVideoCap& c) { c.ShowOverlayImage(0, true); },
     Method(0x79, {Variant::I16(0), Variant::Bool(true)})},
    {"SetOverlayTextColor", [](CVideoCap& c) { c.SetOverlayTextColor(0, 0xFF); },
     Method(0x7a, {Variant::I16(0), Variant::Colour(0xFF)})},
    {"DrawOverlayImage", [](CVideoCap& c) { c.DrawOverlayImage(0, 20, 30, "/a.bmp", 0xFF00, 100); },
     Method(0x7b, {Variant::I16(0), Variant::I16(20), Variant::I16(30), Variant::Str("/a.bmp"),
                   Variant::Colour(0xFF00), Variant::I16(100)})},
    {"SetOverlayTextFontName", [](CVideoCap& c) { c.SetOverlayTextFontName(0, "Arial Black"); },
     Method(0x7c, {Variant::I16(0), Variant::Str("Arial Black")})},
    {"SetOverlayTextFontSize", [](CVideoCap& c) { c.SetOverlayTextFontSize(0, 14); },
     Method(0x7d, {Variant::I16(0), Variant::I16(14)})},
    {"ShowOverlayText", [](CVideoCap& c) { c.ShowOverlayText(0, false); },
     Method(0x7e, {Variant::I16(0), Variant::Bool(false)})},
    {"DrawOverlayText", [](CVideoCap& c) { c.DrawOverlayText(0, 5, 6, "a\r\nb"); },
     Method(0x7f, {Variant::I16(0), Variant::I16(5), Variant::I16(6), Variant::Str("a\r\nb")})},
    {"SetOverlayTextFontStyle", [](CVideoCap& c) { c.SetOverlayTextFontStyle(0, 3); },
     Method(0x80, {Variant::I16(0), Variant::I16(3)})},
    {"SetOverlayTextStyle", [](CVideoCap& c) { c.SetOverlayTextStyle(0, 4); },
     Method(0x81, {Variant::I16(0), Variant::I16(4)})},
    {"SetOverlayTextOutlineBackColor", [](CVideoCap& c) { c.SetOverlayTextOutlineBackColor(0, 7); },
     Method(0x82, {Variant::I16(0), Variant::Colour(7)})},
    {"SetOverlayTextOutlineColor", [](CVideoCap& c) { c.SetOverlayTextOutlineColor(0, 8); },
     Method(0x83, {Variant::I16(0), Variant::Colour(8)})},
    {"SetOverlayTextHatchBrush", [](CVideoCap& c) { c.SetOverlayTextHatchBrush(0, 52, 1, 2); },
     Method(0x84, {Variant::I16(0), Variant::I16(52), Variant::Colour(1), Variant::Colour(2)})},
    {"SetOverlayTextTextureBrush", [](CVideoCap& c) { c.SetOverlayTextTextureBrush(0, ""); },
     Method(0x85, {Variant::I16(0), Variant::Str("")})},
    {"SetInvertColor", [](CVideoCap& c) { c.SetInvertColor(true); }, Method(0x86, {Variant::Bool(true)})},
    {"SetGrayScale", [](CVideoCap& c) { c.SetGrayScale(false); }, Method(0x91, {Variant::Bool(false)})},
};

struct Attached {
    std::shared_ptr<FakeCaptureScript> script = std::make_shared<FakeCaptureScript>();
    FakeCaptureControl control{script, nullptr};
    CVideoCap cap;
    Attached() { cap.Attach(&control); }
};

}  // namespace

TEST(CVideoCap, EveryMemberMakesExactlyItsDispatchCall) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        Attached a;
        row.call(a.cap);
        ASSERT_EQ(a.script->calls.size(), 1u);
        EXPECT_EQ(a.script->calls[0], row.expected);
    }
}

TEST(CVideoCap, StartCaptureReturnsTheControlsResult) {
    Attached a;
    a.script->startResult = -1;
    EXPECT_EQ(a.cap.StartCapture(), -1);
}

TEST(CVideoCap, CollectionsReadAFreshObjectPerCallAndReleaseIt) {
    struct Case {
        const char* name;
        std::function<CNameCollection(CVideoCap&)> get;
        int property;
        int itemDispid;
        QStringList names;
    };
    const FakeCaptureScript defaults;
    const Case cases[] = {
        {"VideoDevices", &CVideoCap::GetVideoDevices, 0x03, 3, defaults.videoDevices},
        {"VideoFormats", &CVideoCap::GetVideoFormats, 0x04, 5, defaults.videoFormats[0]},
        {"AudioDevices", &CVideoCap::GetAudioDevices, 0x19, 3, defaults.audioDevices},
        {"VideoInputs", &CVideoCap::GetVideoInputs, 0x29, 3, defaults.videoInputs[0]},
        {"AudioInputs", &CVideoCap::GetAudioInputs, 0x34, 3, defaults.audioInputs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Attached a;
        EXPECT_EQ(ReadAllNames([&] { return c.get(a.cap); }), c.names);
        EXPECT_EQ(a.script->collectionsAlive, 0);

        std::vector<FakeCall> expected{Get(c.property), {c.property, 1, InvokeKind::PropertyGet, {}}};
        for (int i = 0; i < c.names.size(); ++i) {
            expected.push_back(Get(c.property));
            expected.push_back({c.property, c.itemDispid, InvokeKind::Method, {Variant::I16(int16_t(i))}});
        }
        EXPECT_EQ(a.script->calls, expected);
    }
}

TEST(CVideoCap, WithoutAControlEveryCallIsADispatchError) {
    CVideoCap cap;
    EXPECT_THROW(cap.SetVideoDeviceIndex(0), platform::DispatchError);
    Attached a;
    a.cap.Attach(nullptr);
    EXPECT_THROW(a.cap.StartCapture(), platform::DispatchError);
}

TEST(CVideoCap, AControlThatWentAwayIsNotCalled) {
    auto script = std::make_shared<FakeCaptureScript>();
    CVideoCap cap;
    auto* control = new FakeCaptureControl(script, nullptr);
    cap.Attach(control);
    delete control;
    EXPECT_THROW(cap.StopCapture(), platform::DispatchError);
    EXPECT_TRUE(script->calls.empty());
}

TEST(PlaceholderCaptureControl, AnswersEveryCallAndListsOneTestEntryOfEachKind) {
    platform::PlaceholderCaptureControl placeholder(nullptr);
    CVideoCap cap;
    cap.Attach(&placeholder);
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        EXPECT_NO_THROW(row.call(cap));
    }
    EXPECT_EQ(cap.StartCapture(), 0);
    for (auto get : {&CVideoCap::GetVideoDevices, &CVideoCap::GetVideoFormats,
                     &CVideoCap::GetAudioDevices, &CVideoCap::GetVideoInputs,
                     &CVideoCap::GetAudioInputs}) {
        const QStringList names = ReadAllNames([&] { return (cap.*get)(); });
        ASSERT_EQ(names.size(), 1);
        EXPECT_TRUE(names[0].startsWith("Test ")) << names[0].toStdString();
    }
}
