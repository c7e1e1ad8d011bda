#include "component/sources/DeviceVideoSource.h"

#include "component/media/CaptureClock.h"
#include "component/media/Diagnostics.h"
#include "component/sources/DevicePictures.h"
#include "component/sources/V4l2Probe.h"

namespace component {

Result<std::unique_ptr<VideoSource>> DeviceVideoSource::Open(const VideoDevice& device,
                                                             const VideoFormat& format, int input) {
    std::unique_ptr<DeviceVideoSource> s(new DeviceVideoSource);
    s->m_device = device;
    s->m_format = format;
    s->m_channel = std::max(0, input);
    if (Result<> opened = s->OpenInput(); !opened) return opened.AsFailure();
    s->m_frame.reset(av_frame_alloc());
    s->m_packet.reset(av_packet_alloc());
    if (!s->m_frame || !s->m_packet)
        return Fail("out of memory");
    s->m_frameRate = std::max(1, format.frameRate);
    s->m_size = QSize(format.width, format.height);
    s->m_deinterlace = format.deinterlace;
    s->m_bottomFirst = format.fields == Fields::BottomFirst;
    return std::unique_ptr<VideoSource>(std::move(s));
}

Result<> DeviceVideoSource::OpenInput() {
    const VideoDevice& device = m_device;
    const VideoFormat& format = m_format;
    const bool screen = device.kind == VideoKind::Screen;
    Dictionary opts;
    opts.Set("video_size", std::to_string(format.width) + "x" + std::to_string(format.height));
    const VideoStandard* standard =
        format.standard >= 0 && format.standard < int(device.standards.size())
            ? &device.standards[size_t(format.standard)]
            : nullptr;
    // A standard sets the rate itself (29.97 for NTSC, which no whole number says).
    if (!standard) opts.Set("framerate", std::to_string(format.frameRate));
    if (!screen) {
        if (!format.inputFormat.empty()) opts.Set("input_format", format.inputFormat);
        opts.Set("channel", std::to_string(m_channel));
        if (standard) opts.Set("standard", standard->name);
    }
    if (standard)
        if (Result<> set = SetV4l2Standard(device.path, standard->id); !set) return set;
    Result<InputContextPtr> in =
        OpenDeviceInput(screen ? "x11grab" : "video4linux2", device.path, opts,
                        "\"" + device.name + "\" (" + device.path + ") as " + format.name);
    if (!in) return in.AsFailure();
    const AVCodecParameters* par = (*in)->streams[0]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    CodecContextPtr decoder(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!decoder || avcodec_parameters_to_context(decoder.get(), par) < 0 ||
        avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return Fail("no decoder for the pictures of \"" + device.name + "\"");
    m_input = std::move(*in);
    m_decoder = std::move(decoder);
    return Ok();
}

DeviceVideoSource::~DeviceVideoSource() { Stop(); }

void DeviceVideoSource::Start(FrameHandler onFrame, PresenceHandler onPresence) {
    Stop();
    m_pacer.Reset();
    m_thread = std::thread([this, onFrame = std::move(onFrame), onPresence = std::move(onPresence)] {
        Run(onFrame, onPresence);
    });
}

void DeviceVideoSource::Stop() {
    m_pacer.RequestStop();
    if (m_thread.joinable()) m_thread.join();
}

bool DeviceVideoSource::Deliver(const AVFrame* f, int64_t timeUs, const FrameHandler& onFrame) {
    return Deliver(PictureOf(f, m_sws), timeUs, onFrame);
}

bool DeviceVideoSource::Deliver(YuvImage picture, int64_t timeUs, const FrameHandler& onFrame) {
    if (picture.IsNull()) return false;
    m_last = picture;  // what stands in while the device is gone
    onFrame(VideoFrame{std::move(picture), timeUs});
    return true;
}

void DeviceVideoSource::DeliverWhole(int64_t timeUs, const FrameHandler& onFrame) {
    const AVFrame* f = m_frame.get();
    if (!m_deinterlacer) {
        Result<std::unique_ptr<Deinterlacer>> made =
            Deinterlacer::Create(f->width, f->height, f->format, m_bottomFirst);
        if (!made) {
            // Better a combed picture than none.
            Diagnose("deinterlacing is off: " + made.Error());
            m_deinterlace = false;
            Deliver(f, timeUs, onFrame);
            return;
        }
        m_deinterlacer = std::move(*made);
    }
    if (!m_deinterlacer->Push(f, timeUs)) return;
    int64_t wholeUs = 0;
    while (const AVFrame* whole = m_deinterlacer->Pull(&wholeUs)) Deliver(whole, wholeUs, onFrame);
}

DeviceRead DeviceVideoSource::ReadPictures(const FrameHandler& onFrame) {
    const AVRational timeBase = m_input->streams[0]->time_base;
    DeviceRead read;
    while ((read = ReadDevicePacket(m_input.get(), m_packet.get(), m_pacer, "video")) ==
           DeviceRead::Packet) {
        const int64_t timeUs = DeviceTimeToClock(m_packet->pts, timeBase);
        // A camera's Motion-JPEG goes straight to planes; FFmpeg's decoder takes what that
        // cannot read.
        if (m_decoder->codec_id == AV_CODEC_ID_MJPEG && !m_deinterlace &&
            Deliver(PictureOfJpeg(m_packet->data, size_t(m_packet->size)), timeUs, onFrame)) {
            av_packet_unref(m_packet.get());
            continue;
        }
        const int ret = avcodec_send_packet(m_decoder.get(), m_packet.get());
        av_packet_unref(m_packet.get());
        if (ret < 0) continue;  // a damaged picture; the next one may be fine
        while (avcodec_receive_frame(m_decoder.get(), m_frame.get()) == 0) {
            if (m_deinterlace)
                DeliverWhole(timeUs, onFrame);
            else
                Deliver(m_frame.get(), timeUs, onFrame);
            av_frame_unref(m_frame.get());
        }
    }
    return read;
}

void DeviceVideoSource::Run(const FrameHandler& onFrame, const PresenceHandler& onPresence) {
    while (ReadPictures(onFrame) == DeviceRead::Lost) {
        // Let the device go, so that it can come back, and hold the last picture meanwhile.
        m_input.reset();
        m_decoder.reset();
        m_deinterlacer.reset();
        if (onPresence) onPresence(false);
        DeviceRetry retry;
        if (!HoldLastPicture(m_pacer, m_frameRate, m_last, m_size, onFrame,
                             [&] { return retry.Back([&] { return bool(OpenInput()); }); }))
            return;
        if (onPresence) onPresence(true);
    }
}

bool DeviceVideoSource::HoldLastPicture(SourcePacer& pacer, int frameRate, YuvImage last,
                                        QSize size, const FrameHandler& onFrame,
                                        const std::function<bool()>& done) {
    if (last.IsNull()) {
        const QSize black = size.isValid() ? size : QSize(640, 480);
        last = YuvImage::Black(black.width(), black.height());
    }
    int64_t index = GridIndexAtOrAfter(ClockNowUs(), frameRate);
    while (pacer.SleepUntil(GridTimeUs(index, frameRate))) {
        onFrame(VideoFrame{last, GridTimeUs(index, frameRate)});
        index = std::max(index + 1, GridIndexAtOrAfter(ClockNowUs(), frameRate));
        if (done && done()) return true;
    }
    return false;
}

}  // namespace component
