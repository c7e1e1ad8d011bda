// Pictures from a V4L2 camera or the X11 screen, read through libavdevice and turned into
// the pipeline's 4:2:0 planes. When the device goes away the last picture goes on until the device is back.
#pragma once

#include "component/sources/Deinterlacer.h"
#include "component/sources/DeviceCatalog.h"
#include "component/sources/DeviceInput.h"
#include "component/sources/VideoSource.h"

#include <memory>
#include <thread>

namespace component {

class DeviceVideoSource : public VideoSource {
public:
    // Opens the device at once, so that a failure is known before anything starts.
    static Result<std::unique_ptr<VideoSource>> Open(const VideoDevice& device,
                                                     const VideoFormat& format, int input);
    ~DeviceVideoSource() override;
    void Start(FrameHandler onFrame, PresenceHandler onPresence) override;
    void Stop() override;

    // Delivers `last` (black if null) at `frameRate` until `pacer` stops, or until `done`,
    // asked after every picture, says so (then true is returned): what a lost device leaves.
    static bool HoldLastPicture(SourcePacer& pacer, int frameRate, YuvImage last, QSize size,
                                const FrameHandler& onFrame, const std::function<bool()>& done = {});

private:
    DeviceVideoSource() = default;
    // Opens m_device into m_input and m_decoder.
    Result<> OpenInput();
    void Run(const FrameHandler& onFrame, const PresenceHandler& onPresence);
    DeviceRead ReadPictures(const FrameHandler& onFrame);
    bool Deliver(const AVFrame* frame, int64_t timeUs, const FrameHandler& onFrame);
    bool Deliver(YuvImage picture, int64_t timeUs, const FrameHandler& onFrame);
    // m_frame through the deinterlacer: what comes out is delivered.
    void DeliverWhole(int64_t timeUs, const FrameHandler& onFrame);

    VideoDevice m_device;
    VideoFormat m_format;
    int m_channel = 0;
    InputContextPtr m_input;
    CodecContextPtr m_decoder;
    FramePtr m_frame;
    PacketPtr m_packet;
    SwsPtr m_sws;
    bool m_deinterlace = false;
    bool m_bottomFirst = false;
    std::unique_ptr<Deinterlacer> m_deinterlacer;  // made with the first picture
    int m_frameRate = 30;
    QSize m_size;
    YuvImage m_last;
    SourcePacer m_pacer;
    std::thread m_thread;
};

}  // namespace component
