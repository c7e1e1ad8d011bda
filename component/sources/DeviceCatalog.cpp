#include "component/sources/DeviceCatalog.h"

#include "component/sources/AudioDeviceProbe.h"
#include "component/sources/ScreenProbe.h"
#include "component/sources/V4l2Probe.h"

#include <cmath>
#include <cstdio>

namespace component {

namespace {
struct PatternMode {
    int width, height, frameRate;
};
// The first one is what a recording gets when nobody chose.
constexpr PatternMode kPatternModes[] = {
    {640, 480, 30}, {1280, 720, 30}, {1920, 1080, 30}, {320, 240, 30}, {160, 120, 30},
    {640, 480, 25}, {1280, 720, 25}, {320, 240, 25},   {640, 480, 15},
};
}  // namespace

std::string FormatName(int width, int height, const std::string& pixelFormat, double frameRate) {
    char rate[32];
    if (std::abs(frameRate - std::round(frameRate)) < 0.005)
        std::snprintf(rate, sizeof rate, "%d", int(std::lround(frameRate)));
    else
        std::snprintf(rate, sizeof rate, "%.2f", frameRate);
    return std::to_string(width) + "x" + std::to_string(height) + " " + pixelFormat + " " + rate +
           " fps";
}

std::vector<VideoFormat> VideoDevice::FormatsFor(int standard) const {
    if (standards.empty()) return formats;
    if (standard < 0 || standard >= int(standards.size())) standard = 0;
    std::vector<VideoFormat> out;
    for (const VideoFormat& f : formats)
        if (f.standard == standard) out.push_back(f);
    return out;
}

VideoDevice DeviceCatalog::TestPatternDevice() {
    VideoDevice d;
    d.name = "Test Pattern";
    d.kind = VideoKind::TestPattern;
    for (const PatternMode& m : kPatternModes)
        d.formats.push_back(
            {FormatName(m.width, m.height, "RGB32", m.frameRate), m.width, m.height, m.frameRate, {}, -1, Fields::Progressive, false});
    d.inputs = {"Default"};
    return d;
}

AudioDevice DeviceCatalog::TestToneDevice() {
    AudioDevice d;
    d.name = "Test Tone";
    d.kind = AudioKind::TestTone;
    d.inputs = {"Default"};
    return d;
}

DeviceCatalog DeviceCatalog::Probe() {
    DeviceCatalog c;
    c.video = ProbeV4l2Devices();
    c.video.push_back(TestPatternDevice());
    if (auto screen = ProbeScreen()) c.video.push_back(*screen);
    c.audio = ProbeAudioDevices();
    c.audio.push_back(TestToneDevice());
    return c;
}

}  // namespace component
