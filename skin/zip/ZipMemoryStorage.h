// An archive held in memory.
#pragma once

#include <string>

#include "ZipStorage.h"

class ZipMemoryStorage : public ZipStorage {
public:
    explicit ZipMemoryStorage(std::string bytes, std::string name = "<memory>")
        : m_bytes(std::move(bytes)), m_name(std::move(name)) {}

    uint64_t Size() const override { return m_bytes.size(); }
    size_t ReadAt(uint64_t offset, void* buffer, size_t length) override;
    const std::string& Name() const override { return m_name; }

private:
    std::string m_bytes;
    std::string m_name;
};
