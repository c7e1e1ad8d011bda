// Runs a capture: the video source always, and while recording the sound source and the
// encoding thread. Every picture goes through the processing stage once, then to the preview
// mailbox and, when recording, to the encoder. Called from the GUI thread only.
#pragma once

#include "component/pipeline/CaptureRequest.h"
#include "component/sources/AudioSource.h"
#include "component/recording/AudioSyncStage.h"
#include "component/sources/DeviceCatalog.h"
#include "component/recording/EncoderSettings.h"
#include "component/recording/OutputSink.h"
#include "component/pipeline/PreviewMailbox.h"
#include "component/pipeline/ProcessingStage.h"
#include "component/recording/RecordingWorker.h"
#include "component/pipeline/SoundLevelMeter.h"
#include "component/recording/StreamOutput.h"
#include "component/pipeline/StatusEvent.h"
#include "component/recording/Timeline.h"
#include "component/sources/VideoSource.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace component {

struct SourceFactory {
    std::function<Result<std::unique_ptr<VideoSource>>(const VideoDevice&, const VideoFormat&,
                                                       int input)>
        video;
    std::function<Result<std::unique_ptr<AudioSource>>(const AudioDevice&, int input)> audio;
    // Test sources for the built-in devices, libavdevice for the rest.
    static SourceFactory Default();
};

class CaptureEngine {
public:
    enum class State { Stopped, Running, Paused };
    struct Hooks {
        std::function<void()> previewReady;       // capture thread: a picture waits
        // Any worker thread; `device` names the device a ...DeviceLost event is about.
        std::function<void(StatusEvent, const std::string& device)> status;
    };

    CaptureEngine(SourceFactory sources, SinkFactory sinks, Hooks hooks);
    ~CaptureEngine();
    CaptureEngine(const CaptureEngine&) = delete;
    CaptureEngine& operator=(const CaptureEngine&) = delete;

    // Starts, or resumes and applies what changed; a running recording goes on untouched.
    // On failure leaves what ran before running and nothing half-open.
    Result<> Start(const CaptureRequest& request);
    void Pause();
    // Ends preview and recording; the recording is finalised before this returns.
    void Stop();

    State CurrentState() const { return m_state; }
    bool IsRecording() const;
    RecordingStats Stats() const;
    // Recording time so far, paused stretches left out; 0 when not recording.
    int64_t RecordedUs() const;
    // The file being recorded into ("" for a stream alone), and a number that changes with
    // every recording started.
    const std::string& RecordingPath() const { return m_recording.path; }
    int RecordingNumber() const { return m_recordingNumber; }
    // The sound being recorded, for the preview's meter.
    const SoundLevelMeter& SoundLevel() const { return m_level; }
    // The live stream's state; nothing when the recording has none.
    std::optional<StreamStatus> LiveStatus() const;
    // Every destination's status, with what names it to a person (its server, never its key).
    std::vector<std::pair<std::string, StreamStatus>> LiveStatuses() const;
    PreviewMailbox& Preview() { return m_preview; }
    ProcessingStage& Processing() { return m_processing; }

private:
    struct Recording {
        std::string path;
        std::shared_ptr<RecordingWorker> worker;
        std::unique_ptr<AudioSource> audio;
        // The live destinations, the first the one the stream properties set; they outlive
        // the worker that feeds them.
        std::vector<std::unique_ptr<StreamOutput>> streams;
    };
    Result<> StartVideo(const CaptureRequest& r);
    Result<> StartRecording(const CaptureRequest& r);
    void EndRecording(int64_t stopUs);
    void OnVideoFrame(VideoFrame&& frame);
    void OnAudioBlock(AudioBlock&& block);
    std::shared_ptr<RecordingWorker> Worker() const;
    static std::string VideoKey(const CaptureRequest& r);
    void ChooseOutputSize(const CaptureRequest& r);

    SourceFactory m_sources;
    SinkFactory m_sinks;
    Hooks m_hooks;
    ProcessingStage m_processing;
    PreviewMailbox m_preview;
    SoundLevelMeter m_level;

    State m_state = State::Stopped;
    std::atomic<bool> m_paused{false};
    // The rate of the pictures the preview shows (the output's; 0: all), and the output frame
    // of the last one (capture thread only).
    std::atomic<int> m_outputRate{0};
    int64_t m_lastSlot = -1;
    int64_t m_pausedAtUs = 0;  // when the running pause began (GUI thread only)
    // Capture time up to which the recording's sound has arrived.
    std::atomic<int64_t> m_audioReachedUs{0};
    std::unique_ptr<VideoSource> m_video;
    std::string m_videoKey;
    std::shared_ptr<Timeline> m_timeline;
    Recording m_recording;
    mutable std::mutex m_workerMutex;
    std::shared_ptr<RecordingWorker> m_worker;  // what capture threads feed; guarded
    RecordingStats m_lastStats;
    int m_recordingNumber = 0;
};

}  // namespace component
