// The values the main window puts into the control, kept as they arrive.
#pragma once

#include "component/recording/EncoderSettings.h"
#include "platform/CaptureInterface.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace component {

struct CaptureSettings {
    int16_t videoDeviceIndex = 0;
    int16_t videoFormatIndex = 0;
    int16_t videoInputIndex = 0;
    int16_t audioDeviceIndex = 0;
    int16_t audioInputIndex = 0;
    int16_t videoStandardIndex = 0;
    int16_t describedVideoDevice = 0;  // the device VideoFormats and VideoInputs describe
    int16_t describedVideoStandard = 0;  // and the standard VideoFormats describes
    bool deinterlace = true;
    bool captureToFile = false;
    std::string captureFileName;
    bool stopRequested = false;
    int16_t audioSyncMode = 1;
    int16_t audioOffsetMs = 0;
    int32_t outputFormat = platform::kOutputFormatFlv;
    FlvValues flv;
    std::string streamServer;  // empty: no live stream
    std::string streamKey;
    // Further destinations of the same encode (server, key), each connected on its own.
    std::vector<std::pair<std::string, std::string>> moreStreams;
};

}  // namespace component
