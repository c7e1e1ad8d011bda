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

// Every wrapper member against the operation it names: the kind and DISPID come from the
// interface table, the argument values and their order from here.
const Row kRows[] = {
    {"VideoDeviceIndex", [](CVideoCap& c) { c.SetVideoDeviceIndex(3); }, Put(Op::VideoDeviceIndex, Variant::I16(3))},
    {"VideoFormatIndex", [](CVideoCap& c) { c.SetVideoFormatIndex(4); }, Put(Op::VideoFormatIndex, Variant::I16(4))},
    {"CaptureToFile", [](CVideoCap& c) { c.SetCaptureToFile(true); }, Put(Op::CaptureToFile, Variant::Bool(true))},
    {"CaptureFileName", [](CVideoCap& c) { c.SetCaptureFileName("/tmp/ä.flv"); },
     Put(Op::CaptureFileName, Variant::Str("/tmp/ä.flv"))},
    {"AudioDeviceIndex", [](CVideoCap& c) { c.SetAudioDeviceIndex(-1); }, Put(Op::AudioDeviceIndex, Variant::I16(-1))},
    {"StopRequested", [](CVideoCap& c) { c.SetStopRequested(true); }, Put(Op::StopRequested, Variant::Bool(true))},
    {"VideoInputIndex", [](CVideoCap& c) { c.SetVideoInputIndex(2); }, Put(Op::VideoInputIndex, Variant::I16(2))},
    {"AudioInputIndex", [](CVideoCap& c) { c.SetAudioInputIndex(1); }, Put(Op::AudioInputIndex, Variant::I16(1))},
    {"DateTimeColor", [](CVideoCap& c) { c.SetDateTimeColor(0x123456); }, Put(Op::DateTimeColor, Variant::Colour(0x123456))},
    {"DateTimeFontName", [](CVideoCap& c) { c.SetDateTimeFontName("Arial"); }, Put(Op::DateTimeFontName, Variant::Str("Arial"))},
    {"DateTimeFontSize", [](CVideoCap& c) { c.SetDateTimeFontSize(12); }, Put(Op::DateTimeFontSize, Variant::I16(12))},
    {"DateTimeFontStyle", [](CVideoCap& c) { c.SetDateTimeFontStyle(2); }, Put(Op::DateTimeFontStyle, Variant::I16(2))},
    {"ShowDateTime", [](CVideoCap& c) { c.SetShowDateTime(false); }, Put(Op::ShowDateTime, Variant::Bool(false))},
    {"AudioSyncMode", [](CVideoCap& c) { c.SetAudioSyncMode(2); }, Put(Op::AudioSyncMode, Variant::I16(2))},
    {"AudioOffset", [](CVideoCap& c) { c.SetAudioOffset(-250); }, Put(Op::AudioOffset, Variant::I16(-250))},
    {"ActiveOverlay", [](CVideoCap& c) { c.SetActiveOverlay(-1); }, Put(Op::ActiveOverlay, Variant::I32(-1))},
    {"OutputFormat", [](CVideoCap& c) { c.SetOutputFormat(platform::kOutputFormatFlv); }, Put(Op::OutputFormat, Variant::I32(platform::kOutputFormatFlv))},
    {"FlvAudioBitrate", [](CVideoCap& c) { c.SetFlvAudioBitrate(128000); }, Put(Op::FlvAudioBitrate, Variant::I32(128000))},
    {"FlvAudioChannels", [](CVideoCap& c) { c.SetFlvAudioChannels(2); }, Put(Op::FlvAudioChannels, Variant::I16(2))},
    {"FlvAudioSampleRate", [](CVideoCap& c) { c.SetFlvAudioSampleRate(44100); }, Put(Op::FlvAudioSampleRate, Variant::I32(44100))},
    {"FlvVideoHeight", [](CVideoCap& c) { c.SetFlvVideoHeight(240); }, Put(Op::FlvVideoHeight, Variant::I16(240))},
    {"FlvVideoBitrate", [](CVideoCap& c) { c.SetFlvVideoBitrate(512000); }, Put(Op::FlvVideoBitrate, Variant::I32(512000))},
    {"FlvVideoWidth", [](CVideoCap& c) { c.SetFlvVideoWidth(320); }, Put(Op::FlvVideoWidth, Variant::I16(320))},
    {"FlvFrameRate", [](CVideoCap& c) { c.SetFlvFrameRate(25); }, Put(Op::FlvFrameRate, Variant::I16(25))},
    {"StartCapture", [](CVideoCap& c) { c.StartCapture(); }, Method(Op::StartCapture)},
    {"StopCapture", [](CVideoCap& c) { c.StopCapture(); }, Method(Op::StopCapture)},
    {"DrawDateTime", [](CVideoCap& c) { c.DrawDateTime(1, 2, 3); },
     Method(Op::DrawDateTime, {Variant::I16(1), Variant::I16(2), Variant::I16(3)})},
    {"PauseCapture", [](CVideoCap& c) { c.PauseCapture(); }, Method(Op::PauseCapture)},
    {"SetVideoRotation", [](CVideoCap& c) { c.SetVideoRotation(5); }, Method(Op::SetVideoRotation, {Variant::I16(5)})},
    {"SelectVideoDevice", [](CVideoCap& c) { c.SelectVideoDevice(1); }, Method(Op::SelectVideoDevice, {Variant::I16(1)})},
    {"ShowOverlayImage", [](CVideoCap& c) { c.ShowOverlayImage(0, true); },
     Method(Op::ShowOverlayImage, {Variant::I16(0), Variant::Bool(true)})},
    {"SetOverlayTextColor", [](CVideoCap& c) { c.SetOverlayTextColor(0, 0xFF); },
     Method(Op::SetOverlayTextColor, {Variant::I16(0), Variant::Colour(0xFF)})},
    {"DrawOverlayImage", [](CVideoCap& c) { c.DrawOverlayImage(0, 20, 30, "/a.bmp", 0xFF00, 100); },
     Method(Op::DrawOverlayImage, {Variant::I16(0), Variant::I16(20), Variant::I16(30), Variant::Str("/a.bmp"),
                   Variant::Colour(0xFF00), Variant::I16(100)})},
    {"SetOverlayTextFontName", [](CVideoCap& c) { c.SetOverlayTextFontName(0, "Arial Black"); },
     Method(Op::SetOverlayTextFontName, {Variant::I16(0), Variant::Str("Arial Black")})},
    {"SetOverlayTextFontSize", [](CVideoCap& c) { c.SetOverlayTextFontSize(0, 14); },
     Method(Op::SetOverlayTextFontSize, {Variant::I16(0), Variant::I16(14)})},
    {"ShowOverlayText", [](CVideoCap& c) { c.ShowOverlayText(0, false); },
     Method(Op::ShowOverlayText, {Variant::I16(0), Variant::Bool(false)})},
    {"DrawOverlayText", [](CVideoCap& c) { c.DrawOverlayText(0, 5, 6, "a\r\nb"); },
     Method(Op::DrawOverlayText, {Variant::I16(0), Variant::I16(5), Variant::I16(6), Variant::Str("a\r\nb")})},
    {"SetOverlayTextFontStyle", [](CVideoCap& c) { c.SetOverlayTextFontStyle(0, 3); },
     Method(Op::SetOverlayTextFontStyle, {Variant::I16(0), Variant::I16(3)})},
    {"SetOverlayTextStyle", [](CVideoCap& c) { c.SetOverlayTextStyle(0, 4); },
     Method(Op::SetOverlayTextStyle, {Variant::I16(0), Variant::I16(4)})},
    {"SetOverlayTextOutlineBackColor", [](CVideoCap& c) { c.SetOverlayTextOutlineBackColor(0, 7); },
     Method(Op::SetOverlayTextOutlineBackColor, {Variant::I16(0), Variant::Colour(7)})},
    {"SetOverlayTextOutlineColor", [](CVideoCap& c) { c.SetOverlayTextOutlineColor(0, 8); },
     Method(Op::SetOverlayTextOutlineColor, {Variant::I16(0), Variant::Colour(8)})},
    {"SetOverlayTextHatchBrush", [](CVideoCap& c) { c.SetOverlayTextHatchBrush(0, 52, 1, 2); },
     Method(Op::SetOverlayTextHatchBrush, {Variant::I16(0), Variant::I16(52), Variant::Colour(1), Variant::Colour(2)})},
    {"SetOverlayTextTextureBrush", [](CVideoCap& c) { c.SetOverlayTextTextureBrush(0, ""); },
     Method(Op::SetOverlayTextTextureBrush, {Variant::I16(0), Variant::Str("")})},
    {"SetInvertColor", [](CVideoCap& c) { c.SetInvertColor(true); }, Method(Op::SetInvertColor, {Variant::Bool(true)})},
    {"SetGrayScale", [](CVideoCap& c) { c.SetGrayScale(false); }, Method(Op::SetGrayScale, {Variant::Bool(false)})},
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
        Op property;
        QStringList names;
    };
    const FakeCaptureScript defaults;
    const Case cases[] = {
        {"VideoDevices", &CVideoCap::GetVideoDevices, Op::VideoDevices, defaults.videoDevices},
        {"VideoFormats", &CVideoCap::GetVideoFormats, Op::VideoFormats, defaults.videoFormats[0]},
        {"AudioDevices", &CVideoCap::GetAudioDevices, Op::AudioDevices, defaults.audioDevices},
        {"VideoInputs", &CVideoCap::GetVideoInputs, Op::VideoInputs, defaults.videoInputs[0]},
        {"AudioInputs", &CVideoCap::GetAudioInputs, Op::AudioInputs, defaults.audioInputs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Attached a;
        EXPECT_EQ(ReadAllNames([&] { return c.get(a.cap); }), c.names);
        EXPECT_EQ(a.script->collectionsAlive, 0);

        std::vector<FakeCall> expected{Get(c.property), CountOf(c.property)};
        for (int i = 0; i < c.names.size(); ++i) {
            expected.push_back(Get(c.property));
            expected.push_back(ItemNameOf(c.property, int16_t(i)));
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
