// A sink that keeps nothing: the muxer of a live stream with no local copy writes into it.
#pragma once

#include "component/recording/OutputSink.h"

extern "C" {
#include <libavformat/avio.h>
}

#include <algorithm>
#include <cstdio>
#include <memory>

namespace component {

class NullSink : public OutputSink {
public:
    static Result<std::unique_ptr<OutputSink>> Create(const std::string&) {
        return std::unique_ptr<OutputSink>(std::make_unique<NullSink>());
    }
    int Write(const uint8_t*, int size) override {
        m_pos += size;
        m_size = std::max(m_size, m_pos);
        return size;
    }
    int64_t Seek(int64_t offset, int whence) override {
        if (whence == AVSEEK_SIZE) return m_size;
        m_pos = whence == SEEK_SET ? offset : whence == SEEK_CUR ? m_pos + offset : m_size + offset;
        return m_pos;
    }
    int64_t DurableSize() const override { return m_size; }
    bool Truncate(int64_t size) override {
        m_size = std::min(m_size, size);
        return true;
    }
    void Discard() override {}

private:
    int64_t m_pos = 0;
    int64_t m_size = 0;
};

}  // namespace component
