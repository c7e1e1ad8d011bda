// The overlays are placed in pixels of the recorded picture: the processing stage fits each
// captured picture onto a frame of the output size and draws the overlays there, so the same
// values land on the same pixels whatever the capture size, and the starting values (those
// the dialogs show) give legible, separate stamp and text lines.
#include "StageRun.h"

#include "component/media/Canvas.h"
#include "component/pipeline/ProcessingStage.h"
#include "component/overlays/TextLayer.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

using namespace component;

namespace {

constexpr uint32_t Ref(int r, int g, int b) { return uint32_t(r | g << 8 | b << 16); }

QImage Filled(QSize size, QRgb fill) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

QImage Stage(const OverlaySettings& s, QImage frame, QSize output) {
    ProcessingStage stage;
    stage.SetOverlaySettings(s);
    stage.SetOutputSize(output);
    stage.Apply(frame, 0);
    return frame;
}

QRect Box(const OverlayLayer& l) { return QRect(l.at, l.image.size()); }

}  // namespace

TEST(OverlayCanvas, PicturesOfAnotherShapeAreFittedCentredOnBlack) {
    struct Row {
        QSize picture, canvas;
        QRect fit;
    } rows[] = {
        {{640, 480}, {320, 240}, {0, 0, 320, 240}},
        {{320, 240}, {640, 480}, {0, 0, 640, 480}},
        {{240, 320}, {320, 240}, {70, 0, 180, 240}},  // a quarter turn: bars left and right
        {{1280, 720}, {320, 240}, {0, 30, 320, 180}},
        {{321, 241}, {320, 240}, {0, 0, 320, 240}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.picture.width() << "x" << row.picture.height());
        EXPECT_EQ(FitInside(row.picture, row.canvas), row.fit);
        const QImage out = FitOnCanvas(YuvImage::FromImage(Filled(row.picture, qRgb(200, 40, 40))), row.canvas).ToImage();
        ASSERT_EQ(out.size(), row.canvas);
        const QRgb middle = out.pixel(row.fit.center());  // the scaler may round by a step or two
        EXPECT_LE(std::max({std::abs(qRed(middle) - 200), std::abs(qGreen(middle) - 40),
                            std::abs(qBlue(middle) - 40)}),
                  2);
        if (row.fit.left() > 0) {
            EXPECT_EQ(out.pixel(row.fit.left() / 2, row.fit.center().y()), qRgb(0, 0, 0));
        }
        if (row.fit.top() > 0) {
            EXPECT_EQ(out.pixel(row.fit.center().x(), row.fit.top() / 2), qRgb(0, 0, 0));
        }
    }
}

TEST(OverlayCanvas, TheSameValuesLandOnTheSamePixelsWhateverTheCaptureAndOutputSize) {
    OverlaySettings s;  // the starting values: the stamp shows the date, which holds still
    const QRect corner(0, 0, 200, 56);  // where the starting overlays lie
    struct Row {
        QSize capture, output;
    } rows[] = {{{320, 240}, {320, 240}}, {{640, 480}, {320, 240}}, {{1280, 720}, {320, 240}},
                {{320, 240}, {640, 480}}, {{640, 480}, {640, 480}}};
    QImage reference;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.capture.width() << " -> " << row.output.width());
        const QImage out = Stage(s, Filled(row.capture, qRgb(0, 0, 0)), row.output);
        ASSERT_EQ(out.size(), row.output);
        const QImage part = out.copy(corner);
        if (reference.isNull())
            reference = part;
        else
            EXPECT_EQ(part, reference);
    }
    // Something was drawn there, and nothing outside the corner.
    EXPECT_NE(reference, Filled(corner.size(), qRgb(0, 0, 0)));
    const QImage whole = Stage(s, Filled({640, 480}, qRgb(0, 0, 0)), {640, 480});
    QImage cleared = whole;
    QPainter(&cleared).fillRect(corner, Qt::black);
    EXPECT_EQ(cleared, Filled({640, 480}, qRgb(0, 0, 0)));
}

TEST(OverlayCanvas, TheStartingStampAndTextLinesAreSeparateAtTheDialogsSize) {
    const OverlaySettings s;
    EXPECT_EQ(s.dateTime.fontSize, 8);  // the first entry of the dialogs' size lists
    EXPECT_EQ(s.texts.at(0).fontSize, 8);
    const QString stampText = QStringLiteral("12/31/2024");
    TextOverlay first = s.texts.at(0), second = s.texts.at(0);
    const QStringList lines = QString::fromStdString(first.text).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 2);
    first.text = lines[0].toStdString();
    second.text = ("\r\n" + lines[1]).toStdString();  // the second line alone, in its place
    for (const QSize frame : {QSize(320, 240), QSize(640, 480)}) {
        SCOPED_TRACE(frame.width());
        const QRect boxes[] = {Box(RenderStampLayer(s.dateTime, stampText, frame)),
                               Box(RenderTextLayer(first, frame)),
                               Box(RenderTextLayer(second, frame))};
        for (int i = 0; i < 3; ++i) {
            EXPECT_FALSE(boxes[i].isEmpty());
            EXPECT_TRUE(QRect(QPoint(0, 0), frame).contains(boxes[i]));
            // 8 points are 11 pixels: a line's box is a little taller, never a double line.
            EXPECT_GE(boxes[i].height(), 11);
            EXPECT_LE(boxes[i].height(), 18);
            for (int j = i + 1; j < 3; ++j) EXPECT_FALSE(boxes[i].intersects(boxes[j])) << i << j;
        }
    }
}

TEST(OverlayCanvas, TheStampKeepsItsColourAndStaysReadableOnAnyPicture) {
    struct Row {
        const char* what;
        uint32_t colour;
        QRgb picture;
        int16_t size;
    } rows[] = {
        {"white on white", Ref(255, 255, 255), qRgb(255, 255, 255), 8},
        {"white on light grey", Ref(255, 255, 255), qRgb(200, 200, 200), 8},
        {"white on light grey, larger", Ref(255, 255, 255), qRgb(200, 200, 200), 16},
        {"yellow on white", Ref(255, 255, 0), qRgb(255, 255, 255), 8},
        {"yellow on white, larger", Ref(255, 255, 0), qRgb(255, 255, 255), 16},
        {"black on black", Ref(0, 0, 0), qRgb(0, 0, 0), 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        OverlaySettings s = NoOverlays();
        s.dateTime.show = true;
        s.dateTime.colour = row.colour;
        s.dateTime.fontSize = row.size;
        const QImage plain = Filled({320, 240}, row.picture);
        // Strokes a pixel wide: checked as drawn, before the planes share each block's colour.
        const OverlayLayer stamp = RenderStampLayer(s.dateTime, QStringLiteral("12/31/2024"), {320, 240});
        const QImage out = Blended(plain, stamp);
        const QRect box = Box(stamp);
        const QColor colour(int(row.colour & 0xFF), int(row.colour >> 8 & 0xFF), int(row.colour >> 16 & 0xFF));
        int contrasting = 0, userColour = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const QRgb p = out.pixel(x, y);
                if (std::abs(qGray(p) - qGray(row.picture)) >= 128) ++contrasting;
                if (std::max({std::abs(qRed(p) - colour.red()), std::abs(qGreen(p) - colour.green()),
                              std::abs(qBlue(p) - colour.blue())}) <= 40)
                    ++userColour;
            }
        // The edge stands out from the picture around every glyph; the glyphs keep the
        // colour (at 8 points their strokes are about a pixel wide).
        EXPECT_GE(contrasting, box.width() * 2) << contrasting;
        EXPECT_GE(userColour, box.width() / 2) << userColour;
    }
}
