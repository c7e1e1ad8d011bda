// H.264 + AAC encoders and the muxer for one recording: FLV, MP4 or Matroska, each written so
// that a crash loses under a second (the buffered bytes flushed twice a second; MP4 written in
// fragments and Matroska in clusters of at most half a second). Video comes one picture per output
// frame (constant rate), sound as planar float samples at the output rate, both from time 0.
// Used from one thread at a time.
#pragma once

#include "component/media/YuvImage.h"
#include "component/recording/EncoderSettings.h"
#include "component/media/FfmpegHandles.h"
#include "component/recording/OutputSink.h"

#include <QImage>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace component {

// The muxer's write callback takes a const buffer from libavformat 61 on.
#if LIBAVFORMAT_VERSION_MAJOR >= 61
using AvioWriteBuffer = const uint8_t*;
#else
using AvioWriteBuffer = uint8_t*;
#endif

enum class RecorderError { None, DiskFull, WriteFailed, EncodeFailed };

class MediaRecorder {
public:
    // Opens both encoders, then the file, then writes the header. On failure leaves no file
    // behind.
    // `muxer` is FFmpeg's name of the container: "flv", "mp4" or "matroska".
    static Result<std::unique_ptr<MediaRecorder>> Open(const EncoderSettings& settings,
                                                     const std::string& path,
                                                     const SinkFactory& sinks,
                                                     const std::string& muxer = "flv");
    ~MediaRecorder();
    MediaRecorder(const MediaRecorder&) = delete;
    MediaRecorder& operator=(const MediaRecorder&) = delete;

    // Encodes `picture` as the next output frame, scaled to fit with its aspect kept.
    RecorderError WriteVideo(const YuvImage& picture);
    RecorderError WriteVideo(const QImage& image);
    RecorderError WriteAudio(const float* const* planes, int samples);
    // Ends the sound exactly where the pictures end, drains the encoders and writes the
    // trailer (the muxer then fills in duration and file size). A fragmented MP4 is then
    // rewritten as a plain one, which every editor takes; the fragmented file stays when that
    // cannot be done. Idempotent.
    RecorderError Finish();
    // Closes and deletes the file: for a recording that never got under way.
    void Abandon();

    // Sees every encoded packet (in its stream's time base) before the file gets it; what a
    // live stream is fed from. Set before the first picture.
    using PacketTap = std::function<void(const AVPacket* packet, bool video)>;
    void SetPacketTap(PacketTap tap) { m_tap = std::move(tap); }
    // Asked before each picture; true makes that picture a key frame, so that a live stream
    // that has just connected (or dropped a group) goes on at once, not at the next regular
    // key frame up to two seconds later.
    using KeyFrameRequest = std::function<bool()>;
    void SetKeyFrameRequest(KeyFrameRequest request) { m_keyFrameRequest = std::move(request); }
    // A second H.264 encode of the same pictures at a lower bitrate, for live destinations
    // whose link cannot carry the recording's; its packets (the video stream's time base) go
    // to `tap` only, never into the file. `request` is asked before each picture for the
    // bitrate wanted now: 0 for none, when the second encoder is let go.
    using VariantRequest = std::function<int()>;
    void SetVideoVariant(VariantRequest request, PacketTap tap) {
        m_variantRequest = std::move(request);
        m_variantTap = std::move(tap);
    }
    const AVStream* VideoStream() const { return m_videoStream; }
    const AVStream* AudioStream() const { return m_audioStream; }

    const EncoderSettings& Settings() const { return m_settings; }
    int64_t videoFrames() const { return m_videoFrames; }
    int64_t audioSamples() const { return m_audioEncoded; }
    // Bytes handed to the file so far (the buffered rest follows within a quarter second).
    int64_t BytesWritten() const { return m_bytesWritten; }
    RecorderError Error() const { return m_error; }
    bool IsFinished() const { return m_closed; }

private:
    MediaRecorder(const EncoderSettings& settings, std::string muxer)
        : m_settings(settings), m_muxer(std::move(muxer)) {}
    Result<> OpenEncoders();
    Result<CodecContextPtr> OpenVideoEncoder(int bitrate) const;
    void EncodeVariant(const AVFrame* frame);
    Result<> OpenMuxer(const std::string& path, const SinkFactory& sinks);
    static bool Reference(const YuvImage& picture, AVFrame* frame);
    RecorderError EncodeAudioFrames(bool includePartial);
    RecorderError Send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame);
    RecorderError Fault(int avError);
    RecorderError CheckIo();
    void NoteTagBoundary();
    void MaybeFlush();
    void Salvage();
    void Close();

    static int WritePacket(void* opaque, AvioWriteBuffer buf, int size);
    static int64_t SeekPacket(void* opaque, int64_t offset, int whence);

    EncoderSettings m_settings;
    std::string m_muxer;
    std::string m_path;
    std::unique_ptr<OutputSink> m_sink;
    OutputContext m_out;
    AVStream* m_videoStream = nullptr;
    AVStream* m_audioStream = nullptr;
    CodecContextPtr m_video;
    CodecContextPtr m_audio;
    FramePtr m_audioFrame;
    PacketPtr m_packet;
    AudioFifoPtr m_fifo;
    int64_t m_videoFrames = 0;
    int64_t m_bytesWritten = 0;
    int64_t m_audioEncoded = 0;
    // Byte offsets where a whole unit ends (an FLV tag, an MP4 fragment, a Matroska cluster),
    // from the last one known to be on disk on.
    std::deque<int64_t> m_tagEnds;
    std::chrono::steady_clock::time_point m_lastFlush;
    PacketTap m_tap;
    KeyFrameRequest m_keyFrameRequest;
    VariantRequest m_variantRequest;
    PacketTap m_variantTap;
    CodecContextPtr m_variant;
    int m_variantBitrate = 0;
    RecorderError m_error = RecorderError::None;
    bool m_closed = false;
};

}  // namespace component
