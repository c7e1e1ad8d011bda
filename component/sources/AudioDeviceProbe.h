// Sound capture devices: the PulseAudio (or PipeWire) sources when a sound server answers,
// otherwise the ALSA capture devices that open.
#pragma once

#include "component/sources/DeviceCatalog.h"

#include <string>
#include <vector>

namespace component {

std::vector<AudioDevice> ProbeAudioDevices();

struct PulseSource {
    std::string name;         // the server's name ("alsa_input.usb-...", "out.monitor")
    std::string description;  // what a person knows it by ("Sine source at 440 Hz")
    bool isDefault = false;
};
// The sound server's sources as the audio device dialog lists them.
std::vector<AudioDevice> PulseDevices(const std::vector<PulseSource>& sources);
// False only when the server answers and no longer has the source `name`. The server moves
// the streams of a source that goes away (a microphone unplugged) to another one without a
// word, so a recording has to ask.
bool PulseSourceListed(const std::string& name);

struct AlsaPcm {
    int card = 0;
    int device = 0;
    std::string name;
};
// Capture devices listed in /proc/asound/pcm ("00-00: id : name : playback 1 : capture 1").
std::vector<AlsaPcm> ParseAlsaCapturePcms(const std::string& procPcm);

}  // namespace component
