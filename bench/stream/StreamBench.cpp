// Live streaming to a local nginx RTMP server. First the delay from capture to a viewer: the
// virtual camera's flashes (at whole seconds of the monotonic clock) are stamped on arrival at
// an ffmpeg reader of the stream, which writes grey pictures to a pipe; every delay is
// printed, then their median and 95th percentile. Then the CPU time of this process while
// streaming with a local copy against recording alone, in alternating rounds of equal length,
// with the FLV dialog's initial values and the test pattern.
// Usage: stream_bench [--seconds=30] [--rounds=3] [--destinations=2]
// With two destinations the delay is measured at a reader of each server, and the CPU of
// streaming to both against streaming to one.
#include "ChildProcess.h"
#include "ComponentDriver.h"
#include "RtmpServer.h"
#include "VirtualCameraBench.h"

#include "component/CaptureComponent.h"
#include "component/CaptureControl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using platform::CaptureOp;
using component::StreamState;
using platform::Variant;

namespace {

const char kKey[] = "bench";
// The reader's pictures: the camera's own size, so the counter row along the top reads back.
constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kCameraRate = 30;
// What the virtual camera draws: 24 counter cells along a row of height / 12.
constexpr int kCounterBits = 24;
constexpr int kCounterRow = kHeight / 12;

// Lets the event loop run for `ms` without spinning: what the bench waits on is other threads'
// work, and a busy wait would take a core from them and count in the CPU figures.
void RunEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool Await(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > timeoutMs) return false;
        RunEventsFor(20);
    }
    return true;
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const double at = p * double(v.size() - 1);
    const size_t lo = size_t(std::floor(at));
    const size_t hi = std::min(lo + 1, v.size() - 1);
    return v[lo] + (v[hi] - v[lo]) * (at - double(lo));
}

// The frame counter the camera drew into the picture's top row, modulo 2^24.
int64_t ReadCounter(const uint8_t* grey) {
    int64_t counter = 0;
    for (int bit = 0; bit < kCounterBits; ++bit) {
        const int left = bit * kWidth / kCounterBits, right = (bit + 1) * kWidth / kCounterBits;
        int sum = 0, n = 0;
        for (int y = kCounterRow / 2 - 2; y <= kCounterRow / 2 + 2; ++y)
            for (int x = (left + right) / 2 - 2; x <= (left + right) / 2 + 2; ++x, ++n)
                sum += grey[y * kWidth + x];
        counter = counter << 1 | (sum / n > 128 ? 1 : 0);
    }
    return counter;
}

// An ffmpeg process reading the stream as a viewer would, with its buffering cut down, and a
// thread that stamps its pictures as they come out of the pipe. The server hands a new reader
// the pictures from the next key frame on, up to two seconds away: the reader only knows there
// is video once it has seen one, so its probing must last that long.
class StreamReader {
public:
    explicit StreamReader(const std::string& url) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        const std::vector<std::string> args = {
            "ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error",
            "-fflags", "nobuffer", "-flags", "low_delay", "-probesize", "1000000",
            "-analyzeduration", "3000000", "-threads", "1", "-rw_timeout", "10000000",
            "-i", url, "-an", "-fps_mode", "passthrough",
            "-vf", "scale=" + std::to_string(kWidth) + ":" + std::to_string(kHeight),
            "-pix_fmt", "gray", "-f", "rawvideo", "pipe:1"};
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        // The virtual camera stays in this process only.
        std::vector<char*> env;
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "LD_PRELOAD=", 11) != 0) env.push_back(*e);
        env.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        if (posix_spawnp(&m_pid, "ffmpeg", &actions, nullptr, argv.data(), env.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        m_fd = fds[0];
        if (m_pid > 0) m_thread = std::thread([this] { Run(); });
    }
    ~StreamReader() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_thread.joinable()) m_thread.join();
        if (m_fd >= 0) close(m_fd);
    }
    bool started() const { return m_pid > 0; }
    int64_t pictures() const {
        std::lock_guard lock(m_mutex);
        return m_pictures;
    }
    // Arrival minus capture of every flash, in seconds, in the order they came.
    std::vector<double> delays() const {
        std::lock_guard lock(m_mutex);
        return m_delays;
    }

private:
    void Run() {
        std::vector<uint8_t> picture(size_t(kWidth) * kHeight);
        bool lastWasFlash = false;
        for (;;) {
            size_t got = 0;
            while (got < picture.size()) {
                const ssize_t n = read(m_fd, picture.data() + got, picture.size() - got);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) return;
                got += size_t(n);
            }
            const int64_t arrivalNs = MonotonicNs();
            int64_t sum = 0;
            for (int y = kCounterRow; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) sum += picture[size_t(y) * kWidth + x];
            const bool flash = sum / ((kHeight - kCounterRow) * kWidth) > 200;
            std::lock_guard lock(m_mutex);
            ++m_pictures;
            if (flash && !lastWasFlash) {
                // The counter tells the capture time; only its low 24 bits are drawn, so the
                // full index is the last one with those bits at or before the arrival.
                const int64_t modulo = int64_t(1) << kCounterBits;
                const int64_t guess = arrivalNs * kCameraRate / 1000000000;
                const int64_t index =
                    guess - ((guess - ReadCounter(picture.data())) % modulo + modulo) % modulo;
                if (index % kCameraRate == 0)
                    m_delays.push_back(double(arrivalNs - index * 1000000000 / kCameraRate) / 1e9);
                else
                    std::printf("a flash with an unreadable counter arrived\n");
            }
            lastWasFlash = flash;
        }
    }

    pid_t m_pid = -1;
    int m_fd = -1;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    int64_t m_pictures = 0;
    std::vector<double> m_delays;
};

class Bench {
public:
    Bench() : m_control(nullptr), m_driver(m_control.Dispatch()) {
        m_control.resize(320, 240);
        m_control.show();
    }

    bool UseVirtualCamera() {
        auto& s = m_driver.selection;
        s.videoDevice = int16_t(m_driver.IndexOf(CaptureOp::VideoDevices, "Virtual Camera"));
        m_driver.Call(CaptureOp::SelectVideoDevice, {Variant::I16(s.videoDevice)});
        s.videoFormat = int16_t(m_driver.IndexOf(CaptureOp::VideoFormats, "320x240 YUYV 30 fps"));
        s.audioDevice = int16_t(m_driver.IndexOf(CaptureOp::AudioDevices, "Test Tone"));
        return s.videoDevice >= 0 && s.videoFormat >= 0 && s.audioDevice >= 0;
    }
    void UseTestPattern() { m_driver.SelectTestSources("320x240 RGB32 30 fps"); }
    ComponentDriver::Flv& flv() { return m_driver.flv; }

    // Starts a recording to `path`, streamed to `server` unless that is empty.
    bool Start(const QString& server, const std::string& path, const QStringList& more = {}) {
        if (!server.isEmpty()) {
            m_driver.Call(CaptureOp::StreamServer, {Variant::Str(server.toStdString())});
            m_driver.Call(CaptureOp::StreamKey, {Variant::Str(kKey)});
            for (const QString& other : more)
                m_driver.Call(CaptureOp::AddStreamDestination, {Variant::Str(other.toStdString()), Variant::Str(kKey)});
        }
        if (m_driver.Record(path) != 0) {
            std::fprintf(stderr, "the recording did not start: %s\n",
                         qPrintable(m_control.StatusText()));
            return false;
        }
        if (server.isEmpty()) return true;
        if (!Await([&] {
                const auto s = m_control.LiveStatus();
                return s && s->state == StreamState::Live && s->packetsSent > 0;
            }, 15000)) {
            std::fprintf(stderr, "the stream did not go live: %s\n", qPrintable(m_control.StatusText()));
            return false;
        }
        return true;
    }
    void Stop() { m_driver.StopCapture(); }
    const component::CaptureControl& control() const { return m_control; }

private:
    component::CaptureControl m_control;
    ComponentDriver m_driver;
};

int Latency(Bench& bench, const std::vector<RtmpServer*>& servers, const QString& dir, int seconds) {
    const RtmpServer& server = *servers.front();
    QStringList more;
    for (size_t i = 1; i < servers.size(); ++i) more << servers[i]->url();
    if (!bench.UseVirtualCamera()) {
        std::fprintf(stderr, "the virtual camera or the test tone is not listed\n");
        return 1;
    }
    // Output at the camera's rate, so no flash falls on a skipped picture.
    bench.flv().frameRate = kCameraRate;
    std::printf("delay: %d s from the virtual camera (320x240 30 fps) to an ffmpeg reader\n", seconds);
    if (!bench.Start(server.url(), (dir + "/latency.flv").toStdString(), more)) return 1;
    std::vector<std::vector<double>> delays(servers.size());
    std::vector<int64_t> pictures(servers.size());
    {
        std::vector<std::unique_ptr<StreamReader>> readers;
        for (const RtmpServer* s : servers) {
            readers.push_back(std::make_unique<StreamReader>((s->url() + "/" + kKey).toStdString()));
            if (!readers.back()->started()) {
                std::fprintf(stderr, "ffmpeg did not start\n");
                bench.Stop();
                return 1;
            }
        }
        RunEventsFor(seconds * 1000);
        for (size_t i = 0; i < readers.size(); ++i) {
            delays[i] = readers[i]->delays();
            pictures[i] = readers[i]->pictures();
        }
    }
    const auto status = bench.control().LiveStatus();
    const int64_t dropped = status ? status->packetsDropped : 0;
    bench.Stop();
    bench.flv() = ComponentDriver::Flv{};

    for (size_t i = 0; i < servers.size(); ++i) {
        const std::vector<double>& d = delays[i];
        std::printf("destination %zu: reader pictures %lld, flashes %zu, packets dropped from the first stream %lld\n",
                    i + 1, static_cast<long long>(pictures[i]), d.size(), static_cast<long long>(dropped));
        if (d.empty()) {
            std::printf("no flash reached the reader\n");
            return 1;
        }
        std::printf("delays (ms):");
        for (double v : d) std::printf(" %.0f", 1000 * v);
        std::printf("\ndelay capture to reader: median %.0f ms, 95th percentile %.0f ms, max %.0f ms\n",
                    1000 * Percentile(d, 0.5), 1000 * Percentile(d, 0.95), 1000 * *std::max_element(d.begin(), d.end()));
    }
    return 0;
}

// CPU seconds this process spends during `seconds` of a running recording: starting and
// stopping, once per recording, stay out of it.
double RecordingCpu(Bench& bench, const QString& server, const std::string& path, int seconds,
                    const QStringList& more = {}) {
    if (!bench.Start(server, path, more)) return -1;
    RunEventsFor(1000);  // past the first key frame and the encoders' start
    const double before = SelfCpuSeconds();
    RunEventsFor(seconds * 1000);
    const double used = SelfCpuSeconds() - before;
    bench.Stop();
    return used;
}

int Cpu(Bench& bench, const std::vector<RtmpServer*>& servers, const QString& dir, int seconds, int rounds) {
    const RtmpServer& server = *servers.front();
    // Two destinations are weighed against one; one against recording alone.
    const bool two = servers.size() > 1;
    const QStringList more = two ? QStringList{servers[1]->url()} : QStringList{};
    const char* base = two ? "one destination" : "recording";
    const char* measured = two ? "two destinations" : "streaming + copy";
    bench.UseTestPattern();
    std::printf("CPU: %d rounds of %d s each, test pattern, FLV defaults (320x240 25 fps)\n",
                rounds, seconds);
    std::vector<double> ratios;
    double plainSum = 0, liveSum = 0;
    for (int round = 1; round <= rounds; ++round) {
        // Alternate which goes first, so a drift in the machine's load shows in both.
        const bool liveFirst = round % 2 == 0;
        double plain = 0, live = 0;
        for (int i = 0; i < 2; ++i) {
            const bool streaming = (i == 0) == liveFirst;
            const std::string path = (dir + (streaming ? "/live.flv" : "/plain.flv")).toStdString();
            const double cpu = two ? RecordingCpu(bench, server.url(), path, seconds, streaming ? more : QStringList{})
                                   : RecordingCpu(bench, streaming ? server.url() : QString(), path, seconds);
            if (cpu < 0) return 1;
            (streaming ? live : plain) = cpu;
        }
        plainSum += plain;
        liveSum += live;
        ratios.push_back(live / plain);
        std::printf("round %d: %s %.2f s CPU, %s %.2f s CPU, ratio %.3f\n", round, base, plain, measured, live,
                    live / plain);
    }
    const auto [lo, hi] = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("CPU %s / %s: %.3f overall (%.2f s / %.2f s, that adds "
                "%.1f ms per second), rounds from %.3f to %.3f, median %.3f\n",
                measured, base, liveSum / plainSum, liveSum, plainSum,
                1000 * (liveSum - plainSum) / (double(rounds) * seconds), *lo, *hi,
                Percentile(ratios, 0.5));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (!PrepareVirtualCameraBench(argv)) return 1;
    QApplication app(argc, argv);
    int seconds = 30, rounds = 3, destinations = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (!IntOption(a, "seconds", 5, &seconds) && !IntOption(a, "rounds", 1, &rounds) &&
            !IntOption(a, "destinations", 1, &destinations)) {
            std::fprintf(stderr, "usage: %s [--seconds=30] [--rounds=3] [--destinations=2]\n", argv[0]);
            return 2;
        }
    }
    QTemporaryDir dir;
    std::vector<std::unique_ptr<RtmpServer>> owned;
    std::vector<RtmpServer*> servers;
    for (int i = 0; i < std::clamp(destinations, 1, 2); ++i) {
        owned.push_back(std::make_unique<RtmpServer>());
        if (!dir.isValid() || !owned.back()->Start()) {
            std::fprintf(stderr, "no RTMP server: %s\n", qPrintable(owned.back()->why()));
            return 1;
        }
        servers.push_back(owned.back().get());
    }
    RegisterCaptureComponent();
    Bench bench;
    if (int failed = Latency(bench, servers, dir.path(), seconds)) return failed;
    return Cpu(bench, servers, dir.path(), seconds, rounds);
}
