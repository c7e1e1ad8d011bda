// A picture source running on its own capture thread.
#pragma once

#include "component/media/MediaTypes.h"

#include <functional>

namespace component {

class VideoSource {
public:
    using FrameHandler = std::function<void(VideoFrame&&)>;
    // Called once, on the capture thread, when the device goes away; the source then keeps
    // delivering its last picture until stopped.
    using LostHandler = std::function<void()>;

    virtual ~VideoSource() = default;
    virtual void Start(FrameHandler onFrame, LostHandler onLost) = 0;
    // Ends the capture thread; no handler runs after it returns.
    virtual void Stop() = 0;
};

}  // namespace component
