#include "ExtractBench.h"

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "skin/zip/CZipReader.h"
#include "skin/zip/ZipOutputFolder.h"
#include "skins/ZipWriter.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPictures = 260;  // deflated, 256 KiB each
constexpr int kBlobs = 230;     // stored, 150 KiB each
constexpr size_t kPictureSize = 256 * 1024;
constexpr size_t kBlobSize = 150 * 1024;
constexpr int kRuns = 3;

uint32_t Next(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// A 24-bit bitmap like a skin picture: flat bands and gentle gradients with some noise, so
// it deflates about 5:1.
std::string Picture(int seed) {
    std::string bytes = "BM";
    bytes.resize(54, '\0');
    uint32_t state = uint32_t(seed) * 7919u + 1;
    const int width = 256;
    for (size_t i = 0; bytes.size() < kPictureSize; ++i) {
        const int x = int(i % width), y = int(i / width);
        const uint32_t noise = Next(state) & 0xFF;
        const int green = (x / 4 + y / 8) ^ (noise < 96 ? int(noise & 3) : 0);
        bytes.push_back(char(60 + (x / 32) * 10));
        bytes.push_back(char(green & 0xFF));
        bytes.push_back(char(((y / 16) * 20 + seed) & 0xFF));
    }
    bytes.resize(kPictureSize);
    return bytes;
}

std::string Blob(int seed) {
    std::string bytes(kBlobSize, '\0');
    uint32_t state = uint32_t(seed) + 12345u;
    for (char& c : bytes) c = char(Next(state));
    return bytes;
}

struct TempFolder {
    fs::path path;
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "cs-skin-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool SameTrees(const fs::path& a, const fs::path& b, int expectedFiles) {
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(a)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        if (ReadAll(entry.path()) != ReadAll(b / fs::relative(entry.path(), a))) return false;
    }
    return files == expectedFiles;
}

// Opens the package and extracts every entry, as the skin loader does.
void ExtractAll(const fs::path& package, const fs::path& out) {
    CZipReader reader;
    reader.OpenArchive(package, CZipReader::OpenExisting, 0);
    for (int i = 0; i < reader.EntryCount(); ++i)
        if (!reader.ExtractEntry(uint16_t(i), out)) throw std::runtime_error("entry not extracted");
    reader.CloseArchive(true);
}

}  // namespace

ExtractBenchResult RunExtractBench() {
    ExtractBenchResult r;
    TempFolder temp;
    const fs::path package = temp.path / "Bench.skn";
    {
        ZipWriter writer;
        ZipWriter::EntryOptions deflated;
        deflated.level = 6;
        ZipWriter::EntryOptions stored;
        stored.deflate = false;
        for (int i = 0, p = 0, b = 0; p < kPictures || b < kBlobs; ++i) {
            // Interleaved, as a real package mixes its kinds of files.
            if (p < kPictures && (i % 3 != 2 || b >= kBlobs)) {
                writer.Add("skin/picture" + std::to_string(p) + ".bmp", Picture(p), deflated);
                ++p;
                r.contentBytes += kPictureSize;
            } else {
                writer.Add("data/blob" + std::to_string(b) + ".bin", Blob(b), stored);
                ++b;
                r.contentBytes += kBlobSize;
            }
        }
        const std::string bytes = writer.Finish();
        r.packageBytes = bytes.size();
        r.entries = kPictures + kBlobs;
        if (!ZipWriter::WriteFile(package.string(), bytes))
            throw std::runtime_error("cannot write package");
    }

    r.readerSeconds = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        const fs::path out = temp.path / "reader";
        fs::remove_all(out);
        const auto start = std::chrono::steady_clock::now();
        ExtractAll(package, out);
        r.readerSeconds = std::min(r.readerSeconds, Seconds(start));
    }

    r.unzipSeconds = 1e300;
    const fs::path unzipOut = temp.path / "unzip";
    const std::string command =
        "unzip -o -q '" + package.string() + "' -d '" + unzipOut.string() + "'";
    for (int run = 0; run < kRuns; ++run) {
        fs::remove_all(unzipOut);
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            r.unzipSeconds = -1;
            return r;
        }
        r.unzipSeconds = std::min(r.unzipSeconds, Seconds(start));
    }
    r.sameFiles = SameTrees(temp.path / "reader", unzipOut, r.entries);
    return r;
}

NestedBenchResult RunNestedBench(int entries) {
    NestedBenchResult r;
    r.entries = entries;
    TempFolder temp;
    const fs::path package = temp.path / "Nested.skn";
    {
        ZipWriter writer;
        std::string name;
        for (int depth = 1; depth <= entries; ++depth) writer.AddDirectory(name += "n/");
        const std::string bytes = writer.Finish();
        r.packageBytes = bytes.size();
        if (!ZipWriter::WriteFile(package.string(), bytes))
            throw std::runtime_error("cannot write package");
    }
    r.extractSeconds = r.removeSeconds = 1e300;
    r.removed = true;
    for (int run = 0; run < kRuns; ++run) {
        const fs::path out = temp.path / "out";
        auto start = std::chrono::steady_clock::now();
        ExtractAll(package, out);
        r.extractSeconds = std::min(r.extractSeconds, Seconds(start));
        start = std::chrono::steady_clock::now();
        r.removed = ZipOutputFolder::RemoveTree(out) && !fs::exists(out) && r.removed;
        r.removeSeconds = std::min(r.removeSeconds, Seconds(start));
    }
    return r;
}
