// The test sound as a live source: blocks of 10 ms, each delivered when its last sample is
// due on the capture clock, stamped with the time of its first.
#pragma once

#include "component/sources/AudioSource.h"
#include "component/sources/SourcePacer.h"

#include <thread>

namespace component {

class TestToneSource : public AudioSource {
public:
    // A silent source stands in for a sound device that went away.
    explicit TestToneSource(bool silent = false) : m_silent(silent) {}
    ~TestToneSource() override;
    void Start(BlockHandler onBlock, PresenceHandler onPresence) override;
    void Stop() override;

    // Runs the block loop on the calling thread until `pacer` is stopped, or until `done`,
    // asked after every block, says so (then true is returned).
    static bool Generate(SourcePacer& pacer, bool silent, const BlockHandler& onBlock,
                         const std::function<bool()>& done = {});

private:
    const bool m_silent;
    SourcePacer m_pacer;
    std::thread m_thread;
};

}  // namespace component
