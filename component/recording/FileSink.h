// An output sink on a plain file descriptor: writes reach the page cache at once, so what was
// flushed survives the process being killed.
#pragma once

#include "component/recording/OutputSink.h"

namespace component {

class FileSink : public OutputSink {
public:
    static Result<std::unique_ptr<OutputSink>> Create(const std::string& path);
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    int Write(const uint8_t* data, int size) override;
    int64_t Seek(int64_t offset, int whence) override;
    int64_t DurableSize() const override { return m_durable; }
    bool Truncate(int64_t size) override;
    void Discard() override;

private:
    FileSink(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
    void Close();

    int m_fd = -1;
    std::string m_path;
    int64_t m_pos = 0;
    int64_t m_durable = 0;
};

}  // namespace component
