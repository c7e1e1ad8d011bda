#include "component/recording/Mp4Rewrite.h"

#include "component/media/Diagnostics.h"
#include "component/media/FfmpegHandles.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace component {

namespace {

struct OutputFile {
    AVFormatContext* ctx = nullptr;
    ~OutputFile() {
        if (ctx && ctx->pb) avio_closep(&ctx->pb);
        avformat_free_context(ctx);
    }
};

// Copies every packet of `path` into `target` as a plain MP4.
Result<> Remux(const std::string& path, const std::string& target) {
    AVFormatContext* rawIn = nullptr;
    int ret = avformat_open_input(&rawIn, path.c_str(), nullptr, nullptr);
    if (ret < 0) return Fail("cannot read it back: " + AvErrorText(ret));
    InputContextPtr in(rawIn);
    if ((ret = avformat_find_stream_info(in.get(), nullptr)) < 0)
        return Fail("cannot read its streams: " + AvErrorText(ret));
    OutputFile out;
    if (avformat_alloc_output_context2(&out.ctx, nullptr, "mp4", target.c_str()) < 0 || !out.ctx)
        return Fail("no MP4 muxer");
    for (unsigned i = 0; i < in->nb_streams; ++i) {
        AVStream* s = avformat_new_stream(out.ctx, nullptr);
        if (!s || avcodec_parameters_copy(s->codecpar, in->streams[i]->codecpar) < 0)
            return Fail("out of memory");
        s->codecpar->codec_tag = 0;
        s->time_base = in->streams[i]->time_base;
        s->avg_frame_rate = in->streams[i]->avg_frame_rate;
    }
    if ((ret = avio_open(&out.ctx->pb, target.c_str(), AVIO_FLAG_WRITE)) < 0)
        return Fail("cannot write " + target + ": " + AvErrorText(ret));
    Dictionary options;
    options.Set("movflags", "+faststart");  // the index first, for players that stream
    if ((ret = avformat_write_header(out.ctx, options.get())) < 0)
        return Fail("cannot write " + target + ": " + AvErrorText(ret));
    PacketPtr packet(av_packet_alloc());
    if (!packet) return Fail("out of memory");
    while ((ret = av_read_frame(in.get(), packet.get())) >= 0) {
        AVStream* from = in->streams[packet->stream_index];
        av_packet_rescale_ts(packet.get(), from->time_base, out.ctx->streams[packet->stream_index]->time_base);
        packet->pos = -1;
        if ((ret = av_interleaved_write_frame(out.ctx, packet.get())) < 0)
            return Fail("cannot write " + target + ": " + AvErrorText(ret));
    }
    if (ret != AVERROR_EOF) return Fail("cannot read it back: " + AvErrorText(ret));
    if ((ret = av_write_trailer(out.ctx)) < 0)
        return Fail("cannot finish " + target + ": " + AvErrorText(ret));
    return Ok();
}

// On disk before it replaces anything, so that a power cut cannot leave an empty file.
bool Sync(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

Result<> RewriteAsPlainMp4(const std::string& path) {
    EnsureFfmpegInitialised();
    const std::string target = path + ".plain.mp4";
    Result<> made = Remux(path, target);
    if (made && !Sync(target)) made = Fail("cannot put " + target + " on disk");
    if (made && std::rename(target.c_str(), path.c_str()) != 0)
        made = Fail("cannot replace " + path + " with " + target);
    if (!made) std::remove(target.c_str());
    return made;
}

}  // namespace component
