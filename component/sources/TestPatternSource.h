// The test picture as a live source: frame k appears at its time on the capture clock's grid.
#pragma once

#include "component/sources/SourcePacer.h"
#include "component/sources/TestPattern.h"
#include "component/sources/VideoSource.h"

#include <thread>

namespace component {

class TestPatternSource : public VideoSource {
public:
    TestPatternSource(int width, int height, int frameRate);
    ~TestPatternSource() override;
    void Start(FrameHandler onFrame, PresenceHandler onPresence) override;
    void Stop() override;

private:
    void Run(const FrameHandler& onFrame);

    TestPattern m_pattern;
    const int m_frameRate;
    SourcePacer m_pacer;
    std::thread m_thread;
};

}  // namespace component
