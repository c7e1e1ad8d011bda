#include <gtest/gtest.h>

#include <QFontDatabase>

#include "ControlsFixture.h"
#include "controls/CLabel.h"
#include "controls/SkinEditBox.h"

namespace {

const QColor kBack(0, 0, 160);

class LabelTest : public ::testing::Test {
protected:
    FakeSkinHost host;
    void SetUp() override { ASSERT_TRUE(host.ShowAndActivate()); }

    CLabel* Make(const QRect& rect, const QString& text) {
        auto* label = new CLabel(&host, &host, rect);
        label->SetText(text);
        label->SetFontName("DejaVu Sans");
        label->SetFontSize(10);
        label->SetTextColor(0x00FFFF);  // yellow
        label->update();
        return label;
    }
    int CountColour(const QImage& img, QRect area, QRgb colour) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) == colour;
        return n;
    }
};

TEST_F(LabelTest, NewTextIsDrawnOverTheSavedBackground) {
    const QRect r(10, 10, 120, 30);
    CLabel* label = Make(r, "WWWW");
    EXPECT_GT(CountColour(Shot(host), r, qRgb(255, 255, 0) & 0xFFFFFF), 0);
    // The window changes its picture; the label keeps the copy it took at its first paint.
    host.background = SolidImage(200, 150, Qt::darkGreen);
    label->SetText("");
    label->update();
    const QImage shot = Shot(host);
    EXPECT_EQ(CountColour(shot, r, Rgb(kBack)), r.width() * r.height());
    EXPECT_EQ(shot.pixel(5, 5) & 0xFFFFFF, Rgb(Qt::darkGreen));
}

TEST_F(LabelTest, LongTextIsCutAtTheRightEdgeNotWrapped) {
    const QRect r(10, 10, 60, 60);
    Make(r, "WWWWWWWW WWWWWWWW WWWWWWWW WWWWWWWW");
    const QImage shot = Shot(host);
    const QRgb yellow = qRgb(255, 255, 0) & 0xFFFFFF;
    const int lineHeight = QFontMetrics(QFont("DejaVu Sans", 10)).height();
    EXPECT_GT(CountColour(shot, QRect(r.right() - 5, r.top(), 6, lineHeight), yellow), 0);
    EXPECT_EQ(CountColour(shot, QRect(r.left(), r.top() + lineHeight, r.width(), r.height() - lineHeight),
                          yellow), 0);
}

TEST_F(LabelTest, ExplicitLineBreaksStartNewLines) {
    const QRect r(10, 10, 60, 60);
    Make(r, "W\nW");
    const int lineHeight = QFontMetrics(QFont("DejaVu Sans", 10)).height();
    EXPECT_GT(CountColour(Shot(host), QRect(r.left(), r.top() + lineHeight, 20, lineHeight),
                          qRgb(255, 255, 0) & 0xFFFFFF), 0);
}

TEST_F(LabelTest, ANewLabelDrawsInTheSystemFontInWhite) {
    CLabel label(&host, &host, QRect(10, 10, 50, 20));
    EXPECT_EQ(label.TextColour(), 0xFFFFFFu);
    EXPECT_EQ(label.Font().family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    label.SetBold(true);
    label.SetItalic(true);
    label.SetUnderline(true);
    EXPECT_EQ(label.Font().weight(), QFont::Bold);
    EXPECT_TRUE(label.Font().italic() && label.Font().underline());
}

TEST_F(LabelTest, ClicksFallThroughToTheWindow) {
    CLabel* label = Make(QRect(10, 10, 50, 20), "x");
    EXPECT_EQ(host.childAt(label->geometry().center()), nullptr);
}

class EditBoxTest : public LabelTest {};

TEST_F(EditBoxTest, DrawsBackgroundAndFrameInTheSkinColours) {
    SkinEditBox edit(&host, QRect(20, 20, 100, 24));
    edit.SetBackColor(0x00FF00);
    edit.SetFrameColor(0x0000FF);
    const QImage shot = Shot(host);
    for (QPoint p : {QPoint(20, 20), QPoint(119, 43), QPoint(20, 43), QPoint(119, 20)})
        EXPECT_EQ(shot.pixel(p) & 0xFFFFFF, Rgb(Qt::red)) << p.x() << "," << p.y();
    EXPECT_EQ(shot.pixel(70, 22) & 0xFFFFFF, Rgb(Qt::green));
}

TEST_F(EditBoxTest, DefaultsDifferForTheComboEdit) {
    SkinEditBox edit(&host, QRect(20, 20, 100, 24));
    SkinComboEdit combo(&host, QRect(20, 60, 100, 24));
    EXPECT_EQ(edit.BackColour(), 0xE7E498u);
    EXPECT_EQ(edit.TextColour(), 0u);
    EXPECT_EQ(edit.FrameColour(), 0xFFFFFFu);
    EXPECT_EQ(combo.BackColour(), 0u);
    EXPECT_EQ(combo.FrameColour(), 0u);
}

TEST_F(EditBoxTest, DisabledBoxTakesNoInputAndGreysItsText) {
    SkinEditBox edit(&host, QRect(20, 20, 100, 24));
    edit.SetTextColor(0x000000);
    edit.setText("FLV");
    edit.setEnabled(false);
    QTest::keyClicks(&edit, "abc");
    EXPECT_EQ(edit.text(), "FLV");
    EXPECT_NE(edit.palette().color(QPalette::Disabled, QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(edit.palette().color(QPalette::Disabled, QPalette::Base), QColor(0x98, 0xE4, 0xE7));
    edit.setEnabled(true);
    edit.setFocus();
    QTest::keyClicks(&edit, "x");
    EXPECT_EQ(edit.text(), "FLVx");
}

}  // namespace
