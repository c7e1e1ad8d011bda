#include "component/recording/AudioSyncStage.h"

#include "component/media/Diagnostics.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace component {

namespace {
// Jumps beyond this are filled with silence or trimmed at once; smaller ones are stretched.
constexpr double kHardCompensationS = 0.02;
// How far the sound may be stretched or squeezed, in input samples per second.
constexpr double kMaxStretchPerSecond = 1000;
}  // namespace

AudioSyncStage::AudioSyncStage(int outRate, int outChannels, AudioSyncMode mode, int offsetMs)
    : m_outRate(outRate),
      m_outChannels(outChannels),
      m_mode(mode),
      m_offsetUs(mode == AudioSyncMode::CaptureClockWithOffset ? int64_t(offsetMs) * 1000 : 0) {}

bool AudioSyncStage::Configure(int inRate, int inChannels) {
    if (m_swr && inRate == m_inRate && inChannels == m_inChannels) return true;
    AVChannelLayout inLayout{}, outLayout{};
    av_channel_layout_default(&inLayout, inChannels);
    av_channel_layout_default(&outLayout, m_outChannels);
    SwrContext* raw = nullptr;
    int ret = swr_alloc_set_opts2(&raw, &outLayout, AV_SAMPLE_FMT_FLTP, m_outRate, &inLayout,
                                  AV_SAMPLE_FMT_S16, inRate, 0, nullptr);
    SwrPtr swr(raw);
    if (ret < 0 || !swr) return false;
    if (m_mode != AudioSyncMode::SampleCount) {
        av_opt_set_double(swr.get(), "async", kMaxStretchPerSecond, 0);
        av_opt_set_double(swr.get(), "min_hard_comp", kHardCompensationS, 0);
        // Recording time 0 is where the sound must begin: a late first block is preceded by
        // silence, an early one trimmed.
        av_opt_set_int(swr.get(), "first_pts", 0, 0);
    }
    ret = swr_init(swr.get());
    if (ret < 0) {
        Diagnose("audio resampler: " + AvErrorText(ret));
        return false;
    }
    m_swr = std::move(swr);
    m_inRate = inRate;
    m_inChannels = inChannels;
    return true;
}

bool AudioSyncStage::Push(const AudioBlock& block, int64_t recordingUs, const Output& out) {
    if (block.Frames() <= 0) return true;
    if (!Configure(block.sampleRate, block.channels)) return false;
    if (m_mode != AudioSyncMode::SampleCount) {
        const int64_t unitsPerSecond = int64_t(m_inRate) * m_outRate;
        swr_next_pts(m_swr.get(), av_rescale(recordingUs + m_offsetUs, unitsPerSecond, 1000000));
    }
    const int capacity = swr_get_out_samples(m_swr.get(), block.Frames());
    if (capacity <= 0) return true;
    m_planes.resize(static_cast<size_t>(m_outChannels));
    std::vector<uint8_t*> outPtrs;
    for (auto& p : m_planes) {
        if (p.size() < static_cast<size_t>(capacity)) p.resize(static_cast<size_t>(capacity));
        outPtrs.push_back(reinterpret_cast<uint8_t*>(p.data()));
    }
    const uint8_t* in[1] = {reinterpret_cast<const uint8_t*>(block.samples.data())};
    int n = swr_convert(m_swr.get(), outPtrs.data(), capacity, in, block.Frames());
    if (n < 0) return false;
    std::vector<const float*> planes;
    for (auto& p : m_planes) planes.push_back(p.data());
    return out(planes.data(), n);
}

}  // namespace component
