// Where a recording's bytes go. The muxer writes through it, so faults such as a full disk
// surface here with their cause, and tests can put a failing sink in place of the file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "component/media/Result.h"

namespace component {

class OutputSink {
public:
    virtual ~OutputSink() = default;
    // Returns the bytes written or a negative AVERROR code.
    virtual int Write(const uint8_t* data, int size) = 0;
    // lseek semantics; AVSEEK_SIZE asks for the size. Negative AVERROR on failure.
    virtual int64_t Seek(int64_t offset, int whence) = 0;
    // How far the file holds what was written to it (for cutting back to a whole tag).
    virtual int64_t DurableSize() const = 0;
    virtual bool Truncate(int64_t size) = 0;
    // Closes and deletes the file: a recording that never started leaves nothing behind.
    virtual void Discard() = 0;
};

// Opens the sink for a path, or says why it cannot.
using SinkFactory = std::function<Result<std::unique_ptr<OutputSink>>(const std::string& path)>;

}  // namespace component
