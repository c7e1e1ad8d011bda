// Helpers for the ZIP reader tests: scratch folders, crafted-archive surgery, outcomes.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/zip/CZipReader.h"
#include "skin/zip/ZipOutputFolder.h"
#include "skins/ZipWriter.h"

namespace ziptest {

namespace fs = std::filesystem;

// A folder in memory where the system has one (trees thousands of folders deep cost
// seconds on a journalled disk), else under the temp folder; removed with its contents.
inline fs::path ScratchBase() {
    return fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (ScratchBase() / "cs-zip-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir() { ZipOutputFolder::RemoveTree(m_path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

// What an operation came to: true, false, a file error, or (positive) a CZipException cause.
constexpr int kOk = 0;
constexpr int kFalse = -1;
constexpr int kFileError = -2;

inline int OutcomeOf(const std::function<bool()>& operation) {
    try {
        return operation() ? kOk : kFalse;
    } catch (const CZipException& e) {
        return e.GetCause();
    } catch (const CZipFileException&) {
        return kFileError;
    }
}

inline void Patch16(std::string& bytes, size_t offset, uint16_t value) {
    bytes.at(offset) = char(value & 0xFF);
    bytes.at(offset + 1) = char(value >> 8);
}
inline void Patch32(std::string& bytes, size_t offset, uint32_t value) {
    Patch16(bytes, offset, uint16_t(value & 0xFFFF));
    Patch16(bytes, offset + 2, uint16_t(value >> 16));
}
// Damages the byte at a named offset (ZipWriter reports where entries landed).
inline void Corrupt(std::string& bytes, size_t offset) { bytes.at(offset) ^= char(0xFF); }

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every path below folder, relative and sorted; links are listed, not followed.
inline std::vector<std::string> ListTree(const fs::path& folder) {
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        out.push_back(fs::relative(it->path(), folder).string());
    std::sort(out.begin(), out.end());
    return out;
}

// Bytes that look like a small skin picture: a header and rows of repeating colours.
inline std::string PictureBytes(size_t size, uint8_t seed = 0) {
    std::string bytes = "BM";
    for (size_t i = 2; i < size; ++i) bytes.push_back(char(((i / 3) % 7) * 30 + seed));
    return bytes;
}

}  // namespace ziptest
