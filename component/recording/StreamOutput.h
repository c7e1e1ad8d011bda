// The live side of a recording: the encoded packets that go into the local file go, copied, to
// an RTMP server as well. A thread of its own talks to the network through a bounded queue, so
// the file never waits on the connection; when the queue overflows or the connection drops,
// whole pictures groups are dropped from the stream (never from the file), and the stream
// resumes with a fresh FLV header at the next key frame.
#pragma once

#include "component/media/FfmpegHandles.h"
#include "component/media/Result.h"
#include "component/recording/MediaRecorder.h"
#include "component/recording/OutputSink.h"
#include "platform/StreamAddress.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace component {

// Where a live stream goes, taken apart.
struct StreamUrl : platform::StreamAddress {
    // `server` is rtmp://host[:port]/app; the key is the stream's name on it.
    static Result<StreamUrl> Parse(const std::string& server, const std::string& key);
    std::string ToString() const;
    // The URL with the key shown as "****", for anything a person or a log may read.
    std::string Redacted() const;
};

// Replaces every occurrence of `key` in `text` by "****".
std::string RedactKey(std::string text, const std::string& key);

enum class StreamState { Connecting, Live, Reconnecting, LiveAgain, Stopped };

struct StreamStatus {
    StreamState state = StreamState::Stopped;
    int attempt = 0;             // the reconnection attempt under way (1, 2, ...)
    int64_t liveUs = 0;          // how long the stream has been sent, outages left out
    int64_t packetsSent = 0;
    int64_t packetsDropped = 0;  // dropped from the stream only
    int reconnects = 0;          // successful reconnections
    int videoBitrate = 0;        // lowered for a slow link; 0: the recording's own
    int64_t queuedUs = 0;        // how much waits to be sent, in stream time
};

class StreamOutput {
public:
    struct Streams {
        const AVCodecParameters* video;
        AVRational videoTimeBase;
        const AVCodecParameters* audio;
        AVRational audioTimeBase;
    };

    // Waits before reconnection attempt n (1, 2, ...): 1 s, 2 s, 4 s, ..., at most 10 s.
    static int64_t RetryDelayUs(int attempt);

    // A TCP connection to the server, made and closed: a refused port or an unknown host fails
    // at once, saying so. A server that accepts but never answers passes: the
    // stream then shows as reconnecting.
    static Result<> CheckServer(const StreamUrl& url);
    // Starts the network thread, which makes the RTMP connection and keeps it.
    static Result<std::unique_ptr<StreamOutput>> Start(const StreamUrl& url, const Streams& streams);
    // Where the recorder of a streamed recording writes: the user's file when a local copy
    // is kept (`path` not empty), else nowhere.
    static SinkFactory Sinks(const std::string& path, SinkFactory files);
    // Starts streams of what `recorder` encodes, one a destination, each with its own queue,
    // connection and reconnection, so a slow or dead one never holds up the others or the
    // file: the packets are copied to them, and the recorder makes a key frame whenever one
    // waits for one. The recorder must outlive the streams' use of it, that is, be finished
    // before they are stopped.
    static Result<std::vector<std::unique_ptr<StreamOutput>>> StartFrom(const std::vector<StreamUrl>& urls,
                                                                        MediaRecorder& recorder);
    const StreamUrl& Url() const { return m_url; }
    ~StreamOutput();
    StreamOutput(const StreamOutput&) = delete;
    StreamOutput& operator=(const StreamOutput&) = delete;

    // Copies `packet` (time base of its stream) onto the queue; never blocks.
    void Push(const AVPacket* packet, bool video);
    // True once after the connected stream began waiting for a key frame: the encoder should
    // make the next picture one.
    bool TakeKeyFrameRequest() { return m_keyFrameWanted.exchange(false); }
    // Ends the stream at once, also during a connection attempt or a wait between attempts.
    void Stop();
    // Starts the end without waiting for it, so that several streams drain at the same time.
    void BeginStop();
    StreamStatus Status() const;

    // While the link is slower than the recording's bitrate, this destination is fed from a
    // second encode at a lower bitrate: LoweredBitrate() is that bitrate, 0 when it takes the
    // recording's packets. Govern, called with every picture, decides once a second from how
    // the queue grows: down by steps of 30 % to a floor while it grows, up by 25 % after a
    // calm spell, back to the recording's packets when that is reached.
    int LoweredBitrate() const { return m_lowered.load(); }
    void Govern(int64_t nowUs, int fullBitrate);

private:
    StreamOutput(const StreamUrl& url, const Streams& streams);
    Result<> CopyStreams(const Streams& streams);
    void Run();
    bool Connect();
    void Disconnect();
    struct Item {
        PacketPtr packet;
        bool video = false;
        int64_t dtsUs = 0;
    };
    bool Send(Item& item);
    int64_t QueuedUsLocked() const;  // what waits, in stream time; m_mutex held
    bool WaitBeforeRetry(int64_t delayUs);
    static int Interrupted(void* opaque);

    StreamUrl m_url;
    CodecParametersPtr m_videoPar;
    CodecParametersPtr m_audioPar;
    AVRational m_videoTimeBase{1, 1000};
    AVRational m_audioTimeBase{1, 1000};

    // The connection, used by the network thread only.
    AVFormatContext* m_mux = nullptr;
    int64_t m_firstDtsUs = -1;  // of the current connection, in microseconds

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Item> m_queue;
    int64_t m_queuedBytes = 0;
    bool m_waitForKey = true;  // drop everything up to the next video key frame
    bool m_connected = false;
    bool m_finishing = false;
    int64_t m_finishDeadlineUs = 0;
    int64_t m_liveAgainUntilUs = 0;
    StreamStatus m_status;
    int64_t m_liveBeforeUs = 0;  // time sent on earlier connections
    std::atomic<int64_t> m_opDeadlineUs{0};  // of the network operation under way
    std::atomic<bool> m_keyFrameWanted{false};
    std::atomic<int> m_lowered{0};
    // Used by the encoding thread only, in Govern.
    int64_t m_lastGovernUs = 0;
    int64_t m_lastQueuedUs = 0;
    int64_t m_calmSinceUs = 0;
    std::atomic<int64_t> m_videoBytesPushed{0};  // since the last Govern
    std::thread m_thread;
};

}  // namespace component
