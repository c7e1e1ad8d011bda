// Sound from a PulseAudio/PipeWire source or an ALSA device through libavdevice, as 16-bit
// stereo at 48 kHz. When the device goes away, silence goes on until the source is stopped.
#pragma once

#include "component/sources/AudioSource.h"
#include "component/sources/DeviceCatalog.h"
#include "component/sources/DeviceInput.h"

#include <memory>
#include <thread>

namespace component {

class DeviceAudioSource : public AudioSource {
public:
    static std::unique_ptr<AudioSource> Open(const AudioDevice& device, std::string* error);
    ~DeviceAudioSource() override;
    void Start(BlockHandler onBlock, LostHandler onLost) override;
    void Stop() override;

private:
    DeviceAudioSource() = default;
    void Run(const BlockHandler& onBlock, const LostHandler& onLost);

    InputContextPtr m_input;
    PacketPtr m_packet;
    int m_rate = 0;
    int m_channels = 0;
    SourcePacer m_pacer;
    std::thread m_thread;
};

}  // namespace component
