// The encoding thread: takes pictures and sound from the capture threads through a bounded
// queue and runs the encode stage. A full queue never stalls a capture thread: a waiting
// picture is dropped, chosen so that those kept stay evenly spread, and sound is kept.
#pragma once

#include "component/recording/EncodeStage.h"

#include <atomic>
#include <climits>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <variant>

namespace component {

struct RecordingStats {
    int64_t framesWritten = 0;
    int64_t framesRepeated = 0;
    int64_t framesSkipped = 0;
    int64_t framesDropped = 0;  // pictures lost to a full queue (the encoder behind)
    int64_t mostQueuedFrames = 0;  // the most pictures that waited at once
    int64_t audioSamples = 0;
    int64_t audioBlocksDropped = 0;
    int64_t fileBytes = 0;  // written into the file so far
    int sampleRate = 0;
    int frameRate = 0;
    RecorderError error = RecorderError::None;
    bool finished = false;
};

class RecordingWorker {
public:
    using FailureHandler = std::function<void(RecorderError)>;

    // `onFailure` runs on the encoding thread, once, when the recording ends by itself.
    RecordingWorker(std::unique_ptr<EncodeStage> stage, FailureHandler onFailure);
    ~RecordingWorker();
    RecordingWorker(const RecordingWorker&) = delete;
    RecordingWorker& operator=(const RecordingWorker&) = delete;

    void PushVideo(const VideoFrame& frame);
    void PushAudio(AudioBlock block);
    // Encodes what was captured before `stopUs`, finalises the file and ends the thread.
    RecorderError Finish(int64_t stopUs);
    RecordingStats Stats() const;

private:
    using Item = std::variant<VideoFrame, AudioBlock>;
    void Run();
    void Record(RecorderError e);
    // Drops the waiting picture whose neighbours are closest in time, the picture arriving at
    // `arrivingUs` being the last one's neighbour; under m_mutex.
    void ThinQueuedPictures(int64_t arrivingUs);

    static constexpr size_t kMaxQueuedFrames = 8;
    static constexpr size_t kMaxQueuedBlocks = 400;
    static constexpr size_t kBlocksPerWakeUp = 8;

    std::unique_ptr<EncodeStage> m_stage;
    FailureHandler m_onFailure;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Item> m_queue;
    size_t m_queuedFrames = 0;
    size_t m_queuedBlocks = 0;
    // Capture time of the last picture taken to encode: the first waiting one's neighbour.
    int64_t m_lastTakenUs = INT64_MIN / 2;
    bool m_finishing = false;
    bool m_joined = false;
    int64_t m_stopUs = 0;
    RecordingStats m_stats;  // guarded by m_mutex
    std::thread m_thread;
};

}  // namespace component
