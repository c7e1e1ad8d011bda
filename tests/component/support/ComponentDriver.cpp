#include "ComponentDriver.h"

using platform::CaptureOp;
using platform::kCaptureOps;
using platform::InvokeKind;
using platform::Variant;

Variant ComponentDriver::Call(CaptureOp op, std::vector<Variant> args) {
    const auto& info = kCaptureOps[size_t(op)];
    return m_control.Invoke(info.dispid, info.kind, args);
}

std::vector<std::string> ComponentDriver::Names(CaptureOp collection) {
    const int itemDispid = collection == CaptureOp::VideoFormats ? 5 : 3;
    const int count = Call(collection).ToObject()->Invoke(1, InvokeKind::PropertyGet, {}).ToI16();
    std::vector<std::string> names;
    for (int16_t i = 0; i < count; ++i)
        names.push_back(Call(collection)
                            .ToObject()
                            ->Invoke(itemDispid, InvokeKind::Method, {Variant::I16(i)})
                            .ToStr());
    return names;
}

int ComponentDriver::IndexOf(CaptureOp collection, const std::string& name) {
    const auto names = Names(collection);
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return int(i);
    return -1;
}

void ComponentDriver::SelectTestSources(const std::string& format) {
    Select("Test Pattern", format, "Default", "Test Tone");
}

bool ComponentDriver::Select(const std::string& video, const std::string& format, const std::string& input,
                             const std::string& audio) {
    selection.videoDevice = int16_t(IndexOf(CaptureOp::VideoDevices, video));
    Call(CaptureOp::SelectVideoDevice, {Variant::I16(selection.videoDevice)});
    selection.videoFormat = int16_t(IndexOf(CaptureOp::VideoFormats, format));
    selection.videoInput = int16_t(std::max(0, IndexOf(CaptureOp::VideoInputs, input)));
    selection.audioDevice = int16_t(IndexOf(CaptureOp::AudioDevices, audio));
    selection.audioInput = 0;
    return selection.videoDevice >= 0 && selection.videoFormat >= 0 && IndexOf(CaptureOp::VideoInputs, input) >= 0 &&
           selection.audioDevice >= 0;
}

void ComponentDriver::ApplyDeviceSelection() {
    Call(CaptureOp::VideoDeviceIndex, {Variant::I16(selection.videoDevice)});
    Call(CaptureOp::VideoInputIndex, {Variant::I16(selection.videoInput)});
    Call(CaptureOp::VideoFormatIndex, {Variant::I16(selection.videoFormat)});
    Call(CaptureOp::AudioDeviceIndex, {Variant::I16(selection.audioDevice)});
    Call(CaptureOp::AudioInputIndex, {Variant::I16(selection.audioInput)});
}

void ComponentDriver::OverlaySet() {
    Call(CaptureOp::DrawDateTime, {Variant::I16(10), Variant::I16(10), Variant::I16(0)});
    Call(CaptureOp::DrawOverlayText,
         {Variant::I16(0), Variant::I16(0), Variant::I16(0), Variant::Str("Korvex Software\r\n")});
    Call(CaptureOp::DrawOverlayImage, {Variant::I16(0), Variant::I16(20), Variant::I16(0),
                                       Variant::Str("/nonexistent/image.bmp"), Variant::Colour(0),
                                       Variant::I16(100)});
}

void ComponentDriver::ApplyOverlays() {
    Call(CaptureOp::SetVideoRotation, {Variant::I16(0)});
    Call(CaptureOp::SetInvertColor, {Variant::Bool(false)});
    OverlaySet();
}

void ComponentDriver::StartSettings() {
    Call(CaptureOp::AudioSyncMode, {Variant::I16(selection.syncMode)});
    Call(CaptureOp::AudioOffset, {Variant::I16(selection.audioOffset)});
    Call(CaptureOp::ActiveOverlay, {Variant::I32(selection.useOverlay ? 0 : -1)});
    Call(CaptureOp::ShowDateTime, {Variant::Bool(selection.showStampAndText)});
    Call(CaptureOp::ShowOverlayText, {Variant::I16(0), Variant::Bool(selection.showStampAndText)});
}

int16_t ComponentDriver::Preview() {
    ApplyDeviceSelection();
    StartSettings();
    const int16_t result = Call(CaptureOp::StartCapture).ToI16();
    ApplyOverlays();
    return result;
}

int16_t ComponentDriver::Record(const std::string& path) {
    ApplyDeviceSelection();
    OverlaySet();
    // The type the file's extension names, as the save dialog chooses it; FLV otherwise.
    const platform::OutputFormatInfo* type =
        platform::OutputFormatNamed(path.substr(path.find_last_of('.') + 1));
    Call(CaptureOp::OutputFormat, {Variant::I32(type ? type->value : platform::kOutputFormatFlv)});
    Call(CaptureOp::FlvAudioBitrate, {Variant::I32(flv.audioBitrate)});
    Call(CaptureOp::FlvAudioChannels, {Variant::I16(flv.audioChannels)});
    Call(CaptureOp::FlvAudioSampleRate, {Variant::I32(flv.audioSampleRate)});
    Call(CaptureOp::FlvVideoHeight, {Variant::I16(flv.videoHeight)});
    Call(CaptureOp::FlvVideoWidth, {Variant::I16(flv.videoWidth)});
    Call(CaptureOp::FlvVideoBitrate, {Variant::I32(flv.videoBitrate)});
    Call(CaptureOp::FlvFrameRate, {Variant::I16(flv.frameRate)});
    Call(CaptureOp::CaptureFileName, {Variant::Str(path)});
    Call(CaptureOp::CaptureToFile, {Variant::Bool(true)});
    StartSettings();
    const int16_t result = Call(CaptureOp::StartCapture).ToI16();
    ApplyOverlays();
    return result;
}

void ComponentDriver::Pause() { Call(CaptureOp::PauseCapture); }

int16_t ComponentDriver::Stop() {
    Call(CaptureOp::StopRequested, {Variant::Bool(true)});
    Call(CaptureOp::CaptureToFile, {Variant::Bool(false)});
    Call(CaptureOp::StopCapture);
    const int16_t result = Call(CaptureOp::StartCapture).ToI16();
    ApplyOverlays();
    return result;
}

void ComponentDriver::StopCapture() { Call(CaptureOp::StopCapture); }
