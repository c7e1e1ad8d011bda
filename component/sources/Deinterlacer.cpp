#include "component/sources/Deinterlacer.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/mathematics.h>
}

#include <string>

namespace component {

Result<std::unique_ptr<Deinterlacer>> Deinterlacer::Create(int width, int height, int pixelFormat,
                                                           bool bottomFirst) {
    std::unique_ptr<Deinterlacer> d(new Deinterlacer);
    d->m_graph = avfilter_graph_alloc();
    d->m_in.reset(av_frame_alloc());
    d->m_out.reset(av_frame_alloc());
    if (!d->m_graph || !d->m_in || !d->m_out) return Fail("out of memory");
    // One filter thread: the camera's thread already waits on the encoder's, and two cores
    // are all there may be.
    d->m_graph->nb_threads = 1;
    const std::string source = "video_size=" + std::to_string(width) + "x" + std::to_string(height) +
                               ":pix_fmt=" + std::to_string(pixelFormat) +
                               ":time_base=1/1000000:pixel_aspect=1/1";
    const AVFilter* buffer = avfilter_get_by_name("buffer");
    const AVFilter* sink = avfilter_get_by_name("buffersink");
    const AVFilter* bwdif = avfilter_get_by_name("bwdif");
    if (!buffer || !sink || !bwdif) return Fail("this FFmpeg has no bwdif filter");
    AVFilterContext* filter = nullptr;
    const std::string options =
        std::string("mode=send_frame:deint=all:parity=") + (bottomFirst ? "bff" : "tff");
    if (avfilter_graph_create_filter(&d->m_source, buffer, "in", source.c_str(), nullptr, d->m_graph) < 0 ||
        avfilter_graph_create_filter(&filter, bwdif, "deinterlace", options.c_str(), nullptr, d->m_graph) < 0 ||
        avfilter_graph_create_filter(&d->m_sink, sink, "out", nullptr, nullptr, d->m_graph) < 0 ||
        avfilter_link(d->m_source, 0, filter, 0) < 0 || avfilter_link(filter, 0, d->m_sink, 0) < 0 ||
        avfilter_graph_config(d->m_graph, nullptr) < 0)
        return Fail("the deinterlacer cannot take " + std::to_string(width) + "x" +
                    std::to_string(height) + " pictures");
    return d;
}

Deinterlacer::~Deinterlacer() { avfilter_graph_free(&m_graph); }

bool Deinterlacer::Push(const AVFrame* frame, int64_t timeUs) {
    if (av_frame_ref(m_in.get(), frame) < 0) return false;
    m_in->pts = timeUs;
    // The fields' order is the filter's setting, whatever the decoder marked.
    m_in->interlaced_frame = 1;
    const bool ok = av_buffersrc_add_frame(m_source, m_in.get()) >= 0;
    av_frame_unref(m_in.get());
    return ok;
}

const AVFrame* Deinterlacer::Pull(int64_t* timeUs) {
    av_frame_unref(m_out.get());
    if (av_buffersink_get_frame(m_sink, m_out.get()) < 0) return nullptr;
    // The filter counts in half the time base it was given (room for a field rate).
    *timeUs = av_rescale_q(m_out->pts, av_buffersink_get_time_base(m_sink), AVRational{1, 1000000});
    return m_out.get();
}

}  // namespace component
