#include "component/pipeline/RecordingFigures.h"

#include <filesystem>
#include <system_error>

namespace component {

namespace {
constexpr int64_t kSampleUs = 1000000;
constexpr size_t kWindowSamples = 10;
}  // namespace

void FiguresTracker::Begin(const std::string& path) {
    m_path = path;
    m_samples.clear();
    m_freeBytes.reset();
    m_freeAskedUs = 0;
}

RecordingFigures FiguresTracker::Update(int64_t nowUs, const RecordingStats& stats) {
    RecordingFigures f;
    f.hasFile = !m_path.empty();
    f.fileBytes = stats.fileBytes;
    f.dropped = stats.framesDropped;
    if (m_samples.empty() || nowUs - m_samples.back().first >= kSampleUs) {
        m_samples.emplace_back(nowUs, stats.fileBytes);
        if (m_samples.size() > kWindowSamples + 1) m_samples.pop_front();
    }
    if (m_samples.size() >= 2) {
        const auto& [t0, b0] = m_samples.front();
        const auto& [t1, b1] = m_samples.back();
        if (t1 > t0) f.bitsPerSecond = double(b1 - b0) * 8e6 / double(t1 - t0);
    }
    if (!f.hasFile) return f;
    if (!m_freeBytes || nowUs - m_freeAskedUs >= kSampleUs) {
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
        const std::filesystem::space_info space =
            std::filesystem::space(folder.empty() ? std::filesystem::path(".") : folder, error);
        m_freeBytes = error ? std::optional<int64_t>() : std::optional<int64_t>(int64_t(space.available));
        m_freeAskedUs = nowUs;
    }
    f.freeBytes = m_freeBytes;
    if (f.freeBytes && f.bitsPerSecond > 0) f.secondsLeft = double(*f.freeBytes) * 8 / f.bitsPerSecond;
    return f;
}

}  // namespace component
