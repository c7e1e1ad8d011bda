#include "RegionBench.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <chrono>

#include "platform/Region.h"
#include "tests/support/NaiveRegion.h"

namespace {

constexpr platform::Colour kKey = platform::MakeColour(255, 0, 255);

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// A main-window background: keyed margins around a body with rounded corners, a shaded
// face, and a few keyed holes (a dial, a display, button sockets).
QImage SkinBackground(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(platform::ToQColor(kKey));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    QLinearGradient face(0, 0, 0, h);
    face.setColorAt(0, QColor(40, 70, 140));
    face.setColorAt(1, QColor(10, 30, 80));
    p.setBrush(face);
    p.drawRoundedRect(QRect(60, 52, w - 120, h - 104), 90, 90);
    p.setBrush(QColor(200, 210, 230));
    p.drawRect(QRect(120, 100, w - 240, 40));  // title bar
    p.setBrush(platform::ToQColor(kKey));
    p.drawEllipse(QRect(760, 220, 180, 180));  // dial
    p.drawRoundedRect(QRect(720, 460, 230, 90), 30, 30);
    for (int i = 0; i < 6; ++i) p.drawEllipse(QRect(160 + i * 90, 610, 50, 50));
    return image;
}

}  // namespace

RegionBenchResult RunRegionBench() {
    RegionBenchResult r;
    const QImage image = SkinBackground(1080, 790);
    r.width = image.width();
    r.height = image.height();

    long keys = 0;
    QRegion fast;
    r.fastMs = 1e300;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        fast = platform::RegionFromColourKey(image, kKey, &keys);
        r.fastMs = std::min(r.fastMs, MsSince(start));
    }
    r.keyShare = double(keys) / (double(r.width) * r.height);

    const auto start = std::chrono::steady_clock::now();
    const QRegion naive = NaiveRegionFromColourKey(image, kKey);
    r.naiveMs = MsSince(start);
    r.sameRegion = (fast ^ naive).isEmpty();
    return r;
}
