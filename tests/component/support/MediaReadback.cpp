#include "MediaReadback.h"

#include "component/media/FfmpegHandles.h"
#include "component/sources/TestPattern.h"

#include <QFile>
#include <QImage>

#include <cmath>
#include <cstring>

using namespace component;

namespace {

std::optional<double> AmfNumberAfter(const QByteArray& head, const char* key) {
    QByteArray needle;
    const auto len = uint16_t(std::strlen(key));
    needle.append(char(len >> 8)).append(char(len & 0xff)).append(key).append('\0');
    const qsizetype at = head.indexOf(needle);
    if (at < 0 || at + needle.size() + 8 > head.size()) return std::nullopt;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = (bits << 8) | uint8_t(head[at + needle.size() + i]);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

struct OnsetFinder {
    int rate = 0;
    int64_t lastLoud = INT64_MIN / 2;
    std::vector<double>* onsets = nullptr;
    void Feed(const float* x, int n, double start) {
        for (int i = 0; i < n; ++i) {
            if (std::fabs(x[i]) < 0.1f) continue;
            const int64_t index = int64_t(std::llround(start * rate)) + i;
            if (index - lastLoud > rate / 20) onsets->push_back(start + double(i) / rate);
            lastLoud = index;
        }
    }
};

}  // namespace

std::vector<double> Readback::FlashTimes() const {
    // A flash repeated into the next frame (a gap filled) is still the one flash.
    std::vector<double> out;
    for (size_t i = 0; i < frames.size(); ++i)
        if (frames[i].meanLuma > 200 && (i == 0 || frames[i - 1].meanLuma <= 200))
            out.push_back(frames[i].time);
    return out;
}

std::vector<double> Readback::AvOffsets() const {
    std::vector<double> out;
    for (double flash : FlashTimes()) {
        double best = 1e9;
        for (double beep : beepOnsets)
            if (std::fabs(beep - flash) < std::fabs(best)) best = beep - flash;
        if (std::fabs(best) < 0.5) out.push_back(best);
    }
    return out;
}

double Readback::VideoSpan() const {
    if (frames.empty() || frameRate <= 0) return 0;
    return frames.back().time - frames.front().time + 1.0 / frameRate;
}

Readback ReadRecording(const std::string& path) {
    Readback r;
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(4096);
        r.metaDuration = AmfNumberAfter(head, "duration");
        r.metaFileSize = AmfNumberAfter(head, "filesize");
    }
    AVFormatContext* raw = nullptr;
    if (int ret = avformat_open_input(&raw, path.c_str(), nullptr, nullptr); ret < 0) {
        r.error = AvErrorText(ret);
        return r;
    }
    InputContextPtr in(raw);
    avformat_find_stream_info(in.get(), nullptr);
    r.opened = true;
    if (in->duration > 0) r.duration = double(in->duration) / AV_TIME_BASE;

    int videoIndex = av_find_best_stream(in.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    int audioIndex = av_find_best_stream(in.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    CodecContextPtr video, audio;
    auto openDecoder = [&](int index, CodecContextPtr& ctx, std::string& name) {
        if (index < 0) return;
        const AVCodecParameters* par = in->streams[index]->codecpar;
        name = avcodec_get_name(par->codec_id);
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        ctx.reset(avcodec_alloc_context3(codec));
        avcodec_parameters_to_context(ctx.get(), par);
        if (avcodec_open2(ctx.get(), codec, nullptr) < 0) ctx.reset();
    };
    openDecoder(videoIndex, video, r.videoCodec);
    openDecoder(audioIndex, audio, r.audioCodec);
    if (videoIndex >= 0) {
        const AVStream* st = in->streams[videoIndex];
        r.width = st->codecpar->width;
        r.height = st->codecpar->height;
        const AVRational fr = st->avg_frame_rate.num ? st->avg_frame_rate : st->r_frame_rate;
        if (fr.den) r.frameRate = av_q2d(fr);
    }
    if (audioIndex >= 0) {
        r.sampleRate = in->streams[audioIndex]->codecpar->sample_rate;
        r.channels = in->streams[audioIndex]->codecpar->ch_layout.nb_channels;
    }

    OnsetFinder onsets{r.sampleRate, INT64_MIN / 2, &r.beepOnsets};
    PacketPtr pkt(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    SwsPtr sws;
    auto drain = [&](AVCodecContext* ctx, int index) {
        const AVRational tb = in->streams[index]->time_base;
        while (avcodec_receive_frame(ctx, frame.get()) == 0) {
            const int64_t pts = frame->best_effort_timestamp;
            const double t = pts == AV_NOPTS_VALUE ? 0 : double(pts) * av_q2d(tb);
            if (index == videoIndex) {
                QImage grey(frame->width, frame->height, QImage::Format_Grayscale8);
                sws.reset(sws_getCachedContext(sws.release(), frame->width, frame->height,
                                               AVPixelFormat(frame->format), frame->width,
                                               frame->height, AV_PIX_FMT_GRAY8, SWS_POINT,
                                               nullptr, nullptr, nullptr));
                uint8_t* dst[1] = {grey.bits()};
                const int stride[1] = {int(grey.bytesPerLine())};
                sws_scale(sws.get(), frame->data, frame->linesize, 0, frame->height, dst, stride);
                double sum = 0;
                for (int y = 0; y < grey.height(); ++y)
                    for (int x = 0; x < grey.width(); ++x) sum += grey.constScanLine(y)[x];
                r.frames.push_back({t, sum / (double(grey.width()) * grey.height()),
                                    TestPattern::ReadCounter(grey)});
                r.pictureBeforeLast = std::move(r.lastPicture);
                r.lastPicture = grey;
            } else {
                onsets.Feed(reinterpret_cast<const float*>(frame->extended_data[0]),
                            frame->nb_samples, t);
                const auto* x = reinterpret_cast<const float*>(frame->extended_data[0]);
                if (r.audioStart < 0) r.audioStart = t;
                r.audio.insert(r.audio.end(), x, x + frame->nb_samples);
                r.audioSamples += frame->nb_samples;
                r.audioEnd = std::max(r.audioEnd, t + double(frame->nb_samples) / r.sampleRate);
            }
            av_frame_unref(frame.get());
        }
    };
    while (av_read_frame(in.get(), pkt.get()) >= 0) {
        AVCodecContext* ctx = pkt->stream_index == videoIndex   ? video.get()
                              : pkt->stream_index == audioIndex ? audio.get()
                                                                : nullptr;
        const int index = pkt->stream_index;
        if (index == videoIndex && (pkt->flags & AV_PKT_FLAG_KEY) && pkt->pts != AV_NOPTS_VALUE)
            r.keyFrames.push_back(double(pkt->pts) * av_q2d(in->streams[index]->time_base));
        if (ctx) {
            if (avcodec_send_packet(ctx, pkt.get()) < 0) ++r.decodeErrors;
            drain(ctx, index);
        }
        av_packet_unref(pkt.get());
    }
    if (video) {
        avcodec_send_packet(video.get(), nullptr);
        drain(video.get(), videoIndex);
    }
    if (audio) {
        avcodec_send_packet(audio.get(), nullptr);
        drain(audio.get(), audioIndex);
    }
    return r;
}
