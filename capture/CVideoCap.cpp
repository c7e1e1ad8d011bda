#include "CVideoCap.h"

#include "CaptureDispids.h"

using namespace capture;
using platform::InvokeKind;
using platform::Variant;

namespace {
Variant Str(const QString& s) { return Variant::Str(s.toStdString()); }
Variant Col(platform::Colour c) { return Variant::Colour(c); }
}  // namespace

platform::IDispatch& CVideoCap::Dispatch() const {
    if (!m_control)
        throw platform::DispatchError(platform::DispatchError::Code::NoControl, 0,
                                      "The capture control is not available.");
    return m_control->dispatch();
}

void CVideoCap::Put(int dispid, Variant value) {
    Dispatch().Invoke(dispid, InvokeKind::PropertyPut, {std::move(value)});
}

CNameCollection CVideoCap::GetCollection(int dispid, int itemNameDispid) {
    return CNameCollection(Dispatch().Invoke(dispid, InvokeKind::PropertyGet, {}).toObject(),
                           itemNameDispid);
}

Variant CVideoCap::Call(int dispid, std::vector<Variant> args) {
    return Dispatch().Invoke(dispid, InvokeKind::Method, args);
}

void CVideoCap::SetVideoDeviceIndex(int16_t v) { Put(kVideoDeviceIndex, Variant::I16(v)); }
void CVideoCap::SetVideoFormatIndex(int16_t v) { Put(kVideoFormatIndex, Variant::I16(v)); }
void CVideoCap::SetCaptureToFile(bool v) { Put(kCaptureToFile, Variant::Bool(v)); }
void CVideoCap::SetCaptureFileName(const QString& v) { Put(kCaptureFileName, Str(v)); }
void CVideoCap::SetAudioDeviceIndex(int16_t v) { Put(kAudioDeviceIndex, Variant::I16(v)); }
void CVideoCap::SetStopRequested(bool v) { Put(kStopRequested, Variant::Bool(v)); }
void CVideoCap::SetVideoInputIndex(int16_t v) { Put(kVideoInputIndex, Variant::I16(v)); }
void CVideoCap::SetAudioInputIndex(int16_t v) { Put(kAudioInputIndex, Variant::I16(v)); }
void CVideoCap::SetDateTimeColor(platform::Colour v) { Put(kDateTimeColor, Col(v)); }
void CVideoCap::SetDateTimeFontName(const QString& v) { Put(kDateTimeFontName, Str(v)); }
void CVideoCap::SetDateTimeFontSize(int16_t v) { Put(kDateTimeFontSize, Variant::I16(v)); }
void CVideoCap::SetDateTimeFontStyle(int16_t v) { Put(kDateTimeFontStyle, Variant::I16(v)); }
void CVideoCap::SetShowDateTime(bool v) { Put(kShowDateTime, Variant::Bool(v)); }
void CVideoCap::SetAudioSyncMode(int16_t v) { Put(kAudioSyncMode, Variant::I16(v)); }
void CVideoCap::SetAudioOffset(int16_t v) { Put(kAudioOffset, Variant::I16(v)); }
void CVideoCap::SetActiveOverlay(int32_t v) { Put(kActiveOverlay, Variant::I32(v)); }
void CVideoCap::SetOutputFormat(int32_t v) { Put(kOutputFormat, Variant::I32(v)); }
void CVideoCap::SetFlvAudioBitrate(int32_t v) { Put(kFlvAudioBitrate, Variant::I32(v)); }
void CVideoCap::SetFlvAudioChannels(int16_t v) { Put(kFlvAudioChannels, Variant::I16(v)); }
void CVideoCap::SetFlvAudioSampleRate(int32_t v) { Put(kFlvAudioSampleRate, Variant::I32(v)); }
void CVideoCap::SetFlvVideoHeight(int16_t v) { Put(kFlvVideoHeight, Variant::I16(v)); }
void CVideoCap::SetFlvVideoBitrate(int32_t v) { Put(kFlvVideoBitrate, Variant::I32(v)); }
void CVideoCap::SetFlvVideoWidth(int16_t v) { Put(kFlvVideoWidth, Variant::I16(v)); }
void CVideoCap::SetFlvFrameRate(int16_t v) { Put(kFlvFrameRate, Variant::I16(v)); }

CNameCollection CVideoCap::GetVideoDevices() { return GetCollection(kVideoDevices, kCollectionItemName); }
CNameCollection CVideoCap::GetVideoFormats() { return GetCollection(kVideoFormats, kVideoFormatsItemName); }
CNameCollection CVideoCap::GetAudioDevices() { return GetCollection(kAudioDevices, kCollectionItemName); }
CNameCollection CVideoCap::GetVideoInputs() { return GetCollection(kVideoInputs, kCollectionItemName); }
CNameCollection CVideoCap::GetAudioInputs() { return GetCollection(kAudioInputs, kCollectionItemName); }

int16_t CVideoCap::StartCapture() { return Call(kStartCapture, {}).toI16(); }
void CVideoCap::StopCapture() { Call(kStopCapture, {}); }
void CVideoCap::PauseCapture() { Call(kPauseCapture, {}); }

void CVideoCap::DrawDateTime(int16_t left, int16_t top, int16_t format) {
    Call(kDrawDateTime, {Variant::I16(left), Variant::I16(top), Variant::I16(format)});
}
void CVideoCap::SetVideoRotation(int16_t rotation) {
    Call(kSetVideoRotation, {Variant::I16(rotation)});
}
void CVideoCap::SelectVideoDevice(int16_t device) {
    Call(kSelectVideoDevice, {Variant::I16(device)});
}
void CVideoCap::ShowOverlayImage(int16_t overlay, bool show) {
    Call(kShowOverlayImage, {Variant::I16(overlay), Variant::Bool(show)});
}
void CVideoCap::DrawOverlayImage(int16_t overlay, int16_t left, int16_t top, const QString& path,
                                 platform::Colour transparent, int16_t alpha) {
    Call(kDrawOverlayImage, {Variant::I16(overlay), Variant::I16(left), Variant::I16(top),
                             Str(path), Col(transparent), Variant::I16(alpha)});
}
void CVideoCap::SetOverlayTextColor(int16_t overlay, platform::Colour colour) {
    Call(kSetOverlayTextColor, {Variant::I16(overlay), Col(colour)});
}
void CVideoCap::SetOverlayTextFontName(int16_t overlay, const QString& face) {
    Call(kSetOverlayTextFontName, {Variant::I16(overlay), Str(face)});
}
void CVideoCap::SetOverlayTextFontSize(int16_t overlay, int16_t size) {
    Call(kSetOverlayTextFontSize, {Variant::I16(overlay), Variant::I16(size)});
}
void CVideoCap::ShowOverlayText(int16_t overlay, bool show) {
    Call(kShowOverlayText, {Variant::I16(overlay), Variant::Bool(show)});
}
void CVideoCap::DrawOverlayText(int16_t overlay, int16_t left, int16_t top, const QString& text) {
    Call(kDrawOverlayText, {Variant::I16(overlay), Variant::I16(left), Variant::I16(top), Str(text)});
}
void CVideoCap::SetOverlayTextFontStyle(int16_t overlay, int16_t style) {
    Call(kSetOverlayTextFontStyle, {Variant::I16(overlay), Variant::I16(style)});
}
void CVideoCap::SetOverlayTextStyle(int16_t overlay, int16_t style) {
    Call(kSetOverlayTextStyle, {Variant::I16(overlay), Variant::I16(style)});
}
void CVideoCap::SetOverlayTextOutlineBackColor(int16_t overlay, platform::Colour colour) {
    Call(kSetOverlayTextOutlineBackColor, {Variant::I16(overlay), Col(colour)});
}
void CVideoCap::SetOverlayTextOutlineColor(int16_t overlay, platform::Colour colour) {
    Call(kSetOverlayTextOutlineColor, {Variant::I16(overlay), Col(colour)});
}
void CVideoCap::SetOverlayTextHatchBrush(int16_t overlay, int16_t style, platform::Colour fore,
                                         platform::Colour back) {
    Call(kSetOverlayTextHatchBrush, {Variant::I16(overlay), Variant::I16(style), Col(fore), Col(back)});
}
void CVideoCap::SetOverlayTextTextureBrush(int16_t overlay, const QString& path) {
    Call(kSetOverlayTextTextureBrush, {Variant::I16(overlay), Str(path)});
}
void CVideoCap::SetInvertColor(bool on) { Call(kSetInvertColor, {Variant::Bool(on)}); }
void CVideoCap::SetGrayScale(bool on) { Call(kSetGrayScale, {Variant::Bool(on)}); }
void CVideoCap::SetStreamServer(const QString& v) { Put(kStreamServer, Str(v)); }
void CVideoCap::SetStreamKey(const QString& v) { Put(kStreamKey, Str(v)); }
