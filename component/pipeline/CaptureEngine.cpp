#include "component/pipeline/CaptureEngine.h"

#include "component/media/CaptureClock.h"
#include "component/sources/DeviceAudioSource.h"
#include "component/sources/DeviceVideoSource.h"
#include "component/sources/TestPatternSource.h"
#include "component/sources/TestToneSource.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace component {

namespace {
constexpr std::chrono::milliseconds kAudioTailWait{700};
}  // namespace

SourceFactory SourceFactory::Default() {
    SourceFactory f;
    f.video = [](const VideoDevice& device, const VideoFormat& format, int input,
                 std::string* error) -> std::unique_ptr<VideoSource> {
        if (device.kind == VideoKind::TestPattern)
            return std::make_unique<TestPatternSource>(format.width, format.height,
                                                       format.frameRate);
        return DeviceVideoSource::Open(device, format, input, error);
    };
    f.audio = [](const AudioDevice& device, int, std::string* error) -> std::unique_ptr<AudioSource> {
        if (device.kind == AudioKind::TestTone) return std::make_unique<TestToneSource>();
        return DeviceAudioSource::Open(device, error);
    };
    return f;
}

CaptureEngine::CaptureEngine(SourceFactory sources, SinkFactory sinks, Hooks hooks)
    : m_sources(std::move(sources)), m_sinks(std::move(sinks)), m_hooks(std::move(hooks)) {}

CaptureEngine::~CaptureEngine() { Stop(); }

std::string CaptureEngine::VideoKey(const CaptureRequest& r) {
    return std::to_string(int(r.videoDevice.kind)) + "|" + r.videoDevice.path + "|" +
           r.videoFormat.name + "|" + std::to_string(r.videoInput);
}

std::shared_ptr<RecordingWorker> CaptureEngine::worker() const {
    std::lock_guard lock(m_workerMutex);
    return m_worker;
}

bool CaptureEngine::recording() const {
    return m_recording.worker && m_recording.worker->stats().error == RecorderError::None;
}

std::optional<StreamStatus> CaptureEngine::streamStatus() const {
    if (!m_recording.stream) return std::nullopt;
    return m_recording.stream->status();
}

RecordingStats CaptureEngine::recordingStats() const {
    return m_recording.worker ? m_recording.worker->stats() : m_lastStats;
}

void CaptureEngine::OnVideoFrame(VideoFrame&& frame) {
    if (m_paused.load()) return;  // the preview holds its last picture
    m_processing.Apply(frame.image, frame.timeUs);
    if (auto w = worker()) w->PushVideo(frame);
    if (m_preview.Put(std::move(frame)) && m_hooks.previewReady) m_hooks.previewReady();
}

void CaptureEngine::OnAudioBlock(AudioBlock&& block) {
    if (m_paused.load()) return;
    if (block.sampleRate > 0) {
        const int64_t end = block.timeUs + int64_t(block.frames()) * 1000000 / block.sampleRate;
        if (end > m_audioReachedUs.load()) m_audioReachedUs.store(end);
    }
    m_level.Add(block);
    if (auto w = worker()) w->PushAudio(std::move(block));
}

std::optional<std::string> CaptureEngine::StartVideo(const CaptureRequest& r) {
    std::string error;
    std::unique_ptr<VideoSource> source = m_sources.video(r.videoDevice, r.videoFormat, r.videoInput, &error);
    if (!source) return error.empty() ? "cannot open \"" + r.videoDevice.name + "\"" : error;
    if (m_video) m_video->Stop();
    m_video = std::move(source);
    m_videoKey = VideoKey(r);
    return std::nullopt;
}

std::optional<std::string> CaptureEngine::StartRecording(const CaptureRequest& r) {
    if (r.outputFormat != platform::kOutputFormatFlv)
        return "output format " + std::to_string(r.outputFormat) +
               " is not one this component writes (4: FLV)";
    auto resolved = ResolveEncoderSettings(r.flv);
    if (auto* why = std::get_if<std::string>(&resolved))
        return "the encoder cannot honour these settings: " + *why;
    const EncoderSettings& settings = std::get<EncoderSettings>(resolved);

    std::string error;
    std::unique_ptr<AudioSource> audio = m_sources.audio(r.audioDevice, r.audioInput, &error);
    if (!audio) return error.empty() ? "cannot open \"" + r.audioDevice.name + "\"" : error;
    // A server that refuses is a mistake in the settings: nothing starts, no file is made.
    if (r.stream && !StreamOutput::CheckServer(*r.stream, &error)) return error;
    const bool localCopy = !r.stream || !r.path.empty();
    std::unique_ptr<FlvRecorder> recorder =
        FlvRecorder::Open(settings, r.path, localCopy ? m_sinks : SinkFactory(&NullSink::Create),
                          &error);
    if (!recorder) return error;
    std::unique_ptr<StreamOutput> stream;
    if (r.stream) {
        stream = StreamOutput::Start(*r.stream,
                                     {recorder->videoStream()->codecpar,
                                      recorder->videoStream()->time_base,
                                      recorder->audioStream()->codecpar,
                                      recorder->audioStream()->time_base},
                                     &error);
        if (!stream) {
            recorder->Abandon();
            return error;
        }
        recorder->SetPacketTap([out = stream.get()](const AVPacket* p, bool video) {
            out->Push(p, video);
        });
        recorder->SetKeyFrameRequest([out = stream.get()] { return out->TakeKeyFrameRequest(); });
    }

    auto timeline = std::make_shared<Timeline>(settings.frameRate);
    auto stage = std::make_unique<EncodeStage>(std::move(recorder), timeline, r.syncMode,
                                               r.audioOffsetMs);
    auto onFailure = [hooks = m_hooks](RecorderError e) {
        if (!hooks.status) return;
        hooks.status(e == RecorderError::DiskFull    ? StatusEvent::DiskFull
                     : e == RecorderError::EncodeFailed ? StatusEvent::EncodeFailed
                                                        : StatusEvent::WriteFailed,
                     {});
    };
    auto worker = std::make_shared<RecordingWorker>(std::move(stage), onFailure);
    m_timeline = timeline;
    m_audioReachedUs = 0;
    m_recording = Recording{r.path, worker, std::move(audio), std::move(stream)};
    {
        std::lock_guard lock(m_workerMutex);
        m_worker = worker;
    }
    // From here on every picture and block reaches the encoder, so the file starts now.
    m_processing.SetOutputSize(QSize(settings.width, settings.height));
    m_level.Reset();
    timeline->Begin(ClockNowUs());
    m_recording.audio->Start([this](AudioBlock&& b) { OnAudioBlock(std::move(b)); },
                             [this, name = r.audioDevice.name] {
                                 if (m_hooks.status) m_hooks.status(StatusEvent::AudioDeviceLost, name);
                             });
    return std::nullopt;
}

void CaptureEngine::EndRecording(int64_t stopUs) {
    if (m_recording.audio && !m_paused.load()) {
        // Devices hand sound over some time after they captured it (a period of ALSA's
        // buffer, a server's fragment): what was captured before the stop is waited for.
        const auto deadline = std::chrono::steady_clock::now() + kAudioTailWait;
        while (m_audioReachedUs.load() < stopUs && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (m_recording.audio) m_recording.audio->Stop();
    {
        std::lock_guard lock(m_workerMutex);
        m_worker.reset();
    }
    if (m_recording.worker) {
        m_recording.worker->Finish(stopUs);
        m_lastStats = m_recording.worker->stats();
    }
    if (m_recording.stream) m_recording.stream->Stop();
    m_recording = Recording{};
    m_timeline.reset();
    m_level.Reset();
}

int64_t CaptureEngine::recordedUs() const {
    return m_timeline ? std::max<int64_t>(0, m_timeline->Position(ClockNowUs())) : 0;
}

void CaptureEngine::ChooseOutputSize(const CaptureRequest& r) {
    // A running recording keeps its size; otherwise the preview shows the picture as the
    // next recording with these values would hold it.
    if (m_recording.worker) return;
    const auto resolved = ResolveEncoderSettings(r.flv);
    const auto* settings = std::get_if<EncoderSettings>(&resolved);
    m_processing.SetOutputSize(settings ? QSize(settings->width, settings->height) : QSize());
}

std::optional<std::string> CaptureEngine::Start(const CaptureRequest& r) {
    auto videoLost = [this, name = r.videoDevice.name] {
        if (m_hooks.status) m_hooks.status(StatusEvent::VideoDeviceLost, name);
    };
    auto onFrame = [this](VideoFrame&& f) { OnVideoFrame(std::move(f)); };
    ChooseOutputSize(r);

    if (m_state == State::Stopped) {
        // Open everything first and start nothing until all of it opened.
        if (auto failure = StartVideo(r)) return failure;
        if (r.record) {
            if (auto failure = StartRecording(r)) {
                m_video.reset();
                m_videoKey.clear();
                return failure;
            }
        }
        m_video->Start(onFrame, videoLost);
        m_state = State::Running;
        return std::nullopt;
    }

    if (m_state == State::Paused) {
        if (m_timeline) m_timeline->Resume(ClockNowUs());
        m_paused = false;
        m_state = State::Running;
    }
    std::optional<std::string> failure;
    if (VideoKey(r) != m_videoKey) {
        failure = StartVideo(r);
        if (!failure) m_video->Start(onFrame, videoLost);
    }
    if (r.record && !failure) {
        const bool failedByItself = m_recording.worker && !recording();
        if (!m_recording.worker) {
            failure = StartRecording(r);
        } else if (failedByItself) {
            // Starting again into the file that just stopped would wipe what it saved.
            if (r.path == m_recording.path)
                failure = "the recording into \"" + r.path + "\" stopped; choose another file";
            else {
                EndRecording(ClockNowUs());
                failure = StartRecording(r);
            }
        }
    }
    return failure;
}

void CaptureEngine::Pause() {
    if (m_state != State::Running) return;
    m_paused = true;
    if (m_timeline) m_timeline->Pause(ClockNowUs());
    m_state = State::Paused;
}

void CaptureEngine::Stop() {
    if (m_state == State::Stopped) return;
    const int64_t stopUs = ClockNowUs();
    if (m_video) m_video->Stop();
    EndRecording(stopUs);
    m_video.reset();
    m_videoKey.clear();
    m_preview.Clear();
    m_paused = false;
    m_state = State::Stopped;
}

}  // namespace component
