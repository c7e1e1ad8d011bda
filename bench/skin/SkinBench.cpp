// Skin engine benchmarks: window-region building and package extraction, each against its
// reference, printed side by side.
#include <cstdio>
#include <exception>

#include "ExtractBench.h"
#include "RegionBench.h"

int main() {
    try {
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

        const NestedBenchResult nested = RunNestedBench(3000);
        std::printf("\nNested folder entries: %d entries nested 1..%d deep, %.1f MB package\n",
                    nested.entries, nested.entries, double(nested.packageBytes) / 1e6);
        std::printf("  open and extract  %8.3f s  (target < 1 s)\n", nested.extractSeconds);
        std::printf("  remove the tree   %8.3f s  %s\n", nested.removeSeconds,
                    nested.removed ? "" : "NOT REMOVED");
        return region.sameRegion && extract.sameFiles && nested.removed ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin_bench: %s\n", e.what());
        return 1;
    }
}
