// Sources for fault tests: the test picture or sound that goes away after a while, as a
// device pulled out of its socket would, and then behaves as the component's devices do.
#pragma once

#include "component/sources/AudioSource.h"
#include "component/sources/SourcePacer.h"
#include "component/sources/VideoSource.h"

#include <thread>

class VanishingVideoSource : public component::VideoSource {
public:
    explicit VanishingVideoSource(int framesBeforeLoss) : m_frames(framesBeforeLoss) {}
    ~VanishingVideoSource() override { Stop(); }
    void Start(FrameHandler onFrame, PresenceHandler onPresence) override;
    void Stop() override;

private:
    int m_frames;
    component::SourcePacer m_pacer;
    std::thread m_thread;
};

class VanishingAudioSource : public component::AudioSource {
public:
    explicit VanishingAudioSource(int blocksBeforeLoss) : m_blocks(blocksBeforeLoss) {}
    ~VanishingAudioSource() override { Stop(); }
    void Start(BlockHandler onBlock, PresenceHandler onPresence) override;
    void Stop() override;

private:
    int m_blocks;
    component::SourcePacer m_live;
    component::SourcePacer m_pacer;
    std::thread m_thread;
};
