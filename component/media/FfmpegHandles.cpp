#include "component/media/FfmpegHandles.h"

extern "C" {
#include <libavdevice/avdevice.h>
}

#include <mutex>

namespace component {

OutputContext::~OutputContext() {
    // The muxer never owns a custom I/O context, so it is released separately.
    avformat_free_context(ctx);
    if (io) {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
}

std::string AvErrorText(int err) {
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, buf, sizeof buf);
    return buf;
}

void EnsureFfmpegInitialised() {
    static std::once_flag once;
    std::call_once(once, [] {
        avdevice_register_all();
        // Encoder statistics and device chatter would flood the program's stderr.
        av_log_set_level(AV_LOG_ERROR);
    });
}

}  // namespace component
