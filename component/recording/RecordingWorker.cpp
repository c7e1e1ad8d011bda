#include "component/recording/RecordingWorker.h"

#include "component/media/CaptureClock.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace component {

RecordingWorker::RecordingWorker(std::unique_ptr<EncodeStage> stage, FailureHandler onFailure)
    : m_stage(std::move(stage)), m_onFailure(std::move(onFailure)) {
    m_stats.sampleRate = m_stage->Recorder().Settings().sampleRate;
    m_stats.frameRate = m_stage->Recorder().Settings().frameRate;
    m_thread = std::thread([this] { Run(); });
}

RecordingWorker::~RecordingWorker() { Finish(ClockNowUs()); }

void RecordingWorker::PushVideo(const VideoFrame& frame) {
    {
        std::lock_guard lock(m_mutex);
        if (m_finishing || m_stats.error != RecorderError::None) return;
        if (m_queuedFrames >= kMaxQueuedFrames) {
            ++m_stats.framesDropped;
            ThinQueuedPictures(frame.timeUs);
        }
        m_queue.emplace_back(frame);
        ++m_queuedFrames;
        m_stats.mostQueuedFrames = std::max<int64_t>(m_stats.mostQueuedFrames, int64_t(m_queuedFrames));
    }
    m_wake.notify_one();
}

void RecordingWorker::ThinQueuedPictures(int64_t arrivingUs) {
    // The encoder is behind. Dropping what arrives would lose every picture of a stall in one
    // run, and the file would stand still; instead the waiting picture goes whose neighbours
    // are closest together, so the pictures kept stay evenly spread over the time. Sound is
    // never dropped here.
    std::vector<std::deque<Item>::iterator> pictures;
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it)
        if (std::holds_alternative<VideoFrame>(*it)) pictures.push_back(it);
    if (pictures.empty()) return;
    auto timeOf = [&](size_t i) { return std::get<VideoFrame>(*pictures[i]).timeUs; };
    size_t victim = 0;
    int64_t narrowest = INT64_MAX;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int64_t before = i == 0 ? m_lastTakenUs : timeOf(i - 1);
        const int64_t after = i + 1 == pictures.size() ? arrivingUs : timeOf(i + 1);
        if (after - before < narrowest) {
            narrowest = after - before;
            victim = i;
        }
    }
    m_queue.erase(pictures[victim]);
    --m_queuedFrames;
}

void RecordingWorker::PushAudio(AudioBlock block) {
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_finishing || m_stats.error != RecorderError::None) return;
        if (m_queuedBlocks >= kMaxQueuedBlocks) {
            ++m_stats.audioBlocksDropped;
            return;
        }
        m_queue.emplace_back(std::move(block));
        ++m_queuedBlocks;
        // Sound waits for the next picture, which wakes the thread anyway: one wake-up a
        // picture instead of one a block. Without pictures it still goes on in batches.
        wake = m_queuedBlocks >= kBlocksPerWakeUp;
    }
    if (wake) m_wake.notify_one();
}

void RecordingWorker::Record(RecorderError e) {
    const EncodeCounts& c = m_stage->Counts();
    bool failedNow = false;
    {
        std::lock_guard lock(m_mutex);
        m_stats.framesWritten = c.framesWritten;
        m_stats.framesRepeated = c.framesRepeated;
        m_stats.framesSkipped = c.framesSkipped;
        m_stats.audioSamples = c.audioSamples;
        m_stats.fileBytes = m_stage->Recorder().BytesWritten();
        if (e != RecorderError::None && m_stats.error == RecorderError::None) {
            m_stats.error = e;
            failedNow = true;
            m_queue.clear();
            m_queuedFrames = m_queuedBlocks = 0;
        }
    }
    if (failedNow && m_onFailure) m_onFailure(e);
}

void RecordingWorker::Run() {
    for (;;) {
        Item item;
        bool finishing = false;
        int64_t stopUs = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_finishing || !m_queue.empty(); });
            if (m_queue.empty()) break;  // finishing, and everything before it is encoded
            item = std::move(m_queue.front());
            m_queue.pop_front();
            if (const auto* v = std::get_if<VideoFrame>(&item)) {
                --m_queuedFrames;
                m_lastTakenUs = v->timeUs;
            } else {
                --m_queuedBlocks;
            }
            if (m_stats.error != RecorderError::None) continue;
            finishing = m_finishing;
            stopUs = m_stopUs;
        }
        RecorderError e = RecorderError::None;
        if (auto* frame = std::get_if<VideoFrame>(&item)) {
            if (!finishing || frame->timeUs < stopUs) e = m_stage->PushVideo(*frame);
        } else {
            auto& block = std::get<AudioBlock>(item);
            if (!finishing || block.timeUs < stopUs) e = m_stage->PushAudio(block);
        }
        Record(e);
    }
    int64_t stopUs = 0;
    {
        std::lock_guard lock(m_mutex);
        stopUs = m_stopUs;
    }
    RecorderError e = m_stage->Finish(stopUs);
    Record(e);
    std::lock_guard lock(m_mutex);
    m_stats.finished = true;
}

RecorderError RecordingWorker::Finish(int64_t stopUs) {
    {
        std::lock_guard lock(m_mutex);
        if (m_joined) return m_stats.error;
        if (!m_finishing) {
            m_finishing = true;
            m_stopUs = stopUs;
        }
    }
    m_wake.notify_one();
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard lock(m_mutex);
    m_joined = true;
    return m_stats.error;
}

RecordingStats RecordingWorker::Stats() const {
    std::lock_guard lock(m_mutex);
    return m_stats;
}

}  // namespace component
