// A sound source running on its own capture thread.
#pragma once

#include "component/media/MediaTypes.h"

#include <functional>

namespace component {

class AudioSource {
public:
    using BlockHandler = std::function<void(AudioBlock&&)>;
    // Called once, on the capture thread, when the device goes away; the source then keeps
    // delivering silence until stopped.
    using LostHandler = std::function<void()>;

    virtual ~AudioSource() = default;
    virtual void Start(BlockHandler onBlock, LostHandler onLost) = 0;
    virtual void Stop() = 0;
};

}  // namespace component
