// The control's dispatch interface: every operation accepts exactly its form, keeps its value,
// and anything else is a dispatch error, never a crash.
#include "ComponentDriver.h"

#include "component/CaptureControl.h"
#include "component/NameCollection.h"

#include <gtest/gtest.h>

#include <set>

using component::CaptureControl;
using platform::CaptureOp;
using platform::kCaptureOps;
using platform::DispatchError;
using platform::InvokeKind;
using platform::Variant;
using platform::VariantType;

namespace {

component::DeviceCatalog TwoCameras() {
    component::DeviceCatalog c;
    component::VideoDevice cam;
    cam.name = "Camera A";
    cam.kind = component::VideoKind::V4l2;
    cam.path = "/dev/video0";
    cam.formats = {{"640x480 YUYV 30 fps", 640, 480, 30, "yuyv422"},
                   {"320x240 YUYV 30 fps", 320, 240, 30, "yuyv422"}};
    cam.inputs = {"Camera 1", "Composite"};
    component::VideoDevice second = cam;
    second.name = "Camera B";
    second.formats = {{"1280x720 MJPG 30 fps", 1280, 720, 30, "mjpeg"}};
    second.inputs = {"Default"};
    c.video = {cam, second, component::DeviceCatalog::TestPatternDevice()};
    component::AudioDevice mic;
    mic.name = "Microphone";
    mic.kind = component::AudioKind::Alsa;
    mic.inputs = {"Default"};
    c.audio = {mic, component::DeviceCatalog::TestToneDevice()};
    return c;
}

class DispatchInterface : public ::testing::Test {
protected:
    CaptureControl control{nullptr, component::CaptureControlOptions{&TwoCameras, {}, {}}};
    ComponentDriver driver{control.Dispatch()};
};

Variant SampleOf(VariantType t) {
    switch (t) {
    case VariantType::I16: return Variant::I16(1);
    case VariantType::I32: return Variant::I32(1);
    case VariantType::Bool: return Variant::Bool(true);
    case VariantType::Str: return Variant::Str("x");
    case VariantType::Colour: return Variant::Colour(0x0000FF);
    default: return Variant();
    }
}
// A value of the wrong type for an argument of type `t`.
Variant WrongFor(VariantType t) {
    return t == VariantType::Str ? Variant::I16(1) : Variant::Str("1");
}

// The fifty operations the main window calls, the two of live streaming, the six of
// standards, deinterlacing, camera controls and snapshots, the start failure's reason and
// the stream server's check, a device's identity, a message of the program's, the device
// lists read again and further live destinations.
TEST(CaptureOpsTable, HasItsOperationsWithTheirDispids) {
    ASSERT_EQ(kCaptureOps.size(), 64u);
    std::set<int> dispids;
    for (const auto& op : kCaptureOps) dispids.insert(op.dispid);
    EXPECT_EQ(dispids.size(), 64u);
    EXPECT_EQ(platform::FindCaptureOp(0x20D)->argCount, 2);
    EXPECT_EQ(platform::FindCaptureOp(0x20C)->result, VariantType::Bool);
    EXPECT_EQ(platform::FindCaptureOp(0x20B)->name, "ShowMessage");
    EXPECT_EQ(platform::FindCaptureOp(0x200)->name, "StreamServer");
    EXPECT_EQ(platform::FindCaptureOp(0x201)->name, "StreamKey");
    EXPECT_EQ(platform::FindCaptureOp(0x207)->name, "SaveSnapshot");
    EXPECT_EQ(platform::FindCaptureOp(0x67)->name, "StartCapture");
    EXPECT_EQ(platform::FindCaptureOp(0x91)->name, "SetGrayScale");
    EXPECT_EQ(platform::FindCaptureOp(0x7b)->argCount, 6);
    EXPECT_EQ(platform::FindCaptureOp(0x84)->result, VariantType::I16);
    EXPECT_EQ(platform::FindCaptureOp(0x5), nullptr);
}

TEST_F(DispatchInterface, EveryOperationRejectsAWrongFormWithTheRightError) {
    for (const auto& op : kCaptureOps) {
        SCOPED_TRACE(std::string(op.name));
        std::vector<Variant> good;
        for (int i = 0; i < op.argCount; ++i) good.push_back(SampleOf(op.args[size_t(i)]));

        auto tooMany = good;
        tooMany.push_back(Variant::I16(0));
        try {
            control.Dispatch().Invoke(op.dispid, op.kind, tooMany);
            ADD_FAILURE() << "an extra argument was accepted";
        } catch (const DispatchError& e) {
            EXPECT_EQ(e.ErrorCode(), DispatchError::Code::BadArgCount);
        }
        for (int i = 0; i < op.argCount; ++i) {
            auto wrong = good;
            wrong[size_t(i)] = WrongFor(op.args[size_t(i)]);
            try {
                control.Dispatch().Invoke(op.dispid, op.kind, wrong);
                ADD_FAILURE() << "argument " << i << " of the wrong type was accepted";
            } catch (const DispatchError& e) {
                EXPECT_EQ(e.ErrorCode(), DispatchError::Code::TypeMismatch);
            }
        }
        const InvokeKind otherKind =
            op.kind == InvokeKind::Method ? InvokeKind::PropertyPut : InvokeKind::Method;
        EXPECT_THROW(control.Dispatch().Invoke(op.dispid, otherKind, good), DispatchError);
    }
}

TEST_F(DispatchInterface, EveryOperationAcceptsItsForm) {
    for (const auto& op : kCaptureOps) {
        SCOPED_TRACE(std::string(op.name));
        if (op.op == CaptureOp::StartCapture) continue;  // runs devices; tested elsewhere
        std::vector<Variant> args;
        for (int i = 0; i < op.argCount; ++i) args.push_back(SampleOf(op.args[size_t(i)]));
        Variant result;
        ASSERT_NO_THROW(result = control.Dispatch().Invoke(op.dispid, op.kind, args));
        EXPECT_EQ(result.Type(), op.result);
    }
}

TEST_F(DispatchInterface, UnknownDispidIsAnError) {
    for (int dispid : {0, 5, 0x8, 0x90, 0x92, 0x1000, -1}) {
        try {
            control.Dispatch().Invoke(dispid, InvokeKind::Method, {});
            ADD_FAILURE() << dispid;
        } catch (const DispatchError& e) {
            EXPECT_EQ(e.ErrorCode(), DispatchError::Code::UnknownName) << dispid;
        }
    }
}

TEST_F(DispatchInterface, KeepsEveryValuePut) {
    driver.Call(CaptureOp::VideoDeviceIndex, {Variant::I16(2)});
    driver.Call(CaptureOp::VideoFormatIndex, {Variant::I16(3)});
    driver.Call(CaptureOp::VideoInputIndex, {Variant::I16(1)});
    driver.Call(CaptureOp::AudioDeviceIndex, {Variant::I16(1)});
    driver.Call(CaptureOp::AudioInputIndex, {Variant::I16(-1)});
    driver.Call(CaptureOp::CaptureToFile, {Variant::Bool(true)});
    driver.Call(CaptureOp::CaptureFileName, {Variant::Str("/tmp/a.flv")});
    driver.Call(CaptureOp::StopRequested, {Variant::Bool(true)});
    driver.Call(CaptureOp::AudioSyncMode, {Variant::I16(2)});
    driver.Call(CaptureOp::AudioOffset, {Variant::I16(-40)});
    driver.Call(CaptureOp::OutputFormat, {Variant::I32(platform::kOutputFormatFlv)});
    driver.Call(CaptureOp::FlvAudioBitrate, {Variant::I32(96000)});
    driver.Call(CaptureOp::FlvAudioChannels, {Variant::I16(1)});
    driver.Call(CaptureOp::FlvAudioSampleRate, {Variant::I32(22050)});
    driver.Call(CaptureOp::FlvVideoHeight, {Variant::I16(288)});
    driver.Call(CaptureOp::FlvVideoWidth, {Variant::I16(352)});
    driver.Call(CaptureOp::FlvVideoBitrate, {Variant::I32(700000)});
    driver.Call(CaptureOp::FlvFrameRate, {Variant::I16(29)});
    const auto& s = control.Settings();
    EXPECT_EQ(s.videoDeviceIndex, 2);
    EXPECT_EQ(s.videoFormatIndex, 3);
    EXPECT_EQ(s.videoInputIndex, 1);
    EXPECT_EQ(s.audioDeviceIndex, 1);
    EXPECT_EQ(s.audioInputIndex, -1);
    EXPECT_TRUE(s.captureToFile);
    EXPECT_EQ(s.captureFileName, "/tmp/a.flv");
    EXPECT_TRUE(s.stopRequested);
    EXPECT_EQ(s.audioSyncMode, 2);
    EXPECT_EQ(s.audioOffsetMs, -40);
    EXPECT_EQ(s.outputFormat, 4);
    EXPECT_EQ(s.flv.audioBitrate, 96000);
    EXPECT_EQ(s.flv.audioChannels, 1);
    EXPECT_EQ(s.flv.audioSampleRate, 22050);
    EXPECT_EQ(s.flv.videoHeight, 288);
    EXPECT_EQ(s.flv.videoWidth, 352);
    EXPECT_EQ(s.flv.videoBitrate, 700000);
    EXPECT_EQ(s.flv.frameRate, 29);
}

TEST_F(DispatchInterface, KeepsEveryOverlayValue) {
    using V = Variant;
    driver.Call(CaptureOp::DateTimeColor, {V::Colour(0x00336699)});
    driver.Call(CaptureOp::DateTimeFontName, {V::Str("Cambria")});
    driver.Call(CaptureOp::DateTimeFontSize, {V::I16(18)});
    driver.Call(CaptureOp::DateTimeFontStyle, {V::I16(3)});
    driver.Call(CaptureOp::ShowDateTime, {V::Bool(true)});
    driver.Call(CaptureOp::DrawDateTime, {V::I16(5), V::I16(6), V::I16(2)});
    driver.Call(CaptureOp::ActiveOverlay, {V::I32(0)});
    driver.Call(CaptureOp::SetVideoRotation, {V::I16(3)});
    driver.Call(CaptureOp::SetInvertColor, {V::Bool(true)});
    driver.Call(CaptureOp::SetGrayScale, {V::Bool(true)});
    driver.Call(CaptureOp::ShowOverlayImage, {V::I16(0), V::Bool(false)});
    driver.Call(CaptureOp::DrawOverlayImage,
                {V::I16(0), V::I16(20), V::I16(0), V::Str("/x/image.bmp"), V::Colour(0xFF00), V::I16(300)});
    driver.Call(CaptureOp::SetOverlayTextColor, {V::I16(0), V::Colour(0x0000FF)});
    driver.Call(CaptureOp::SetOverlayTextFontName, {V::I16(0), V::Str("Arial")});
    driver.Call(CaptureOp::SetOverlayTextFontSize, {V::I16(0), V::I16(24)});
    driver.Call(CaptureOp::ShowOverlayText, {V::I16(0), V::Bool(false)});
    driver.Call(CaptureOp::DrawOverlayText, {V::I16(0), V::I16(7), V::I16(8), V::Str("a\r\nb")});
    driver.Call(CaptureOp::SetOverlayTextFontStyle, {V::I16(0), V::I16(1)});
    driver.Call(CaptureOp::SetOverlayTextStyle, {V::I16(0), V::I16(2)});
    driver.Call(CaptureOp::SetOverlayTextOutlineBackColor, {V::I16(0), V::Colour(0x111111)});
    driver.Call(CaptureOp::SetOverlayTextOutlineColor, {V::I16(0), V::Colour(0x222222)});
    EXPECT_EQ(driver.Call(CaptureOp::SetOverlayTextHatchBrush,
                          {V::I16(0), V::I16(4), V::Colour(0x333333), V::Colour(0x444444)}).ToI16(), 0);
    EXPECT_EQ(driver.Call(CaptureOp::SetOverlayTextHatchBrush,
                          {V::I16(1), V::I16(53), V::Colour(0), V::Colour(0)}).ToI16(), -1);
    driver.Call(CaptureOp::SetOverlayTextTextureBrush, {V::I16(0), V::Str("/x/tex.bmp")});

    const auto& o = control.Overlays();
    EXPECT_EQ(o.dateTime.colour, 0x00336699u);
    EXPECT_EQ(o.dateTime.fontName, "Cambria");
    EXPECT_EQ(o.dateTime.fontSize, 18);
    EXPECT_EQ(o.dateTime.fontStyle, 3);
    EXPECT_TRUE(o.dateTime.show);
    EXPECT_EQ(o.dateTime.left, 5);
    EXPECT_EQ(o.dateTime.top, 6);
    EXPECT_EQ(o.dateTime.formatIndex, 2);
    EXPECT_EQ(o.activeOverlay, 0);
    EXPECT_EQ(o.rotation, 3);
    EXPECT_TRUE(o.invert);
    EXPECT_TRUE(o.greyScale);
    const auto& img = o.images.at(0);
    EXPECT_FALSE(img.show);
    EXPECT_EQ(img.left, 20);
    EXPECT_EQ(img.path, "/x/image.bmp");
    EXPECT_EQ(img.transparentColour, 0xFF00u);
    EXPECT_EQ(img.alpha, 300);
    const auto& t = o.texts.at(0);
    EXPECT_EQ(t.colour, 0x0000FFu);
    EXPECT_EQ(t.fontName, "Arial");
    EXPECT_EQ(t.fontSize, 24);
    EXPECT_FALSE(t.show);
    EXPECT_EQ(t.left, 7);
    EXPECT_EQ(t.top, 8);
    EXPECT_EQ(t.text, "a\r\nb");
    EXPECT_EQ(t.fontStyle, 1);
    EXPECT_EQ(t.style, 2);
    EXPECT_EQ(t.outlineBackColour, 0x111111u);
    EXPECT_EQ(t.outlineColour, 0x222222u);
    EXPECT_EQ(t.hatchStyle, 4);
    EXPECT_EQ(t.hatchForeColour, 0x333333u);
    EXPECT_EQ(t.hatchBackColour, 0x444444u);
    EXPECT_EQ(t.texturePath, "/x/tex.bmp");
    EXPECT_EQ(o.texts.at(1).hatchStyle, 53);  // kept, though no such style exists
}

TEST_F(DispatchInterface, CollectionsListTheDevicesInOrder) {
    EXPECT_EQ(driver.Names(CaptureOp::VideoDevices),
              (std::vector<std::string>{"Camera A", "Camera B", "Test Pattern"}));
    EXPECT_EQ(driver.Names(CaptureOp::AudioDevices),
              (std::vector<std::string>{"Microphone", "Test Tone"}));
    EXPECT_EQ(driver.Names(CaptureOp::AudioInputs), (std::vector<std::string>{"Default"}));
}

TEST_F(DispatchInterface, SelectVideoDeviceSwitchesWhatFormatsAndInputsDescribe) {
    EXPECT_EQ(driver.Names(CaptureOp::VideoFormats),
              (std::vector<std::string>{"640x480 YUYV 30 fps", "320x240 YUYV 30 fps"}));
    EXPECT_EQ(driver.Names(CaptureOp::VideoInputs),
              (std::vector<std::string>{"Camera 1", "Composite"}));
    driver.Call(CaptureOp::SelectVideoDevice, {Variant::I16(1)});
    EXPECT_EQ(driver.Names(CaptureOp::VideoFormats),
              (std::vector<std::string>{"1280x720 MJPG 30 fps"}));
    EXPECT_EQ(driver.Names(CaptureOp::VideoInputs), (std::vector<std::string>{"Default"}));
    // Putting the capture device does not change what the collections describe.
    driver.Call(CaptureOp::VideoDeviceIndex, {Variant::I16(0)});
    EXPECT_EQ(driver.Names(CaptureOp::VideoFormats).size(), 1u);
    driver.Call(CaptureOp::SelectVideoDevice, {Variant::I16(9)});
    EXPECT_TRUE(driver.Names(CaptureOp::VideoFormats).empty());
}

TEST_F(DispatchInterface, CollectionsAreFreshObjectsWithTheirOwnDispids) {
    auto formats = driver.Call(CaptureOp::VideoFormats).ToObject();
    auto formatsAgain = driver.Call(CaptureOp::VideoFormats).ToObject();
    EXPECT_NE(formats, formatsAgain);
    EXPECT_EQ(formats->Invoke(5, InvokeKind::Method, {Variant::I16(1)}).ToStr(), "320x240 YUYV 30 fps");
    EXPECT_THROW(formats->Invoke(3, InvokeKind::Method, {Variant::I16(0)}), DispatchError);
    auto devices = driver.Call(CaptureOp::VideoDevices).ToObject();
    EXPECT_EQ(devices->Invoke(3, InvokeKind::Method, {Variant::I16(0)}).ToStr(), "Camera A");
    EXPECT_THROW(devices->Invoke(5, InvokeKind::Method, {Variant::I16(0)}), DispatchError);

    struct Case {
        int dispid;
        InvokeKind kind;
        std::vector<Variant> args;
        DispatchError::Code code;
    };
    const std::vector<Case> bad = {
        {1, InvokeKind::Method, {}, DispatchError::Code::BadKind},
        {1, InvokeKind::PropertyGet, {Variant::I16(0)}, DispatchError::Code::BadArgCount},
        {3, InvokeKind::Method, {Variant::I32(0)}, DispatchError::Code::TypeMismatch},
        {3, InvokeKind::Method, {}, DispatchError::Code::BadArgCount},
        {3, InvokeKind::Method, {Variant::I16(3)}, DispatchError::Code::Failed},
        {3, InvokeKind::Method, {Variant::I16(-1)}, DispatchError::Code::Failed},
        {3, InvokeKind::PropertyGet, {Variant::I16(0)}, DispatchError::Code::BadKind},
        {7, InvokeKind::Method, {}, DispatchError::Code::UnknownName},
    };
    for (const Case& c : bad) {
        try {
            devices->Invoke(c.dispid, c.kind, c.args);
            ADD_FAILURE() << "accepted DISPID " << c.dispid;
        } catch (const DispatchError& e) {
            EXPECT_EQ(e.ErrorCode(), c.code) << c.dispid << " " << e.what();
        }
    }
}

}  // namespace
