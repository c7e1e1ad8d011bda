// What sources hand to the pipeline: pictures and blocks of sound, stamped on the capture clock.
#pragma once

#include "component/media/YuvImage.h"

#include <cstdint>
#include <vector>

namespace component {

struct VideoFrame {
    YuvImage picture;
    int64_t timeUs = 0;  // capture clock time of the picture
};

struct AudioBlock {
    std::vector<int16_t> samples;  // interleaved
    int sampleRate = 0;
    int channels = 0;
    int64_t timeUs = 0;  // capture clock time of the first sample

    int Frames() const { return channels > 0 ? static_cast<int>(samples.size()) / channels : 0; }
};

}  // namespace component
