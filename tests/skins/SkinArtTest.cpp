// The skin generator's parts: the Skin.ini text it writes, the colour keying of its pictures,
// the four button states, and the packing.
#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/CIniFile.h"
#include "skin/SkinEntry.h"
#include "skin/zip/CZipReader.h"
#include "skins/ButtonPainter.h"
#include "skins/KeyedArt.h"
#include "skins/ThemeBuilder.h"
#include "skins/SkinIniWriter.h"
#include "skins/SkinModel.h"
#include "skins/SkinPacker.h"
#include "skins/SkinTheme.h"

namespace {

SkinModel SmallModel() {
    SkinModel m;
    m.title = "Test";
    m.background = "bg.bmp";
    m.key = kKeyColour;
    m.control = QRect(10, 20, 640, 480);
    m.icon = "icon.bmp";
    m.iconRect = QRect(1, 2, 32, 32);
    m.caption = {"CAPTION", QRect(40, 2, 200, 30), "Capture Station", "DejaVu Sans", 15,
                 QColor(0x12, 0x34, 0x56)};
    m.buttons = {{"BUTTON_PLAY", "art/play.bmp", QRect(5, 6, 50, 40), "Preview", false},
                 {"BUTTON_STOP", "art/stop.bmp", QRect(60, 6, 50, 40), "Stop", true}};
    m.sliders = {{"SLIDER_PROGRESS", "ch.bmp", "th.bmp", "tha.bmp", QRect(0, 600, 300, 20), false,
                  7, "Progress"}};
    m.labels = {{"LABEL_TIME", QRect(310, 600, 140, 24), "00:00:00/02:00:00", "DejaVu Sans Mono", 10,
                 QColor(0xFF, 0xD7, 0x6A)}};
    m.edits = {{"EDIT_FILEPATH", QRect(0, 630, 400, 24), QColor(0, 0, 0), QColor(255, 255, 255),
                QColor(0x80, 0x80, 0x80), false}};
    m.combos = {{"COMBO_FORMAT", QRect(700, 100, 180, 90), "combo.bmp", QColor(1, 2, 3),
                 QColor(4, 5, 6), QColor(7, 8, 9), QColor(10, 11, 12), QColor(13, 14, 15),
                 QColor(16, 17, 18), QColor(19, 20, 21),
                 {"t.bmp", "u.bmp", "up.bmp", "d.bmp", "dp.bmp", "h.bmp", "hp.bmp"}}};
    return m;
}

std::vector<std::string> Fields(const std::string& value) {
    std::vector<std::string> out;
    SkinEntry e(value);
    const size_t count = std::count(value.begin(), value.end(), ',') + 1;
    for (size_t i = 0; i < count; ++i) out.push_back(e.NextField());
    return out;
}

TEST(SkinIniWriter, RectanglesEndOnePastTheLastPixelAndColoursReadBack) {
    const CIniFile ini = CIniFile::FromText(SkinIniWriter::Write(SmallModel()));
    EXPECT_EQ(ini.ReadString("Screen", "Main", ""), "bg.bmp");
    EXPECT_EQ(SkinEntry::ParseColor(ini.ReadString("TRANSPARENT", "COLOR", "")), 0xFF00FFu);
    EXPECT_EQ(ini.ReadString("CONTROL", "CONTROL", ""), "10,20,650,500");
    EXPECT_EQ(ini.ReadString("ICON", "ICON", ""), "icon.bmp,1,2,33,34");

    const auto caption = Fields(ini.ReadString("CAPTION", "CAPTION", ""));
    ASSERT_EQ(caption.size(), 9u);
    EXPECT_EQ(caption[5], "Capture Station");
    EXPECT_EQ(caption[8], "0x123456");
    EXPECT_EQ(SkinEntry::ParseColor(caption[8]), 0x563412u);  // red lands in the low byte
}

TEST(SkinIniWriter, NumberedSectionsListEveryFieldInOrder) {
    const CIniFile ini = CIniFile::FromText(SkinIniWriter::Write(SmallModel()));
    struct Row {
        const char* section;
        const char* key;
        const char* value;
    } rows[] = {
        {"BUTTONINFO", "1", "BUTTON_PLAY,art/play.bmp,5,6,55,46,Preview,FALSE"},
        {"BUTTONINFO", "2", "BUTTON_STOP,art/stop.bmp,60,6,110,46,Stop,TRUE"},
        {"SLIDERINFO", "1", "SLIDER_PROGRESS,ch.bmp,th.bmp,tha.bmp,0,600,300,620,HORIZONTAL,7,Progress"},
        {"LABELINFO", "1", "LABEL_TIME,310,600,450,624,00:00:00/02:00:00,DejaVu Sans Mono,10,0xFFD76A"},
        {"EDITBOXINFO", "1", "EDIT_FILEPATH,0,630,400,654,0x000000,0xFFFFFF,0x808080,FALSE"},
        {"COMBOBOXINFO", "1",
         "COMBO_FORMAT,700,100,880,190,combo.bmp,0x010203,0x040506,0x070809,0x0A0B0C,0x0D0E0F,"
         "0x101112,0x131415,t.bmp,u.bmp,up.bmp,d.bmp,dp.bmp,h.bmp,hp.bmp"},
    };
    for (const Row& r : rows) EXPECT_EQ(ini.ReadString(r.section, r.key, ""), r.value) << r.section;

    std::vector<std::string> keys;
    EXPECT_TRUE(ini.ReadSectionKeys("BUTTONINFO", keys));
    EXPECT_EQ(keys, (std::vector<std::string>{"1", "2"}));
    // Kinds the skin does not use are left out rather than written empty.
    EXPECT_FALSE(ini.ReadSectionKeys("LISTBOXINFO", keys));
    EXPECT_FALSE(ini.ReadSectionKeys("OPTIONINFO", keys));
}

TEST(SkinIniWriter, RefusesEntriesTheReaderWouldMisread) {
    SkinModel comma = SmallModel();
    comma.buttons[0].tip = "Record, then stop";
    EXPECT_THROW(SkinIniWriter::Write(comma), std::runtime_error);

    SkinModel longEntry = SmallModel();
    longEntry.buttons[0].name = std::string(SkinEntry::kMaxLength, 'B');
    EXPECT_THROW(SkinIniWriter::Write(longEntry), std::runtime_error);

    SkinModel fits = SmallModel();
    const std::string rest = ",art/play.bmp,5,6,55,46,Preview,FALSE";
    fits.buttons[0].name = std::string(SkinEntry::kMaxLength - rest.size(), 'B');
    EXPECT_NO_THROW(SkinIniWriter::Write(fits));
}

QImage Pixel(QRgb argbPremultiplied) {
    QImage img(1, 1, QImage::Format_ARGB32_Premultiplied);
    img.setPixel(0, 0, argbPremultiplied);
    return img;
}
QImage Opaque(QRgb rgb) {
    QImage img(1, 1, QImage::Format_RGB32);
    img.setPixel(0, 0, rgb | 0xFF000000u);
    return img;
}

TEST(KeyedArt, FlattenKeysUntouchedPixelsAndBlendsEdgesWithTheBackground) {
    const QRgb nudged = KeyedArt::AvoidKey(kKeyColour);
    struct Row {
        const char* what;
        QRgb art;    // premultiplied
        QRgb under;
        QRgb out;
    } rows[] = {
        {"untouched", 0x00000000, 0xFF204060, kKeyColour},
        {"opaque", 0xFFFF0000, 0xFF0000FF, 0xFFFF0000},
        {"half white over black", 0x80808080, 0xFF000000, 0xFF808080},
        {"half black over white", 0x80000000, 0xFFFFFFFF, 0xFF7F7F7F},
        {"drawn in the key colour", 0xFFFF00FF, 0xFF000000, nudged},
        {"soft edge outside the window", 0x80808080, kKeyColour, 0xFFFFFFFF},
        {"faint edge outside the window", 0x40404040, kKeyColour, kKeyColour},
    };
    for (const Row& r : rows)
        EXPECT_EQ(KeyedArt::FlattenOnto(Pixel(r.art), Opaque(r.under)).pixel(0, 0), r.out) << r.what;
    EXPECT_NE(nudged, kKeyColour);
}

TEST(KeyedArt, SnapCutsPixelsLessThanHalfCovered) {
    EXPECT_EQ(KeyedArt::SnapToKey(Pixel(0x7F7F0000)).pixel(0, 0), kKeyColour);
    EXPECT_EQ(KeyedArt::SnapToKey(Pixel(0x80800000)).pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(KeyedArt::SnapToKey(Pixel(0xFFFF00FF)).pixel(0, 0), KeyedArt::AvoidKey(kKeyColour));
}

struct CellStats {
    double lightness = 0, saturation = 0;
};
CellStats Stats(const QImage& strip, int cell) {
    const int w = strip.width() / 4;
    CellStats s;
    int n = 0;
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = cell * w; x < (cell + 1) * w; ++x) {
            const QRgb c = strip.pixel(x, y);
            if (c == kKeyColour) continue;
            const QColor q = QColor::fromRgb(c);
            s.lightness += q.lightnessF();
            s.saturation += q.hslSaturationF();
            ++n;
        }
    }
    if (n) {
        s.lightness /= n;
        s.saturation /= n;
    }
    return s;
}

// In every theme the four states must read apart: hover lighter, pressed darker, disabled grey.
TEST(ButtonPainter, CommandStatesAreDistinctInEveryTheme) {
    for (const SkinTheme& t : ShippedThemes()) {
        QImage under(48, 48, QImage::Format_RGB32);
        under.fill(t.panel);
        const QImage strip = ButtonPainter::CommandStrip(t, t.transportFace, Glyph::Play, false, under);
        ASSERT_EQ(strip.size(), QSize(4 * 48, 48)) << t.title;
        const CellStats normal = Stats(strip, 0), hover = Stats(strip, 1), pressed = Stats(strip, 2),
                        disabled = Stats(strip, 3);
        EXPECT_GT(hover.lightness, normal.lightness + 0.02) << t.title;
        EXPECT_LT(pressed.lightness, normal.lightness - 0.02) << t.title;
        EXPECT_LT(disabled.saturation, normal.saturation * 0.7 + 0.001) << t.title;
        for (int cell = 0; cell < 4; ++cell) {
            // The face's surroundings are cut out; its middle is not.
            EXPECT_EQ(strip.pixel(cell * 48, 0), kKeyColour) << t.title << " cell " << cell;
            EXPECT_NE(strip.pixel(cell * 48 + 24, 24), kKeyColour) << t.title << " cell " << cell;
        }
    }
}

TEST(ButtonPainter, CheckedBoxDiffersAndTheDropDownButtonIsOpaque) {
    const SkinTheme& t = ShippedThemes().back();
    QImage under(120, 22, QImage::Format_RGB32);
    under.fill(t.panel);
    for (bool round : {false, true}) {
        const QImage strip = ButtonPainter::ToggleStrip(t, round, QStringLiteral("Label"), under);
        ASSERT_EQ(strip.size(), QSize(480, 22));
        EXPECT_NE(strip.copy(0, 0, 120, 22), strip.copy(240, 0, 120, 22)) << round;
    }
    const QImage drop = ButtonPainter::DropDownStrip(t, QSize(22, 22));
    ASSERT_EQ(drop.size(), QSize(88, 22));
    for (int y = 0; y < drop.height(); ++y)
        for (int x = 0; x < drop.width(); ++x) ASSERT_NE(drop.pixel(x, y), kKeyColour) << x << "," << y;
}

TEST(SkinPacker, SameSkinSameBytesAndThePicturesReadBackUnchanged) {
    const SkinTheme* withFolder = nullptr;
    for (const SkinTheme& t : ShippedThemes())
        if (*t.imageFolder) withFolder = &t;
    ASSERT_NE(withFolder, nullptr);
    const SkinModel model = ThemeBuilder::Build(*withFolder);
    const std::string bytes = SkinPacker::Pack(model);
    EXPECT_EQ(bytes, SkinPacker::Pack(ThemeBuilder::Build(*withFolder)));

    CZipReader zip;
    zip.OpenArchiveFromMemory(bytes);
    ASSERT_EQ(zip.EntryCount(), int(model.pictures.size()) + 2);  // Skin.ini and the folder
    EXPECT_EQ(zip.EntryHeader(0)->name, "Skin.ini");
    EXPECT_TRUE(zip.EntryHeader(1)->IsDirectory());

    QTemporaryDir dir;
    for (int i = 0; i < zip.EntryCount(); ++i)
        ASSERT_TRUE(zip.ExtractEntry(uint16_t(i), dir.path().toStdString())) << i;
    for (const SkinPicture& p : model.pictures) {
        const QImage back(dir.filePath(QString::fromStdString(p.path)));
        ASSERT_FALSE(back.isNull()) << p.path;
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), p.image.convertToFormat(QImage::Format_RGB32))
            << p.path;
    }
}

}  // namespace
