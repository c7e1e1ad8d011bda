#include "component/recording/EncodeStage.h"

namespace component {

EncodeStage::EncodeStage(std::unique_ptr<MediaRecorder> recorder,
                         std::shared_ptr<const Timeline> timeline, AudioSyncMode syncMode,
                         int audioOffsetMs)
    : m_recorder(std::move(recorder)),
      m_timeline(std::move(timeline)),
      m_audio(m_recorder->Settings().sampleRate, m_recorder->Settings().channels, syncMode,
              audioOffsetMs),
      m_frameRate(m_recorder->Settings().frameRate) {}

int64_t EncodeStage::SlotOf(int64_t recordingUs) const {
    return (recordingUs * m_frameRate + 500000) / 1000000;
}

RecorderError EncodeStage::WriteUpTo(int64_t slot, const YuvImage& picture) {
    while (m_nextSlot < slot) {
        if (RecorderError e = m_recorder->WriteVideo(picture); e != RecorderError::None) return e;
        ++m_nextSlot;
        ++m_counts.framesWritten;
    }
    return RecorderError::None;
}

RecorderError EncodeStage::PushVideo(const VideoFrame& frame) {
    if (m_recorder->IsFinished()) return m_recorder->Error();
    const std::optional<int64_t> at = m_timeline->Map(frame.timeUs);
    if (!at) return RecorderError::None;
    const int64_t slot = SlotOf(*at);
    if (slot < m_nextSlot) {
        ++m_counts.framesSkipped;
        return RecorderError::None;
    }
    // Before the first picture there is nothing to repeat: the first one stands in.
    if (!m_last.IsNull()) m_counts.framesRepeated += slot - m_nextSlot;
    if (RecorderError e = WriteUpTo(slot, m_last.IsNull() ? frame.picture : m_last);
        e != RecorderError::None)
        return e;
    m_last = frame.picture;
    return WriteUpTo(slot + 1, m_last);
}

RecorderError EncodeStage::PushAudio(const AudioBlock& block) {
    if (m_recorder->IsFinished()) return m_recorder->Error();
    const std::optional<int64_t> at = m_timeline->Map(block.timeUs);
    if (!at) {
        // A block captured across the start or the end of a pause (a sound server may hand
        // over seconds at once): its part from there on belongs to the file.
        const std::optional<int64_t> from = m_timeline->NextMapped(block.timeUs);
        if (!from || *from <= block.timeUs || block.sampleRate <= 0) return RecorderError::None;
        const int64_t skip = (*from - block.timeUs) * block.sampleRate / 1000000 + 1;
        if (skip >= block.Frames()) return RecorderError::None;
        AudioBlock tail;
        tail.sampleRate = block.sampleRate;
        tail.channels = block.channels;
        tail.timeUs = block.timeUs + skip * 1000000 / block.sampleRate;
        tail.samples.assign(block.samples.begin() + skip * block.channels, block.samples.end());
        return PushAudio(tail);
    }
    RecorderError result = RecorderError::None;
    m_audio.Push(block, *at, [&](const float* const* planes, int samples) {
        result = m_recorder->WriteAudio(planes, samples);
        if (result == RecorderError::None) m_counts.audioSamples += samples;
        return result == RecorderError::None;
    });
    return result;
}

RecorderError EncodeStage::Finish(int64_t stopUs) {
    if (m_recorder->IsFinished()) return m_recorder->Error();
    if (!m_last.IsNull()) {
        // The last picture lasts until the stop; that is not a gap in the capture.
        const int64_t end = SlotOf(m_timeline->Position(stopUs));
        if (RecorderError e = WriteUpTo(end, m_last); e != RecorderError::None) return e;
    }
    return m_recorder->Finish();
}

}  // namespace component
