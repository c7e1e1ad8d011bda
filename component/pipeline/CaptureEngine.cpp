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
    f.video = [](const VideoDevice& device, const VideoFormat& format,
                 int input) -> Result<std::unique_ptr<VideoSource>> {
        if (device.kind == VideoKind::TestPattern)
            return std::unique_ptr<VideoSource>(std::make_unique<TestPatternSource>(
                format.width, format.height, format.frameRate));
        return DeviceVideoSource::Open(device, format, input);
    };
    f.audio = [](const AudioDevice& device, int) -> Result<std::unique_ptr<AudioSource>> {
        if (device.kind == AudioKind::TestTone)
            return std::unique_ptr<AudioSource>(std::make_unique<TestToneSource>());
        return DeviceAudioSource::Open(device);
    };
    return f;
}

CaptureEngine::CaptureEngine(SourceFactory sources, SinkFactory sinks, Hooks hooks)
    : m_sources(std::move(sources)), m_sinks(std::move(sinks)), m_hooks(std::move(hooks)) {}

CaptureEngine::~CaptureEngine() { Stop(); }

std::string CaptureEngine::VideoKey(const CaptureRequest& r) {
    return std::to_string(int(r.videoDevice.kind)) + "|" + r.videoDevice.path + "|" +
           r.videoFormat.name + "|" + std::to_string(r.videoInput) + "|" +
           std::to_string(r.videoFormat.standard) + "|" + (r.videoFormat.deinterlace ? "d" : "");
}

std::shared_ptr<RecordingWorker> CaptureEngine::Worker() const {
    std::lock_guard lock(m_workerMutex);
    return m_worker;
}

bool CaptureEngine::IsRecording() const {
    return m_recording.worker && m_recording.worker->Stats().error == RecorderError::None;
}

std::optional<StreamStatus> CaptureEngine::LiveStatus() const {
    if (m_recording.streams.empty()) return std::nullopt;
    return m_recording.streams.front()->Status();
}

std::vector<std::pair<std::string, StreamStatus>> CaptureEngine::LiveStatuses() const {
    std::vector<std::pair<std::string, StreamStatus>> all;
    for (const auto& s : m_recording.streams) all.emplace_back(s->Url().host + ":" + std::to_string(s->Url().port), s->Status());
    return all;
}

RecordingStats CaptureEngine::Stats() const {
    return m_recording.worker ? m_recording.worker->Stats() : m_lastStats;
}

void CaptureEngine::OnVideoFrame(VideoFrame&& frame) {
    if (m_paused.load()) return;  // the preview holds its last picture
    // At the output's rate: a picture on the same output frame as the one before it is one
    // the file would not hold either.
    const int rate = m_outputRate.load();
    const int64_t slot = rate > 0 ? (frame.timeUs * rate + 500000) / 1000000 : m_lastSlot + 1;
    const bool surplus = slot == m_lastSlot;
    m_lastSlot = slot;
    auto worker = Worker();
    if (surplus && !worker) return;
    m_processing.Apply(frame.picture, frame.timeUs);
    if (worker) worker->PushVideo(frame);
    if (!surplus && m_preview.Put(std::move(frame)) && m_hooks.previewReady) m_hooks.previewReady();
}

void CaptureEngine::OnAudioBlock(AudioBlock&& block) {
    if (block.sampleRate > 0) {
        const int64_t end = block.timeUs + int64_t(block.Frames()) * 1000000 / block.sampleRate;
        if (end > m_audioReachedUs.load()) m_audioReachedUs.store(end);
    }
    // Sound arrives a while after it was captured: the time line, not the moment it
    // arrives, says what falls inside a pause. Only the meter rests while paused.
    if (!m_paused.load()) m_level.Add(block);
    if (auto w = Worker()) w->PushAudio(std::move(block));
}

Result<> CaptureEngine::StartVideo(const CaptureRequest& r) {
    Result<std::unique_ptr<VideoSource>> source = m_sources.video(r.videoDevice, r.videoFormat, r.videoInput);
    if (!source) return source.AsFailure();
    if (m_video) m_video->Stop();
    m_video = std::move(*source);
    m_videoKey = VideoKey(r);
    return Ok();
}

Result<> CaptureEngine::StartRecording(const CaptureRequest& r) {
    const platform::OutputFormatInfo* format = platform::FindOutputFormat(r.outputFormat);
    if (!format) {
        std::string known;
        for (const platform::OutputFormatInfo& f : platform::kOutputFormats)
            known += (known.empty() ? "" : ", ") + std::to_string(f.value) + ": " + std::string(f.name);
        return Fail("output format " + std::to_string(r.outputFormat) +
                    " is not one this component writes (" + known + ")");
    }
    if (!r.encoder) return r.encoder.AsFailure();
    const EncoderSettings& settings = *r.encoder;

    Result<std::unique_ptr<AudioSource>> audio = m_sources.audio(r.audioDevice, r.audioInput);
    if (!audio) return audio.AsFailure();
    // A server that refuses is a mistake in the settings: nothing starts, no file is made.
    // Only the first destination is checked before the start: a further one that is down
    // shows as reconnecting and never keeps the others from going live.
    const bool live = !r.streams.empty();
    if (live)
        if (Result<> reached = StreamOutput::CheckServer(r.streams.front()); !reached) return reached;
    Result<std::unique_ptr<MediaRecorder>> recorder =
        MediaRecorder::Open(settings, r.path, live ? StreamOutput::Sinks(r.path, m_sinks) : m_sinks,
                            // A stream without a local copy needs no container but the stream's.
                            r.path.empty() ? "flv" : std::string(format->muxer));
    if (!recorder) return recorder.AsFailure();
    std::vector<std::unique_ptr<StreamOutput>> streams;
    if (live) {
        Result<std::vector<std::unique_ptr<StreamOutput>>> started = StreamOutput::StartFrom(r.streams, **recorder);
        if (!started) {
            (*recorder)->Abandon();
            return started.AsFailure();
        }
        streams = std::move(*started);
    }

    auto timeline = std::make_shared<Timeline>(settings.frameRate);
    auto stage = std::make_unique<EncodeStage>(std::move(*recorder), timeline, r.syncMode,
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
    ++m_recordingNumber;
    m_audioReachedUs = 0;
    m_recording = Recording{r.path, worker, std::move(*audio), std::move(streams)};
    {
        std::lock_guard lock(m_workerMutex);
        m_worker = worker;
    }
    // From here on every picture and block reaches the encoder, so the file starts now.
    m_processing.SetOutputSize(QSize(settings.width, settings.height));
    m_outputRate = settings.frameRate;
    m_level.Reset();
    timeline->Begin(ClockNowUs());
    m_recording.audio->Start([this](AudioBlock&& b) { OnAudioBlock(std::move(b)); },
                             [this, name = r.audioDevice.name](bool present) {
                                 if (m_hooks.status)
                                     m_hooks.status(present ? StatusEvent::AudioDeviceBack
                                                            : StatusEvent::AudioDeviceLost,
                                                    name);
                             });
    return Ok();
}

void CaptureEngine::EndRecording(int64_t stopUs) {
    if (m_recording.audio) {
        // Devices hand sound over some time after they captured it (a period of ALSA's
        // buffer, a server's fragment): what was captured before the stop, or before the
        // pause it is stopped in, is waited for.
        const int64_t until = m_paused.load() ? m_pausedAtUs : stopUs;
        const auto deadline = std::chrono::steady_clock::now() + kAudioTailWait;
        while (m_audioReachedUs.load() < until && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (m_recording.audio) m_recording.audio->Stop();
    {
        std::lock_guard lock(m_workerMutex);
        m_worker.reset();
    }
    if (m_recording.worker) {
        m_recording.worker->Finish(stopUs);
        m_lastStats = m_recording.worker->Stats();
    }
    for (const auto& stream : m_recording.streams) stream->BeginStop();
    for (const auto& stream : m_recording.streams) stream->Stop();
    m_recording = Recording{};
    m_timeline.reset();
    m_level.Reset();
}

int64_t CaptureEngine::RecordedUs() const {
    return m_timeline ? std::max<int64_t>(0, m_timeline->Position(ClockNowUs())) : 0;
}

void CaptureEngine::ChooseOutputSize(const CaptureRequest& r) {
    // A running recording keeps its size; otherwise the preview shows the picture as the
    // next recording with these values would hold it.
    if (m_recording.worker) return;
    m_processing.SetOutputSize(r.encoder ? QSize(r.encoder->width, r.encoder->height) : QSize());
    m_outputRate = r.encoder ? r.encoder->frameRate : 0;
}

Result<> CaptureEngine::Start(const CaptureRequest& r) {
    auto videoLost = [this, name = r.videoDevice.name](bool present) {
        if (m_hooks.status)
            m_hooks.status(present ? StatusEvent::VideoDeviceBack : StatusEvent::VideoDeviceLost, name);
    };
    auto onFrame = [this](VideoFrame&& f) { OnVideoFrame(std::move(f)); };
    ChooseOutputSize(r);

    if (m_state == State::Stopped) {
        // Open everything first and start nothing until all of it opened.
        if (Result<> video = StartVideo(r); !video) return video;
        if (r.record) {
            if (Result<> recording = StartRecording(r); !recording) {
                m_video.reset();
                m_videoKey.clear();
                return recording;
            }
        }
        m_video->Start(onFrame, videoLost);
        m_state = State::Running;
        return Ok();
    }

    if (m_state == State::Paused) {
        if (m_timeline) m_timeline->Resume(ClockNowUs());
        m_paused = false;
        m_state = State::Running;
    }
    Result<> result;
    if (VideoKey(r) != m_videoKey) {
        result = StartVideo(r);
        if (result) m_video->Start(onFrame, videoLost);
    }
    if (r.record && result) {
        const bool failedByItself = m_recording.worker && !IsRecording();
        if (!m_recording.worker) {
            result = StartRecording(r);
        } else if (failedByItself) {
            // Starting again into the file that just stopped would wipe what it saved.
            if (r.path == m_recording.path)
                result = Fail("the recording into \"" + r.path + "\" stopped; choose another file");
            else {
                EndRecording(ClockNowUs());
                result = StartRecording(r);
            }
        }
    }
    return result;
}

void CaptureEngine::Pause() {
    if (m_state != State::Running) return;
    m_paused = true;
    m_pausedAtUs = ClockNowUs();
    if (m_timeline) m_timeline->Pause(m_pausedAtUs);
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
