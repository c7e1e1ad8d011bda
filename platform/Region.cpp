#include "Region.h"

#include <vector>

namespace platform {

QRegion RegionFromColourKey(const QImage& source, Colour key, long* keyPixels) {
    long removed = 0;
    if (keyPixels) *keyPixels = 0;
    if (source.isNull()) return {};
    const QImage image = source.format() == QImage::Format_RGB32 ||
                                 source.format() == QImage::Format_ARGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    // No colour matches no pixel; an alpha byte never takes part in the comparison.
    const uint32_t keyPixel = IsColour(key) ? ToRgbPixel(key) & 0x00FFFFFF : 0xFFFFFFFFu;
    const int w = image.width();

    std::vector<QRect> rects;       // finished bands, in y-x order as QRegion wants them
    std::vector<int> runs, prevRuns;  // [x0, x1) pairs of the current and the open band
    int bandTop = 0;
    auto closeBand = [&](int bottom) {
        for (size_t i = 0; i < prevRuns.size(); i += 2)
            rects.emplace_back(QPoint(prevRuns[i], bandTop),
                               QPoint(prevRuns[i + 1] - 1, bottom - 1));
    };
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        runs.clear();
        int x = 0;
        while (x < w) {
            while (x < w && (line[x] & 0x00FFFFFF) == keyPixel) {
                ++removed;
                ++x;
            }
            if (x == w) break;
            const int start = x;
            while (x < w && (line[x] & 0x00FFFFFF) != keyPixel) ++x;
            runs.push_back(start);
            runs.push_back(x);
        }
        if (y == 0 || runs != prevRuns) {
            if (y > 0) closeBand(y);
            prevRuns.swap(runs);
            bandTop = y;
        }
    }
    closeBand(image.height());
    if (keyPixels) *keyPixels = removed;
    QRegion region;
    if (!rects.empty()) region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

}  // namespace platform
