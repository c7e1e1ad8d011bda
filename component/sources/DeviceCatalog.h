// The capture devices the component offers, in the order the settings dialogs list them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace component {

enum class VideoKind { V4l2, TestPattern, Screen };
enum class AudioKind { Pulse, Alsa, TestTone };

// How a driver's frames hold their lines: whole pictures, or two fields woven together, the
// top or the bottom one taken first.
enum class Fields { Progressive, TopFirst, BottomFirst };

struct VideoFormat {
    std::string name;  // "640x480 YUYV 30 fps"
    int width = 0;
    int height = 0;
    int frameRate = 0;  // whole frames per second, rounded: 30 for NTSC's 29.97
    std::string inputFormat;  // FFmpeg's name for the device's pixel or codec format
    int standard = -1;        // the VideoDevice::standards entry it belongs to; -1: none
    Fields fields = Fields::Progressive;
    bool deinterlace = false;  // chosen for a capture: the fields are made whole frames first

    bool Interlaced() const { return fields != Fields::Progressive; }
};

// An analogue video standard as the driver names it ("PAL-B/G", "NTSC-M").
struct VideoStandard {
    std::string name;
    uint64_t id = 0;
};

struct VideoDevice {
    std::string name;
    VideoKind kind = VideoKind::TestPattern;
    std::string path;  // device node or display name
    // What names the device across boots and re-plugs, where its node number does not: the
    // driver's card name and bus ("USB Camera|usb-0000:00:14.0-1"); the name for the others.
    std::string identity;
    std::vector<VideoFormat> formats;
    std::vector<std::string> inputs;
    std::vector<VideoStandard> standards;  // empty but for analogue cards

    // The formats offered under a standard (all of them on a device without standards).
    std::vector<VideoFormat> FormatsFor(int standard) const;
};

struct AudioDevice {
    std::string name;
    AudioKind kind = AudioKind::TestTone;
    std::string source;  // the device's name for FFmpeg
    std::vector<std::string> inputs;
};

struct DeviceCatalog {
    std::vector<VideoDevice> video;
    std::vector<AudioDevice> audio;

    // Cameras, then the test pattern, then the screen; microphones, then the test tone.
    static DeviceCatalog Probe();
    static VideoDevice TestPatternDevice();
    static AudioDevice TestToneDevice();
};

// "640x480 YUYV 30 fps"; a rate that is not whole shows two decimals ("29.97 fps").
std::string FormatName(int width, int height, const std::string& pixelFormat, double frameRate);

}  // namespace component
