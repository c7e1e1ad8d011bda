// A sound source running on its own capture thread.
#pragma once

#include "component/media/MediaTypes.h"

#include <functional>

namespace component {

class AudioSource {
public:
    using BlockHandler = std::function<void(AudioBlock&&)>;
    // Called on the capture thread with false when the device goes away (the source then
    // delivers silence) and with true when it is back and heard again.
    using PresenceHandler = std::function<void(bool present)>;

    virtual ~AudioSource() = default;
    virtual void Start(BlockHandler onBlock, PresenceHandler onPresence) = 0;
    virtual void Stop() = 0;
};

}  // namespace component
