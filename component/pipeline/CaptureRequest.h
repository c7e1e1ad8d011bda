// One start of a capture, checked and resolved: the devices, format and input chosen, where
// the recording and the stream go, and the encoder values. Made once from what the main
// window put into the control; every stage after that takes the resolved values.
#pragma once

#include "component/media/Result.h"
#include "component/pipeline/CaptureSettings.h"
#include "component/recording/AudioSyncStage.h"
#include "component/recording/EncoderSettings.h"
#include "component/recording/StreamOutput.h"
#include "component/sources/DeviceCatalog.h"

#include <string>
#include <vector>

namespace component {

struct CaptureRequest {
    VideoDevice videoDevice;
    VideoFormat videoFormat;
    int videoInput = 0;
    AudioDevice audioDevice;
    int audioInput = 0;
    bool record = false;
    std::string path;  // with a live stream, empty for no local copy
    // The live destinations of one encode, the stream properties' first; empty: no stream.
    std::vector<StreamUrl> streams;
    int outputFormat = platform::kOutputFormatFlv;
    // Resolved for a preview too, which shows the picture at the size it would be recorded.
    // A recording that is already running keeps its own, so a failure here only stops a new
    // one from starting.
    Result<EncoderSettings> encoder = Fail("no output values");
    AudioSyncMode syncMode = AudioSyncMode::CaptureClock;
    int audioOffsetMs = 0;

    // Checks the control's values against the devices there are; the reason names the first
    // value that cannot be used.
    static Result<CaptureRequest> From(const CaptureSettings& settings, const DeviceCatalog& devices);
};

}  // namespace component
