#include "CVideoCap.h"

using platform::CaptureOp;
using platform::Variant;

namespace {
template <typename T> constexpr platform::VariantType kTypeOf = platform::VariantType::Empty;
template <> constexpr platform::VariantType kTypeOf<int16_t> = platform::VariantType::I16;
template <> constexpr platform::VariantType kTypeOf<int32_t> = platform::VariantType::I32;
template <> constexpr platform::VariantType kTypeOf<bool> = platform::VariantType::Bool;
template <> constexpr platform::VariantType kTypeOf<QString> = platform::VariantType::Str;
template <> constexpr platform::VariantType kTypeOf<platform::Colour> = platform::VariantType::Colour;

Variant ToVariant(int16_t v) { return Variant::I16(v); }
Variant ToVariant(int32_t v) { return Variant::I32(v); }
Variant ToVariant(bool v) { return Variant::Bool(v); }
Variant ToVariant(const QString& v) { return Variant::Str(v.toStdString()); }
Variant ToVariant(platform::Colour v) { return Variant::Colour(v); }

// True when the C++ argument types are, in order, the ones the interface table gives `op`.
template <CaptureOp op, typename... A>
constexpr bool ArgumentsMatch() {
    const platform::CaptureOpInfo& row = platform::CaptureOpRow(op);
    if (row.argCount != sizeof...(A)) return false;
    const platform::VariantType given[] = {kTypeOf<std::decay_t<A>>..., platform::VariantType::Empty};
    for (size_t i = 0; i < sizeof...(A); ++i)
        if (given[i] != row.args[i]) return false;
    return true;
}
}  // namespace

// Every member goes through here, so a member whose arguments disagree with the table does
// not compile.
template <CaptureOp op, typename... A>
Variant CVideoCap::Call(const A&... args) {
    static_assert(ArgumentsMatch<op, A...>(), "arguments differ from the interface table");
    return Invoke(op, {ToVariant(args)...});
}

platform::IDispatch& CVideoCap::Dispatch() const {
    if (!m_control)
        throw platform::DispatchError(platform::DispatchError::Code::NoControl, 0,
                                      "The capture control is not available.");
    return m_control->Dispatch();
}

Variant CVideoCap::Invoke(CaptureOp op, std::vector<Variant> args) {
    const platform::CaptureOpInfo& row = platform::CaptureOpRow(op);
    return Dispatch().Invoke(row.dispid, row.kind, args);
}

CNameCollection CVideoCap::GetCollection(CaptureOp op) {
    return CNameCollection(Invoke(op, {}).ToObject(), platform::CaptureOpRow(op).itemDispid);
}

void CVideoCap::SetVideoDeviceIndex(int16_t v) { Call<CaptureOp::VideoDeviceIndex>(v); }
void CVideoCap::SetVideoFormatIndex(int16_t v) { Call<CaptureOp::VideoFormatIndex>(v); }
void CVideoCap::SetCaptureToFile(bool v) { Call<CaptureOp::CaptureToFile>(v); }
void CVideoCap::SetCaptureFileName(const QString& v) { Call<CaptureOp::CaptureFileName>(v); }
void CVideoCap::SetAudioDeviceIndex(int16_t v) { Call<CaptureOp::AudioDeviceIndex>(v); }
void CVideoCap::SetStopRequested(bool v) { Call<CaptureOp::StopRequested>(v); }
void CVideoCap::SetVideoInputIndex(int16_t v) { Call<CaptureOp::VideoInputIndex>(v); }
void CVideoCap::SetAudioInputIndex(int16_t v) { Call<CaptureOp::AudioInputIndex>(v); }
void CVideoCap::SetDateTimeColor(platform::Colour v) { Call<CaptureOp::DateTimeColor>(v); }
void CVideoCap::SetDateTimeFontName(const QString& v) { Call<CaptureOp::DateTimeFontName>(v); }
void CVideoCap::SetDateTimeFontSize(int16_t v) { Call<CaptureOp::DateTimeFontSize>(v); }
void CVideoCap::SetDateTimeFontStyle(int16_t v) { Call<CaptureOp::DateTimeFontStyle>(v); }
void CVideoCap::SetShowDateTime(bool v) { Call<CaptureOp::ShowDateTime>(v); }
void CVideoCap::SetAudioSyncMode(int16_t v) { Call<CaptureOp::AudioSyncMode>(v); }
void CVideoCap::SetAudioOffset(int16_t v) { Call<CaptureOp::AudioOffset>(v); }
void CVideoCap::SetActiveOverlay(int32_t v) { Call<CaptureOp::ActiveOverlay>(v); }
void CVideoCap::SetOutputFormat(int32_t v) { Call<CaptureOp::OutputFormat>(v); }
void CVideoCap::SetFlvAudioBitrate(int32_t v) { Call<CaptureOp::FlvAudioBitrate>(v); }
void CVideoCap::SetFlvAudioChannels(int16_t v) { Call<CaptureOp::FlvAudioChannels>(v); }
void CVideoCap::SetFlvAudioSampleRate(int32_t v) { Call<CaptureOp::FlvAudioSampleRate>(v); }
void CVideoCap::SetFlvVideoHeight(int16_t v) { Call<CaptureOp::FlvVideoHeight>(v); }
void CVideoCap::SetFlvVideoBitrate(int32_t v) { Call<CaptureOp::FlvVideoBitrate>(v); }
void CVideoCap::SetFlvVideoWidth(int16_t v) { Call<CaptureOp::FlvVideoWidth>(v); }
void CVideoCap::SetFlvFrameRate(int16_t v) { Call<CaptureOp::FlvFrameRate>(v); }

CNameCollection CVideoCap::GetVideoDevices() { return GetCollection(CaptureOp::VideoDevices); }
CNameCollection CVideoCap::GetVideoFormats() { return GetCollection(CaptureOp::VideoFormats); }
CNameCollection CVideoCap::GetAudioDevices() { return GetCollection(CaptureOp::AudioDevices); }
CNameCollection CVideoCap::GetVideoInputs() { return GetCollection(CaptureOp::VideoInputs); }
CNameCollection CVideoCap::GetAudioInputs() { return GetCollection(CaptureOp::AudioInputs); }
CNameCollection CVideoCap::GetVideoStandards() { return GetCollection(CaptureOp::VideoStandards); }
void CVideoCap::SetVideoStandardIndex(int16_t v) { Call<CaptureOp::VideoStandardIndex>(v); }
void CVideoCap::SetDeinterlace(bool v) { Call<CaptureOp::Deinterlace>(v); }
void CVideoCap::SelectVideoStandard(int16_t v) { Call<CaptureOp::SelectVideoStandard>(v); }
QString CVideoCap::VideoDeviceNode(int16_t v) {
    return QString::fromStdString(Call<CaptureOp::VideoDeviceNode>(v).ToStr());
}
QString CVideoCap::VideoDeviceIdentity(int16_t v) {
    return QString::fromStdString(Call<CaptureOp::VideoDeviceIdentity>(v).ToStr());
}
void CVideoCap::ShowMessage(const QString& line) { Call<CaptureOp::ShowMessage>(line); }
bool CVideoCap::RefreshDevices() { return Call<CaptureOp::RefreshDevices>().ToBool(); }
QString CVideoCap::AddStreamDestination(const QString& server, const QString& key) {
    return QString::fromStdString(Call<CaptureOp::AddStreamDestination>(server, key).ToStr());
}
QString CVideoCap::StartFailureReason() {
    return QString::fromStdString(Call<CaptureOp::StartFailureReason>().ToStr());
}
QString CVideoCap::CheckStreamServer(const QString& server, const QString& key) {
    return QString::fromStdString(Call<CaptureOp::CheckStreamServer>(server, key).ToStr());
}
QString CVideoCap::SaveSnapshot(const QString& path) {
    return QString::fromStdString(Call<CaptureOp::SaveSnapshot>(path).ToStr());
}

int16_t CVideoCap::StartCapture() { return Call<CaptureOp::StartCapture>().ToI16(); }
void CVideoCap::StopCapture() { Call<CaptureOp::StopCapture>(); }
void CVideoCap::PauseCapture() { Call<CaptureOp::PauseCapture>(); }

void CVideoCap::DrawDateTime(int16_t left, int16_t top, int16_t format) {
    Call<CaptureOp::DrawDateTime>(left, top, format);
}
void CVideoCap::SetVideoRotation(int16_t rotation) {
    Call<CaptureOp::SetVideoRotation>(rotation);
}
void CVideoCap::SelectVideoDevice(int16_t device) {
    Call<CaptureOp::SelectVideoDevice>(device);
}
void CVideoCap::ShowOverlayImage(int16_t overlay, bool show) {
    Call<CaptureOp::ShowOverlayImage>(overlay, show);
}
void CVideoCap::DrawOverlayImage(int16_t overlay, int16_t left, int16_t top, const QString& path,
                                 platform::Colour transparent, int16_t alpha) {
    Call<CaptureOp::DrawOverlayImage>(overlay, left, top,
                             path, transparent, alpha);
}
void CVideoCap::SetOverlayTextColor(int16_t overlay, platform::Colour colour) {
    Call<CaptureOp::SetOverlayTextColor>(overlay, colour);
}
void CVideoCap::SetOverlayTextFontName(int16_t overlay, const QString& face) {
    Call<CaptureOp::SetOverlayTextFontName>(overlay, face);
}
void CVideoCap::SetOverlayTextFontSize(int16_t overlay, int16_t size) {
    Call<CaptureOp::SetOverlayTextFontSize>(overlay, size);
}
void CVideoCap::ShowOverlayText(int16_t overlay, bool show) {
    Call<CaptureOp::ShowOverlayText>(overlay, show);
}
void CVideoCap::DrawOverlayText(int16_t overlay, int16_t left, int16_t top, const QString& text) {
    Call<CaptureOp::DrawOverlayText>(overlay, left, top, text);
}
void CVideoCap::SetOverlayTextFontStyle(int16_t overlay, int16_t style) {
    Call<CaptureOp::SetOverlayTextFontStyle>(overlay, style);
}
void CVideoCap::SetOverlayTextStyle(int16_t overlay, int16_t style) {
    Call<CaptureOp::SetOverlayTextStyle>(overlay, style);
}
void CVideoCap::SetOverlayTextOutlineBackColor(int16_t overlay, platform::Colour colour) {
    Call<CaptureOp::SetOverlayTextOutlineBackColor>(overlay, colour);
}
void CVideoCap::SetOverlayTextOutlineColor(int16_t overlay, platform::Colour colour) {
    Call<CaptureOp::SetOverlayTextOutlineColor>(overlay, colour);
}
void CVideoCap::SetOverlayTextHatchBrush(int16_t overlay, int16_t style, platform::Colour fore,
                                         platform::Colour back) {
    Call<CaptureOp::SetOverlayTextHatchBrush>(overlay, style, fore, back);
}
void CVideoCap::SetOverlayTextTextureBrush(int16_t overlay, const QString& path) {
    Call<CaptureOp::SetOverlayTextTextureBrush>(overlay, path);
}
void CVideoCap::SetInvertColor(bool on) { Call<CaptureOp::SetInvertColor>(on); }
void CVideoCap::SetGrayScale(bool on) { Call<CaptureOp::SetGrayScale>(on); }
void CVideoCap::SetStreamServer(const QString& v) { Call<CaptureOp::StreamServer>(v); }
void CVideoCap::SetStreamKey(const QString& v) { Call<CaptureOp::StreamKey>(v); }
