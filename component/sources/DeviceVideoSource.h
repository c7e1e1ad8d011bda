// Pictures from a V4L2 camera or the X11 screen, read through libavdevice and converted to
// RGB32. When the device goes away the last picture goes on until the source is stopped.
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
    void Start(FrameHandler onFrame, LostHandler onLost) override;
    void Stop() override;

    // Delivers `last` (black if null) at `frameRate` until `pacer` stops: what a lost device
    // leaves behind.
    static void HoldLastPicture(SourcePacer& pacer, int frameRate, QImage last, QSize size,
                                const FrameHandler& onFrame);

private:
    DeviceVideoSource() = default;
    void Run(const FrameHandler& onFrame, const LostHandler& onLost);
    bool Deliver(const AVFrame* frame, int64_t timeUs, const FrameHandler& onFrame);
    // m_frame through the deinterlacer: what comes out is delivered.
    void DeliverWhole(int64_t timeUs, const FrameHandler& onFrame);

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
    QImage m_last;
    SourcePacer m_pacer;
    std::thread m_thread;
};

}  // namespace component
