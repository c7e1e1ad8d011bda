#include "component/sources/TestPattern.h"

#include "component/overlays/PlanarLayer.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace component {

namespace {
constexpr QRgb kBars[] = {qRgb(191, 191, 191), qRgb(191, 191, 0), qRgb(0, 191, 191),
                          qRgb(0, 191, 0),     qRgb(191, 0, 191), qRgb(191, 0, 0),
                          qRgb(0, 0, 191)};
constexpr uint8_t kWhiteLuma = 235, kBlackLuma = 16;

int CellLeft(int bit, int width) { return bit * width / TestPattern::kCounterBits; }
}  // namespace

TestPattern::TestPattern(int width, int height) : m_width(width), m_height(height) {
    QImage background(width, height, QImage::Format_RGB32);
    QPainter p(&background);
    p.fillRect(background.rect(), Qt::black);
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
    p.end();
    m_background = YuvImage::FromImage(background);
    m_white = YuvImage::Black(width, height);
    Fill(m_white, 0, 0, width, height, kWhiteLuma);
    QFont font;
    font.setPixelSize(std::max(8, height / 10));
    const QFontMetrics metrics(font);
    m_digitWidth = (metrics.horizontalAdvance(QStringLiteral("0123456789")) / 10 + 1) & ~1;
    for (int colour = 0; colour < 2; ++colour)
        for (int d = 0; d < 10; ++d) {
            QImage digit(m_digitWidth, metrics.height(), QImage::Format_ARGB32_Premultiplied);
            digit.fill(Qt::transparent);
            QPainter dp(&digit);
            dp.setFont(font);
            dp.setPen(colour == 0 ? Qt::white : Qt::black);
            dp.drawText(digit.rect(), Qt::AlignCenter, QString::number(d));
            dp.end();
            m_digits[colour][size_t(d)] = PlanarLayer(OverlayLayer{digit, QPoint(0, 0)});
        }
}

void TestPattern::Fill(YuvImage& picture, int x, int y, int w, int h, uint8_t level) const {
    x = std::clamp(x, 0, m_width), y = std::clamp(y, 0, m_height);
    w = std::min(w, m_width - x), h = std::min(h, m_height - y);
    if (w <= 0 || h <= 0) return;
    uint8_t* luma = picture.MutablePlane(0);
    for (int row = y; row < y + h; ++row) std::memset(luma + size_t(row) * size_t(m_width) + size_t(x), level, size_t(w));
    for (int c = 1; c <= 2; ++c) {
        uint8_t* chroma = picture.MutablePlane(c);
        for (int row = y / 2; row < (y + h + 1) / 2; ++row)
            std::memset(chroma + size_t(row) * size_t(picture.Stride(c)) + size_t(x / 2), 128,
                        size_t((x + w + 1) / 2 - x / 2));
    }
}

YuvImage TestPattern::Render(int64_t index, int frameRate) {
    const bool flash = IsFlash(index, frameRate);
    YuvImage img(m_width, m_height);
    std::memcpy(img.MutablePlane(0), (flash ? m_white : m_background).Plane(0), img.Bytes());

    const int row = CounterRowHeight(m_height);
    const auto counter = uint64_t(index) & ((uint64_t(1) << kCounterBits) - 1);
    for (int bit = 0; bit < kCounterBits; ++bit) {
        const bool one = (counter >> (kCounterBits - 1 - bit)) & 1;
        Fill(img, CellLeft(bit, m_width), 0, CellLeft(bit + 1, m_width) - CellLeft(bit, m_width), row,
             one ? kWhiteLuma : kBlackLuma);
    }
    if (!flash) {
        const int phase = int(index % frameRate);
        const int barWidth = std::max(2, m_width / 40);
        Fill(img, phase * (m_width - barWidth) / std::max(1, frameRate - 1), row, barWidth, m_height - row, kWhiteLuma);
    }
    // The number in the middle, from the digits drawn once.
    const std::string number = std::to_string(index % (int64_t(frameRate) * 3600));
    const auto& digits = m_digits[flash ? 1 : 0];
    QPoint at((m_width - int(number.size()) * m_digitWidth) / 2, row + (m_height - row - digits[0].Height()) / 2);
    for (const char c : number) {
        digits[size_t(c - '0')].BlendOnto(img, at);
        at.rx() += m_digitWidth;
    }
    return img;
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
