// Output sinks for fault tests.
#pragma once

#include "component/recording/FileSink.h"

#include <atomic>

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
