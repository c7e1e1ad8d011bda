// The app-side proxy of the capture control (control 1004), reached only by dispatch calls.
// Every member is one call with the DISPID, kind and argument forms that
// platform/CaptureInterface.h gives it; a failing call throws platform::DispatchError.
#pragma once

#include <QPointer>
#include <QString>

#include <cstdint>
#include <vector>

#include "CNameCollection.h"
#include "platform/CaptureInterface.h"
#include "platform/Colour.h"
#include "platform/ControlContainer.h"

class CVideoCap {
public:
    void Attach(platform::HostedControl* control) { m_control = control; }
    platform::HostedControl* Control() const { return m_control; }

    // Properties.
    void SetVideoDeviceIndex(int16_t index);
    void SetVideoFormatIndex(int16_t index);
    void SetCaptureToFile(bool on);
    void SetCaptureFileName(const QString& path);
    void SetAudioDeviceIndex(int16_t index);
    void SetStopRequested(bool on);
    void SetVideoInputIndex(int16_t index);
    void SetAudioInputIndex(int16_t index);
    void SetDateTimeColor(platform::Colour colour);
    void SetDateTimeFontName(const QString& face);
    void SetDateTimeFontSize(int16_t size);
    void SetDateTimeFontStyle(int16_t style);
    void SetShowDateTime(bool on);
    void SetAudioSyncMode(int16_t mode);
    void SetAudioOffset(int16_t milliseconds);
    void SetActiveOverlay(int32_t overlay);
    void SetOutputFormat(int32_t format);
    void SetFlvAudioBitrate(int32_t bitsPerSecond);
    void SetFlvAudioChannels(int16_t channels);
    void SetFlvAudioSampleRate(int32_t hertz);
    void SetFlvVideoHeight(int16_t pixels);
    void SetFlvVideoBitrate(int32_t bitsPerSecond);
    void SetFlvVideoWidth(int16_t pixels);
    void SetFlvFrameRate(int16_t framesPerSecond);
    void SetVideoStandardIndex(int16_t index);
    void SetDeinterlace(bool on);

    // Name collections; each call reads the property afresh.
    CNameCollection GetVideoDevices();
    CNameCollection GetVideoFormats();
    CNameCollection GetAudioDevices();
    CNameCollection GetVideoInputs();
    CNameCollection GetAudioInputs();
    CNameCollection GetVideoStandards();

    // Methods.
    int16_t StartCapture();
    void StopCapture();
    void PauseCapture();
    void DrawDateTime(int16_t left, int16_t top, int16_t format);
    void SetVideoRotation(int16_t rotation);
    void SelectVideoDevice(int16_t device);
    void SelectVideoStandard(int16_t standard);
    // The device node of a video device; empty for one that is not a V4L2 device.
    QString VideoDeviceNode(int16_t device);
    // What names the device across boots and re-plugs (a camera's card name and bus).
    QString VideoDeviceIdentity(int16_t device);
    // A line of the program's over the preview, until the next capture starts.
    void ShowMessage(const QString& line);
    // True when the device lists changed since they were last read.
    bool RefreshDevices();
    // Another destination of the next live stream; empty when taken, else the reason.
    QString AddStreamDestination(const QString& server, const QString& key);
    // Empty when the current picture was saved at `path`; else the reason.
    QString SaveSnapshot(const QString& path);
    // Why the last StartCapture failed; empty when it started.
    QString StartFailureReason();
    // Empty when the live stream's server takes connections; else why not.
    QString CheckStreamServer(const QString& server, const QString& key);
    void ShowOverlayImage(int16_t overlay, bool show);
    void DrawOverlayImage(int16_t overlay, int16_t left, int16_t top, const QString& path,
                          platform::Colour transparent, int16_t alpha);
    void SetOverlayTextColor(int16_t overlay, platform::Colour colour);
    void SetOverlayTextFontName(int16_t overlay, const QString& face);
    void SetOverlayTextFontSize(int16_t overlay, int16_t size);
    void ShowOverlayText(int16_t overlay, bool show);
    void DrawOverlayText(int16_t overlay, int16_t left, int16_t top, const QString& text);
    void SetOverlayTextFontStyle(int16_t overlay, int16_t style);
    void SetOverlayTextStyle(int16_t overlay, int16_t style);
    void SetOverlayTextOutlineBackColor(int16_t overlay, platform::Colour colour);
    void SetOverlayTextOutlineColor(int16_t overlay, platform::Colour colour);
    // The control answers with a status the program has no use for.
    void SetOverlayTextHatchBrush(int16_t overlay, int16_t style, platform::Colour fore,
                                  platform::Colour back);
    void SetOverlayTextTextureBrush(int16_t overlay, const QString& path);
    void SetInvertColor(bool on);
    void SetGrayScale(bool on);
    void SetStreamServer(const QString& url);
    void SetStreamKey(const QString& key);

private:
    platform::IDispatch& Dispatch() const;
    // One call in the kind the interface table gives the operation.
    platform::Variant Invoke(platform::CaptureOp op, std::vector<platform::Variant> args);
    CNameCollection GetCollection(platform::CaptureOp op);
    template <platform::CaptureOp op, typename... A>
    platform::Variant Call(const A&... args);

    QPointer<platform::HostedControl> m_control;
};
