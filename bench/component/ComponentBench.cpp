// Benchmarks of the capture component, each measured side by side with the ffmpeg program
// doing the same work on the same machine in the same run:
//   a  offline throughput: test pattern 1280x720 -> H.264 2.5 Mb/s + AAC in FLV, as fast as
//      it goes, against ffmpeg encoding lavfi testsrc2 + sine with the same settings;
//   b  a real-time recording (60 s by default) at 1280x720, 30 fps, through the control's
//      dispatch interface: dropped frames, CPU seconds against `ffmpeg -re`, A/V drift;
//   c  preview latency from capture to paint, median and 95th percentile;
//   d  resident memory during the recording (at 10 s and 1 min; 10 min with --ten-minutes).
//   --pause-at=S pauses the real-time recording S seconds in, for 4 s: the A/V range then
//   tells whether the sound comes back in step with the picture.
//   k  what a kill -9 loses: 10 recordings each at 320x240 and 1280x720 killed 6 to 8 s
//      after they started, the file's length against the wall clock from the start (FLV,
//      MP4 and Matroska with --kill-types=flv,mp4,mkv).
//   --everything-on turns on rotation, invert, grey, the stamp, hatched text and a keyed
//   image for the real-time parts (the file's counter and flash checks then mean nothing).
//   --snapshots takes a snapshot (a PNG of the recorded picture) every second for the first
//   10 s of the real-time recording; the frames dropped then show what they cost.
// Usage: component_bench [--parts=abcdk] [--seconds=60] [--ten-minutes] [--everything-on]
//                        [--snapshots] [--pause-at=S] [--keep=DIR] [--kill-types=flv]
#include "ChildProcess.h"
#include "EverythingOn.h"
#include "RunEventsUntil.h"
#include "ComponentDriver.h"
#include "MediaReadback.h"

#include "component/media/CaptureClock.h"
#include "component/CaptureControl.h"
#include "component/recording/EncodeStage.h"
#include "component/recording/FileSink.h"
#include "component/pipeline/ProcessingStage.h"
#include "component/sources/TestPattern.h"
#include "component/sources/TestTone.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <variant>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>

using namespace component;

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kFps = 30;
constexpr int kVideoBitrate = 2500000;
constexpr int kAudioBitrate = 128000;
constexpr int kSampleRate = 44100;

std::vector<std::string> FfmpegCommand(bool realTime, int seconds, const std::string& out) {
    std::vector<std::string> cmd = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y"};
    auto input = [&](const std::string& graph) {
        if (realTime) cmd.push_back("-re");
        cmd.insert(cmd.end(), {"-f", "lavfi", "-i", graph});
    };
    input("testsrc2=size=" + std::to_string(kWidth) + "x" + std::to_string(kHeight) +
          ":rate=" + std::to_string(kFps));
    input("sine=frequency=1000:sample_rate=48000");
    // The component's encoder settings, spelled as ffmpeg options.
    cmd.insert(cmd.end(), {"-t", std::to_string(seconds), "-c:v", "libx264", "-preset", "veryfast",
                           "-tune", "zerolatency", "-b:v", std::to_string(kVideoBitrate),
                           "-g", std::to_string(2 * kFps), "-bf", "0", "-pix_fmt", "yuv420p",
                           "-c:a", "aac", "-b:a", std::to_string(kAudioBitrate), "-ar",
                           std::to_string(kSampleRate), "-ac", "2", "-f", "flv", out});
    return cmd;
}

std::string Join(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& a : v) s += (s.empty() ? "" : " ") + a;
    return s;
}

bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

double Percentile(std::vector<int64_t> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
    return double(v[i]) / 1000.0;
}

void OfflineThroughput(const QString& dir, int seconds) {
    std::printf("\n(a) offline throughput, %d s of %dx%d at %d fps, H.264 %d b/s + AAC %d b/s, FLV\n",
                seconds, kWidth, kHeight, kFps, kVideoBitrate, kAudioBitrate);
    EncoderSettings settings{kWidth, kHeight, kFps, kVideoBitrate, kAudioBitrate, 2, kSampleRate};
    auto recorder = MediaRecorder::Open(settings, dir.toStdString() + "/ours.flv", &FileSink::Create);
    if (!recorder) {
        std::printf("    cannot open the recorder: %s\n", recorder.Error().c_str());
        return;
    }
    const int64_t t0 = 1000 * 1000000LL;
    auto timeline = std::make_shared<Timeline>(kFps);
    timeline->Begin(t0);
    EncodeStage stage(std::move(*recorder), timeline, AudioSyncMode::CaptureClock, 0);
    const int frames = seconds * kFps;
    const int64_t first = GridIndexAtOrAfter(t0, kFps);

    // The component's two stages on their own threads: a capture thread draws the pattern and
    // runs the processing stage, the encoding thread encodes. Unlike a live source, the
    // capture side waits for room instead of dropping pictures.
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::variant<VideoFrame, AudioBlock>> queue;
    bool done = false;
    const double cpu0 = SelfCpuSeconds();
    const auto wall0 = std::chrono::steady_clock::now();
    std::thread capture([&] {
        TestPattern pattern(kWidth, kHeight);
        ProcessingStage processing;
        const int rate = TestTone::kSampleRate, block = rate / 100;
        int64_t sample = GridIndexAtOrAfter(t0, rate);
        for (int k = 0; k < frames; ++k) {
            const int64_t t = GridTimeUs(first + k, kFps);
            YuvImage picture = pattern.Render(first + k, kFps);
            processing.Apply(picture, t);
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return queue.size() < 8; });
            queue.emplace_back(VideoFrame{picture, t});
            while (GridTimeUs(sample + block, rate) <= t) {
                AudioBlock b;
                b.sampleRate = rate;
                b.channels = 2;
                b.samples.resize(size_t(block) * 2);
                TestTone::Fill(sample, rate, 2, b.samples.data(), block);
                b.timeUs = GridTimeUs(sample, rate);
                queue.emplace_back(std::move(b));
                sample += block;
            }
            changed.notify_all();
        }
        std::lock_guard lock(mutex);
        done = true;
        changed.notify_all();
    });
    for (;;) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return done || !queue.empty(); });
        if (queue.empty()) break;
        auto item = std::move(queue.front());
        queue.pop_front();
        changed.notify_all();
        lock.unlock();
        if (auto* v = std::get_if<VideoFrame>(&item)) stage.PushVideo(*v);
        else stage.PushAudio(std::get<AudioBlock>(item));
    }
    capture.join();
    stage.Finish(GridTimeUs(first + frames, kFps));
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    const double cpu = SelfCpuSeconds() - cpu0;

    const auto cmd = FfmpegCommand(false, seconds, dir.toStdString() + "/ffmpeg.flv");
    const ChildRun ff = RunChild(cmd);
    std::printf("    ours:   %d frames in %.2f s wall, %.2f s CPU: %.1f fps\n", frames, wall, cpu,
                frames / wall);
    std::printf("    ffmpeg: %d frames in %.2f s wall, %.2f s CPU: %.1f fps (exit %d)\n", frames,
                ff.wallSeconds, ff.cpuSeconds, frames / ff.wallSeconds, ff.exitCode);
    std::printf("    ratio ours/ffmpeg: %.2f (target >= 0.8)\n", ff.wallSeconds / wall);
    std::printf("    ffmpeg command: %s\n", Join(cmd).c_str());
}

void RealTime(const QString& dir, int seconds, bool tenMinutes, bool everythingOn, bool snapshots,
              int pauseAt, const std::string& parts) {
    CaptureControl control(nullptr);
    control.resize(640, 360);
    control.show();
    ComponentDriver driver(control.Dispatch());
    driver.SelectTestSources(std::to_string(kWidth) + "x" + std::to_string(kHeight) + " RGB32 30 fps");
    driver.flv = {kAudioBitrate, 2, kSampleRate, int16_t(kHeight), int16_t(kWidth), kVideoBitrate, int16_t(kFps)};

    if (parts.find('c') != std::string::npos) {
        driver.Preview();
        RunUntil([&] { return control.FramesPainted() >= 10 * kFps; }, 20000);
        const auto lat = control.PreviewLatenciesUs();
        std::printf("\n(c) preview latency, capture to paint, preview only (%zu pictures painted)\n", lat.size());
        std::printf("    median %.1f ms, 95th percentile %.1f ms (target: median < 40 ms)\n",
                    Percentile(lat, 0.5), Percentile(lat, 0.95));
        driver.StopCapture();
    }
    if (parts.find('b') == std::string::npos && parts.find('d') == std::string::npos) return;

    const int total = tenMinutes ? 600 : seconds;
    const std::string path = dir.toStdString() + "/realtime.flv";
    const size_t latencyMark = control.PreviewLatenciesUs().size();
    const double cpu0 = SelfCpuSeconds();
    const int64_t start = ClockNowUs();
    if (driver.Record(path) != 0) {
        std::printf("    the recording did not start\n");
        return;
    }
    if (everythingOn) EverythingOn(driver, dir);
    int saved = 0;
    for (int second = 1; snapshots && second <= 10; ++second) {
        RunEventsUntil(start + int64_t(second) * 1000000);
        const std::string png = dir.toStdString() + "/snapshot-" + std::to_string(second) + ".png";
        if (driver.Call(CaptureOp::SaveSnapshot, {platform::Variant::Str(png)}).ToStr().empty()) ++saved;
    }
    const int64_t droppedBySnapshots = control.Stats().framesDropped;
    if (pauseAt > 0) {
        RunEventsUntil(start + int64_t(pauseAt) * 1000000);
        driver.Pause();
        RunEventsUntil(start + int64_t(pauseAt + 4) * 1000000);
        driver.Call(CaptureOp::StartCapture);  // Play resumes the paused recording
    }
    std::vector<int> marks = {10, seconds};
    if (tenMinutes)
        for (int minute = 2; minute <= 10; ++minute) marks.push_back(minute * 60);
    std::sort(marks.begin(), marks.end());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    std::vector<std::pair<int, double>> rss;
    double ourCpu = 0;
    for (int at : marks) {
        if (at > total) continue;
        RunEventsUntil(start + int64_t(at) * 1000000);
        rss.emplace_back(at, ResidentMiB());
        if (at == seconds) ourCpu = SelfCpuSeconds() - cpu0;
    }
    driver.StopCapture();
    const RecordingStats stats = control.Stats();
    const Readback rb = ReadRecording(path);
    const auto offsets = rb.AvOffsets();

    std::printf("\n(b) real-time recording, %d s at %dx%d, %d fps, through dispatch%s%s\n", total, kWidth,
                kHeight, kFps, everythingOn ? ", every effect and overlay on" : "",
                pauseAt > 0 ? (", paused 4 s from " + std::to_string(pauseAt) + " s").c_str() : "");
    std::printf("    frames written %lld; dropped on a full queue %lld; gaps filled %lld; "
                "surplus pictures %lld\n",
                (long long)stats.framesWritten, (long long)stats.framesDropped,
                (long long)stats.framesRepeated, (long long)stats.framesSkipped);
    if (snapshots)
        std::printf("    snapshots: %d of 10 saved in the first 10 s; frames dropped by then %lld\n", saved,
                    (long long)droppedBySnapshots);
    std::printf("    counter check in the file: %zu frames decoded, %d steps other than +1\n",
                rb.frames.size(), [&] {
                    int bad = 0;
                    for (size_t i = 1; i < rb.frames.size(); ++i)
                        if (rb.frames[i].counter != rb.frames[i - 1].counter + 1) ++bad;
                    return bad;
                }());
    if (!offsets.empty()) {
        const auto [lo, hi] = std::minmax_element(offsets.begin(), offsets.end());
        std::printf("    A/V offset over %zu flashes: first %+.1f ms, last %+.1f ms, range %.1f ms "
                    "(drift target < 10 ms)\n",
                    offsets.size(), offsets.front() * 1000, offsets.back() * 1000, (*hi - *lo) * 1000);
    }
    const auto cmd = FfmpegCommand(true, seconds, dir.toStdString() + "/ffmpeg-re.flv");
    const ChildRun ff = RunChild(cmd);
    std::printf("    CPU seconds for %d s: ours %.2f (incl. preview painting), ffmpeg -re %.2f: "
                "ratio %.2f (target <= 1.2)\n",
                seconds, ourCpu, ff.cpuSeconds, ourCpu / ff.cpuSeconds);
    std::printf("    ffmpeg command: %s (exit %d)\n", Join(cmd).c_str(), ff.exitCode);
    std::vector<int64_t> recLat(control.PreviewLatenciesUs().begin() + long(latencyMark),
                                control.PreviewLatenciesUs().end());
    std::printf("    preview latency while recording: median %.1f ms, 95th percentile %.1f ms\n",
                Percentile(recLat, 0.5), Percentile(recLat, 0.95));
    std::printf("\n(d) resident memory while recording:");
    for (auto [at, mib] : rss) std::printf("  %d s: %.1f MiB", at, mib);
    std::printf("\n");
}

// Starts the recording helper, kills it `afterSeconds` after it said it records, and gives
// the wall time it recorded minus the length of what its file plays; negative: no file.
double LostToAKill(const QString& path, int width, int height, double afterSeconds) {
    QProcess helper;
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.start(QStringLiteral(RECORD_UNTIL_KILLED),
                 {path, QString::number(width), QString::number(height)});
    QByteArray said;
    if (!RunUntil([&] { return (said += helper.readAllStandardOutput()).contains("recording\n"); }, 20000))
        return -1;
    const int64_t started = ClockNowUs();
    RunEventsUntil(started + int64_t(afterSeconds * 1e6));
    helper.kill();
    const double recorded = double(ClockNowUs() - started) / 1e6;
    helper.waitForFinished();
    const Readback rb = ReadRecording(path.toStdString());
    if (!rb.opened || rb.frames.empty()) return -1;
    return recorded - (rb.frames.back().time + 1.0 / 30);
}

void KillLoss(const QString& dir, const std::string& types) {
    std::printf("\n(k) lost to kill -9, 10 runs each, from the start of the recording (target: <= 0.5 s)\n");
    for (const std::string& type : {std::string("flv"), std::string("mp4"), std::string("mkv")}) {
        if (types.find(type) == std::string::npos) continue;
        for (const QSize size : {QSize(320, 240), QSize(1280, 720)}) {
            std::vector<double> lost;
            for (int run = 0; run < 10; ++run) {
                const QString path = QString("%1/killed%2.%3").arg(dir).arg(run).arg(QString::fromStdString(type));
                lost.push_back(LostToAKill(path, size.width(), size.height(), 6.0 + 0.2 * run));
            }
            const auto [least, most] = std::minmax_element(lost.begin(), lost.end());
            double sum = 0;
            for (double l : lost) sum += l;
            std::printf("    %s %dx%d: mean %.2f s, least %.2f s, most %.2f s%s\n", type.c_str(),
                        size.width(), size.height(), sum / double(lost.size()), *least, *most,
                        *least < 0 ? " (a run left no file)" : "");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // figures appear as they are measured
    std::string parts = "abcdk";
    int seconds = 60;
    bool tenMinutes = false;
    bool everythingOn = false;
    bool snapshots = false;
    QString keep;
    std::string killTypes = "flv";
    int pauseAt = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--parts=", 0) == 0) parts = a.substr(8);
        else if (a.rfind("--seconds=", 0) == 0) seconds = std::max(10, std::stoi(a.substr(10)));
        else if (a == "--ten-minutes") tenMinutes = true;
        else if (a == "--everything-on") everythingOn = true;
        else if (a == "--snapshots") snapshots = true;
        else if (a.rfind("--keep=", 0) == 0) keep = QString::fromStdString(a.substr(7));
        else if (a.rfind("--kill-types=", 0) == 0) killTypes = a.substr(13);
        else if (a.rfind("--pause-at=", 0) == 0) pauseAt = std::max(1, std::stoi(a.substr(11)));
        else {
            std::fprintf(stderr,
                         "usage: %s [--parts=abcdk] [--seconds=60] [--ten-minutes] [--everything-on] "
                         "[--snapshots] [--pause-at=S] [--keep=DIR] [--kill-types=flv]\n",
                         argv[0]);
            return 2;
        }
    }
    QTemporaryDir temp;
    const QString dir = keep.isEmpty() ? temp.path() : keep;
    std::printf("component_bench: %d cores, parts %s\n", QThread::idealThreadCount(), parts.c_str());
    if (parts.find('a') != std::string::npos) OfflineThroughput(dir, 20);
    if (parts.find_first_of("bcd") != std::string::npos) RealTime(dir, seconds, tenMinutes, everythingOn, snapshots, pauseAt, parts);
    if (parts.find('k') != std::string::npos) KillLoss(dir, killTypes);
    return 0;
}
