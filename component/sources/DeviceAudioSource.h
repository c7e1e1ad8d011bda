// Sound from a PulseAudio/PipeWire source or an ALSA device through libavdevice, as 16-bit
// stereo at 48 kHz. When the device goes away, silence goes on until the device is back.
#pragma once

#include "component/sources/AudioSource.h"
#include "component/sources/DeviceCatalog.h"
#include "component/sources/DeviceInput.h"

#include <deque>
#include <memory>
#include <thread>

namespace component {

// Capture times of a device's blocks, from their sample count and when they arrived. A
// block's last sample was captured before the block arrived, so the capture time of the first
// sample ever read is at most (arrival - samples read so far / rate) for every block; the
// tightest of these bounds over the last few seconds is taken. While it stands the samples
// lie end to end; jitter and bursts (seconds handed over at once) do not move it, and a clock
// that drifts or samples lost are followed within the window (the sync stage stretches or
// fills the small steps that makes).
// The latency the device reports is not used: at the start of a stream it can be off by most
// of a second (a server's estimate before any sound came), and FFmpeg's smoothing of it
// carries such an error on for seconds.
class SampleClock {
public:
    int64_t Stamp(int64_t arrivalUs, int frames, int rate);

private:
    static constexpr int64_t kWindowSeconds = 5;
    struct Bound {
        int64_t samplesEnd;  // samples read up to and with the block
        int64_t originUs;    // capture time of sample 0 that the block allows at most
    };
    std::deque<Bound> m_bounds;  // origins rising from front to back; the front is the least
    int64_t m_samples = 0;
    int m_rate = 0;
};

class DeviceAudioSource : public AudioSource {
public:
    static Result<std::unique_ptr<AudioSource>> Open(const AudioDevice& device);
    ~DeviceAudioSource() override;
    void Start(BlockHandler onBlock, PresenceHandler onPresence) override;
    void Stop() override;

private:
    DeviceAudioSource() = default;
    // Opens m_device into m_input.
    Result<> OpenInput();
    void Run(const BlockHandler& onBlock, const PresenceHandler& onPresence);
    DeviceRead ReadBlocks(const BlockHandler& onBlock);

    AudioDevice m_device;
    InputContextPtr m_input;
    PacketPtr m_packet;
    int m_rate = 0;
    int m_channels = 0;
    std::string m_pulseSource;  // a named server source, checked for while reading
    SourcePacer m_pacer;
    std::thread m_thread;
};

}  // namespace component
