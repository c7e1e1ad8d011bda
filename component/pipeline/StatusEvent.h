// Things that happen to a capture by themselves, reported from the worker threads.
#pragma once

namespace component {

enum class StatusEvent {
    VideoDeviceLost,
    AudioDeviceLost,
    VideoDeviceBack,  // the lost device is live again
    AudioDeviceBack,
    DiskFull,
    WriteFailed,
    EncodeFailed,
};

}  // namespace component
