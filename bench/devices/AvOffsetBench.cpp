// A/V offset with real sources: the virtual camera's flashes (at whole seconds of the
// monotonic clock) against beeps that a sound client plays into the null sink of a private
// PulseAudio server at the same whole seconds, recorded from the sink's monitor. Prints the
// offset (beep minus flash) of every second and their mean and range.
// The player asks the server, before every few milliseconds it writes, when they will be
// played, and puts the beeps where that is a whole second: a stall of the player or the
// server does not move the beeps that follow. Beeps of even seconds are at 1 kHz, of odd ones
// at 1.5 kHz, so each is paired with the flash of its own second even when sound and picture
// are more than half a second apart.
// Usage: device_av_bench [--seconds=60] [--keep=DIR]
#include "ComponentDriver.h"
#include "MediaReadback.h"
#include "SoundServer.h"
#include "VirtualCameraBench.h"
#include "WaitFor.h"

#include "component/CaptureComponent.h"
#include "component/CaptureControl.h"

#include <QApplication>
#include <QTemporaryDir>

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

using platform::CaptureOp;
using platform::Variant;

namespace {

constexpr int kRate = 48000;

constexpr int64_t kBeepNs = 50000000;
constexpr double kEvenHz = 1000, kOddHz = 1500;

// Plays the beeps, each at the whole second of the monotonic clock at which the server will
// play it. Keeps what the server said of its latency.
class BeepPlayer {
public:
    explicit BeepPlayer(const SoundServer& server) {
        const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
        pa_buffer_attr attr{};
        attr.maxlength = attr.prebuf = attr.minreq = attr.fragsize = uint32_t(-1);
        attr.tlength = kRate * 2 * 30 / 1000;  // 30 ms
        int error = 0;
        const QByteArray address = server.address().toUtf8();
        m_pulse = pa_simple_new(address.constData(), "device_av_bench", PA_STREAM_PLAYBACK,
                                SoundServer::kNullSink, "beeps", &format, nullptr, &attr, &error);
        if (!m_pulse) {
            m_error = pa_strerror(error);
            return;
        }
        m_thread = std::thread([this] { Run(); });
    }
    ~BeepPlayer() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        if (m_pulse) pa_simple_free(m_pulse);
    }
    const std::string& error() const { return m_error; }
    // The latency the server reported (how long after writing a sample it is played), ms.
    std::vector<double> latenciesMs() const {
        std::lock_guard lock(m_mutex);
        return m_latenciesMs;
    }

private:
    void Run() {
        constexpr int kChunk = kRate / 200;  // 5 ms
        std::vector<int16_t> chunk(kChunk);
        while (!m_stop) {
            int error = 0;
            const pa_usec_t latency = pa_simple_get_latency(m_pulse, &error);
            const int64_t firstNs = MonotonicNs() + int64_t(latency) * 1000;
            {
                std::lock_guard lock(m_mutex);
                m_latenciesMs.push_back(double(latency) / 1000);
            }
            for (int i = 0; i < kChunk; ++i) {
                const int64_t ns = firstNs + int64_t(i) * 1000000000 / kRate;
                const int64_t intoSecond = ns % 1000000000;
                const double hz = (ns / 1000000000) % 2 ? kOddHz : kEvenHz;
                chunk[size_t(i)] = intoSecond < kBeepNs
                                       ? int16_t(16000 * std::sin(2 * M_PI * hz * double(intoSecond) / 1e9))
                                       : 0;
            }
            // Blocks while the server's buffer is full, which paces the loop.
            if (pa_simple_write(m_pulse, chunk.data(), chunk.size() * 2, &error) < 0) {
                std::fprintf(stderr, "beeps: %s\n", pa_strerror(error));
                return;
            }
        }
    }

    pa_simple* m_pulse = nullptr;
    std::string m_error;
    mutable std::mutex m_mutex;
    std::vector<double> m_latenciesMs;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Whether the beep that starts at `onset` (seconds in the file) is at the odd seconds' pitch.
bool OddBeep(const Readback& rb, double onset) {
    const auto from = size_t(std::max(0.0, (onset - rb.audioStart) * rb.sampleRate));
    const size_t to = std::min(rb.audio.size(), from + size_t(rb.sampleRate / 25));  // 40 ms
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i)
        if (rb.audio[i - 1] < 0 && rb.audio[i] >= 0) ++crossings;
    const double hz = crossings * double(rb.sampleRate) / double(std::max<size_t>(1, to - from));
    return hz > (kEvenHz + kOddHz) / 2;
}

// Offsets (beep minus flash, seconds) of the seconds that have both; `startS` is the
// recording's start on the monotonic clock, known to a frame or two.
std::vector<double> PairedOffsets(const Readback& rb, double startS, size_t* unpaired) {
    std::map<int64_t, double> flashes, beeps;
    for (double f : rb.FlashTimes()) flashes[std::llround(startS + f)] = f;
    for (double b : rb.beepOnsets) {
        // The nearest second of the beep's parity: unambiguous within a second either way.
        const bool odd = OddBeep(rb, b);
        int64_t second = std::llround(startS + b);
        if ((second % 2 != 0) != odd)
            second += (startS + b > double(second)) ? 1 : -1;
        beeps[second] = b;
    }
    std::vector<double> out;
    *unpaired = 0;
    for (const auto& [second, flash] : flashes) {
        const auto beep = beeps.find(second);
        if (beep == beeps.end()) ++*unpaired;
        else out.push_back(beep->second - flash);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (!PrepareVirtualCameraBench(argv)) return 1;
    QApplication app(argc, argv);
    int seconds = 60;
    QString keep;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (IntOption(a, "seconds", 5, &seconds)) continue;
        if (a.rfind("--keep=", 0) == 0) keep = QString::fromStdString(a.substr(7));
        else {
            std::fprintf(stderr, "usage: %s [--seconds=60] [--keep=DIR]\n", argv[0]);
            return 2;
        }
    }
    QTemporaryDir temp;
    const QString dir = keep.isEmpty() ? temp.path() : keep;

    SoundServer server;
    if (!server.ok()) {
        std::fprintf(stderr, "sound server: %s\n", qPrintable(server.error()));
        return 1;
    }
    server.UseInThisProcess();
    BeepPlayer beeps(server);
    if (!beeps.error().empty()) {
        std::fprintf(stderr, "beeps: %s\n", beeps.error().c_str());
        return 1;
    }

    RegisterCaptureComponent();
    component::CaptureControl control(nullptr);
    control.resize(320, 240);
    control.show();
    ComponentDriver driver(control.Dispatch());
    driver.selection.audioOffset = 0;
    if (!driver.Select("Virtual Camera", "320x240 YUYV 30 fps", "Camera 1", "Monitor of Null Output")) {
        std::fprintf(stderr, "the virtual camera or the null sink's monitor is not listed\n");
        return 1;
    }
    driver.flv.frameRate = 30;
    const std::string path = (dir + "/av.flv").toStdString();
    std::printf("device_av_bench: recording %d s from the virtual camera and the monitor\n", seconds);
    const double beforeS = double(MonotonicNs()) / 1e9;
    const int16_t started = driver.Record(path);
    const double startS = (beforeS + double(MonotonicNs()) / 1e9) / 2;
    if (started != 0) {
        std::fprintf(stderr, "the recording did not start: %s\n", qPrintable(control.StatusText()));
        return 1;
    }
    WaitFor([&] { return control.Stats().framesWritten >= int64_t(seconds) * 30; },
            (seconds + 30) * 1000);
    QString sinks;
    server.Pactl({"list", "sinks"}, &sinks);
    driver.StopCapture();
    const std::vector<double> latencies = beeps.latenciesMs();

    const Readback rb = ReadRecording(path);
    if (!rb.opened) {
        std::fprintf(stderr, "cannot read the recording: %s\n", rb.error.c_str());
        return 1;
    }
    size_t unpaired = 0;
    const std::vector<double> offsets = PairedOffsets(rb, startS, &unpaired);
    if (offsets.empty()) {
        std::printf("no flash had the beep of its second\n");
        return 1;
    }
    double sum = 0;
    for (double o : offsets) sum += o;
    const auto [lo, hi] = std::minmax_element(offsets.begin(), offsets.end());
    std::printf("flashes %zu, beeps %zu, paired %zu, flashes without their beep %zu\n",
                rb.FlashTimes().size(), rb.beepOnsets.size(), offsets.size(), unpaired);
    if (!latencies.empty()) {
        const auto [l0, l1] = std::minmax_element(latencies.begin(), latencies.end());
        double lsum = 0;
        for (double l : latencies) lsum += l;
        std::printf("beep player's latency (server's report, write to play): mean %.1f ms, min %.1f ms, max %.1f ms\n",
                    lsum / double(latencies.size()), *l0, *l1);
    }
    for (const QString& line : sinks.split('\n'))
        if (line.trimmed().startsWith("Latency:"))
            std::printf("null sink (monitor hands sound over when rendered, this much ahead): %s\n",
                        qPrintable(line.trimmed()));
    // A straight line through the offsets tells drift (its slope) from jitter around it.
    double meanT = 0, slopeNum = 0, slopeDen = 0;
    for (size_t i = 0; i < offsets.size(); ++i) meanT += double(i);
    meanT /= double(offsets.size());
    for (size_t i = 0; i < offsets.size(); ++i) {
        slopeNum += (double(i) - meanT) * (offsets[i] - sum / double(offsets.size()));
        slopeDen += (double(i) - meanT) * (double(i) - meanT);
    }
    std::printf("offsets (ms):");
    for (double o : offsets) std::printf(" %.0f", 1000 * o);
    std::printf("\ndrift: %+.2f ms per minute\n", slopeDen > 0 ? 60000 * slopeNum / slopeDen : 0.0);
    std::printf("A/V offset (beep - flash): mean %+.1f ms, min %+.1f ms, max %+.1f ms, range %.1f ms\n",
                1000 * sum / double(offsets.size()), 1000 * *lo, 1000 * *hi, 1000 * (*hi - *lo));
    return 0;
}
