#include "component/recording/StreamOutput.h"

#include "component/media/CaptureClock.h"
#include "component/media/Diagnostics.h"
#include "component/recording/NullSink.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>

namespace component {

namespace {
// A queue longer than this in time means the network does not keep up: drop it whole.
constexpr int64_t kMaxQueuedUs = 2000000;
constexpr int64_t kMaxQueuedBytes = 32 << 20;
// One network operation (connect, handshake, a write) may take this long before the
// connection counts as dropped.
constexpr int64_t kNetworkTimeoutUs = 5000000;
// How long a stop waits for what is queued to go out.
constexpr int64_t kDrainUs = 2000000;
constexpr int64_t kLiveAgainShownUs = 3000000;
constexpr int kProbeTimeoutMs = 3000;
// A slow link: judged once a second; behind when more than this waits and it grows.
constexpr int64_t kGovernEveryUs = 1000000;
constexpr int64_t kBehindUs = 400000;
constexpr int64_t kCalmUs = 150000;
constexpr int64_t kRecoverAfterUs = 8000000;
constexpr int kMinStreamBitrate = 150000;

}  // namespace

Result<StreamUrl> StreamUrl::Parse(const std::string& server, const std::string& key) {
    Result<platform::StreamAddress> address = platform::ParseStreamAddress(server, key);
    if (!address) return address.AsFailure();
    return StreamUrl{*address};
}

std::string StreamUrl::ToString() const { return ToUrl(); }

std::string StreamUrl::Redacted() const { return RedactKey(ToString(), key); }

std::string RedactKey(std::string text, const std::string& key) {
    if (key.empty()) return text;
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 4))
        text.replace(at, key.size(), "****");
    return text;
}

Result<> StreamOutput::CheckServer(const StreamUrl& url) {
    // SRT runs over UDP: nothing answers until the handshake, which a listener counts as the
    // stream itself. Its connection thread says when the listener is not there.
    if (url.protocol == platform::StreamProtocol::Srt) return Ok();
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(url.port);
    if (getaddrinfo(url.host.c_str(), port.c_str(), &hints, &found) != 0 || !found)
        return Fail("the server name \"" + url.host + "\" is unknown");
    bool refused = true;
    for (addrinfo* a = found; a && refused; a = a->ai_next) {
        const int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                              a->ai_protocol);
        if (fd < 0) continue;
        int ret = connect(fd, a->ai_addr, a->ai_addrlen);
        if (ret < 0 && errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            ret = poll(&p, 1, kProbeTimeoutMs);
            if (ret == 0) {
                refused = false;  // no answer yet: leave it to the reconnecting thread
            } else if (ret > 0) {
                int err = 0;
                socklen_t len = sizeof err;
                getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
                refused = err != 0;
            }
        } else if (ret == 0) {
            refused = false;
        }
        close(fd);
    }
    freeaddrinfo(found);
    if (refused) return Fail("the server " + url.host + ":" + port + " does not take connections");
    return Ok();
}

int64_t StreamOutput::RetryDelayUs(int attempt) {
    if (attempt <= 1) return 1000000;
    return std::min<int64_t>(int64_t(1000000) << std::min(attempt - 1, 4), 10000000);
}

Result<std::unique_ptr<StreamOutput>> StreamOutput::Start(const StreamUrl& url,
                                                          const Streams& streams) {
    EnsureFfmpegInitialised();
    std::unique_ptr<StreamOutput> s(new StreamOutput(url, streams));
    if (Result<> copied = s->CopyStreams(streams); !copied) return copied.AsFailure();
    s->m_status.state = StreamState::Connecting;
    s->m_thread = std::thread([p = s.get()] { p->Run(); });
    return s;
}

SinkFactory StreamOutput::Sinks(const std::string& path, SinkFactory files) {
    return path.empty() ? SinkFactory(&NullSink::Create) : files;
}

Result<std::vector<std::unique_ptr<StreamOutput>>> StreamOutput::StartFrom(const std::vector<StreamUrl>& urls,
                                                                           MediaRecorder& recorder) {
    std::vector<std::unique_ptr<StreamOutput>> streams;
    for (const StreamUrl& url : urls) {
        Result<std::unique_ptr<StreamOutput>> stream =
            Start(url, {recorder.VideoStream()->codecpar, recorder.VideoStream()->time_base,
                        recorder.AudioStream()->codecpar, recorder.AudioStream()->time_base});
        if (!stream) return stream.AsFailure();
        streams.push_back(std::move(*stream));
    }
    std::vector<StreamOutput*> outs;
    for (const auto& s : streams) outs.push_back(s.get());
    // The recording's packets go to every destination but the video of those on a slow link,
    // which takes the second encode's instead; sound is the same for all.
    recorder.SetPacketTap([outs](const AVPacket* p, bool video) {
        for (StreamOutput* out : outs)
            if (!video || out->LoweredBitrate() == 0) out->Push(p, video);
    });
    const int full = recorder.Settings().videoBitrate;
    recorder.SetVideoVariant(
        [outs, full] {
            const int64_t now = ClockNowUs();
            int wanted = 0;
            for (StreamOutput* out : outs) {
                out->Govern(now, full);
                if (const int b = out->LoweredBitrate(); b > 0) wanted = wanted ? std::min(wanted, b) : b;
            }
            return wanted;
        },
        [outs](const AVPacket* p, bool) {
            for (StreamOutput* out : outs)
                if (out->LoweredBitrate() > 0) out->Push(p, true);
        });
    // One key frame serves every destination that waits for one; each request is taken.
    recorder.SetKeyFrameRequest([outs] {
        bool wanted = false;
        for (StreamOutput* out : outs) wanted = out->TakeKeyFrameRequest() || wanted;
        return wanted;
    });
    return streams;
}

StreamOutput::StreamOutput(const StreamUrl& url, const Streams& streams)
    : m_url(url), m_videoTimeBase(streams.videoTimeBase), m_audioTimeBase(streams.audioTimeBase) {}

StreamOutput::~StreamOutput() { Stop(); }

Result<> StreamOutput::CopyStreams(const Streams& streams) {
    m_videoPar.reset(avcodec_parameters_alloc());
    m_audioPar.reset(avcodec_parameters_alloc());
    if (!m_videoPar || !m_audioPar ||
        avcodec_parameters_copy(m_videoPar.get(), streams.video) < 0 ||
        avcodec_parameters_copy(m_audioPar.get(), streams.audio) < 0)
        return Fail("out of memory");
    return Ok();
}

void StreamOutput::Push(const AVPacket* packet, bool video) {
    const AVRational tb = video ? m_videoTimeBase : m_audioTimeBase;
    const int64_t dtsUs = av_rescale_q(packet->dts, tb, AVRational{1, 1000000});
    const bool key = video && (packet->flags & AV_PKT_FLAG_KEY);
    {
        std::lock_guard lock(m_mutex);
        if (m_finishing || m_status.state == StreamState::Stopped) return;
        if (!m_connected) {
            ++m_status.packetsDropped;
            m_waitForKey = true;
            return;
        }
        // The network is behind by more than the queue holds: drop what waits, whole, and go
        // on from the next key frame so the viewers' decoders never see a broken group.
        if (!m_queue.empty()) {
            const int64_t oldest = m_queue.front().dtsUs;
            if (dtsUs - oldest > kMaxQueuedUs || m_queuedBytes > kMaxQueuedBytes) {
                m_status.packetsDropped += int64_t(m_queue.size());
                m_queue.clear();
                m_queuedBytes = 0;
                m_waitForKey = true;
            }
        }
        if (m_waitForKey) {
            if (!key) {
                ++m_status.packetsDropped;
                if (video) m_keyFrameWanted = true;
                return;
            }
            m_waitForKey = false;
        }
        PacketPtr copy(av_packet_clone(packet));
        if (!copy) {
            ++m_status.packetsDropped;
            m_waitForKey = true;
            return;
        }
        m_queuedBytes += copy->size;
        if (video) m_videoBytesPushed += copy->size;
        m_queue.push_back(Item{std::move(copy), video, dtsUs});
    }
    m_wake.notify_one();
}

void StreamOutput::BeginStop() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_finishing) {
            m_finishing = true;
            m_finishDeadlineUs = ClockNowUs() + kDrainUs;
        }
    }
    m_wake.notify_all();
}

void StreamOutput::Stop() {
    BeginStop();
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard lock(m_mutex);
    m_status.state = StreamState::Stopped;
}

void StreamOutput::Govern(int64_t nowUs, int fullBitrate) {
    if (nowUs - m_lastGovernUs < kGovernEveryUs) return;
    // What the video really took over the last second: an encoder below its bitrate (a still
    // picture) is stepped down from what it makes, not from what it was allowed.
    const int64_t pushedBits = m_videoBytesPushed.exchange(0) * 8;
    const int64_t spanUs = nowUs - m_lastGovernUs;
    m_lastGovernUs = nowUs;
    const int made = spanUs < 2 * kGovernEveryUs ? int(pushedBits * 1000000 / spanUs) : fullBitrate;
    int64_t queued = 0;
    {
        std::lock_guard lock(m_mutex);
        if (!m_connected) return;
        queued = QueuedUsLocked();
    }
    const int lowered = m_lowered.load();
    const int current = std::min(lowered ? lowered : fullBitrate, std::max(made, kMinStreamBitrate));
    int next = lowered;
    if (queued > kBehindUs && queued >= m_lastQueuedUs) {
        next = std::max(std::max(kMinStreamBitrate, fullBitrate / 8), current / 10 * 7);
        m_calmSinceUs = nowUs;
    } else if (queued > kCalmUs) {
        m_calmSinceUs = nowUs;
    } else if (lowered && nowUs - m_calmSinceUs >= kRecoverAfterUs) {
        next = current / 4 * 5;
        if (next >= fullBitrate / 20 * 19) next = 0;
        m_calmSinceUs = nowUs;
    }
    m_lastQueuedUs = queued;
    if (next == lowered || (next >= fullBitrate && lowered == 0)) return;
    std::lock_guard lock(m_mutex);
    // Another encode from here on: the stream goes on from its next key frame, asked for now.
    if ((next == 0) != (lowered == 0)) {
        m_waitForKey = true;
        m_keyFrameWanted = true;
    }
    m_lowered = next;
    m_status.videoBitrate = next;
}

int64_t StreamOutput::QueuedUsLocked() const {
    return m_queue.empty() ? 0 : m_queue.back().dtsUs - m_queue.front().dtsUs;
}

StreamStatus StreamOutput::Status() const {
    std::lock_guard lock(m_mutex);
    StreamStatus s = m_status;
    s.queuedUs = QueuedUsLocked();
    if (s.state == StreamState::LiveAgain && ClockNowUs() > m_liveAgainUntilUs)
        s.state = StreamState::Live;
    return s;
}

int StreamOutput::Interrupted(void* opaque) {
    auto* self = static_cast<StreamOutput*>(opaque);
    const int64_t now = ClockNowUs();
    if (now > self->m_opDeadlineUs.load()) return 1;
    std::lock_guard lock(self->m_mutex);
    if (!self->m_finishing) return 0;
    // A stop ends a connection attempt at once, and a healthy stream after its drain time.
    return !self->m_connected || now > self->m_finishDeadlineUs;
}

bool StreamOutput::Connect() {
    m_opDeadlineUs = ClockNowUs() + kNetworkTimeoutUs;
    // FLV for RTMP; SRT carries MPEG transport stream packets.
    const bool srt = m_url.protocol == platform::StreamProtocol::Srt;
    if (avformat_alloc_output_context2(&m_mux, nullptr, srt ? "mpegts" : "flv", nullptr) < 0 || !m_mux) {
        m_mux = nullptr;
        return false;
    }
    m_mux->interrupt_callback = AVIOInterruptCB{&StreamOutput::Interrupted, this};
    AVStream* v = avformat_new_stream(m_mux, nullptr);
    AVStream* a = avformat_new_stream(m_mux, nullptr);
    if (!v || !a || avcodec_parameters_copy(v->codecpar, m_videoPar.get()) < 0 ||
        avcodec_parameters_copy(a->codecpar, m_audioPar.get()) < 0) {
        Disconnect();
        return false;
    }
    v->codecpar->codec_tag = 0;
    a->codecpar->codec_tag = 0;
    v->time_base = m_videoTimeBase;
    a->time_base = m_audioTimeBase;
    Dictionary io;
    io.Set("rw_timeout", std::to_string(kNetworkTimeoutUs));
    // A socket buffer of about a sixth of a second of the stream (the kernel doubles it): a link
    // slower than the stream then shows in our queue, where Govern sees it, instead of hiding
    // in megabytes of kernel buffer; still room for a fast link far away.
    if (!srt) {
        const int64_t bytesPerSecond = (m_videoPar->bit_rate + m_audioPar->bit_rate) / 8;
        io.Set("send_buffer_size", std::to_string(std::max<int64_t>(32768, bytesPerSecond / 6)));
    }
    const std::string url = m_url.ToString();
    int ret = avio_open2(&m_mux->pb, url.c_str(), AVIO_FLAG_WRITE, &m_mux->interrupt_callback,
                         io.get());
    if (ret < 0) {
        Diagnose("live stream to " + m_url.Redacted() + ": " + RedactKey(AvErrorText(ret), m_url.key));
        Disconnect();
        return false;
    }
    Dictionary mux;
    // The stream cannot be rewound: no duration and size to fill in at the end.
    if (!srt) mux.Set("flvflags", "no_duration_filesize");
    ret = avformat_write_header(m_mux, mux.get());
    if (ret >= 0) {
        avio_flush(m_mux->pb);
        if (m_mux->pb->error < 0) ret = m_mux->pb->error;
    }
    if (ret < 0) {
        Diagnose("live stream to " + m_url.Redacted() + ": " + AvErrorText(ret));
        Disconnect();
        return false;
    }
    m_firstDtsUs = -1;
    return true;
}

void StreamOutput::Disconnect() {
    if (!m_mux) return;
    if (m_mux->pb) avio_closep(&m_mux->pb);
    avformat_free_context(m_mux);
    m_mux = nullptr;
}

bool StreamOutput::Send(Item& item) {
    m_opDeadlineUs = ClockNowUs() + kNetworkTimeoutUs;
    AVStream* stream = m_mux->streams[item.video ? 0 : 1];
    AVPacket* p = item.packet.get();
    av_packet_rescale_ts(p, item.video ? m_videoTimeBase : m_audioTimeBase, stream->time_base);
    p->stream_index = stream->index;
    const int ret = av_interleaved_write_frame(m_mux, p);
    if (ret < 0 || m_mux->pb->error < 0) {
        Diagnose("live stream to " + m_url.Redacted() + " dropped: " +
                 AvErrorText(ret < 0 ? ret : m_mux->pb->error));
        return false;
    }
    std::lock_guard lock(m_mutex);
    if (m_firstDtsUs < 0) m_firstDtsUs = item.dtsUs;
    ++m_status.packetsSent;
    m_status.liveUs = m_liveBeforeUs + std::max<int64_t>(0, item.dtsUs - m_firstDtsUs);
    return true;
}

bool StreamOutput::WaitBeforeRetry(int64_t delayUs) {
    std::unique_lock lock(m_mutex);
    const int64_t until = ClockNowUs() + delayUs;
    while (!m_finishing) {
        const int64_t left = until - ClockNowUs();
        if (left <= 0) return true;
        m_wake.wait_for(lock, std::chrono::microseconds(left));
    }
    return false;
}

void StreamOutput::Run() {
    int attempt = 0;
    for (;;) {
        if (!m_mux) {
            if (attempt > 0) {
                {
                    std::lock_guard lock(m_mutex);
                    m_status.state = StreamState::Reconnecting;
                    m_status.attempt = attempt;
                }
                if (!WaitBeforeRetry(RetryDelayUs(attempt))) break;
            }
            if (!Connect()) {
                ++attempt;
                std::lock_guard lock(m_mutex);
                if (m_finishing) break;
                m_status.state = StreamState::Reconnecting;
                m_status.attempt = attempt;
                continue;
            }
            std::lock_guard lock(m_mutex);
            const bool again = m_status.reconnects > 0 || attempt > 0;
            if (attempt > 0) ++m_status.reconnects;
            m_status.state = again ? StreamState::LiveAgain : StreamState::Live;
            m_status.attempt = 0;
            m_liveAgainUntilUs = ClockNowUs() + kLiveAgainShownUs;
            m_connected = true;
            m_waitForKey = true;  // a fresh header wants a key frame first
            attempt = 0;
        }
        Item item;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_finishing || !m_queue.empty(); });
            if (m_queue.empty()) break;  // finishing, and everything queued went out
            item = std::move(m_queue.front());
            m_queue.pop_front();
            m_queuedBytes -= item.packet->size;
        }
        if (!Send(item)) {
            Disconnect();
            std::lock_guard lock(m_mutex);
            m_connected = false;
            m_liveBeforeUs = m_status.liveUs;
            m_status.packetsDropped += int64_t(m_queue.size()) + 1;
            m_queue.clear();
            m_queuedBytes = 0;
            if (m_finishing) break;
            attempt = 1;
            m_status.state = StreamState::Reconnecting;
            m_status.attempt = attempt;
        }
    }
    if (m_mux) {
        m_opDeadlineUs = ClockNowUs() + kNetworkTimeoutUs;
        av_write_trailer(m_mux);
        Disconnect();
    }
    std::lock_guard lock(m_mutex);
    m_connected = false;
    m_queue.clear();
    m_queuedBytes = 0;
}

}  // namespace component
