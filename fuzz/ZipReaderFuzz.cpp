// Opens the input as a skin package and extracts every entry into a scratch folder, the way
// the skin loader does, catching what the reader raises. Anything else is a finding, and so
// is a link or a non-regular file in the extracted tree, or a tree that cannot be removed.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "skin/zip/CZipReader.h"
#include "skin/zip/ZipOutputFolder.h"

namespace fs = std::filesystem;

namespace {

const fs::path& Scratch() {
    static const fs::path path = [] {
        const fs::path shm = "/dev/shm";
        const fs::path base = fs::is_directory(shm) ? shm : fs::temp_directory_path();
        return base / ("cs-zip-fuzz-" + std::to_string(::getpid()));
    }();
    return path;
}

void CheckTree() {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(Scratch(), ec), end; !ec && it != end;
         it.increment(ec)) {
        const fs::file_status st = it->symlink_status();
        if (!fs::is_regular_file(st) && !fs::is_directory(st)) std::abort();
        if (fs::is_regular_file(st) && it->file_size() > CZipReader::kMaxEntrySize) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CZipReader reader;
    try {
        reader.OpenArchiveFromMemory(std::string(reinterpret_cast<const char*>(data), size),
                                     "fuzz.zip");
    } catch (const CZipException&) {
        return 0;
    }
    for (int i = 0; i < reader.EntryCount(); ++i) {
        try {
            reader.ExtractEntry(static_cast<uint16_t>(i), Scratch());
        } catch (const CZipException&) {
        } catch (const CZipFileException&) {
        }
    }
    CheckTree();
    // Whatever an archive made, the tree must go again: a leftover is a finding too.
    if (!ZipOutputFolder::RemoveTree(Scratch())) std::abort();
    return 0;
}
