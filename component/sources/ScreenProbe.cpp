#include "component/sources/ScreenProbe.h"

#include "component/media/FfmpegHandles.h"

#include <cstdlib>

namespace component {

std::optional<VideoDevice> ProbeScreen() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return std::nullopt;
    EnsureFfmpegInitialised();
    const AVInputFormat* grab = av_find_input_format("x11grab");
    if (!grab) return std::nullopt;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, display, grab, nullptr) < 0) return std::nullopt;
    InputContextPtr ctx(raw);
    if (ctx->nb_streams < 1) return std::nullopt;
    const int w = ctx->streams[0]->codecpar->width & ~1;
    const int h = ctx->streams[0]->codecpar->height & ~1;
    if (w <= 0 || h <= 0) return std::nullopt;

    VideoDevice d;
    d.name = std::string("Screen ") + display;
    d.kind = VideoKind::Screen;
    d.path = display;
    for (int rate : {30, 15})
        d.formats.push_back({FormatName(w, h, "BGR0", rate), w, h, rate, {}, -1, Fields::Progressive, false});
    d.inputs = {"Default"};
    return d;
}

}  // namespace component
