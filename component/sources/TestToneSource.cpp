#include "component/sources/TestToneSource.h"

#include "component/media/CaptureClock.h"
#include "component/sources/TestTone.h"

namespace component {

namespace {
constexpr int kRate = TestTone::kSampleRate;
// 20 ms: as a sound server hands over its fragments, and no more wake-ups than needed.
constexpr int kBlockFrames = kRate / 50;
}  // namespace

TestToneSource::~TestToneSource() { Stop(); }

void TestToneSource::Start(BlockHandler onBlock, PresenceHandler) {
    Stop();
    m_pacer.Reset();
    m_thread = std::thread([this, onBlock = std::move(onBlock)] {
        Generate(m_pacer, m_silent, onBlock);
    });
}

void TestToneSource::Stop() {
    m_pacer.RequestStop();
    if (m_thread.joinable()) m_thread.join();
}

bool TestToneSource::Generate(SourcePacer& pacer, bool silent, const BlockHandler& onBlock,
                              const std::function<bool()>& done) {
    int64_t index = GridIndexAtOrAfter(ClockNowUs(), kRate);
    index += kBlockFrames - index % kBlockFrames;
    while (pacer.SleepUntil(GridTimeUs(index + kBlockFrames, kRate))) {
        AudioBlock block;
        block.sampleRate = kRate;
        block.channels = TestTone::kChannels;
        block.samples.assign(size_t(kBlockFrames) * TestTone::kChannels, 0);
        if (!silent)
            TestTone::Fill(index, kRate, TestTone::kChannels, block.samples.data(), kBlockFrames);
        block.timeUs = GridTimeUs(index, kRate);
        onBlock(std::move(block));
        index += kBlockFrames;
        // After a stall, carry on from the present rather than deliver a burst of old sound.
        const int64_t now = GridIndexAtOrAfter(ClockNowUs(), kRate);
        if (now - index > 10 * kBlockFrames) index = now - now % kBlockFrames;
        if (done && done()) return true;
    }
    return false;
}

}  // namespace component
