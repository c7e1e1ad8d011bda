#include "component/sources/DeviceAudioSource.h"

#include "component/media/CaptureClock.h"
#include "component/sources/AudioDeviceProbe.h"
#include "component/sources/DeviceInput.h"
#include "component/sources/TestToneSource.h"

#include <cstring>
#include <utility>

namespace component {

namespace {
constexpr int kRate = 48000;
constexpr int kChannels = 2;
// Without it the server hands sound over in blocks of about two seconds, which a recording
// that starts now would miss; 20 ms keeps the start and the stamps close.
constexpr int kPulseFragmentMs = 20;
// How often a recording asks the server whether its source is still there.
constexpr int64_t kPulseCheckUs = 1000000;
// FFmpeg's ALSA input reads the device's smallest period, which on a sound card can be a
// millisecond or less; handed on one by one, so many blocks would fill the recording's queue
// after a fraction of a second's stall. Blocks go on once they hold at least this much.
constexpr int kMinBlockMs = 10;
}  // namespace

int64_t SampleClock::Stamp(int64_t arrivalUs, int frames, int rate) {
    if (rate != m_rate) {
        m_bounds.clear();
        m_samples = 0;
        m_rate = rate;
    }
    const int64_t first = m_samples;
    m_samples += frames;
    const int64_t origin = arrivalUs - m_samples * 1000000 / rate;
    while (!m_bounds.empty() && m_bounds.back().originUs >= origin) m_bounds.pop_back();
    m_bounds.push_back({m_samples, origin});
    while (m_bounds.front().samplesEnd < m_samples - kWindowSeconds * rate) m_bounds.pop_front();
    return m_bounds.front().originUs + first * 1000000 / rate;
}

Result<std::unique_ptr<AudioSource>> DeviceAudioSource::Open(const AudioDevice& device) {
    std::unique_ptr<DeviceAudioSource> s(new DeviceAudioSource);
    s->m_device = device;
    if (device.kind == AudioKind::Pulse) s->m_pulseSource = device.source;
    if (Result<> opened = s->OpenInput(); !opened) return opened.AsFailure();
    s->m_packet.reset(av_packet_alloc());
    if (!s->m_packet) return Fail("out of memory");
    return std::unique_ptr<AudioSource>(std::move(s));
}

Result<> DeviceAudioSource::OpenInput() {
    const AudioDevice& device = m_device;
    // Coming back, a server source must be listed first: asked for one that is gone, the
    // server would hand over another one.
    const bool reopening = m_rate > 0;
    if (reopening && !m_pulseSource.empty() && !PulseSourceListed(m_pulseSource))
        return Fail("\"" + device.name + "\" is not there");
    Dictionary opts;
    opts.Set("sample_rate", std::to_string(kRate));
    opts.Set("channels", std::to_string(kChannels));
    if (device.kind == AudioKind::Pulse)
        opts.Set("fragment_size", std::to_string(kRate * kChannels * 2 * kPulseFragmentMs / 1000));
    Result<InputContextPtr> in = OpenDeviceInput(device.kind == AudioKind::Pulse ? "pulse" : "alsa",
                                                 device.source, opts, "\"" + device.name + "\"");
    if (!in) return in.AsFailure();
    const AVCodecParameters* par = (*in)->streams[0]->codecpar;
    if (par->codec_id != AV_CODEC_ID_PCM_S16LE)
        return Fail("\"" + device.name + "\" does not deliver 16-bit sound");
    if (par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0)
        return Fail("\"" + device.name + "\" reports no usable sound format");
    m_rate = par->sample_rate;
    m_channels = par->ch_layout.nb_channels;
    m_input = std::move(*in);
    return Ok();
}

DeviceAudioSource::~DeviceAudioSource() { Stop(); }

void DeviceAudioSource::Start(BlockHandler onBlock, PresenceHandler onPresence) {
    Stop();
    m_pacer.Reset();
    m_thread = std::thread([this, onBlock = std::move(onBlock), onPresence = std::move(onPresence)] {
        Run(onBlock, onPresence);
    });
}

void DeviceAudioSource::Stop() {
    m_pacer.RequestStop();
    if (m_thread.joinable()) m_thread.join();
}

DeviceRead DeviceAudioSource::ReadBlocks(const BlockHandler& onBlock) {
    const int frameBytes = 2 * m_channels;
    DeviceRead read;
    SampleClock clock;
    const size_t minBlockSamples = size_t(m_rate) * kMinBlockMs / 1000 * size_t(m_channels);
    AudioBlock block;
    int64_t nextCheckUs = ClockNowUs() + kPulseCheckUs;
    while ((read = ReadDevicePacket(m_input.get(), m_packet.get(), m_pacer, "audio")) ==
           DeviceRead::Packet) {
        if (!m_pulseSource.empty() && ClockNowUs() >= nextCheckUs) {
            nextCheckUs = ClockNowUs() + kPulseCheckUs;
            if (!PulseSourceListed(m_pulseSource)) {
                av_packet_unref(m_packet.get());
                read = DeviceRead::Lost;
                break;
            }
        }
        const int frames = m_packet->size / frameBytes;
        const int64_t timeUs = clock.Stamp(ClockNowUs(), frames, m_rate);
        if (frames > 0) {
            if (block.samples.empty()) {
                block.sampleRate = m_rate;
                block.channels = m_channels;
                block.timeUs = timeUs;  // the samples that follow lie end to end from here
            }
            const size_t had = block.samples.size();
            block.samples.resize(had + size_t(frames) * size_t(m_channels));
            std::memcpy(block.samples.data() + had, m_packet->data,
                        size_t(frames) * size_t(frameBytes));
        }
        av_packet_unref(m_packet.get());
        if (block.samples.size() >= minBlockSamples) onBlock(std::exchange(block, AudioBlock{}));
    }
    if (!block.samples.empty()) onBlock(std::move(block));
    return read;
}

void DeviceAudioSource::Run(const BlockHandler& onBlock, const PresenceHandler& onPresence) {
    while (ReadBlocks(onBlock) == DeviceRead::Lost) {
        m_input.reset();
        if (onPresence) onPresence(false);
        DeviceRetry retry;
        if (!TestToneSource::Generate(m_pacer, true, onBlock,
                                      [&] { return retry.Back([&] { return bool(OpenInput()); }); }))
            return;
        if (onPresence) onPresence(true);
    }
}

}  // namespace component
