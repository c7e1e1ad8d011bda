// Sound capture devices: the PulseAudio (or PipeWire) sources when a sound server answers,
// otherwise the ALSA capture devices that open.
#pragma once

#include "component/sources/DeviceCatalog.h"

#include <string>
#include <vector>

namespace component {

std::vector<AudioDevice> ProbeAudioDevices();

struct AlsaPcm {
    int card = 0;
    int device = 0;
    std::string name;
};
// Capture devices listed in /proc/asound/pcm ("00-00: id : name : playback 1 : capture 1").
std::vector<AlsaPcm> ParseAlsaCapturePcms(const std::string& procPcm);

}  // namespace component
