// What the camera, screen and sound sources share: a libavdevice input opened so that reads
// never block, read on a capture thread that a stop request ends at once.
#pragma once

#include "component/media/FfmpegHandles.h"
#include "component/media/Result.h"
#include "component/sources/SourcePacer.h"

#include <cstdint>
#include <functional>
#include <string>

namespace component {

// Opens `url` with the input format `formatName`; `what` names the device in messages.
Result<InputContextPtr> OpenDeviceInput(const char* formatName, const std::string& url,
                                        Dictionary& options, const std::string& what);

enum class DeviceRead { Packet, Stopped, Lost };

// Reads the next packet into `packet`, waiting while the device has none. `kind` ("video",
// "audio") names the device in the diagnostic when it is lost.
DeviceRead ReadDevicePacket(AVFormatContext* input, AVPacket* packet, SourcePacer& pacer,
                            const char* kind);

// Converts a device time stamp (wall clock or monotonic clock, as libavdevice gives them) to
// the capture clock; a stamp that is missing or far from now is replaced by now.
int64_t DeviceTimeToClock(int64_t pts, AVRational timeBase);

// Tries to get a lost device back: `reopen` runs at most once a second, and not at all after
// ten minutes, so a device that stays away costs nothing for the rest of a long recording.
class DeviceRetry {
public:
    // True once `reopen` succeeded. Cheap to call for every picture or block in between.
    bool Back(const std::function<bool()>& reopen);

private:
    static constexpr int64_t kIntervalUs = 1000000;
    static constexpr int kAttempts = 600;
    int64_t m_nextUs = 0;
    int m_attempts = 0;
};

}  // namespace component
