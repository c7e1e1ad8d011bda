// The packages the build ships: each is read back the way the program reads a skin and held
// to what makes it usable: complete, decodable, shaped, and laid out without collisions.
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "RowName.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Colour.h"
#include "skin/CIniFile.h"
#include "skin/SkinEntry.h"
#include "skin/zip/CZipReader.h"

namespace {

const char* const kPackages[] = {"Blue.skn", "Orange.zip", "Black.zip", "Purple.zip", "Blue.zip",
                                 "Red.zip",  "Gray.zip",   "Pink.zip",  "Deluxe.zip"};

const char* const kCommandButtons[] = {
    "BUTTON_PLAY",     "BUTTON_PAUSE",       "BUTTON_STOP",        "BUTTON_CONVERT",
    "BUTTON_MINIMIZE", "BUTTON_CLOSE",       "BUTTON_VIDEODEVICE", "BUTTON_AUDIODEVICE",
    "BUTTON_DATATIME", "BUTTON_OVERLAYTEXT", "BUTTON_OVERLAYIMAGE", "BUTTON_WMVPROFILE"};

// Fields per entry; where the rectangle starts; which fields name pictures and which of
// those are four-cell strips (all 1-based).
struct SectionFormat {
    const char* name;
    int fields;
    int rect;
    std::vector<int> pictures;
    std::vector<int> strips;
};
const SectionFormat kSections[] = {
    {"BUTTONINFO", 8, 3, {2}, {2}},
    {"SLIDERINFO", 11, 5, {2, 3, 4}, {}},
    {"OPTIONINFO", 9, 3, {2}, {2}},
    {"CHECKINFO", 9, 3, {2}, {2}},
    {"LABELINFO", 9, 2, {}, {}},
    {"EDITBOXINFO", 9, 2, {}, {}},
    {"LISTBOXINFO", 16, 2, {10, 11, 12, 13, 14, 15, 16}, {}},
    {"COMBOBOXINFO", 20, 2, {6, 14, 15, 16, 17, 18, 19, 20}, {6}},
};

bool Overlap(const SkinRect& a, const SkinRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
bool Inside(const SkinRect& inner, const SkinRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
std::string Describe(const SkinRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Splits an entry into its fields the way a reader does, without the repeat of the last one.
std::vector<std::string> Fields(const std::string& value) {
    std::vector<std::string> out;
    SkinEntry e(value);
    const size_t count = std::count(value.begin(), value.end(), ',') + 1;
    for (size_t i = 0; i < count; ++i) out.push_back(e.NextField());
    return out;
}

// One package extracted into a temporary folder, with its Skin.ini open.
class Package {
public:
    explicit Package(const std::string& file) : m_ini(Extract(file)) {}

    const QTemporaryDir& Folder() const { return m_dir; }
    const CIniFile& Ini() const { return m_ini; }
    int Entries() const { return m_entries; }

    // The values of a numbered section, keys 1..N.
    std::vector<std::string> Values(const std::string& section) const {
        std::vector<std::string> keys, values;
        m_ini.ReadSectionKeys(section, keys);
        for (size_t k = 1; k <= keys.size(); ++k) {
            const std::string v = m_ini.ReadString(section, std::to_string(k), "");
            if (!v.empty()) values.push_back(v);
        }
        return values;
    }

    QImage Picture(const std::string& relative) const {
        return platform::LoadBitmap(m_dir.filePath(QString::fromStdString(relative)));
    }

    QRgb Key() const {
        return platform::ToRgbPixel(SkinEntry::ParseColor(m_ini.ReadString("TRANSPARENT", "COLOR", "")));
    }

    // Every control with its name and the area it may cover. A combo box covers its open
    // list, at least 50 pixels high, and its button stands out one pixel above and below.
    std::vector<std::pair<std::string, SkinRect>> Controls() const {
        std::vector<std::pair<std::string, SkinRect>> out;
        for (const SectionFormat& s : kSections) {
            for (const std::string& v : Values(s.name)) {
                const auto f = Fields(v);
                const size_t at = size_t(s.rect - 1);
                SkinRect r{SkinEntry::ParseInt(f[at]), SkinEntry::ParseInt(f[at + 1]),
                           SkinEntry::ParseInt(f[at + 2]), SkinEntry::ParseInt(f[at + 3])};
                if (std::string(s.name) == "COMBOBOXINFO") {
                    const int h = Picture(f[5]).height();
                    r.top -= 1;
                    r.bottom = std::max(r.bottom, r.top + 1 + h + 52);
                }
                out.emplace_back(f[0], r);
            }
        }
        const auto caption = Fields(m_ini.ReadString("CAPTION", "CAPTION", ""));
        if (caption.size() >= 5)
            out.emplace_back("CAPTION", SkinRect{SkinEntry::ParseInt(caption[1]), SkinEntry::ParseInt(caption[2]),
                                                 SkinEntry::ParseInt(caption[3]), SkinEntry::ParseInt(caption[4])});
        return out;
    }

private:
    CIniFile Extract(const std::string& file) {
        CZipReader zip;
        zip.OpenArchive(std::string(CS_SKINS_DIR) + "/" + file);
        m_entries = zip.EntryCount();
        for (int i = 0; i < m_entries; ++i)
            EXPECT_TRUE(zip.ExtractEntry(uint16_t(i), m_dir.path().toStdString(), true)) << i;
        zip.CloseArchive();
        return CIniFile(m_dir.filePath(QStringLiteral("Skin.ini")).toStdString());
    }

    QTemporaryDir m_dir;
    int m_entries = 0;
    CIniFile m_ini;
};

class ShippedSkin : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { m_package = std::make_unique<Package>(GetParam()); }
    const Package& P() const { return *m_package; }
    std::unique_ptr<Package> m_package;
};

TEST_P(ShippedSkin, EntriesHaveExactlyTheirFieldsAndFitTheEntrySize) {
    ASSERT_GT(P().Entries(), 1);
    ASSERT_TRUE(QFile::exists(P().Folder().filePath(QStringLiteral("Skin.ini"))));
    for (const SectionFormat& s : kSections) {
        for (const std::string& v : P().Values(s.name)) {
            EXPECT_LE(v.size(), SkinEntry::kMaxLength) << v;
            EXPECT_EQ(Fields(v).size(), size_t(s.fields)) << s.name << ": " << v;
        }
    }
    EXPECT_EQ(Fields(P().Ini().ReadString("CAPTION", "CAPTION", "")).size(), 9u);
    EXPECT_EQ(Fields(P().Ini().ReadString("ICON", "ICON", "")).size(), 5u);
    EXPECT_EQ(Fields(P().Ini().ReadString("CONTROL", "CONTROL", "")).size(), 4u);
}

TEST_P(ShippedSkin, EveryNamedPictureDecodesAndStripsSplitIntoFourCells) {
    std::vector<std::string> pictures = {P().Ini().ReadString("Screen", "Main", ""),
                                         Fields(P().Ini().ReadString("ICON", "ICON", "")).front()};
    for (const SectionFormat& s : kSections) {
        for (const std::string& v : P().Values(s.name)) {
            const auto fields = Fields(v);
            for (int f : s.pictures) pictures.push_back(fields[size_t(f - 1)]);
            for (int f : s.strips) {
                const QImage strip = P().Picture(fields[size_t(f - 1)]);
                EXPECT_EQ(strip.width() % 4, 0) << fields[size_t(f - 1)];
            }
        }
    }
    for (const std::string& file : pictures) {
        EXPECT_FALSE(P().Picture(file).isNull()) << file;
        QFile f(P().Folder().filePath(QString::fromStdString(file)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file;
        const QByteArray head = f.read(30);
        ASSERT_EQ(head.size(), 30);
        EXPECT_EQ(int(uchar(head[28])), 24) << file << " is not a 24-bit bitmap";
    }
}

TEST_P(ShippedSkin, OffersEveryCommandWithATip) {
    std::map<std::string, std::vector<std::string>> buttons;
    for (const std::string& v : P().Values("BUTTONINFO")) buttons[Fields(v).front()] = Fields(v);
    for (const char* name : kCommandButtons) {
        ASSERT_TRUE(buttons.count(name)) << name;
        const auto& f = buttons[name];
        EXPECT_FALSE(f[6].empty()) << name;
        EXPECT_FALSE(SkinEntry::IsFlagSet(f[7])) << name << " must not be a toggle";
    }
}

TEST_P(ShippedSkin, HasProgressTimeFilePathAndFormatControls) {
    auto has = [&](const char* section, const std::string& name) {
        for (const std::string& v : P().Values(section))
            if (Fields(v).front() == name) return true;
        return false;
    };
    EXPECT_TRUE(has("SLIDERINFO", "SLIDER_PROGRESS"));
    EXPECT_TRUE(has("LABELINFO", "LABEL_TIME"));
    EXPECT_FALSE(P().Values("EDITBOXINFO").empty());
    EXPECT_FALSE(P().Values("COMBOBOXINFO").empty());
}

TEST_P(ShippedSkin, WindowIsShapedAndTheVideoAreaFitsInside) {
    const QImage bg = P().Picture(P().Ini().ReadString("Screen", "Main", ""));
    ASSERT_FALSE(bg.isNull());
    const QRgb key = P().Key();
    const int w = bg.width(), h = bg.height();
    for (const QPoint& corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
        EXPECT_EQ(bg.pixel(corner), key) << corner.x() << "," << corner.y();

    SkinEntry control(P().Ini().ReadString("CONTROL", "CONTROL", ""));
    const SkinRect video = control.ParseRect();
    EXPECT_GE(video.width(), 640);
    EXPECT_GE(video.height(), 480);
    EXPECT_EQ(video.width() * 3, video.height() * 4) << "not 4:3";
    ASSERT_TRUE(Inside(video, {0, 0, w, h})) << Describe(video);
    for (int y = video.top; y < video.bottom; y += 4)
        for (int x = video.left; x < video.right; x += 4)
            ASSERT_NE(bg.pixel(x, y), key) << "the video area is cut out at " << x << "," << y;
}

TEST_P(ShippedSkin, IconIsKeyedAndCoversItsRectangle) {
    const auto fields = Fields(P().Ini().ReadString("ICON", "ICON", ""));
    const QImage icon = P().Picture(fields[0]);
    SkinEntry e(P().Ini().ReadString("ICON", "ICON", ""));
    e.NextField();
    const SkinRect r = e.ParseRect();
    ASSERT_FALSE(icon.isNull());
    EXPECT_GE(icon.width(), r.width());
    EXPECT_GE(icon.height(), r.height());
    EXPECT_EQ(icon.pixel(0, 0), P().Key());
}

TEST_P(ShippedSkin, ControlsStayOnTheWindowApartAndOffTheVideo) {
    const QImage bg = P().Picture(P().Ini().ReadString("Screen", "Main", ""));
    ASSERT_FALSE(bg.isNull());
    const SkinRect window{0, 0, bg.width(), bg.height()};
    SkinEntry control(P().Ini().ReadString("CONTROL", "CONTROL", ""));
    const SkinRect video = control.ParseRect();
    const auto controls = P().Controls();
    ASSERT_FALSE(controls.empty());
    for (size_t i = 0; i < controls.size(); ++i) {
        const auto& [name, r] = controls[i];
        ASSERT_TRUE(Inside(r, window)) << name << " " << Describe(r);
        EXPECT_FALSE(Overlap(r, video)) << name << " covers the video";
        const QPoint centre((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        EXPECT_NE(bg.pixel(centre), P().Key()) << name << " sits outside the window's shape";
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const auto& [other, s] = controls[j];
            const bool playPause = (name == "BUTTON_PLAY" && other == "BUTTON_PAUSE") ||
                                   (name == "BUTTON_PAUSE" && other == "BUTTON_PLAY");
            if (playPause) continue;
            EXPECT_FALSE(Overlap(r, s)) << name << " " << Describe(r) << " overlaps " << other
                                        << " " << Describe(s);
        }
    }
}

// A pixel blended from the key colour would show as a magenta halo once the key is cut out.
TEST_P(ShippedSkin, NoKeyTintedFringeAroundCutOutPixels) {
    std::vector<std::string> pictures = {P().Ini().ReadString("Screen", "Main", "")};
    for (const std::string& v : P().Values("BUTTONINFO")) pictures.push_back(Fields(v)[1]);
    for (const char* section : {"OPTIONINFO", "CHECKINFO"})
        for (const std::string& v : P().Values(section)) pictures.push_back(Fields(v)[1]);
    for (const std::string& v : P().Values("SLIDERINFO")) pictures.push_back(Fields(v)[2]);

    const QRgb key = P().Key();
    auto nearKey = [](QRgb c) {
        const int rb = std::min(qRed(c), qBlue(c));
        return rb >= 110 && rb - qGreen(c) >= 80;
    };
    for (const std::string& file : pictures) {
        const QImage img = P().Picture(file);
        ASSERT_FALSE(img.isNull()) << file;
        int fringe = 0;
        for (int y = 1; y + 1 < img.height(); ++y) {
            for (int x = 1; x + 1 < img.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                if (c == key || !nearKey(c)) continue;
                if (img.pixel(x - 1, y) == key || img.pixel(x + 1, y) == key ||
                    img.pixel(x, y - 1) == key || img.pixel(x, y + 1) == key)
                    ++fringe;
            }
        }
        EXPECT_EQ(fringe, 0) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(All, ShippedSkin, ::testing::ValuesIn(kPackages),
                         [](const auto& info) { return TestNameOf(info.param); });

TEST(ShippedSkins, TogetherTheyUseEveryControlKindAndASubFolder) {
    std::map<std::string, int> kinds;
    bool subFolder = false;
    for (const char* file : kPackages) {
        Package p(file);
        for (const SectionFormat& s : kSections) kinds[s.name] += int(p.Values(s.name).size());
        subFolder = subFolder || p.Ini().ReadString("Screen", "Main", "").find('/') != std::string::npos;
    }
    for (const SectionFormat& s : kSections) EXPECT_GT(kinds[s.name], 0) << s.name;
    EXPECT_TRUE(subFolder);
}

}  // namespace
