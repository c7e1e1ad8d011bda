// Where an archive's bytes come from: a file, or bytes in memory (fuzzing, tests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class ZipStorage {
public:
    virtual ~ZipStorage() = default;

    virtual uint64_t Size() const = 0;
    // Reads up to length bytes at offset; fewer only at the end of the storage. Throws
    // CZipFileException when the storage cannot be read.
    virtual size_t ReadAt(uint64_t offset, void* buffer, size_t length) = 0;
    // The name errors carry: the archive's path.
    virtual const std::string& Name() const = 0;
};
