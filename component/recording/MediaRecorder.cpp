#include "component/recording/MediaRecorder.h"

#include "component/media/Canvas.h"
#include "component/media/Diagnostics.h"
#include "component/recording/Mp4Rewrite.h"


extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace component {

namespace {
// Often enough that a crash loses under half a second; rarely enough to cost nothing.
constexpr auto kFlushInterval = std::chrono::milliseconds(250);
constexpr int kIoBufferSize = 64 * 1024;
// The longest an MP4 fragment or a Matroska cluster may grow before it is written: a quarter
// second, so that with the flush and the pictures still in the pipeline a crash loses at most
// half a second (half-second units lost up to 0.54 s to kill -9).
constexpr int64_t kUnitMaxUs = 250000;

}  // namespace

Result<std::unique_ptr<MediaRecorder>> MediaRecorder::Open(const EncoderSettings& settings,
                                                       const std::string& path,
                                                       const SinkFactory& sinks,
                                                       const std::string& muxer) {
    EnsureFfmpegInitialised();
    std::unique_ptr<MediaRecorder> r(new MediaRecorder(settings, muxer));
    Result<> opened = r->OpenEncoders();
    if (opened) opened = r->OpenMuxer(path, sinks);
    if (!opened) {
        if (r->m_sink) r->m_sink->Discard();
        r->m_closed = true;
        return opened.AsFailure();
    }
    return r;
}

MediaRecorder::~MediaRecorder() { Finish(); }

Result<CodecContextPtr> MediaRecorder::OpenVideoEncoder(int bitrate) const {
    const EncoderSettings& s = m_settings;
    const AVCodec* h264 = avcodec_find_encoder_by_name("libx264");
    if (!h264) return Fail("this FFmpeg has no libx264 encoder");
    CodecContextPtr context(avcodec_alloc_context3(h264));
    if (!context) return Fail("out of memory");
    AVCodecContext* v = context.get();
    v->width = s.width;
    v->height = s.height;
    v->pix_fmt = AV_PIX_FMT_YUV420P;
    v->time_base = AVRational{1, s.frameRate};
    v->framerate = AVRational{s.frameRate, 1};
    v->bit_rate = bitrate;
    v->gop_size = 2 * s.frameRate;  // a key frame at least every 2 s
    v->max_b_frames = 0;
    v->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // No look-ahead and no frame threads: every picture leaves the encoder as soon as it
    // enters, so what is flushed is what was captured, and a crash loses little.
    av_opt_set(v->priv_data, "preset", "veryfast", 0);
    av_opt_set(v->priv_data, "tune", "zerolatency", 0);
    if (const int ret = avcodec_open2(v, h264, nullptr); ret < 0)
        return Fail("the H.264 encoder refused " + std::to_string(s.width) + "x" + std::to_string(s.height) +
                    " at " + std::to_string(s.frameRate) + " fps, " + std::to_string(bitrate) +
                    " b/s: " + AvErrorText(ret));
    return context;
}

void MediaRecorder::EncodeVariant(const AVFrame* frame) {
    const int wanted = m_variantRequest();
    if (wanted <= 0) {
        m_variant.reset();
        m_variantBitrate = 0;
        return;
    }
    // A new bitrate is a new encoder: its first picture is a key frame, so the stream goes on
    // from it without a break (the encoder's parameters but the bitrate are the same).
    if (!m_variant || wanted != m_variantBitrate) {
        Result<CodecContextPtr> opened = OpenVideoEncoder(wanted);
        if (!opened) {
            Diagnose("no lower-bitrate encode for a slow link: " + opened.Error());
            m_variant.reset();
            return;
        }
        m_variant = std::move(*opened);
    }
    m_variantBitrate = wanted;
    if (avcodec_send_frame(m_variant.get(), frame) < 0) return;
    // The recorder's own packet, free between encodes: every one is handed on and let go here.
    AVPacket* packet = m_packet.get();
    while (avcodec_receive_packet(m_variant.get(), packet) == 0) {
        av_packet_rescale_ts(packet, m_variant->time_base, m_videoStream->time_base);
        packet->stream_index = m_videoStream->index;
        if (m_variantTap) m_variantTap(packet, true);
        av_packet_unref(packet);
    }
}

Result<> MediaRecorder::OpenEncoders() {
    const EncoderSettings& s = m_settings;
    const AVCodec* aac = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!aac) return Fail("this FFmpeg has no AAC encoder");

    Result<CodecContextPtr> video = OpenVideoEncoder(s.videoBitrate);
    if (!video) return video.AsFailure();
    m_video = std::move(*video);
    m_audio.reset(avcodec_alloc_context3(aac));
    m_packet.reset(av_packet_alloc());
    m_audioFrame.reset(av_frame_alloc());
    if (!m_audio || !m_packet || !m_audioFrame) return Fail("out of memory");
    int ret = 0;

    AVCodecContext* a = m_audio.get();
    a->sample_fmt = AV_SAMPLE_FMT_FLTP;
    a->sample_rate = s.sampleRate;
    av_channel_layout_default(&a->ch_layout, s.channels);
    a->bit_rate = s.audioBitrate;
    a->time_base = AVRational{1, s.sampleRate};
    a->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    ret = avcodec_open2(a, aac, nullptr);
    if (ret < 0)
        return Fail("the AAC encoder refused " + std::to_string(s.sampleRate) + " Hz, " +
               std::to_string(s.channels) + " channels, " + std::to_string(s.audioBitrate) +
               " b/s: " + AvErrorText(ret));

    m_audioFrame->format = a->sample_fmt;
    m_audioFrame->nb_samples = a->frame_size;
    m_audioFrame->sample_rate = a->sample_rate;
    if (av_channel_layout_copy(&m_audioFrame->ch_layout, &a->ch_layout) < 0 ||
        av_frame_get_buffer(m_audioFrame.get(), 0) < 0)
        return Fail("out of memory");
    m_fifo.reset(av_audio_fifo_alloc(a->sample_fmt, s.channels, a->frame_size * 4));
    if (!m_fifo) return Fail("out of memory");
    return Ok();
}

Result<> MediaRecorder::OpenMuxer(const std::string& path, const SinkFactory& sinks) {
    Result<std::unique_ptr<OutputSink>> sink = sinks(path);
    if (!sink) return sink.AsFailure();
    m_sink = std::move(*sink);

    m_path = path;
    if (avformat_alloc_output_context2(&m_out.ctx, nullptr, m_muxer.c_str(), nullptr) < 0 || !m_out.ctx)
        return Fail("this FFmpeg has no " + m_muxer + " muxer");
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    if (!buffer) return Fail("out of memory");
    m_out.io = avio_alloc_context(buffer, kIoBufferSize, 1, this, nullptr, &WritePacket,
                                  &SeekPacket);
    if (!m_out.io) {
        av_free(buffer);
        return Fail("out of memory");
    }
    m_out.ctx->pb = m_out.io;
    m_out.ctx->flags |= AVFMT_FLAG_CUSTOM_IO;

    m_videoStream = avformat_new_stream(m_out.ctx, nullptr);
    m_audioStream = avformat_new_stream(m_out.ctx, nullptr);
    if (!m_videoStream || !m_audioStream) return Fail("out of memory");
    m_videoStream->time_base = m_video->time_base;
    m_videoStream->avg_frame_rate = m_video->framerate;
    m_audioStream->time_base = m_audio->time_base;
    if (avcodec_parameters_from_context(m_videoStream->codecpar, m_video.get()) < 0 ||
        avcodec_parameters_from_context(m_audioStream->codecpar, m_audio.get()) < 0)
        return Fail("out of memory");

    Dictionary options;
    if (m_muxer == "mp4") {
        // An empty moov first, then a fragment every quarter second: what a crash leaves is
        // a file that plays up to its last whole fragment.
        options.Set("movflags", "+empty_moov+default_base_moof");
        options.Set("frag_duration", std::to_string(kUnitMaxUs));
    } else if (m_muxer == "matroska") {
        options.Set("cluster_time_limit", std::to_string(kUnitMaxUs / 1000));
    }
    int ret = avformat_write_header(m_out.ctx, options.get());
    if (ret >= 0) {
        avio_flush(m_out.io);
        if (m_out.io->error < 0) ret = m_out.io->error;
    }
    if (ret < 0) return Fail("cannot write \"" + path + "\": " + AvErrorText(ret));
    NoteTagBoundary();
    m_lastFlush = std::chrono::steady_clock::now();
    return Ok();
}

int MediaRecorder::WritePacket(void* opaque, AvioWriteBuffer buf, int size) {
    auto* self = static_cast<MediaRecorder*>(opaque);
    const int written = self->m_sink->Write(buf, size);
    if (written > 0) self->m_bytesWritten += written;
    return written;
}

int64_t MediaRecorder::SeekPacket(void* opaque, int64_t offset, int whence) {
    return static_cast<MediaRecorder*>(opaque)->m_sink->Seek(offset, whence);
}

RecorderError MediaRecorder::WriteVideo(const YuvImage& source) {
    if (m_closed) return m_error;
    // The processing stage makes every picture the output size; anything else is fitted.
    const YuvImage picture = FitOnCanvas(source, QSize(m_settings.width, m_settings.height));
    FramePtr frame(av_frame_alloc());
    if (!frame || !Reference(picture, frame.get())) return Fault(AVERROR(ENOMEM));
    frame->pts = m_videoFrames;
    frame->pict_type = m_keyFrameRequest && m_keyFrameRequest() ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    if (m_variantRequest) EncodeVariant(frame.get());
    RecorderError e = Send(m_video.get(), m_videoStream, frame.get());
    if (e == RecorderError::None) ++m_videoFrames;
    return e;
}

RecorderError MediaRecorder::WriteVideo(const QImage& image) { return WriteVideo(YuvImage::FromImage(image)); }

// The encoder reads the picture's own planes: the frame holds a share of them for as long as
// the encoder keeps it, so nothing is copied (a repeated picture is the same planes again).
bool MediaRecorder::Reference(const YuvImage& picture, AVFrame* f) {
    if (picture.IsNull()) return false;
    using Planes = std::shared_ptr<const uint8_t[]>;
    auto* hold = new Planes(picture.Share());
    f->buf[0] = av_buffer_create(const_cast<uint8_t*>(picture.Plane(0)), picture.Bytes(),
                                 [](void* opaque, uint8_t*) { delete static_cast<Planes*>(opaque); }, hold,
                                 AV_BUFFER_FLAG_READONLY);
    if (!f->buf[0]) {
        delete hold;
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        f->data[i] = const_cast<uint8_t*>(picture.Plane(i));
        f->linesize[i] = picture.Stride(i);
    }
    f->format = AV_PIX_FMT_YUV420P;
    f->width = picture.Width();
    f->height = picture.Height();
    return true;
}

RecorderError MediaRecorder::WriteAudio(const float* const* planes, int samples) {
    if (m_closed) return m_error;
    if (samples <= 0) return RecorderError::None;
    void* const* data = reinterpret_cast<void* const*>(const_cast<float* const*>(planes));
    if (av_audio_fifo_write(m_fifo.get(), const_cast<void**>(data), samples) < samples)
        return Fault(AVERROR(ENOMEM));
    return EncodeAudioFrames(false);
}

RecorderError MediaRecorder::EncodeAudioFrames(bool includePartial) {
    const int frameSize = m_audio->frame_size;
    while (av_audio_fifo_size(m_fifo.get()) >= frameSize ||
           (includePartial && av_audio_fifo_size(m_fifo.get()) > 0)) {
        AVFrame* f = m_audioFrame.get();
        if (av_frame_make_writable(f) < 0) return Fault(AVERROR(ENOMEM));
        int n = std::min(frameSize, av_audio_fifo_size(m_fifo.get()));
        f->nb_samples = n;
        av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void**>(f->data), n);
        f->pts = m_audioEncoded;
        RecorderError e = Send(m_audio.get(), m_audioStream, f);
        f->nb_samples = frameSize;
        if (e != RecorderError::None) return e;
        m_audioEncoded += n;
    }
    return RecorderError::None;
}

RecorderError MediaRecorder::Send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
    int ret = avcodec_send_frame(codec, frame);
    if (ret < 0 && ret != AVERROR_EOF) {
        Diagnose("encoder failed: " + AvErrorText(ret));
        m_error = RecorderError::EncodeFailed;
        Salvage();
        return m_error;
    }
    for (;;) {
        ret = avcodec_receive_packet(codec, m_packet.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) break;
        if (ret < 0) {
            Diagnose("encoder failed: " + AvErrorText(ret));
            m_error = RecorderError::EncodeFailed;
            Salvage();
            return m_error;
        }
        av_packet_rescale_ts(m_packet.get(), codec->time_base, stream->time_base);
        m_packet->stream_index = stream->index;
        if (m_tap) m_tap(m_packet.get(), stream == m_videoStream);
        ret = av_interleaved_write_frame(m_out.ctx, m_packet.get());
        if (ret < 0) return Fault(ret);
        if (RecorderError e = CheckIo(); e != RecorderError::None) return e;
        NoteTagBoundary();
    }
    MaybeFlush();
    return CheckIo();
}

RecorderError MediaRecorder::CheckIo() {
    if (m_closed) return m_error;
    return m_out.io->error < 0 ? Fault(m_out.io->error) : RecorderError::None;
}

RecorderError MediaRecorder::Fault(int avError) {
    if (m_closed) return m_error;
    m_error = (avError == AVERROR(ENOSPC) || avError == AVERROR(EDQUOT))
                  ? RecorderError::DiskFull
                  : RecorderError::WriteFailed;
    Diagnose("recording stopped: " + AvErrorText(avError));
    Salvage();
    return m_error;
}

void MediaRecorder::NoteTagBoundary() {
    m_tagEnds.push_back(avio_tell(m_out.io));
    // Only the last boundary already on disk and those after it can still matter.
    const int64_t durable = m_sink->DurableSize();
    while (m_tagEnds.size() > 1 && m_tagEnds[1] <= durable) m_tagEnds.pop_front();
}

void MediaRecorder::MaybeFlush() {
    auto now = std::chrono::steady_clock::now();
    if (now - m_lastFlush < kFlushInterval) return;
    avio_flush(m_out.io);
    m_lastFlush = now;
}

// After a failed write the file may end inside a tag; cutting it back to the last whole tag
// on disk leaves a file that every player reads to its end.
void MediaRecorder::Salvage() {
    if (m_closed) return;
    const int64_t durable = m_sink->DurableSize();
    int64_t keep = 0;
    for (int64_t end : m_tagEnds)
        if (end <= durable) keep = end;
    if (!m_sink->Truncate(keep)) Diagnose("could not cut the damaged end off the recording");
    Close();
}

RecorderError MediaRecorder::Finish() {
    if (m_closed) return m_error;
    // End the sound where the last picture ends, so both streams stop together.
    const int64_t target = m_videoFrames * m_settings.sampleRate / m_settings.frameRate;
    const int64_t total = m_audioEncoded + av_audio_fifo_size(m_fifo.get());
    if (total < target) {
        std::vector<float> silence(static_cast<size_t>(target - total), 0.0f);
        std::vector<const float*> planes(static_cast<size_t>(m_settings.channels), silence.data());
        if (RecorderError e = WriteAudio(planes.data(), static_cast<int>(silence.size()));
            e != RecorderError::None)
            return e;
    } else if (total > target) {
        const int keep = static_cast<int>(std::max<int64_t>(0, target - m_audioEncoded));
        const int have = av_audio_fifo_size(m_fifo.get());
        if (keep < have) {
            std::vector<std::vector<float>> buf(static_cast<size_t>(m_settings.channels),
                                                std::vector<float>(static_cast<size_t>(keep) + 1));
            std::vector<void*> ptrs;
            for (auto& b : buf) ptrs.push_back(b.data());
            av_audio_fifo_read(m_fifo.get(), ptrs.data(), keep);
            av_audio_fifo_reset(m_fifo.get());
            av_audio_fifo_write(m_fifo.get(), ptrs.data(), keep);
        }
    }
    if (RecorderError e = EncodeAudioFrames(true); e != RecorderError::None) return e;
    if (RecorderError e = Send(m_video.get(), m_videoStream, nullptr); e != RecorderError::None)
        return e;
    if (RecorderError e = Send(m_audio.get(), m_audioStream, nullptr); e != RecorderError::None)
        return e;
    int ret = av_write_trailer(m_out.ctx);
    if (ret < 0) return Fault(ret);
    avio_flush(m_out.io);
    if (RecorderError e = CheckIo(); e != RecorderError::None) return e;
    Close();
    if (m_muxer == "mp4" && !m_path.empty())
        if (Result<> plain = RewriteAsPlainMp4(m_path); !plain)
            Diagnose("the MP4 stays fragmented: " + plain.Error());
    return RecorderError::None;
}

void MediaRecorder::Abandon() {
    if (m_closed) return;
    if (m_sink) m_sink->Discard();
    Close();
}

void MediaRecorder::Close() {
    m_closed = true;
    m_sink.reset();
}

}  // namespace component
