// The capture devices the component offers, in the order the settings dialogs list them.
#pragma once

#include <string>
#include <vector>

namespace component {

enum class VideoKind { V4l2, TestPattern, Screen };
enum class AudioKind { Pulse, Alsa, TestTone };

struct VideoFormat {
    std::string name;  // "640x480 YUYV 30 fps"
    int width = 0;
    int height = 0;
    int frameRate = 0;
    std::string inputFormat;  // FFmpeg's name for the device's pixel or codec format
};

struct VideoDevice {
    std::string name;
    VideoKind kind = VideoKind::TestPattern;
    std::string path;  // device node or display name
    std::vector<VideoFormat> formats;
    std::vector<std::string> inputs;
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

std::string FormatName(int width, int height, const std::string& pixelFormat, int frameRate);

}  // namespace component
