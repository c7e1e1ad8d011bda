// A/V offset with real sources: the virtual camera's flashes (at whole seconds of the
// monotonic clock) against beeps that a sound client plays into the null sink of a private
// PulseAudio server at the same whole seconds, recorded from the sink's monitor. Prints the
// offset (beep minus flash) of every second and their mean and range.
// Usage: device_av_bench [--seconds=60] [--keep=DIR]
#include "ComponentDriver.h"
#include "MediaReadback.h"
#include "SoundServer.h"
#include "VirtualCameraBench.h"
#include "WaitFor.h"

#include "component/CaptureComponent.h"
#include "component/CaptureControl.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

using component::CaptureOp;
using platform::Variant;

namespace {

constexpr int kRate = 48000;

// Feeds pacat in real time: sample n belongs to the instant start + n / kRate, and a 50 ms
// 1 kHz beep starts at every whole second.
class BeepPlayer {
public:
    explicit BeepPlayer(const SoundServer& server) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_SERVER", server.address());
        env.remove("LD_PRELOAD");
        m_pacat.setProcessEnvironment(env);
        m_pacat.start("pacat", {"--playback", "--device", SoundServer::kNullSink, "--format=s16le",
                                "--rate=48000", "--channels=1", "--latency-msec=10", "--raw"});
        m_pacat.waitForStarted();
        m_thread = std::thread([this] { Run(); });
    }
    ~BeepPlayer() {
        m_stop = true;
        m_thread.join();
        m_pacat.closeWriteChannel();
        m_pacat.waitForFinished(3000);
    }

private:
    void Run() {
        const int64_t start = MonotonicNs();
        int64_t written = 0;
        std::vector<int16_t> chunk;
        while (!m_stop) {
            const int64_t due = (MonotonicNs() - start) * kRate / 1000000000 + kRate / 100;
            chunk.clear();
            for (; written < due; ++written) {
                const int64_t ns = start + written * 1000000000 / kRate;
                const int64_t intoSecond = ns % 1000000000;
                const bool beep = intoSecond < 50000000;
                chunk.push_back(beep ? int16_t(16000 * std::sin(2 * M_PI * 1000 * intoSecond / 1e9)) : 0);
            }
            if (!chunk.empty()) {
                QMetaObject::invokeMethod(
                    &m_pacat,
                    [this, data = QByteArray(reinterpret_cast<const char*>(chunk.data()),
                                             qsizetype(chunk.size() * 2))] { m_pacat.write(data); },
                    Qt::QueuedConnection);
            }
            timespec ts{0, 5000000};
            nanosleep(&ts, nullptr);
        }
    }

    QProcess m_pacat;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

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

    RegisterCaptureComponent();
    component::CaptureControl control(nullptr);
    control.resize(320, 240);
    control.show();
    ComponentDriver driver(control.dispatch());
    auto& s = driver.selection;
    s.videoDevice = int16_t(driver.IndexOf(CaptureOp::VideoDevices, "Virtual Camera"));
    driver.Call(CaptureOp::SelectVideoDevice, {Variant::I16(s.videoDevice)});
    s.videoFormat = int16_t(driver.IndexOf(CaptureOp::VideoFormats, "320x240 YUYV 30 fps"));
    s.audioDevice = int16_t(driver.IndexOf(CaptureOp::AudioDevices, "Monitor of Null Output"));
    s.audioOffset = 0;
    if (s.videoDevice < 0 || s.videoFormat < 0 || s.audioDevice < 0) {
        std::fprintf(stderr, "the virtual camera or the null sink's monitor is not listed\n");
        return 1;
    }
    driver.flv.frameRate = 30;
    const std::string path = (dir + "/av.flv").toStdString();
    std::printf("device_av_bench: recording %d s from the virtual camera and the monitor\n", seconds);
    if (driver.Record(path) != 0) {
        std::fprintf(stderr, "the recording did not start: %s\n", qPrintable(control.statusText()));
        return 1;
    }
    WaitFor([&] { return control.recordingStats().framesWritten >= int64_t(seconds) * 30; },
            (seconds + 30) * 1000);
    driver.StopCapture();

    const Readback rb = ReadRecording(path);
    if (!rb.opened) {
        std::fprintf(stderr, "cannot read the recording: %s\n", rb.error.c_str());
        return 1;
    }
    const std::vector<double> offsets = rb.AvOffsets();
    if (offsets.empty()) {
        std::printf("no flash had a beep within 0.5 s\n");
        return 1;
    }
    double sum = 0;
    for (double o : offsets) sum += o;
    const auto [lo, hi] = std::minmax_element(offsets.begin(), offsets.end());
    std::printf("flashes %zu, beeps %zu, paired %zu\n", rb.FlashTimes().size(), rb.beepOnsets.size(),
                offsets.size());
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
