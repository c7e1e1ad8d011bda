// The FLV output values as the main window puts them, and what the encoders are opened with.
#pragma once

#include <cstdint>
#include <string>

#include "component/media/Result.h"

namespace component {

// Raw values of the seven FLV properties. The defaults are those the FLV dialog starts with,
// so a preview before the first recording shows the picture at the size it will be recorded.
struct FlvValues {
    int32_t audioBitrate = 128000;  // bits/s
    int16_t audioChannels = 2;
    int32_t audioSampleRate = 44100;  // Hz
    int16_t videoHeight = 240;
    int16_t videoWidth = 320;
    int32_t videoBitrate = 512000;  // bits/s
    int16_t frameRate = 25;         // frames/s
};

struct EncoderSettings {
    int width = 0;
    int height = 0;
    int frameRate = 0;
    int64_t videoBitrate = 0;
    int64_t audioBitrate = 0;
    int channels = 0;
    int sampleRate = 0;
};

// Checks the values and adapts what can be adapted without surprising anyone: odd frame sizes
// are rounded down to even (4:2:0 needs it) and sample rates snap to the nearest one AAC
// defines. The AAC stream carries its own rate, so FLV's four-value rate field does not limit
// it. Anything else out of range is refused with the reason.
Result<EncoderSettings> ResolveEncoderSettings(const FlvValues& v);

}  // namespace component
