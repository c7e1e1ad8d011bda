// The encoding stage's logic, free of threads: places captured pictures on the constant-rate
// output grid (repeating the last picture into gaps, skipping surplus ones), places sound by
// the sync mode, and hands both to the recorder.
#pragma once

#include "component/recording/AudioSyncStage.h"
#include "component/recording/MediaRecorder.h"
#include "component/media/MediaTypes.h"
#include "component/recording/Timeline.h"

#include <memory>

namespace component {

struct EncodeCounts {
    int64_t framesWritten = 0;   // output frames encoded
    int64_t framesRepeated = 0;  // output frames that had no new picture of their own
    int64_t framesSkipped = 0;   // pictures that fell on an already written output frame
    int64_t audioSamples = 0;    // output samples handed to the encoder
};

class EncodeStage {
public:
    EncodeStage(std::unique_ptr<MediaRecorder> recorder, std::shared_ptr<const Timeline> timeline,
                AudioSyncMode syncMode, int audioOffsetMs);

    RecorderError PushVideo(const VideoFrame& frame);
    RecorderError PushAudio(const AudioBlock& block);
    // Fills the pictures up to `stopUs` (capture clock) and finalises the file.
    RecorderError Finish(int64_t stopUs);

    const EncodeCounts& Counts() const { return m_counts; }
    RecorderError Error() const { return m_recorder->Error(); }
    const MediaRecorder& Recorder() const { return *m_recorder; }

private:
    RecorderError WriteUpTo(int64_t slot, const YuvImage& picture);
    int64_t SlotOf(int64_t recordingUs) const;

    std::unique_ptr<MediaRecorder> m_recorder;
    std::shared_ptr<const Timeline> m_timeline;
    AudioSyncStage m_audio;
    const int m_frameRate;
    int64_t m_nextSlot = 0;
    YuvImage m_last;
    EncodeCounts m_counts;
};

}  // namespace component
