// Sound from a PulseAudio/PipeWire source or an ALSA device through libavdevice, as 16-bit
// stereo at 48 kHz. When the device goes away, silence goes on until the source is stopped.
#pragma once

#include "component/sources/AudioSource.h"
#include "component/sources/DeviceCatalog.h"
#include "component/sources/DeviceInput.h"

#include <memory>
#include <thread>

namespace component {

// Capture times of a device's blocks: the first block's own stamp, then one sample after the
// other, so a burst of blocks with scattered stamps still lies end to end. A stamp far from
// where the samples have got to (sound lost, a clock that jumped) starts the count again.
class SampleClock {
public:
    int64_t Stamp(int64_t deviceUs, int frames, int rate);

private:
    static constexpr int64_t kUnset = INT64_MIN;
    int64_t m_nextUs = kUnset;
};

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
