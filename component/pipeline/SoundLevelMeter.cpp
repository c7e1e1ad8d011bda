#include "component/pipeline/SoundLevelMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace component {

namespace {
double ToDb(double level) {
    return level > 0 ? std::max(SoundLevelMeter::kFloorDb, 20.0 * std::log10(level))
                     : SoundLevelMeter::kFloorDb;
}
}  // namespace

void SoundLevelMeter::Add(const AudioBlock& block) {
    const int channels = block.channels;
    const int frames = block.Frames();
    if (channels <= 0 || frames <= 0 || block.sampleRate <= 0) return;
    const size_t window = size_t(std::max<int64_t>(1, block.sampleRate * kWindowUs / 1000000));
    // Only the newest window of this block can matter.
    const int first = std::max(0, frames - int(std::min<size_t>(window, size_t(frames))));
    std::lock_guard lock(m_mutex);
    m_active = true;
    for (int f = first; f < frames; ++f) {
        float peak = 0, square = 0;
        for (int c = 0; c < channels; ++c) {
            const int16_t sample = block.samples[size_t(f * channels + c)];
            if (sample == INT16_MAX || sample == INT16_MIN) {
                m_lastClipUs = block.timeUs + int64_t(f) * 1000000 / block.sampleRate;
                m_everClipped = true;
            }
            const float v = float(sample) / 32768.0f;
            peak = std::max(peak, std::abs(v));
            square += v * v;
        }
        m_frames.push_back({peak, square / float(channels)});
    }
    while (m_frames.size() > window) m_frames.pop_front();
}

SoundLevelMeter::Reading SoundLevelMeter::Read(int64_t nowUs) const {
    std::lock_guard lock(m_mutex);
    Reading r;
    r.active = m_active;
    if (m_frames.empty()) return r;
    double peak = 0, sum = 0;
    for (const FrameLevel& f : m_frames) {
        peak = std::max(peak, double(f.peak));
        sum += f.square;
    }
    r.peakDb = ToDb(peak);
    r.rmsDb = ToDb(std::sqrt(sum / double(m_frames.size())));
    r.clipped = m_everClipped && nowUs - m_lastClipUs < kClipHoldUs;
    return r;
}

void SoundLevelMeter::Reset() {
    std::lock_guard lock(m_mutex);
    m_frames.clear();
    m_active = false;
    m_everClipped = false;
    m_lastClipUs = 0;
}

}  // namespace component
