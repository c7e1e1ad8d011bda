// The overlays drawn by the processing stage, checked pixel by pixel on pictures of known
// colour: the stamp, the five text styles, the hatch fills, the image overlay and the layers
// being kept between pictures.
#include "StageRun.h"

#include "component/overlays/HatchPatterns.h"
#include "component/overlays/ImageLayer.h"
#include "component/pipeline/ProcessingStage.h"
#include "component/overlays/TextLayer.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

using namespace component;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
constexpr uint32_t Ref(int r, int g, int b) { return uint32_t(r | g << 8 | b << 16); }

QImage Frame(QRgb fill = kBlack, QSize size = {320, 240}) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

QImage Apply(const OverlaySettings& s, QImage frame = Frame(), int64_t timeUs = 0) {
    return RunStage(s, std::move(frame), timeUs);
}

bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// A filled square glyph: its middle is deep inside the fill, its left edge is the outline.
struct Square {
    TextOverlay text;
    QPoint middle;
    QPoint leftEdge;
};

Square SquareText(int16_t style) {
    Square sq;
    TextOverlay& t = sq.text;
    t.text = "\u25A0";
    t.fontName = "DejaVu Sans";
    t.fontSize = 72;
    t.left = 20;
    t.top = 10;
    t.style = style;
    t.colour = Ref(255, 0, 0);
    t.outlineColour = Ref(0, 255, 0);
    t.outlineBackColour = Ref(0, 0, 255);
    const QFont font = OverlayFont(t.fontName, t.fontSize, t.fontStyle);
    QPainterPath path;
    path.addText(QPointF(t.left, t.top + QFontMetricsF(font).ascent()), font, "\u25A0");
    const QRectF r = path.boundingRect();
    sq.middle = r.center().toPoint();
    sq.leftEdge = QPoint(int(r.left()), int(r.center().y()));
    return sq;
}

OverlaySettings WithText(const TextOverlay& text) {
    OverlaySettings s = NoOverlays();
    s.texts[0] = text;
    s.activeOverlay = 0;
    s.images[0].show = false;
    return s;
}

}  // namespace

TEST(OverlayRendering, TextStylesFillAndOutlineWhereExpected) {
    struct Case {
        int16_t style;
        QRgb middle;
        std::optional<QRgb> edge;
    };
    const Case cases[] = {
        {0, qRgb(255, 0, 0), std::nullopt},
        {1, kBlack, qRgb(0, 255, 0)},
        {2, qRgb(0, 0, 255), qRgb(0, 255, 0)},
        {4, qRgb(255, 0, 0), std::nullopt},  // no texture picked: the font colour
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        const Square sq = SquareText(c.style);
        const QImage out = Apply(WithText(sq.text));
        EXPECT_TRUE(Near(out.pixel(sq.middle), AsRecorded(c.middle), 2)) << std::hex << out.pixel(sq.middle);
        if (c.edge) {
            EXPECT_TRUE(Near(out.pixel(sq.leftEdge), *c.edge, 40));
        }
        EXPECT_EQ(out.pixel(5, 230), kBlack);  // nothing outside the text
    }
}

TEST(OverlayRendering, AHatchFillRepeatsEveryEightPixelsInBothColours) {
    Square sq = SquareText(3);
    sq.text.hatchStyle = 4;  // Cross
    sq.text.hatchForeColour = Ref(255, 255, 0);
    sq.text.hatchBackColour = Ref(0, 0, 128);
    // One-pixel lines: checked as drawn, before the recorded planes share each block's colour.
    const QImage out = Blended(Frame(), RenderTextLayer(sq.text, {320, 240}));
    std::set<QRgb> seen;
    for (int dy = -8; dy < 8; ++dy)
        for (int dx = -8; dx < 8; ++dx) {
            const QPoint p = sq.middle + QPoint(dx, dy);
            seen.insert(out.pixel(p));
            EXPECT_EQ(out.pixel(p), out.pixel(p + QPoint(8, 0)));
            EXPECT_EQ(out.pixel(p), out.pixel(p + QPoint(0, 8)));
        }
    EXPECT_EQ(seen, (std::set<QRgb>{qRgb(255, 255, 0), qRgb(0, 0, 128)}));
    // A period of 4 or 2 would also repeat at 8; the cross's lines do not repeat sooner.
    int differsAtFour = 0;
    for (int dy = -8; dy < 8; ++dy)
        for (int dx = -8; dx < 8; ++dx) {
            const QPoint p = sq.middle + QPoint(dx, dy);
            differsAtFour += out.pixel(p) != out.pixel(p + QPoint(4, 0));
        }
    EXPECT_GT(differsAtFour, 0);
}

TEST(OverlayRendering, HatchPatternsAreDistinctTwoColouredAndThePercentagesGrow) {
    const auto& masks = HatchMasks();
    std::set<HatchMask> distinct(masks.begin(), masks.end());
    EXPECT_EQ(distinct.size(), size_t(kHatchStyleCount));
    auto bits = [](const HatchMask& m) {
        int n = 0;
        for (uint8_t row : m) n += __builtin_popcount(row);
        return n;
    };
    for (int i = 0; i < kHatchStyleCount; ++i) {
        EXPECT_GT(bits(masks[size_t(i)]), 0) << i;
        EXPECT_LT(bits(masks[size_t(i)]), 64) << i;
    }
    // 05Percent .. 90Percent are styles 6 to 17.
    for (int i = 7; i <= 17; ++i) EXPECT_GT(bits(masks[size_t(i)]), bits(masks[size_t(i - 1)])) << i;
    EXPECT_EQ(bits(masks[12]), 32);
    const QImage tile = HatchTile(0, Qt::white, Qt::black);  // Horizontal: the top row only
    EXPECT_EQ(tile.pixel(5, 0), qRgb(255, 255, 255));
    EXPECT_EQ(tile.pixel(5, 1), qRgb(0, 0, 0));
}

TEST(OverlayRendering, ATextureFillsWithTheImageTiled) {
    QTemporaryDir dir;
    QImage texture(2, 1, QImage::Format_RGB32);
    texture.setPixel(0, 0, qRgb(10, 20, 30));
    texture.setPixel(1, 0, qRgb(200, 210, 220));
    const QString path = dir.filePath("tex.png");
    ASSERT_TRUE(texture.save(path));
    Square sq = SquareText(4);
    sq.text.texturePath = path.toStdString();
    const QImage out = Blended(Frame(), RenderTextLayer(sq.text, {320, 240}));
    const QRgb a = out.pixel(sq.middle), b = out.pixel(sq.middle + QPoint(1, 0));
    EXPECT_EQ((std::set<QRgb>{a, b}), (std::set<QRgb>{qRgb(10, 20, 30), qRgb(200, 210, 220)}));
    EXPECT_EQ(out.pixel(sq.middle + QPoint(2, 0)), a);
}

TEST(OverlayRendering, TextLinesSplitAtCrLfAndFontStylesChangeTheGlyphs) {
    TextOverlay t;
    t.text = "Ab\r\nAb";
    t.fontName = "DejaVu Sans";
    t.fontSize = 20;
    const OverlayLayer one = RenderTextLayer(TextOverlay{t}, {320, 240});
    t.text = "Ab";
    const OverlayLayer single = RenderTextLayer(t, {320, 240});
    EXPECT_GT(one.image.height(), single.image.height() * 3 / 2);
    std::set<QByteArray> looks;
    for (int16_t style = 0; style < kFontStyleCount; ++style) {
        t.fontStyle = style;
        const OverlayLayer l = RenderTextLayer(t, {320, 240});
        looks.insert(QByteArray(reinterpret_cast<const char*>(l.image.constBits()), int(l.image.sizeInBytes())) +
                     QByteArray::number(l.image.width()) + QByteArray::number(l.image.height()));
    }
    EXPECT_EQ(looks.size(), size_t(kFontStyleCount));
}

TEST(OverlayRendering, OverlaysAreClippedToThePictureWhateverTheValues) {
    TextOverlay t;
    t.fontSize = 32767;
    t.left = -32768;
    t.top = 100;
    OverlayLayer l = RenderTextLayer(t, {320, 240});
    EXPECT_LE(l.image.width(), 320);
    EXPECT_LE(l.image.height(), 240);
    t.left = 32767;
    EXPECT_TRUE(RenderTextLayer(t, {320, 240}).IsEmpty());
    OverlaySettings s = WithText(t);
    s.texts[0].fontSize = 12;
    s.texts[0].left = 300;
    s.texts[0].top = 230;
    s.texts[0].style = 3;
    s.texts[0].hatchStyle = -7;  // no such hatch: the font colour
    EXPECT_NE(Apply(s), Frame());
}

TEST(OverlayRendering, ActiveOverlayMinusOneHidesTextAndImageButNotTheStamp) {
    QTemporaryDir dir;
    const QString png = dir.filePath("img.png");
    QImage pic(30, 30, QImage::Format_RGB32);
    pic.fill(qRgb(250, 250, 250));
    ASSERT_TRUE(pic.save(png));
    OverlaySettings s;  // the defaults: stamp, text and image all shown
    s.images[0].path = png.toStdString();
    s.images[0].left = 200;
    s.images[0].top = 150;
    s.images[0].alpha = 255;
    s.texts[0].top = 100;
    const QImage all = Apply(s);
    EXPECT_EQ(all.pixel(210, 160), qRgb(250, 250, 250));
    s.activeOverlay = -1;
    const QImage hidden = Apply(s);
    EXPECT_EQ(hidden.pixel(210, 160), kBlack);
    OverlaySettings stampOnly = s;
    stampOnly.texts.clear();
    stampOnly.images.clear();
    EXPECT_EQ(hidden, Apply(stampOnly));
    EXPECT_NE(hidden, Frame());  // the stamp is still there
    s.dateTime.show = false;
    EXPECT_EQ(Apply(s), Frame());
}

TEST(OverlayRendering, TheImageOverlayLeavesOutTheKeyColourAndBlendsTheRest) {
    QTemporaryDir dir;
    QImage pic(20, 10, QImage::Format_RGB32);
    pic.fill(qRgb(200, 100, 50));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) pic.setPixel(x, y, qRgb(0, 255, 0));  // the key
    const QRgb ground = qRgb(0, 0, 255);
    // The file picker also offers JPEG and GIF; both are lossy or palette formats, so the
    // exact check uses the lossless ones and only their readers are required.
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    EXPECT_TRUE(readable.contains("jpg") && readable.contains("gif"));
    for (const char* ext : {"bmp", "png"}) {
        SCOPED_TRACE(ext);
        const QString path = dir.filePath(QStringLiteral("pic.") + ext);
        ASSERT_TRUE(pic.save(path));
        struct Case {
            int16_t alpha;
            int expectedAlpha;
        };
        for (const Case c : {Case{128, 128}, Case{255, 255}, Case{300, 255}, Case{0, 0}, Case{-5, 0}}) {
            SCOPED_TRACE(c.alpha);
            OverlaySettings s = NoOverlays();
            s.activeOverlay = 0;
            s.texts[0].show = false;
            s.images[0] = ImageOverlay{.show = true, .left = 30, .top = 40, .path = path.toStdString(),
                                       .transparentColour = Ref(0, 255, 0), .alpha = c.alpha};
            const QImage out = Apply(s, Frame(ground));
            EXPECT_EQ(out.pixel(35, 45), AsRecorded(ground));
            const double a = c.expectedAlpha / 255.0;
            const QRgb blend = qRgb(int(200 * a + 0.5), int(100 * a + 0.5), int(50 * a + 255 * (1 - a) + 0.5));
            EXPECT_TRUE(Near(out.pixel(45, 45), AsRecorded(blend), 2)) << std::hex << out.pixel(45, 45);
            EXPECT_EQ(out.pixel(51, 45), AsRecorded(ground));  // just past the image
        }
    }
}

TEST(OverlayRendering, AMissingUnreadableOrOffPictureImageDrawsNothing) {
    QTemporaryDir dir;
    const QString junk = dir.filePath("junk.bmp");
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM this is not a bitmap");
    }
    for (const std::string& path : {std::string("/nonexistent/image.bmp"), junk.toStdString(), std::string()}) {
        OverlaySettings s = NoOverlays();
        s.activeOverlay = 0;
        s.texts[0].show = false;
        s.images[0].path = path;
        EXPECT_EQ(Apply(s), Frame()) << path;
    }
    QImage pic(20, 20, QImage::Format_RGB32);
    pic.fill(Qt::white);
    const QString png = dir.filePath("p.png");
    ASSERT_TRUE(pic.save(png));
    OverlaySettings s = NoOverlays();
    s.activeOverlay = 0;
    s.texts[0].show = false;
    s.images[0] = ImageOverlay{.show = true, .left = -10, .top = -10, .path = png.toStdString(),
                               .transparentColour = 0, .alpha = 255};
    const QImage partly = Apply(s);
    EXPECT_EQ(partly.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(partly.pixel(9, 9), qRgb(255, 255, 255));
    EXPECT_EQ(partly.pixel(10, 10), kBlack);
    s.images[0].left = 320;
    EXPECT_EQ(Apply(s), Frame());
}

TEST(OverlayRendering, TheStampShowsTheCaptureTimeAndChangesOncePerSecond) {
    ProcessingStage stage;
    OverlaySettings s = NoOverlays();
    s.dateTime = DateTimeOverlay{.show = true, .left = 4, .top = 50, .formatIndex = 4,
                                 .colour = Ref(255, 255, 0), .fontName = "DejaVu Sans", .fontSize = 16};
    stage.SetOverlaySettings(s);
    // Start on a second boundary of the wall clock so the steps below are predictable.
    const int64_t base = (stage.WallTime(0).toMSecsSinceEpoch() / 1000 + 1) * 1000000 -
                         stage.WallTime(0).toMSecsSinceEpoch() * 1000;
    std::vector<QImage> shots;
    YuvImage atOneSecond;
    for (int64_t step : {0, 300000, 999000, 1000000, 1500000, 2000000}) {
        YuvImage f = YuvImage::FromImage(Frame());
        stage.Apply(f, base + step);
        shots.push_back(f.ToImage());
        if (step == 1000000) atOneSecond = f;
    }
    EXPECT_EQ(shots[0], shots[1]);
    EXPECT_EQ(shots[0], shots[2]);
    EXPECT_NE(shots[2], shots[3]);
    EXPECT_EQ(shots[3], shots[4]);
    EXPECT_NE(shots[4], shots[5]);

    // The text is the capture time in the chosen format, drawn in the same font.
    const QString text = stage.WallTime(base + 1000000).toString("hh:mm:ss");
    const YuvImage drawn = YuvImage::FromImage(Blended(Frame(), RenderStampLayer(s.dateTime, text, Frame().size())));
    const YuvImage& shot = atOneSecond;
    int most = 0;  // the luma of the blend on the planes and of the blend in RGB, pixel by pixel
    for (int i = 0; i < drawn.Width() * drawn.Height(); ++i) most = std::max(most, std::abs(drawn.Plane(0)[i] - shot.Plane(0)[i]));
    EXPECT_LE(most, 3);
}

TEST(OverlayRendering, StampDigitsHaveOneWidthSoTheStampDoesNotJitter) {
    DateTimeOverlay s{.show = true, .fontName = "DejaVu Sans", .fontSize = 20};
    const OverlayLayer ones = RenderStampLayer(s, "11:11:11", {320, 240});
    const OverlayLayer eights = RenderStampLayer(s, "88:88:88", {320, 240});
    ASSERT_FALSE(ones.IsEmpty());
    // The layers end where the last glyph's ink ends; the colon's place shows the advance.
    auto firstInkColumnAfter = [](const QImage& img, int from) {
        for (int x = from; x < img.width(); ++x)
            for (int y = 0; y < img.height(); ++y)
                if (qAlpha(img.pixel(x, y)) > 128) return x;
        return -1;
    };
    auto colonColumn = [&](const QImage& img) {
        // The colon is the first column of ink after a fully empty column past the first two digits.
        int x = img.width() / 8;
        for (; x < img.width(); ++x) {
            bool empty = true;
            for (int y = 0; y < img.height(); ++y) empty = empty && qAlpha(img.pixel(x, y)) == 0;
            if (empty) break;
        }
        return firstInkColumnAfter(img, x);
    };
    EXPECT_EQ(ones.image.height(), eights.image.height());
    EXPECT_NEAR(colonColumn(ones.image) + ones.at.x(), colonColumn(eights.image) + eights.at.x(), 1);
}

TEST(OverlayRendering, LayersAreRenderedOnlyWhenWhatTheyShowChanges) {
    ProcessingStage stage;
    OverlaySettings s;
    s.dateTime.formatIndex = 4;
    stage.SetOverlaySettings(s);
    const int64_t start = 5000000;
    QImage f = Frame();
    stage.Apply(f, start);
    const int first = stage.LayerRenders();
    EXPECT_EQ(first, 3);  // stamp, text, image (empty: no file)
    for (int i = 1; i < 10; ++i) {
        QImage g = Frame();
        stage.Apply(g, start + i);  // the same second
    }
    EXPECT_EQ(stage.LayerRenders(), first);
    QImage g = Frame();
    stage.Apply(g, start + 3000000);
    EXPECT_EQ(stage.LayerRenders(), first + 1);  // the stamp alone
    s.texts[0].text = "other";
    stage.SetOverlaySettings(s);
    stage.Apply(g, start + 3000000);
    EXPECT_EQ(stage.LayerRenders(), first + 2);
}

TEST(OverlayRendering, TheDefaultsShowStampAndTextLegiblyOnASmallPicture) {
    const OverlaySettings s;
    EXPECT_TRUE(s.dateTime.show);
    EXPECT_EQ(s.activeOverlay, 0);
    ASSERT_EQ(s.texts.count(0), 1u);
    ASSERT_EQ(s.images.count(0), 1u);
    EXPECT_TRUE(s.texts.at(0).show);
    EXPECT_TRUE(s.images.at(0).show);
    const QSize frame(320, 240);
    const OverlayLayer text = RenderTextLayer(s.texts.at(0), frame);
    const OverlayLayer stamp = RenderStampLayer(s.dateTime, "12/31/2024", frame);
    for (const OverlayLayer* l : {&text, &stamp}) {
        ASSERT_FALSE(l->IsEmpty());
        EXPECT_GE(l->image.height(), 14);  // an 8-point line (11 pixels) and its margin
        EXPECT_LE(l->image.width(), 240);  // fits across the picture
    }
    EXPECT_FALSE(QRect(text.at, text.image.size()).intersects(QRect(stamp.at, stamp.image.size())));
}
