// A picture source running on its own capture thread.
#pragma once

#include "component/media/MediaTypes.h"

#include <functional>

namespace component {

class VideoSource {
public:
    using FrameHandler = std::function<void(VideoFrame&&)>;
    // Called on the capture thread with false when the device goes away (the source then
    // delivers its last picture) and with true when it is back and live again.
    using PresenceHandler = std::function<void(bool present)>;

    virtual ~VideoSource() = default;
    virtual void Start(FrameHandler onFrame, PresenceHandler onPresence) = 0;
    // Ends the capture thread; no handler runs after it returns.
    virtual void Stop() = 0;
};

}  // namespace component
