#include "component/recording/EncoderSettings.h"

#include <array>
#include <cstdlib>

namespace component {

namespace {
constexpr std::array<int, 13> kAacRates = {7350,  8000,  11025, 12000, 16000, 22050, 24000,
                                           32000, 44100, 48000, 64000, 88200, 96000};
constexpr int kMinSide = 16;
constexpr int kMaxSide = 4096;
constexpr int kMaxFrameRate = 120;
constexpr int kMinVideoBitrate = 10000;
constexpr int kMinAudioBitrate = 8000;
}  // namespace

int NearestAacSampleRate(int rate) {
    int best = kAacRates.front();
    for (int r : kAacRates)
        if (std::abs(r - rate) < std::abs(best - rate)) best = r;
    return best;
}

Result<EncoderSettings> ResolveEncoderSettings(const FlvValues& v) {
    auto side = [](const char* what, int value) -> std::string {
        if (value < kMinSide || value > kMaxSide)
            return std::string("video ") + what + " " + std::to_string(value) +
                   " is outside " + std::to_string(kMinSide) + ".." + std::to_string(kMaxSide);
        return {};
    };
    if (auto e = side("width", v.videoWidth); !e.empty()) return Fail(e);
    if (auto e = side("height", v.videoHeight); !e.empty()) return Fail(e);
    if (v.frameRate < 1 || v.frameRate > kMaxFrameRate)
        return Fail("frame rate " + std::to_string(v.frameRate) + " is outside 1.." +
               std::to_string(kMaxFrameRate));
    if (v.videoBitrate < kMinVideoBitrate)
        return Fail("video bitrate " + std::to_string(v.videoBitrate) + " b/s is below " +
                    std::to_string(kMinVideoBitrate));
    if (v.audioBitrate < kMinAudioBitrate)
        return Fail("audio bitrate " + std::to_string(v.audioBitrate) + " b/s is below " +
                    std::to_string(kMinAudioBitrate));
    if (v.audioChannels != 1 && v.audioChannels != 2)
        return Fail("FLV carries mono or stereo sound, not " + std::to_string(v.audioChannels) +
                    " channels");
    if (v.audioSampleRate < kAacRates.front() || v.audioSampleRate > kAacRates.back())
        return Fail("audio sample rate " + std::to_string(v.audioSampleRate) + " Hz is outside " +
                    std::to_string(kAacRates.front()) + ".." + std::to_string(kAacRates.back()));

    EncoderSettings s;
    s.width = v.videoWidth & ~1;
    s.height = v.videoHeight & ~1;
    s.frameRate = v.frameRate;
    s.videoBitrate = v.videoBitrate;
    s.audioBitrate = v.audioBitrate;
    s.channels = v.audioChannels;
    s.sampleRate = NearestAacSampleRate(v.audioSampleRate);
    return s;
}

}  // namespace component
