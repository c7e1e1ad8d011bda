// The capture control's dispatch interface as data, the one place that says it: every
// operation with its DISPID, call kind, argument types and result type, the members of the
// name collections it hands out, and its named values. The program's typed wrapper, the
// component's server, the placeholder and the tests all read their numbers from here.
#pragma once

#include "platform/Dispatch.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

enum class CaptureOp : uint8_t {
    VideoDeviceIndex, VideoFormatIndex, VideoDevices, VideoFormats, CaptureToFile,
    CaptureFileName, AudioDevices, AudioDeviceIndex, StopRequested, VideoInputs,
    VideoInputIndex, AudioInputIndex, AudioInputs, DateTimeColor, DateTimeFontName,
    DateTimeFontSize, DateTimeFontStyle, ShowDateTime, AudioSyncMode, AudioOffset,
    ActiveOverlay, OutputFormat, FlvAudioBitrate, FlvAudioChannels, FlvAudioSampleRate,
    FlvVideoHeight, FlvVideoBitrate, FlvVideoWidth, FlvFrameRate, StartCapture,
    StopCapture, DrawDateTime, PauseCapture, SetVideoRotation, SelectVideoDevice,
    ShowOverlayImage, SetOverlayTextColor, DrawOverlayImage, SetOverlayTextFontName,
    SetOverlayTextFontSize, ShowOverlayText, DrawOverlayText, SetOverlayTextFontStyle,
    SetOverlayTextStyle, SetOverlayTextOutlineBackColor, SetOverlayTextOutlineColor,
    SetOverlayTextHatchBrush, SetOverlayTextTextureBrush, SetInvertColor, SetGrayScale,
    StreamServer, StreamKey, VideoStandards, VideoStandardIndex, SelectVideoStandard,
    Deinterlace, VideoDeviceNode, SaveSnapshot, StartFailureReason, CheckStreamServer,
    VideoDeviceIdentity, ShowMessage, RefreshDevices, AddStreamDestination, Count
};

// Members of every name collection: Count (property get, i16) and the item-name method
// (an i16 index, returning str). The formats collection names its items under its own DISPID.
inline constexpr int kCollectionCount = 1;
inline constexpr int kCollectionItemName = 3;
inline constexpr int kVideoFormatsItemName = 5;

// `OutputFormat` value of the FLV output.
inline constexpr int32_t kOutputFormatFlv = 4;

// The recording types the control writes, by `OutputFormat` value: each with the name the
// skin's format box shows, the file extension, the save dialog's label and FFmpeg's muxer.
// All hold H.264 and AAC with the FLV properties' values; the live stream is FLV whatever
// the local copy's type.
struct OutputFormatInfo {
    int32_t value;
    std::string_view name;
    std::string_view extension;
    std::string_view label;
    std::string_view muxer;
};
inline constexpr std::array<OutputFormatInfo, 3> kOutputFormats = {{
    {kOutputFormatFlv, "FLV", "flv", "FLV video (*.flv)", "flv"},
    {5, "MP4", "mp4", "MP4 video (*.mp4)", "mp4"},
    {6, "MKV", "mkv", "Matroska video (*.mkv)", "matroska"},
}};
// The row of a value, or nullptr.
const OutputFormatInfo* FindOutputFormat(int32_t value);
// The row whose extension (without the dot, any case) or skin name this is, or nullptr.
const OutputFormatInfo* OutputFormatNamed(std::string_view extensionOrName);
// `StartCapture` result when the capture cannot start.
inline constexpr int16_t kStartFailed = -1;

// What a put or method call changes on the control's side, so that its server can act on
// the kind rather than repeat the consequence in every case.
enum class CaptureEffect : uint8_t { None, Overlays };

struct CaptureOpInfo {
    CaptureOp op;
    int dispid;
    std::string_view name;
    InvokeKind kind;
    std::array<VariantType, 6> args;
    uint8_t argCount;
    VariantType result;       // Empty for none
    int itemDispid;           // collection gets: the DISPID that names an item; 0 otherwise
    CaptureEffect effect;
};

namespace capture_ops_detail {
using K = InvokeKind;
using T = VariantType;
using E = CaptureEffect;
constexpr CaptureOpInfo Put(CaptureOp op, int dispid, std::string_view name, T type,
                            E effect = E::None) {
    return {op, dispid, name, K::PropertyPut, {type}, 1, T::Empty, 0, effect};
}
constexpr CaptureOpInfo Get(CaptureOp op, int dispid, std::string_view name,
                            int itemDispid = kCollectionItemName) {
    return {op, dispid, name, K::PropertyGet, {}, 0, T::Object, itemDispid, E::None};
}
template <typename... Args>
constexpr CaptureOpInfo Call(CaptureOp op, int dispid, std::string_view name, T result, E effect,
                             Args... args) {
    return {op, dispid, name, K::Method, {args...}, uint8_t(sizeof...(Args)), result, 0, effect};
}
}  // namespace capture_ops_detail

inline constexpr std::array<CaptureOpInfo, size_t(CaptureOp::Count)> kCaptureOps = [] {
    using namespace capture_ops_detail;
    using O = CaptureOp;
    constexpr T I16 = T::I16, I32 = T::I32, B = T::Bool, S = T::Str, C = T::Colour, N = T::Empty;
    constexpr E Ov = E::Overlays, No = E::None;
    return std::array<CaptureOpInfo, size_t(CaptureOp::Count)>{{
        Put(O::VideoDeviceIndex, 0x1, "VideoDeviceIndex", I16),
        Put(O::VideoFormatIndex, 0x2, "VideoFormatIndex", I16),
        Get(O::VideoDevices, 0x3, "VideoDevices"),
        Get(O::VideoFormats, 0x4, "VideoFormats", kVideoFormatsItemName),
        Put(O::CaptureToFile, 0x6, "CaptureToFile", B),
        Put(O::CaptureFileName, 0x7, "CaptureFileName", S),
        Get(O::AudioDevices, 0x19, "AudioDevices"),
        Put(O::AudioDeviceIndex, 0x1a, "AudioDeviceIndex", I16),
        Put(O::StopRequested, 0x21, "StopRequested", B),
        Get(O::VideoInputs, 0x29, "VideoInputs"),
        Put(O::VideoInputIndex, 0x2a, "VideoInputIndex", I16),
        Put(O::AudioInputIndex, 0x33, "AudioInputIndex", I16),
        Get(O::AudioInputs, 0x34, "AudioInputs"),
        Put(O::DateTimeColor, 0x35, "DateTimeColor", C, Ov),
        Put(O::DateTimeFontName, 0x36, "DateTimeFontName", S, Ov),
        Put(O::DateTimeFontSize, 0x37, "DateTimeFontSize", I16, Ov),
        Put(O::DateTimeFontStyle, 0x38, "DateTimeFontStyle", I16, Ov),
        Put(O::ShowDateTime, 0x39, "ShowDateTime", B, Ov),
        Put(O::AudioSyncMode, 0x43, "AudioSyncMode", I16),
        Put(O::AudioOffset, 0x44, "AudioOffset", I16),
        Put(O::ActiveOverlay, 0x47, "ActiveOverlay", I32, Ov),
        Put(O::OutputFormat, 0x4e, "OutputFormat", I32),
        Put(O::FlvAudioBitrate, 0x57, "FlvAudioBitrate", I32),
        Put(O::FlvAudioChannels, 0x58, "FlvAudioChannels", I16),
        Put(O::FlvAudioSampleRate, 0x59, "FlvAudioSampleRate", I32),
        Put(O::FlvVideoHeight, 0x5a, "FlvVideoHeight", I16),
        Put(O::FlvVideoBitrate, 0x5b, "FlvVideoBitrate", I32),
        Put(O::FlvVideoWidth, 0x5c, "FlvVideoWidth", I16),
        Put(O::FlvFrameRate, 0x5d, "FlvFrameRate", I16),
        Call(O::StartCapture, 0x67, "StartCapture", I16, No),
        Call(O::StopCapture, 0x68, "StopCapture", N, No),
        Call(O::DrawDateTime, 0x6b, "DrawDateTime", N, Ov, I16, I16, I16),
        Call(O::PauseCapture, 0x6d, "PauseCapture", N, No),
        Call(O::SetVideoRotation, 0x72, "SetVideoRotation", N, Ov, I16),
        Call(O::SelectVideoDevice, 0x74, "SelectVideoDevice", N, No, I16),
        Call(O::ShowOverlayImage, 0x79, "ShowOverlayImage", N, Ov, I16, B),
        Call(O::SetOverlayTextColor, 0x7a, "SetOverlayTextColor", N, Ov, I16, C),
        Call(O::DrawOverlayImage, 0x7b, "DrawOverlayImage", N, Ov, I16, I16, I16, S, C, I16),
        Call(O::SetOverlayTextFontName, 0x7c, "SetOverlayTextFontName", N, Ov, I16, S),
        Call(O::SetOverlayTextFontSize, 0x7d, "SetOverlayTextFontSize", N, Ov, I16, I16),
        Call(O::ShowOverlayText, 0x7e, "ShowOverlayText", N, Ov, I16, B),
        Call(O::DrawOverlayText, 0x7f, "DrawOverlayText", N, Ov, I16, I16, I16, S),
        Call(O::SetOverlayTextFontStyle, 0x80, "SetOverlayTextFontStyle", N, Ov, I16, I16),
        Call(O::SetOverlayTextStyle, 0x81, "SetOverlayTextStyle", N, Ov, I16, I16),
        Call(O::SetOverlayTextOutlineBackColor, 0x82, "SetOverlayTextOutlineBackColor", N, Ov, I16, C),
        Call(O::SetOverlayTextOutlineColor, 0x83, "SetOverlayTextOutlineColor", N, Ov, I16, C),
        Call(O::SetOverlayTextHatchBrush, 0x84, "SetOverlayTextHatchBrush", I16, Ov, I16, I16, C, C),
        Call(O::SetOverlayTextTextureBrush, 0x85, "SetOverlayTextTextureBrush", N, Ov, I16, S),
        Call(O::SetInvertColor, 0x86, "SetInvertColor", N, Ov, B),
        Call(O::SetGrayScale, 0x91, "SetGrayScale", N, Ov, B),
        // Live streaming, an addition of this component: the next StartCapture that records
        // also streams to rtmp://host[:port]/app with this key; it takes both and clears them.
        Put(O::StreamServer, 0x200, "StreamServer", S),
        Put(O::StreamKey, 0x201, "StreamKey", S),
        // Analogue cards: the described device's video standards, the one to capture with,
        // and the one VideoFormats describes (its sizes and rates follow the standard).
        Get(O::VideoStandards, 0x202, "VideoStandards"),
        Put(O::VideoStandardIndex, 0x203, "VideoStandardIndex", I16),
        Call(O::SelectVideoStandard, 0x204, "SelectVideoStandard", N, No, I16),
        // Interlaced sources are deinterlaced before the effects while this is on (it is at first).
        Put(O::Deinterlace, 0x205, "Deinterlace", B),
        // The device node of a video device ("" for the test pattern and the screen), for the
        // camera controls, which talk to the driver itself.
        Call(O::VideoDeviceNode, 0x206, "VideoDeviceNode", S, No, I16),
        // Saves the picture as recorded (output size, overlays, no preview marks) as a PNG at
        // the path; answers "" when saved, else the reason in words.
        Call(O::SaveSnapshot, 0x207, "SaveSnapshot", S, No, S),
        // Why the last StartCapture answered -1, in words; "" after one that started.
        Call(O::StartFailureReason, 0x208, "StartFailureReason", S, No),
        // Whether the server of rtmp://host[:port]/app takes connections, before the user is
        // asked to name a local copy: "" when it does, else why not (the key never shows).
        Call(O::CheckStreamServer, 0x209, "CheckStreamServer", S, No, S, S),
        // What names a video device across boots, where its index and node do not (a camera's
        // card name and bus), so a remembered choice finds its device again.
        Call(O::VideoDeviceIdentity, 0x20A, "VideoDeviceIdentity", S, No, I16),
        // A line of the program's own over the preview, until the next capture starts.
        Call(O::ShowMessage, 0x20B, "ShowMessage", N, No, S),
        // Reads the devices again when a camera or sound source came or went since the last
        // call; true when the lists changed (their indexes may have moved).
        Call(O::RefreshDevices, 0x20C, "RefreshDevices", B, No),
        // A further destination (server, key) of the next live stream, fed by the same
        // encode; "" when taken, else why not. Cleared with StreamServer at each start.
        Call(O::AddStreamDestination, 0x20D, "AddStreamDestination", S, No, S, S),
    }};
}();

constexpr const CaptureOpInfo& CaptureOpRow(CaptureOp op) { return kCaptureOps[size_t(op)]; }
constexpr int DispidOf(CaptureOp op) { return CaptureOpRow(op).dispid; }

namespace capture_ops_detail {
constexpr bool InEnumOrder() {
    for (size_t i = 0; i < kCaptureOps.size(); ++i)
        if (static_cast<size_t>(kCaptureOps[i].op) != i) return false;
    return true;
}
constexpr bool DispidsUnique() {
    for (size_t i = 0; i < kCaptureOps.size(); ++i)
        for (size_t j = i + 1; j < kCaptureOps.size(); ++j)
            if (kCaptureOps[i].dispid == kCaptureOps[j].dispid) return false;
    return true;
}
constexpr bool OnlyCollectionsNameItems() {
    for (const CaptureOpInfo& op : kCaptureOps)
        if ((op.kind == K::PropertyGet) != (op.itemDispid != 0)) return false;
    return true;
}
}  // namespace capture_ops_detail

static_assert(kCaptureOps.size() == static_cast<size_t>(CaptureOp::Count),
              "every operation has exactly one row");
static_assert(capture_ops_detail::InEnumOrder(), "rows follow the enum");
static_assert(capture_ops_detail::DispidsUnique(), "a DISPID names one operation");
static_assert(capture_ops_detail::OnlyCollectionsNameItems(),
              "every collection get, and nothing else, names its item DISPID");

// The row for a DISPID, or nullptr.
const CaptureOpInfo* FindCaptureOp(int dispid);

// Throws the DispatchError a caller of the wrong form deserves.
void CheckCall(const CaptureOpInfo& op, InvokeKind kind, const std::vector<Variant>& args);

}  // namespace platform
