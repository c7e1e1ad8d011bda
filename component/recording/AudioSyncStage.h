// Turns captured sound into the recording's sample stream (planar float at the output rate and
// channel count, from recording time 0), placing it in time as the sync mode says:
//   0  samples follow each other; the time stamps are not looked at,
//   1  every block is put where the capture clock says, drift corrected by resampling,
//   2  as 1, moved later by the offset (earlier when negative).
#pragma once

#include "component/media/FfmpegHandles.h"
#include "component/media/MediaTypes.h"

#include <functional>
#include <vector>

namespace component {

enum class AudioSyncMode { SampleCount = 0, CaptureClock = 1, CaptureClockWithOffset = 2 };

class AudioSyncStage {
public:
    using Output = std::function<bool(const float* const* planes, int samples)>;

    AudioSyncStage(int outRate, int outChannels, AudioSyncMode mode, int offsetMs);

    // `recordingUs` is the block's recording time (see Timeline). Returns false when the
    // output refused the samples or the resampler failed.
    bool Push(const AudioBlock& block, int64_t recordingUs, const Output& out);

private:
    bool Configure(int inRate, int inChannels);

    const int m_outRate;
    const int m_outChannels;
    const AudioSyncMode m_mode;
    const int64_t m_offsetUs;
    SwrPtr m_swr;
    int m_inRate = 0;
    int m_inChannels = 0;
    std::vector<std::vector<float>> m_planes;
};

}  // namespace component
