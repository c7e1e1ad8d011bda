// The capture control's dispatch interface: every DISPID the program calls.
#pragma once

namespace capture {

enum Dispid : int {
    kVideoDeviceIndex = 0x01,
    kVideoFormatIndex = 0x02,
    kVideoDevices = 0x03,
    kVideoFormats = 0x04,
    kCaptureToFile = 0x06,
    kCaptureFileName = 0x07,
    kAudioDevices = 0x19,
    kAudioDeviceIndex = 0x1a,
    kStopRequested = 0x21,
    kVideoInputs = 0x29,
    kVideoInputIndex = 0x2a,
    kAudioInputIndex = 0x33,
    kAudioInputs = 0x34,
    kDateTimeColor = 0x35,
    kDateTimeFontName = 0x36,
    kDateTimeFontSize = 0x37,
    kDateTimeFontStyle = 0x38,
    kShowDateTime = 0x39,
    kAudioSyncMode = 0x43,
    kAudioOffset = 0x44,
    kActiveOverlay = 0x47,
    kOutputFormat = 0x4e,
    kFlvAudioBitrate = 0x57,
    kFlvAudioChannels = 0x58,
    kFlvAudioSampleRate = 0x59,
    kFlvVideoHeight = 0x5a,
    kFlvVideoBitrate = 0x5b,
    kFlvVideoWidth = 0x5c,
    kFlvFrameRate = 0x5d,
    kStartCapture = 0x67,
    kStopCapture = 0x68,
    kDrawDateTime = 0x6b,
    kPauseCapture = 0x6d,
    kSetVideoRotation = 0x72,
    kSelectVideoDevice = 0x74,
    kShowOverlayImage = 0x79,
    kSetOverlayTextColor = 0x7a,
    kDrawOverlayImage = 0x7b,
    kSetOverlayTextFontName = 0x7c,
    kSetOverlayTextFontSize = 0x7d,
    kShowOverlayText = 0x7e,
    kDrawOverlayText = 0x7f,
    kSetOverlayTextFontStyle = 0x80,
    kSetOverlayTextStyle = 0x81,
    kSetOverlayTextOutlineBackColor = 0x82,
    kSetOverlayTextOutlineColor = 0x83,
    kSetOverlayTextHatchBrush = 0x84,
    kSetOverlayTextTextureBrush = 0x85,
    kSetInvertColor = 0x86,
    kSetGrayScale = 0x91,
    // Live streaming: taken by the next StartCapture that records.
    kStreamServer = 0x200,
    kStreamKey = 0x201,
};

// Members of a name collection. The formats collection names its items under its own DISPID.
enum CollectionDispid : int {
    kCollectionCount = 1,
    kCollectionItemName = 3,
    kVideoFormatsItemName = 5,
};

// `OutputFormat` value of the FLV output, the only one the program uses.
inline constexpr int kOutputFormatFlv = 4;
// `StartCapture` result when the capture cannot start.
inline constexpr int kStartFailed = -1;

}  // namespace capture
