#include "TestSources.h"

#include "component/media/CaptureClock.h"
#include "component/sources/DeviceVideoSource.h"
#include "component/sources/TestPattern.h"
#include "component/sources/TestToneSource.h"

using namespace component;

void VanishingVideoSource::Start(FrameHandler onFrame, PresenceHandler onPresence) {
    m_thread = std::thread([this, onFrame, onPresence] {
        TestPattern pattern(160, 120);
        YuvImage last;
        int64_t index = GridIndexAtOrAfter(ClockNowUs(), 30);
        for (int n = 0; n < m_frames; ++n, ++index) {
            if (!m_pacer.SleepUntil(GridTimeUs(index, 30))) return;
            last = pattern.Render(index, 30);
            onFrame(VideoFrame{last, GridTimeUs(index, 30)});
        }
        onPresence(false);
        DeviceVideoSource::HoldLastPicture(m_pacer, 30, last, QSize(160, 120), onFrame);
    });
}

void VanishingVideoSource::Stop() {
    m_pacer.RequestStop();
    if (m_thread.joinable()) m_thread.join();
}

void VanishingAudioSource::Start(BlockHandler onBlock, PresenceHandler onPresence) {
    m_thread = std::thread([this, onBlock, onPresence] {
        int blocks = 0;
        TestToneSource::Generate(m_live, false, [&](AudioBlock&& b) {
            onBlock(std::move(b));
            if (++blocks == m_blocks) m_live.RequestStop();
        });
        if (m_pacer.StopRequested()) return;
        onPresence(false);
        TestToneSource::Generate(m_pacer, true, onBlock);
    });
}

void VanishingAudioSource::Stop() {
    m_pacer.RequestStop();
    m_live.RequestStop();
    if (m_thread.joinable()) m_thread.join();
}
