// Times the run-based window-region builder against the pixel-by-pixel reference on a
// skin-shaped background.
#pragma once

struct RegionBenchResult {
    int width = 0;
    int height = 0;
    double keyShare = 0;  // fraction of key pixels
    double fastMs = 0;    // best of several runs
    double naiveMs = 0;
    bool sameRegion = false;
};

RegionBenchResult RunRegionBench();
