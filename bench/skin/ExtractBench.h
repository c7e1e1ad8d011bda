// Extraction throughput of CZipReader against the unzip tool on the same package.
#pragma once

#include <cstdint>

struct ExtractBenchResult {
    uint64_t packageBytes = 0;
    uint64_t contentBytes = 0;  // uncompressed, what both write
    int entries = 0;
    double readerSeconds = 0;  // best of 3
    double unzipSeconds = 0;   // best of 3; < 0 when unzip could not run
    bool sameFiles = false;
};

ExtractBenchResult RunExtractBench();

// A package of folder entries nested 1..entries deep: extraction and removal of the tree.
struct NestedBenchResult {
    int entries = 0;
    uint64_t packageBytes = 0;
    double extractSeconds = 0;  // opening and extracting every entry, best of 3
    double removeSeconds = 0;   // removing the tree, best of 3
    bool removed = false;
};

NestedBenchResult RunNestedBench(int entries);
