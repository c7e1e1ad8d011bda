// Output sinks for fault tests.
#pragma once

#include "component/recording/FileSink.h"

#include <atomic>

// A file whose write stalls for `stallMs` once every `everyMs`: the encoding thread falls
// behind the pictures for a while, as on a machine that cannot always keep up.
class StallingSink : public component::OutputSink {
public:
    static component::SinkFactory Factory(int stallMs, int everyMs);

    int Write(const uint8_t* data, int size) override;
    int64_t Seek(int64_t offset, int whence) override { return m_file->Seek(offset, whence); }
    int64_t DurableSize() const override { return m_file->DurableSize(); }
    bool Truncate(int64_t size) override { return m_file->Truncate(size); }
    void Discard() override { m_file->Discard(); }

private:
    StallingSink(std::unique_ptr<component::OutputSink> file, int stallMs, int everyMs)
        : m_file(std::move(file)), m_stallMs(stallMs), m_everyMs(everyMs) {}
    std::unique_ptr<component::OutputSink> m_file;
    int m_stallMs, m_everyMs;
    int64_t m_lastStallUs = 0;
};

// A file that takes `capacity` bytes and then fails as a full disk does.
class FullDiskSink : public component::OutputSink {
public:
    static component::SinkFactory Factory(int64_t capacity);

    int Write(const uint8_t* data, int size) override;
    int64_t Seek(int64_t offset, int whence) override;
    int64_t DurableSize() const override { return m_file->DurableSize(); }
    bool Truncate(int64_t size) override { return m_file->Truncate(size); }
    void Discard() override { m_file->Discard(); }

private:
    FullDiskSink(std::unique_ptr<component::OutputSink> file, int64_t capacity)
        : m_file(std::move(file)), m_capacity(capacity) {}
    std::unique_ptr<component::OutputSink> m_file;
    int64_t m_capacity;
    int64_t m_pos = 0;
    int64_t m_end = 0;
};
