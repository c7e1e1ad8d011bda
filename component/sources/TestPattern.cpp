#include "component/sources/TestPattern.h"

#include <QPainter>

#include <atomic>
#include <cstring>

namespace component {

namespace {
constexpr QRgb kBars[] = {qRgb(191, 191, 191), qRgb(191, 191, 0), qRgb(0, 191, 191),
                          qRgb(0, 191, 0),     qRgb(191, 0, 191), qRgb(191, 0, 0),
                          qRgb(0, 0, 191)};

int CellLeft(int bit, int width) { return bit * width / TestPattern::kCounterBits; }
}  // namespace

TestPattern::TestPattern(int width, int height)
    : m_width(width), m_height(height), m_background(width, height, QImage::Format_RGB32) {
    QPainter p(&m_background);
    p.fillRect(m_background.rect(), Qt::black);
    const int top = CounterRowHeight(height);
    const int barsBottom = top + (height - top) * 2 / 3;
    const int n = int(std::size(kBars));
    for (int i = 0; i < n; ++i)
        p.fillRect(QRect(i * width / n, top, (i + 1) * width / n - i * width / n, barsBottom - top),
                   QColor(kBars[i]));
    QLinearGradient ramp(0, 0, width, 0);
    ramp.setColorAt(0, Qt::black);
    ramp.setColorAt(1, QColor(160, 160, 160));
    p.fillRect(QRect(0, barsBottom, width, height - barsBottom), ramp);
}

QImage* TestPattern::NextBuffer() {
    for (QImage& img : m_pool) {
        if (img.isNull()) {
            img = QImage(m_width, m_height, QImage::Format_RGB32);
            return &img;
        }
        if (img.isDetached()) {
            // Whoever held it last has let go; their reads happen before our writes.
            std::atomic_thread_fence(std::memory_order_acquire);
            return &img;
        }
    }
    m_spare = QImage(m_width, m_height, QImage::Format_RGB32);
    return &m_spare;
}

QImage TestPattern::Render(int64_t index, int frameRate) {
    QImage& img = *NextBuffer();
    const bool flash = IsFlash(index, frameRate);
    if (flash)
        img.fill(Qt::white);
    else
        std::memcpy(img.bits(), m_background.constBits(), size_t(m_background.sizeInBytes()));

    QPainter p(&img);
    const int row = CounterRowHeight(m_height);
    const auto counter = uint64_t(index) & ((uint64_t(1) << kCounterBits) - 1);
    for (int bit = 0; bit < kCounterBits; ++bit) {
        const bool one = (counter >> (kCounterBits - 1 - bit)) & 1;
        p.fillRect(QRect(CellLeft(bit, m_width), 0, CellLeft(bit + 1, m_width) - CellLeft(bit, m_width), row),
                   one ? Qt::white : Qt::black);
    }
    if (!flash) {
        const int phase = int(index % frameRate);
        const int barWidth = std::max(2, m_width / 40);
        p.fillRect(QRect(phase * (m_width - barWidth) / std::max(1, frameRate - 1), row, barWidth,
                         m_height - row),
                   Qt::white);
    }
    QFont font = p.font();
    font.setPixelSize(std::max(8, m_height / 10));
    p.setFont(font);
    p.setPen(flash ? Qt::black : Qt::white);
    p.drawText(QRect(0, row, m_width, m_height - row), Qt::AlignCenter,
               QStringLiteral("%1").arg(index % (int64_t(frameRate) * 3600)));
    p.end();
    return img;  // shared: the buffer stays in the pool
}

int64_t TestPattern::ReadCounter(const QImage& picture) {
    if (picture.isNull()) return -1;
    const QImage img = picture.convertToFormat(QImage::Format_Grayscale8);
    const int y = CounterRowHeight(img.height()) / 2;
    int64_t value = 0;
    for (int bit = 0; bit < kCounterBits; ++bit) {
        const int x = (CellLeft(bit, img.width()) + CellLeft(bit + 1, img.width())) / 2;
        const int level = img.constScanLine(y)[x];
        if (level > 96 && level < 160) return -1;
        value = (value << 1) | (level >= 160 ? 1 : 0);
    }
    return value;
}

}  // namespace component
