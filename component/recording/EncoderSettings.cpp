#include "component/recording/EncoderSettings.h"

#include "platform/OutputLimits.h"

namespace component {

namespace {
constexpr const auto& kAacRates = platform::kAacSampleRates;
constexpr int kMinSide = platform::kMinPictureSide;
constexpr int kMaxSide = platform::kMaxPictureSide;
constexpr int kMaxFrameRate = platform::kMaxOutputFrameRate;
constexpr int kMinVideoBitrate = 10000;
constexpr int kMinAudioBitrate = 8000;
}  // namespace

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
    s.width = platform::EvenSide(v.videoWidth);
    s.height = platform::EvenSide(v.videoHeight);
    s.frameRate = v.frameRate;
    s.videoBitrate = v.videoBitrate;
    s.audioBitrate = v.audioBitrate;
    s.channels = v.audioChannels;
    s.sampleRate = platform::NearestAacSampleRate(v.audioSampleRate);
    return s;
}

}  // namespace component
