// What the encoders can take: the sample rates AAC defines, the sides and rates H.264 is
// given here. The output dialog tells the user from these; the encoder settings hold to them.
#pragma once

#include <array>
#include <cstdlib>

namespace platform {

inline constexpr std::array<int, 13> kAacSampleRates = {7350,  8000,  11025, 12000, 16000, 22050, 24000,
                                                        32000, 44100, 48000, 64000, 88200, 96000};
inline constexpr int kMinPictureSide = 16;
inline constexpr int kMaxPictureSide = 4096;
inline constexpr int kMaxOutputFrameRate = 120;

// The AAC sampling rate nearest to `rate`.
constexpr int NearestAacSampleRate(int rate) {
    int best = kAacSampleRates.front();
    for (int r : kAacSampleRates)
        if ((r > rate ? r - rate : rate - r) < (best > rate ? best - rate : rate - best)) best = r;
    return best;
}

// 4:2:0 pictures have whole chroma samples only at even sides: odd ones are taken down by one.
constexpr int EvenSide(int side) { return side & ~1; }

}  // namespace platform
