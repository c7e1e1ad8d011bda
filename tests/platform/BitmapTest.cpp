#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/Bitmap.h"

using platform::KeyedImage;
using platform::LoadBitmap;
using platform::MakeColour;

namespace {
// A minimal BITMAPINFOHEADER file claiming w x h, 24 bits, with no pixel data behind it.
QByteArray HeaderOnlyBmp(int32_t w, int32_t h) {
    QByteArray b(54, '\0');
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    b[26] = 1;
    b[28] = 24;
    return b;
}
}  // namespace

TEST(LoadBitmap, ReadsBmpWrittenByQt) {
    QTemporaryDir dir;
    QImage img(5, 3, QImage::Format_RGB32);
    img.fill(qRgb(12, 34, 56));
    const QString path = dir.filePath("a.bmp");
    ASSERT_TRUE(img.save(path, "BMP"));
    const QImage back = LoadBitmap(path);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(5, 3));
    EXPECT_EQ(back.pixel(4, 2) & 0xFFFFFF, qRgb(12, 34, 56) & 0xFFFFFF);
}

TEST(LoadBitmap, MissingOrNonBmpFileGivesNullImage) {
    QTemporaryDir dir;
    EXPECT_TRUE(LoadBitmap(dir.filePath("none.bmp")).isNull());
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    const QString png = dir.filePath("a.bmp");
    ASSERT_TRUE(img.save(png, "PNG"));  // a PNG named .bmp is not a skin picture
    EXPECT_TRUE(LoadBitmap(png).isNull());
}

TEST(LoadBitmap, RefusesSidesAboveTheCapBeforeDecoding) {
    QTemporaryDir dir;
    struct Row { int32_t w, h; bool refused; } rows[] = {
        {8193, 10, true}, {10, 8193, true}, {10, -8193, true}, {100000, 100000, true},
        {0, 10, true}, {-5, 10, true}};
    for (const auto& r : rows) {
        const QString path = dir.filePath("big.bmp");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(HeaderOnlyBmp(r.w, r.h));
        f.close();
        EXPECT_TRUE(LoadBitmap(path).isNull()) << r.w << "x" << r.h;
    }
}

TEST(LoadBitmap, AcceptsTheCapItself) {
    QTemporaryDir dir;
    QImage img(8192, 1, QImage::Format_RGB32);
    img.fill(Qt::blue);
    const QString path = dir.filePath("wide.bmp");
    ASSERT_TRUE(img.save(path, "BMP"));
    EXPECT_EQ(LoadBitmap(path).size(), QSize(8192, 1));
}

TEST(KeyedImage, MakesKeyPixelsTransparentAndKeepsTheRest) {
    QImage img(2, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(255, 0, 255));
    img.setPixel(1, 0, qRgb(1, 2, 3));
    const QImage keyed = KeyedImage(img, MakeColour(255, 0, 255));
    EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
    EXPECT_EQ(keyed.pixel(1, 0), qRgba(1, 2, 3, 255));
}
