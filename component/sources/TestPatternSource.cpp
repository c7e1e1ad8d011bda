#include "component/sources/TestPatternSource.h"

#include "component/media/CaptureClock.h"

namespace component {

TestPatternSource::TestPatternSource(int width, int height, int frameRate)
    : m_pattern(width, height), m_frameRate(frameRate) {}

TestPatternSource::~TestPatternSource() { Stop(); }

void TestPatternSource::Start(FrameHandler onFrame, PresenceHandler) {
    Stop();
    m_pacer.Reset();
    m_thread = std::thread([this, onFrame = std::move(onFrame)] { Run(onFrame); });
}

void TestPatternSource::Stop() {
    m_pacer.RequestStop();
    if (m_thread.joinable()) m_thread.join();
}

void TestPatternSource::Run(const FrameHandler& onFrame) {
    int64_t index = GridIndexAtOrAfter(ClockNowUs(), m_frameRate);
    const int64_t period = 1000000 / m_frameRate;
    while (m_pacer.SleepUntil(GridTimeUs(index, m_frameRate))) {
        // A thread that fell behind skips to the present, as a camera would drop frames.
        const int64_t late = ClockNowUs() - GridTimeUs(index, m_frameRate);
        if (late > 2 * period) index = GridIndexAtOrAfter(ClockNowUs(), m_frameRate);
        onFrame(VideoFrame{m_pattern.Render(index, m_frameRate), GridTimeUs(index, m_frameRate)});
        ++index;
    }
}

}  // namespace component
