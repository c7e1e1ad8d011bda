#include "TestSinks.h"

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
}

#include "component/media/CaptureClock.h"

#include <cerrno>
#include <chrono>
#include <thread>

component::SinkFactory StallingSink::Factory(int stallMs, int everyMs) {
    return [=](const std::string& path) -> component::Result<std::unique_ptr<component::OutputSink>> {
        auto file = component::FileSink::Create(path);
        if (!file) return file;
        return std::unique_ptr<component::OutputSink>(new StallingSink(std::move(*file), stallMs, everyMs));
    };
}

int StallingSink::Write(const uint8_t* data, int size) {
    if (component::ClockNowUs() - m_lastStallUs >= int64_t(m_everyMs) * 1000) {
        std::this_thread::sleep_for(std::chrono::milliseconds(m_stallMs));
        m_lastStallUs = component::ClockNowUs();
    }
    return m_file->Write(data, size);
}

component::SinkFactory FullDiskSink::Factory(int64_t capacity) {
    return [capacity](const std::string& path) -> component::Result<std::unique_ptr<component::OutputSink>> {
        auto file = component::FileSink::Create(path);
        if (!file) return file;
        return std::unique_ptr<component::OutputSink>(new FullDiskSink(std::move(*file), capacity));
    };
}

int FullDiskSink::Write(const uint8_t* data, int size) {
    // Rewriting bytes already on disk needs no new space; growing the file does.
    const int64_t room = std::max<int64_t>(m_capacity, m_end) - m_pos;
    const int take = int(std::min<int64_t>(size, std::max<int64_t>(0, room)));
    if (take > 0) {
        const int n = m_file->Write(data, take);
        if (n < 0) return n;
        m_pos += n;
        m_end = std::max(m_end, m_pos);
    }
    return take < size ? AVERROR(ENOSPC) : size;
}

int64_t FullDiskSink::Seek(int64_t offset, int whence) {
    const int64_t r = m_file->Seek(offset, whence);
    if (r >= 0 && whence != AVSEEK_SIZE) m_pos = r;
    return r;
}
