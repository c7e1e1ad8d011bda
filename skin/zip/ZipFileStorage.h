// An archive file, opened read-only: reading a package never needs to write it, so a
// read-only package or medium still opens.
#pragma once

#include <filesystem>

#include "UniqueFd.h"
#include "ZipStorage.h"

class ZipFileStorage : public ZipStorage {
public:
    // Throws CZipFileException when the path cannot be opened or is not a regular file.
    explicit ZipFileStorage(const std::filesystem::path& path);

    uint64_t Size() const override { return m_size; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t length) override;
    const std::string& Name() const override { return m_name; }

private:
    std::string m_name;
    UniqueFd m_fd;
    uint64_t m_size = 0;
};
