// The built-in test picture, made for measuring recordings: a frame counter written as a row
// of black and white cells (readable after compression), a bar that sweeps once a second, and
// an all-white flash on the first frame of every second of the capture clock.
#pragma once

#include <QImage>

#include <array>
#include <cstdint>

namespace component {

class TestPattern {
public:
    static constexpr int kCounterBits = 24;

    TestPattern(int width, int height);

    // Frame `index` of the capture clock's grid at `frameRate` frames per second.
    QImage Render(int64_t index, int frameRate);

    static bool IsFlash(int64_t index, int frameRate) { return index % frameRate == 0; }
    // The counter as drawn (the frame index, modulo 2^kCounterBits), or -1 when the cells
    // cannot be told apart.
    static int64_t ReadCounter(const QImage& picture);
    static int CounterRowHeight(int height) { return std::max(4, height / 12); }

private:
    QImage* NextBuffer();

    int m_width;
    int m_height;
    QImage m_background;
    // Pictures handed out are reused once nobody else holds them.
    std::array<QImage, 4> m_pool;
    QImage m_spare;
};

}  // namespace component
