#include "component/sources/DeviceInput.h"

#include "component/media/CaptureClock.h"
#include "component/media/Diagnostics.h"

extern "C" {
#include <libavutil/time.h>
}

#include <cstdlib>

namespace component {

namespace {
constexpr int64_t kPollUs = 3000;
constexpr int64_t kPlausibleSkewUs = 5000000;
}  // namespace

Result<InputContextPtr> OpenDeviceInput(const char* formatName, const std::string& url,
                                        Dictionary& options, const std::string& what) {
    EnsureFfmpegInitialised();
    const AVInputFormat* fmt = av_find_input_format(formatName);
    if (!fmt)
        return Fail(std::string("this FFmpeg has no \"") + formatName + "\" input");
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw)
        return Fail("out of memory");
    // Reads return at once when nothing is there, so a stop never waits on a silent device.
    raw->flags |= AVFMT_FLAG_NONBLOCK;
    const int ret = avformat_open_input(&raw, url.c_str(), fmt, options.get());
    if (ret < 0)  // the context is freed by the failed open
        return Fail("cannot open " + what + ": " + AvErrorText(ret));
    InputContextPtr input(raw);
    if (input->nb_streams < 1)
        return Fail(what + " delivers nothing");
    return input;
}

DeviceRead ReadDevicePacket(AVFormatContext* input, AVPacket* packet, SourcePacer& pacer,
                            const char* kind) {
    while (!pacer.StopRequested()) {
        const int ret = av_read_frame(input, packet);
        if (ret == AVERROR(EAGAIN)) {
            pacer.SleepFor(kPollUs);
            continue;
        }
        if (ret < 0) {
            Diagnose(std::string(kind) + " device lost: " + AvErrorText(ret));
            return DeviceRead::Lost;
        }
        return DeviceRead::Packet;
    }
    return DeviceRead::Stopped;
}

int64_t DeviceTimeToClock(int64_t pts, AVRational timeBase) {
    const int64_t now = ClockNowUs();
    if (pts == AV_NOPTS_VALUE) return now;
    const int64_t stamp = av_rescale_q(pts, timeBase, AVRational{1, 1000000});
    // Sound devices stamp with the wall clock; V4L2 drivers' monotonic stamps come through
    // unchanged. Either says when the device captured, which arrival does not.
    for (const int64_t reference : {av_gettime(), av_gettime_relative()})
        if (std::llabs(stamp - reference) <= kPlausibleSkewUs)
            return std::min(now, now - (reference - stamp));
    return now;
}

bool DeviceRetry::Back(const std::function<bool()>& reopen) {
    const int64_t now = ClockNowUs();
    if (m_nextUs == 0) m_nextUs = now + kIntervalUs;  // the device has only just gone
    if (m_attempts >= kAttempts || now < m_nextUs) return false;
    ++m_attempts;
    m_nextUs = now + kIntervalUs;
    return reopen();
}

}  // namespace component
