// The built-in test picture, made for measuring recordings: a frame counter written as a row
// of black and white cells (readable after compression), a bar that sweeps once a second, and
// an all-white flash on the first frame of every second of the capture clock. Drawn straight
// into the pipeline's planes.
#pragma once

#include "component/media/YuvImage.h"
#include "component/overlays/PlanarLayer.h"

#include <QImage>

#include <array>

#include <cstdint>

namespace component {

class TestPattern {
public:
    static constexpr int kCounterBits = 24;

    TestPattern(int width, int height);

    // Frame `index` of the capture clock's grid at `frameRate` frames per second.
    YuvImage Render(int64_t index, int frameRate);

    static bool IsFlash(int64_t index, int frameRate) { return index % frameRate == 0; }
    // The counter as drawn (the frame index, modulo 2^kCounterBits), or -1 when the cells
    // cannot be told apart.
    static int64_t ReadCounter(const QImage& picture);
    static int CounterRowHeight(int height) { return std::max(4, height / 12); }

private:
    // Luma `level` over the rectangle; the colour goes neutral over it (both the cells and
    // the bar are white or black).
    void Fill(YuvImage& picture, int x, int y, int w, int h, uint8_t level) const;

    int m_width;
    int m_height;
    YuvImage m_background;
    YuvImage m_white;
    // The frame number's digits, white for the pattern and black for the flash, drawn once.
    std::array<PlanarLayer, 10> m_digits[2];
    int m_digitWidth = 0;
};

}  // namespace component
