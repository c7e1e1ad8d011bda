// Skin engine benchmarks: window-region building and package extraction, each against its
// reference, printed side by side.
#include <cstdio>
#include <exception>
#include <string_view>

#include "ExtractBench.h"
#include "RegionBench.h"

namespace {

bool PrintNested() {
    const NestedBenchResult nested = RunNestedBench(3000);
    std::printf("Nested folder entries: %d entries nested 1..%d deep, %.1f MB package\n",
                nested.entries, nested.entries, double(nested.packageBytes) / 1e6);
    std::printf("  open and extract  %8.3f s  (target < 1 s)\n", nested.extractSeconds);
    std::printf("  remove the tree   %8.3f s  %s\n", nested.removeSeconds,
                nested.removed ? "" : "NOT REMOVED");
    return nested.removed;
}

}  // namespace

// "skin_bench nested" runs only the nested-folder figures.
int main(int argc, char** argv) {
    try {
        if (argc > 1 && std::string_view(argv[1]) == "nested") return PrintNested() ? 0 : 1;
        const RegionBenchResult region = RunRegionBench();
        std::printf("Window region from colour key: %dx%d background, %.1f%% key pixels\n",
                    region.width, region.height, region.keyShare * 100);
        std::printf("  RegionFromColourKey (best of 5)  %10.2f ms\n", region.fastMs);
        std::printf("  NaiveRegionFromColourKey         %10.2f ms\n", region.naiveMs);
        std::printf("  speed-up                         %10.1fx  (target >= 20x)\n",
                    region.naiveMs / region.fastMs);
        std::printf("  same region                      %10s\n", region.sameRegion ? "yes" : "NO");

        const ExtractBenchResult extract = RunExtractBench();
        const double mb = double(extract.contentBytes) / 1e6;
        std::printf(
            "\nPackage extraction: %.1f MB package, %d entries, %.1f MB extracted (best of 3)\n",
            double(extract.packageBytes) / 1e6, extract.entries, mb);
        std::printf("  CZipReader    %8.3f s  %8.1f MB/s\n", extract.readerSeconds,
                    mb / extract.readerSeconds);
        if (extract.unzipSeconds < 0) {
            std::printf("  unzip -o -q   could not run\n");
            return 1;
        }
        std::printf("  unzip -o -q   %8.3f s  %8.1f MB/s\n", extract.unzipSeconds,
                    mb / extract.unzipSeconds);
        std::printf("  ratio         %8.2f  (target >= 0.8)\n",
                    extract.unzipSeconds / extract.readerSeconds);
        std::printf("  same files    %8s\n", extract.sameFiles ? "yes" : "NO");

        std::printf("\n");
        const bool nestedRemoved = PrintNested();
        return region.sameRegion && extract.sameFiles && nestedRemoved ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin_bench: %s\n", e.what());
        return 1;
    }
}
