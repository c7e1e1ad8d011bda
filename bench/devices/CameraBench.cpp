// Recording a full-size camera in real time: the virtual camera's Motion-JPEG at 1280x720 and
// 1920x1080, 30 fps, with the test tone, each once with nothing on and once with every effect
// and overlay on, through the control's dispatch interface with its preview painting. Beside
// each, the ffmpeg program records the same camera (preloaded into it the same way) for as
// long, with the same encoder settings into the same file type, and its CPU time is taken.
// Prints per run: pictures the camera made while recording, pictures written, dropped and
// repeated; CPU seconds ours and ffmpeg's and their ratio; the A/V offset range over the
// run's flashes and beeps; resident memory at 10 s and at the end; the preview's pictures.
// Usage: camera_bench [--seconds=60] [--sizes=720,1080] [--keep=DIR]
#include "ChildProcess.h"
#include "ComponentDriver.h"
#include "EverythingOn.h"
#include "MediaReadback.h"
#include "RunEventsUntil.h"
#include "VirtualCameraBench.h"

#include "component/CaptureControl.h"
#include "component/media/CaptureClock.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using platform::CaptureOp;
using platform::Variant;

namespace {

constexpr int kFps = 30;
constexpr int kAudioBitrate = 128000;
constexpr int kSampleRate = 44100;

struct Size {
    int width, height, bitrate;
};

std::vector<std::string> FfmpegCommand(const Size& s, int seconds, const std::string& out) {
    const std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
    return {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
            "-f", "v4l2", "-input_format", "mjpeg", "-video_size", size, "-framerate", std::to_string(kFps),
            "-i", "/dev/video40", "-re", "-f", "lavfi", "-i", "sine=frequency=1000:sample_rate=48000",
            "-t", std::to_string(seconds), "-c:v", "libx264", "-preset", "veryfast", "-tune", "zerolatency",
            "-b:v", std::to_string(s.bitrate), "-g", std::to_string(2 * kFps), "-bf", "0", "-pix_fmt", "yuv420p",
            "-c:a", "aac", "-b:a", std::to_string(kAudioBitrate), "-ar", std::to_string(kSampleRate), "-ac", "2",
            "-f", "flv", out};
}

void Run(const Size& s, bool everythingOn, int seconds, const QString& dir) {
    const std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
    std::printf("\n%s, %d fps, H.264 %d b/s + AAC, %d s, %s\n", size.c_str(), kFps, s.bitrate, seconds,
                everythingOn ? "stamp, two text lines, picture overlay, rotation, invert and grey on"
                             : "no effects or overlays");
    component::CaptureControl control(nullptr);
    control.resize(640, 360);
    control.show();
    ComponentDriver driver(control.Dispatch());
    if (!driver.Select("Virtual Camera", size + " MJPG 30 fps", "Camera 1", "Test Tone")) {
        std::printf("    the virtual camera or its %s format is not listed\n", size.c_str());
        return;
    }
    driver.flv = {kAudioBitrate, 2, kSampleRate, int16_t(s.height), int16_t(s.width), s.bitrate, int16_t(kFps)};

    const std::string path = (dir + "/ours-" + QString::fromStdString(size) + (everythingOn ? "-on" : "-off") + ".flv").toStdString();
    const double cpu0 = SelfCpuSeconds();
    const int64_t painted0 = control.FramesPainted();
    const int64_t start = component::ClockNowUs();
    if (driver.Record(path) != 0) {
        std::printf("    the recording did not start\n");
        return;
    }
    if (everythingOn) EverythingOn(driver, dir);
    RunEventsUntil(start + 10 * 1000000LL);
    const double rss10 = ResidentMiB();
    RunEventsUntil(start + int64_t(seconds) * 1000000);
    const double ourCpu = SelfCpuSeconds() - cpu0;
    const double rssEnd = ResidentMiB();
    const int64_t painted = control.FramesPainted() - painted0;
    driver.StopCapture();
    const component::RecordingStats stats = control.Stats();

    const Readback rb = ReadRecording(path);
    int64_t made = 0, missing = 0;
    if (!everythingOn && rb.frames.size() > 1) {  // the counter is only readable without effects
        made = rb.frames.back().counter - rb.frames.front().counter + 1;
        std::vector<int64_t> seen;
        for (const auto& f : rb.frames) seen.push_back(f.counter);
        std::sort(seen.begin(), seen.end());
        missing = made - int64_t(std::unique(seen.begin(), seen.end()) - seen.begin());
    }
    const auto cmd = FfmpegCommand(s, seconds, (dir + "/ffmpeg-" + QString::fromStdString(size) + ".flv").toStdString());
    const ChildRun ff = RunChild(cmd);

    if (made > 0)
        std::printf("    camera pictures while recording %lld, of which not in the file %lld\n", (long long)made,
                    (long long)missing);
    std::printf("    frames written %lld; dropped (encoder behind) %lld; gaps filled %lld; surplus %lld\n",
                (long long)stats.framesWritten, (long long)stats.framesDropped, (long long)stats.framesRepeated,
                (long long)stats.framesSkipped);
    std::printf("    CPU seconds: ours %.2f (with the preview), ffmpeg %.2f (exit %d): ratio %.2f\n", ourCpu,
                ff.cpuSeconds, ff.exitCode, ff.cpuSeconds > 0 ? ourCpu / ff.cpuSeconds : 0.0);
    const auto offsets = rb.AvOffsets();
    if (!offsets.empty() && !everythingOn) {
        const auto [lo, hi] = std::minmax_element(offsets.begin(), offsets.end());
        std::printf("    A/V offset over %zu flashes: %+.1f to %+.1f ms, range %.1f ms\n", offsets.size(), *lo * 1000,
                    *hi * 1000, (*hi - *lo) * 1000);
    }
    std::printf("    resident memory: %.1f MiB at 10 s, %.1f MiB at the end\n", rss10, rssEnd);
    std::printf("    preview: %lld pictures painted (%.1f a second)\n", (long long)painted,
                double(painted) / seconds);
}

}  // namespace

int main(int argc, char** argv) {
    if (!PrepareVirtualCameraBench(argv)) return 1;
    QApplication app(argc, argv);
    int seconds = 60;
    std::vector<Size> sizes;
    QString keep;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (IntOption(a, "seconds", 12, &seconds)) continue;
        if (a.rfind("--sizes=", 0) == 0) {
            if (a.find("720") != std::string::npos) sizes.push_back({1280, 720, 2500000});
            if (a.find("1080") != std::string::npos) sizes.push_back({1920, 1080, 6000000});
        } else if (a.rfind("--keep=", 0) == 0) {
            keep = QString::fromStdString(a.substr(7));
        } else {
            std::fprintf(stderr, "usage: %s [--seconds=60] [--sizes=720,1080] [--keep=DIR]\n", argv[0]);
            return 2;
        }
    }
    if (sizes.empty()) sizes = {{1280, 720, 2500000}, {1920, 1080, 6000000}};
    QTemporaryDir temp;
    const QString dir = keep.isEmpty() ? temp.path() : keep;
    std::printf("camera_bench: %d cores, the virtual camera's Motion-JPEG\n", QThread::idealThreadCount());
    for (const Size& s : sizes)
        for (const bool on : {false, true}) Run(s, on, seconds, dir);
    return 0;
}
