#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <QApplication>

#include "ScriptedServices.h"
#include "SkinBuilder.h"
#include "WaitFor.h"
#include "controls/CLabel.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinSlider.h"
#include "skin/CSkinDialog.h"
#include "skin/SkinEntry.h"
#include "skin/zip/ZipFormat.h"
#include "skins/ZipWriter.h"

namespace {

const char* kButtons =
    "[BUTTONINFO]\n1=BUTTON_PLAY,btn.bmp,30,125,40,135,Preview,F\n"
    "2=BUTTON_PAUSE,btn.bmp,30,125,40,135,Pause,F\n"
    "3=BUTTON_PLAY,btn.bmp,50,125,60,135,Second play,F\n"
    "4=BUTTON_STOP ,btn.bmp,70,125,80,135,Stop,F\n";

// Loads a skin folder straight into a dialog, without any package.
struct LoadedSkin {
    QTemporaryDir dir;
    CSkinDialog dlg;
    explicit LoadedSkin(const SkinBuilder& skin) {
        dlg.SetIniPath(skin.WriteFolder(dir.path()));
        dlg.LoadSkin();
    }
};

QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

}  // namespace

TEST(CSkinDialog, LoadsShapeBackgroundCaptionAndControlArea) {
    LoadedSkin s(BasicSkin(kButtons));
    CSkinDialog& d = s.dlg;
    EXPECT_EQ(d.size(), QSize(200, 150));
    EXPECT_EQ(d.TransparentColour(), 0xFF00FFu);
    EXPECT_EQ(d.ControlRect(), QRect(40, 30, 120, 90));
    EXPECT_EQ(d.IconRect(), QRect(4, 4, 16, 16));
    EXPECT_FALSE(d.Region().contains(QPoint(0, 0)));
    EXPECT_TRUE(d.Region().contains(QPoint(100, 75)));
    ASSERT_NE(d.CaptionLabel(), nullptr);
    EXPECT_EQ(d.CaptionLabel()->Text(), "Capture Station");
    EXPECT_EQ(d.CaptionLabel()->TextColour(), 0xFFFFFFu);

    const QImage shot = Grab(d);
    EXPECT_EQ(shot.pixel(100, 140) & 0xFFFFFF, 0x0000A0u);  // background
    EXPECT_EQ(shot.pixel(10, 10) & 0xFFFFFF, 0xFFFF00u);    // icon over it
}

TEST(CSkinDialog, FindsFirstByExactNameAndShowsOnlyTheFirstPlay) {
    LoadedSkin s(BasicSkin(kButtons));
    CSkinDialog& d = s.dlg;
    ASSERT_EQ(d.Buttons().size(), 4u);
    EXPECT_EQ(d.FindButton("BUTTON_PLAY"), d.Buttons()[0].get());
    EXPECT_EQ(d.FindButton("button_play"), nullptr);
    // "BUTTON_STOP " keeps its trailing space, so the plain name finds nothing.
    EXPECT_EQ(d.FindButton("BUTTON_STOP"), nullptr);
    EXPECT_NE(d.FindButton("BUTTON_STOP "), nullptr);
    EXPECT_FALSE(d.Buttons()[0]->isHidden());
    EXPECT_TRUE(d.Buttons()[1]->isHidden());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(d.Buttons()[i]->index, i);
}

TEST(CSkinDialog, NumberedSectionsReadKeysOneToN) {
    // Keys 1 and 3: N is 2, so key 2 (missing) is skipped and key 3 never read.
    LoadedSkin s(BasicSkin("[BUTTONINFO]\n1=A,btn.bmp,1,1,5,5,t,F\n3=B,btn.bmp,1,1,5,5,t,F\n"
                           "[LABELINFO]\nx=L,1,1,5,5,t,Arial,8,0\n"));
    EXPECT_EQ(s.dlg.Buttons().size(), 1u);
    EXPECT_TRUE(s.dlg.Labels().empty());
}

TEST(CSkinDialog, PreparesAndHidesTheTimeLabelAndProgressSlider) {
    LoadedSkin s(BasicSkin(
        "[SLIDERINFO]\n1=SLIDER_PROGRESS,none.bmp,none.bmp,none.bmp,10,100,190,110,H,9999,p\n"
        "[LABELINFO]\n1=LABEL_TIME,10,60,190,80,x,DejaVu Sans,8,0x00FF00\n"
        "2=LABEL_MODE,10,80,190,95,mode,DejaVu Sans,8,0x00FF00\n"));
    CLabel* time = s.dlg.FindLabel("LABEL_TIME");
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->Text(), "02:00:00/02:00:00");  // position clamped to the 7200 maximum
    EXPECT_TRUE(time->isHidden());
    EXPECT_TRUE(s.dlg.FindSlider("SLIDER_PROGRESS")->isHidden());
    EXPECT_EQ(time->TextColour(), 0x00FF00u);
    EXPECT_FALSE(s.dlg.FindLabel("LABEL_MODE")->isHidden());
}

TEST(CSkinDialog, OptionGroupSparesAudioStreamOne) {
    struct Spy : CSkinDialog {
        QStringList options;
        void OnSkinOption(const QString& n) override { options << n; }
    };
    QTemporaryDir dir;
    Spy d;
    d.SetIniPath(BasicSkin("[OPTIONINFO]\n1=OPTION_AUDIOSTREAM1,btn.bmp,10,40,20,50,a,F,TRUE\n"
                           "2=OPTION_B,btn.bmp,10,60,20,70,b,F,TRUE\n"
                           "3=OPTION_C,btn.bmp,10,80,20,90,c,F,F\n")
                     .WriteFolder(dir.path()));
    d.LoadSkin();
    ASSERT_EQ(d.Options().size(), 3u);
    d.show();
    QTest::mouseClick(reinterpret_cast<QWidget*>(d.Options()[2].get()), Qt::LeftButton);
    EXPECT_TRUE(d.Options()[0]->isChecked);
    EXPECT_FALSE(d.Options()[1]->isChecked);
    EXPECT_TRUE(d.Options()[2]->isChecked);
    EXPECT_EQ(d.options, QStringList{"OPTION_C"});
}

TEST(CSkinDialog, AllKeyBackgroundGivesAnEmptyRegionButTheWindowStays) {
    SkinBuilder b = BasicSkin();
    b.Image("back.bmp", SolidImage(50, 40, QColor(255, 0, 255)));
    LoadedSkin s(b);
    EXPECT_TRUE(s.dlg.Region().isEmpty());
    EXPECT_TRUE(s.dlg.BuildWindowRegion());  // every pixel was cut
    s.dlg.show();
    EXPECT_TRUE(s.dlg.isVisible());
}

TEST(CSkinDialog, AColourThatIsNoNumberKeysNothing) {
    // White left half, blue right half; the button's picture is white.
    QImage back = SolidImage(60, 40, Qt::white);
    QPainter(&back).fillRect(30, 0, 30, 40, QColor(0, 0, 160));
    SkinBuilder b;
    b.Image("back.bmp", back)
        .Image("btn.bmp", ButtonStrip(10, 10, Qt::white, Qt::white, Qt::white, Qt::white))
        .Ini("[Screen]\nMain=back.bmp\n[TRANSPARENT]\nCOLOR=#FF00FF\n"
             "[BUTTONINFO]\n1=BUTTON_PLAY,btn.bmp,40,10,50,20,Preview,F\n");
    LoadedSkin s(b);
    EXPECT_EQ(s.dlg.TransparentColour(), kNoColour);
    EXPECT_EQ(s.dlg.Region(), QRegion(0, 0, 60, 40));  // white is not cut from the shape
    EXPECT_EQ(Grab(s.dlg).pixel(45, 15) & 0xFFFFFF, 0xFFFFFFu);  // nor from the button
}

TEST(CSkinDialog, TheComboButtonKeepsBlackAsItsKey) {
    // The button's cells: black on the left, the skin's magenta key on the right.
    QImage strip(64, 20, QImage::Format_RGB32);
    strip.fill(Qt::gray);
    for (int cell = 0; cell < 4; ++cell) {
        QPainter p(&strip);
        p.fillRect(cell * 16, 0, 8, 20, Qt::black);
        p.fillRect(cell * 16 + 8, 0, 8, 20, QColor(255, 0, 255));
    }
    SkinBuilder b = BasicSkin(
        "[COMBOBOXINFO]\n1=COMBO_A,10,10,110,40,combo.bmp,0,0xFFFFFF,0,0xFFFFFF,0,0x000080,"
        "0xFFFFFF,t.bmp,u.bmp,up.bmp,d.bmp,dp.bmp,th.bmp,thp.bmp\n");
    b.Image("combo.bmp", strip);
    LoadedSkin s(b);
    ASSERT_EQ(s.dlg.Combos().size(), 1u);
    EXPECT_EQ(s.dlg.Combos()[0]->Button()->transparentColor, 0u);
    const QImage shot = Grab(s.dlg);
    EXPECT_EQ(shot.pixel(97, 20) & 0xFFFFFF, 0x0000A0u);   // black cut: the background shows
    EXPECT_EQ(shot.pixel(106, 20) & 0xFFFFFF, 0xFF00FFu);  // the window's key is drawn
}

TEST(CSkinDialog, LaterSkinWithoutIconOrKeyKeepsThePreviousOnes) {
    QTemporaryDir dir1, dir2;
    CSkinDialog d;
    d.SetIniPath(BasicSkin().WriteFolder(dir1.path()));
    d.LoadSkin();
    SkinBuilder bare;
    bare.Image("back.bmp", SolidImage(100, 100, QColor(0, 80, 0))).Ini("[Screen]\nMain=back.bmp\n");
    d.SetIniPath(bare.WriteFolder(dir2.path()));
    d.LoadSkin();
    EXPECT_EQ(d.TransparentColour(), 0xFF00FFu);
    EXPECT_EQ(d.IconRect(), QRect(4, 4, 16, 16));
    EXPECT_EQ(d.ControlRect(), QRect(40, 30, 120, 90));
    EXPECT_EQ(d.CaptionLabel(), nullptr);
    EXPECT_EQ(Grab(d).pixel(10, 10) & 0xFFFFFF, 0xFFFF00u);
}

TEST(CSkinDialog, EscapeAndEnterCloseNothing) {
    LoadedSkin s(BasicSkin(kButtons));
    s.dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.dlg));
    for (Qt::Key k : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&s.dlg, k);
        EXPECT_TRUE(s.dlg.isVisible()) << k;
    }
    EXPECT_EQ(s.dlg.result(), 0);
}

TEST(CSkinDialog, DraggingTheBackgroundMovesTheWindow) {
    LoadedSkin s(BasicSkin(kButtons));
    s.dlg.move(100, 100);
    s.dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.dlg));
    const QPoint start = s.dlg.pos();
    QTest::mousePress(&s.dlg, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&s.dlg, QPoint(130, 120));
    QTest::mouseRelease(&s.dlg, Qt::LeftButton, {}, QPoint(130, 120));
    EXPECT_TRUE(WaitFor([&] { return s.dlg.pos() == start + QPoint(30, 20); }, 2000))
        << s.dlg.pos().x() << "," << s.dlg.pos().y();
}

// The window manager is handed a move only once the pointer has travelled the drag distance
// with the button held: a plain click, or a press that barely moves, starts none.
TEST(CSkinDialog, AMoveStartsOnlyAfterThePointerTravelsTheDragDistance) {
    struct Window : CSkinDialog {
        int systemMoves = 0;
        bool StartSystemMove() override {
            ++systemMoves;
            return true;  // the window manager has it from here
        }
    };
    const int d = QApplication::startDragDistance();
    struct Row {
        const char* name;
        QPoint press;
        std::vector<QPoint> moves;  // with the button held
        int systemMoves;
    };
    const Row rows[] = {
        {"click", {100, 100}, {}, 0},
        {"short of the distance", {100, 100}, {{100 + d - 1, 100}}, 0},
        {"the distance", {100, 100}, {{100 + d, 100}}, 1},
        {"on and on", {100, 100}, {{100, 100 + d}, {100, 110 + d}, {120, 130 + d}}, 1},
        {"press on a button", {35, 130}, {{35 + 3 * d, 130}}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        Window dlg;
        dlg.SetIniPath(BasicSkin(kButtons).WriteFolder(dir.path()));
        dlg.LoadSkin();
        dlg.move(100, 100);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        QWindow* w = dlg.windowHandle();
        QTest::mousePress(w, Qt::LeftButton, {}, row.press);
        for (const QPoint& p : row.moves) QTest::mouseMove(w, p);
        QTest::mouseRelease(w, Qt::LeftButton, {}, row.moves.empty() ? row.press : row.moves.back());
        // Moves after the release never start one either.
        QTest::mouseMove(w, row.press + QPoint(2 * d, 0));
        EXPECT_EQ(dlg.systemMoves, row.systemMoves);
        EXPECT_EQ(dlg.pos(), QPoint(100, 100));
    }
}

TEST(CSkinDialog, ContextMenuOffersTheEightSkinsWithOneCheckMark) {
    CSkinDialog d;
    d.OnInitDialog();
    std::unique_ptr<QMenu> menu(d.BuildContextMenu(nullptr));
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), "&Change Skin");
    const auto items = menu->actions()[0]->menu()->actions();
    ASSERT_EQ(items.size(), 8);
    const QStringList captions{"&Orange", "&Black", "&Purple", "Bl&ue",
                               "&Red",    "&Gray",  "P&ink",   "&Deluxe"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(items[i]->text(), captions[i]);
        EXPECT_EQ(items[i]->isChecked(), i == 3);  // the start-up Blue skin is on screen
    }
}

// Switching skins: packages found in the start-up directory.
class SkinSwitch : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedServices services;
    CSkinDialog dlg;
    void SetUp() override { dlg.SetStartDirectory(dir.path()); }
    QString Path(const char* name) { return dir.filePath(name); }
};

TEST_F(SkinSwitch, MissingPackageSaysOpenFailedAndLeavesNoControls) {
    BasicSkin(kButtons).WritePackage(Path("Orange.zip"));
    dlg.OnChangeSkin(32771);
    EXPECT_EQ(dlg.Buttons().size(), 4u);
    dlg.OnChangeSkin(32775);  // Red.zip is missing
    EXPECT_EQ(services.messageTexts(), QStringList{"Open failed"});
    EXPECT_TRUE(dlg.Buttons().empty());
    EXPECT_EQ(dlg.CaptionLabel(), nullptr);
    EXPECT_TRUE(dlg.Background().isNull());
    EXPECT_TRUE(dlg.IsSkinCommandChecked(32775));
    EXPECT_FALSE(dlg.IsSkinCommandChecked(32771));
}

TEST_F(SkinSwitch, EveryCommandLoadsItsOwnPackage) {
    for (const char* name : {"Orange.zip", "Black.zip", "Purple.zip", "Blue.zip", "Red.zip",
                             "Gray.zip", "Pink.zip", "Deluxe.zip"}) {
        BasicSkin("[LABELINFO]\n1=LABEL_NAME,1,1,50,20," + std::string(name) +
                  ",DejaVu Sans,8,0\n")
            .WritePackage(Path(name));
    }
    for (int id = 32771; id <= 32778; ++id) {
        dlg.OnChangeSkin(id);
        ASSERT_EQ(dlg.Labels().size(), 1u);
        EXPECT_EQ(dlg.Labels()[0]->Text().toStdString(), kSkinCommands[id - 32771].package);
        EXPECT_EQ(dlg.SkinIndex(), id - 32771);
    }
    EXPECT_TRUE(services.messages.empty());
}

// The window that owns the base hears of every switch once the new skin stands, so it can put
// its own pieces onto it; nothing of the old skin's lists is left for it to find.
TEST(SkinSwitchNotice, ComesOncePerSwitchAfterTheNewSkinIsBuilt) {
    struct Window : CSkinDialog {
        std::vector<QStringList> comboItems;
        void OnSkinSwitched() override {
            comboItems.push_back(FirstComboBox() ? FirstComboBox()->Items() : QStringList{"none"});
        }
    };
    QTemporaryDir dir;
    ScriptedServices services;
    Window dlg;
    dlg.SetStartDirectory(dir.path());
    const std::string combo =
        "[COMBOBOXINFO]\n1=COMBO_A,10,10,110,40,btn.bmp,0,0xFFFFFF,0,0xFFFFFF,0,0x000080,"
        "0xFFFFFF,t.bmp,u.bmp,up.bmp,d.bmp,dp.bmp,th.bmp,thp.bmp\n";
    BasicSkin(combo).WritePackage(dir.filePath("Black.zip"));
    dlg.OnChangeSkin(32772);
    dlg.FirstComboBox()->AddString("extra");
    dlg.OnChangeSkin(32772);  // the same skin again is extracted and rebuilt
    dlg.OnChangeSkin(32775);  // Red.zip is missing: still a notice, on an empty skin
    EXPECT_EQ(dlg.comboItems, (std::vector<QStringList>{{}, {}, {"none"}}));
    EXPECT_EQ(services.messageTexts(), QStringList{"Open failed"});
}

TEST_F(SkinSwitch, SkinIniInASubFolderGivesAnEmptySkin) {
    SkinBuilder b = BasicSkin(kButtons);
    SkinBuilder nested;
    nested.File("skin/Skin.ini", "[Screen]\nMain=back.bmp\n")
        .Image("skin/back.bmp", SolidImage(30, 30, Qt::red));
    nested.WritePackage(Path("Purple.zip"));
    dlg.OnChangeSkin(32773);
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(dlg.Background().isNull());
    EXPECT_TRUE(dlg.Buttons().empty());
}

TEST_F(SkinSwitch, ImagesInSubFoldersAreFound) {
    SkinBuilder b;
    b.Image("images/back.bmp", SolidImage(60, 50, QColor(0, 0, 200)))
        .Ini("[Screen]\nMain=images\\back.bmp\n");
    b.WritePackage(Path("Gray.zip"));
    dlg.OnChangeSkin(32776);
    EXPECT_EQ(dlg.Background().size(), QSize(60, 50));
}

TEST_F(SkinSwitch, NotAnArchiveAsksToRetryThenSaysOpenFailed) {
    QFile f(Path("Pink.zip"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(1000, 'x'));
    f.close();
    services.messageAnswers = {platform::IDYES, platform::IDNO, platform::IDOK};
    dlg.OnChangeSkin(32777);
    ASSERT_EQ(services.messages.size(), 3u);
    EXPECT_TRUE(services.messages[0].text.startsWith("The central directory was not found."));
    EXPECT_EQ(services.messages[0].buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(services.messages[1].text, services.messages[0].text);
    EXPECT_EQ(services.messages[2].text, "Open failed");
    EXPECT_EQ(services.messages[2].icon, platform::MsgIcon::Stop);
}

TEST_F(SkinSwitch, DamagedEntrySaysExtractFailedAndKeepsWhatCameBefore) {
    SkinBuilder b = BasicSkin(kButtons);
    std::string bytes = b.PackageBytes();
    // Entries are packed in name order: back.bmp, btn.bmp, icon.bmp, Skin.ini ("S" < "b").
    // Corrupt the last entry's data so everything before it extracts.
    const size_t where = bytes.rfind("icon.bmp", bytes.find("PK\x01\x02"));
    ASSERT_NE(where, std::string::npos);
    bytes[where + 8 + 4] ^= 0x5A;
    QFile f(Path("Deluxe.zip"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
    f.close();
    dlg.OnChangeSkin(32778);
    EXPECT_EQ(services.messageTexts(), QStringList{"Extract failed"});
    EXPECT_EQ(dlg.Buttons().size(), 4u);  // Skin.ini came first and was loaded
}

TEST_F(SkinSwitch, ExtractsPrivatelyAndRemovesItsFolder) {
    // A folder of the user's named like the old working folder must survive a load.
    QDir(dir.path()).mkpath("Test");
    QFile mine(Path("Test/keep.txt"));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("mine");
    mine.close();
    BasicSkin(kButtons).WritePackage(Path("Blue.zip"));
    QFile::setPermissions(Path("Blue.zip"), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    dlg.OnChangeSkin(32774);
    QDir::setCurrent(oldCwd);
    EXPECT_TRUE(services.messages.empty()) << services.messageTexts().join("|").toStdString();
    EXPECT_EQ(dlg.Buttons().size(), 4u);  // a read-only package opens
    EXPECT_TRUE(QFile::exists(Path("Test/keep.txt")));
    ASSERT_FALSE(g_skinFolder.isEmpty());
    EXPECT_TRUE(g_skinFolder.endsWith('/'));
    EXPECT_FALSE(QDir(g_skinFolder).exists());
    EXPECT_FALSE(g_skinFolder.startsWith(dir.path()));
}

TEST_F(SkinSwitch, StartupSkinComesFromTheStartDirectory) {
    BasicSkin(kButtons).WritePackage(Path("Blue.skn"));
    dlg.LoadStartupSkin();
    EXPECT_EQ(dlg.Buttons().size(), 4u);
    EXPECT_TRUE(services.messages.empty());
}

// Packages made elsewhere, damaged in one entry, or with names no skin needs: each loads,
// and nothing of it stays in the temporary directory.
class ForeignPackages : public SkinSwitch {
protected:
    // In memory where there is such a place: deep trees are slow on a journalled disk.
    QTemporaryDir tmp{QDir("/dev/shm").exists() ? "/dev/shm/cs-skin-XXXXXX"
                                                : QDir::tempPath() + "/cs-skin-XXXXXX"};
    QByteArray oldTmp = qgetenv("TMPDIR");
    void SetUp() override {
        SkinSwitch::SetUp();
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    }
    void TearDown() override {
        if (oldTmp.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", oldTmp);
    }
    QStringList LeftInTmp() const {
        return QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

std::string Repeat(const std::string& part, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += part;
    return out;
}

struct ForeignCase {
    const char* label;
    std::map<std::string, std::string> renames;  // stored name of a file of the basic skin
    std::vector<std::pair<std::string, std::string>> iniEdits;  // text -> replacement
    std::function<void(ZipWriter&)> extra;
    bool shortIcon = false;  // icon.bmp's deflate stream ends before its declared size
};

TEST_F(ForeignPackages, EachLoadsAndLeavesNothingBehind) {
    const ForeignCase cases[] = {
        {"skin_ini_stored_in_upper_case", {{"Skin.ini", "SKIN.INI"}}, {}, nullptr},
        {"pictures_named_in_another_case_and_padded",
         {},
         {{"Main=back.bmp", "Main=Back.BMP"}, {"ICON=icon.bmp,", "ICON=ICON.bmp  ,"}},
         nullptr},
        {"root_and_drive_prefixes", {{"back.bmp", "/back.bmp"}, {"icon.bmp", "C:\\icon.bmp"}},
         {}, nullptr},
        {"4000_folders_deep", {}, {},
         [](ZipWriter& w) { w.Add(Repeat("a/", 4000) + "x.bmp", "x"); }},
        {"200_parts_of_255_characters", {}, {},
         [](ZipWriter& w) { w.Add(Repeat(std::string(255, 'p') + "/", 200) + "x.bmp", "x"); }},
        {"3000_nested_folder_entries", {}, {},
         [](ZipWriter& w) {
             for (int depth = 1; depth <= 3000; ++depth) w.AddDirectory(Repeat("n/", depth));
         }},
        {"short_deflate_entry", {}, {}, nullptr, true},
    };
    for (const ForeignCase& c : cases) {
        SCOPED_TRACE(c.label);
        services.messages.clear();
        ZipWriter zip;
        if (c.extra) c.extra(zip);
        const SkinBuilder skin = BasicSkin(kButtons);
        for (auto [name, bytes] : skin.Files()) {
            if (name == "Skin.ini")
                for (const auto& [from, to] : c.iniEdits)
                    bytes.replace(bytes.find(from), from.size(), to);
            zip.Add(c.renames.count(name) ? c.renames.at(name) : name, bytes);
        }
        std::string bytes = zip.Finish();
        if (c.shortIcon) {
            for (const ZipWriter::EntryInfo& e : zip.Entries()) {
                if (e.name != "icon.bmp") continue;
                const size_t local = e.localOffset + zipformat::kLocalUncompressedSize;
                const size_t central = e.centralOffset + zipformat::kCentralUncompressedSize;
                uint32_t size = 0;
                std::memcpy(&size, &bytes[local], 4);
                ++size;  // little-endian host, as the archive
                std::memcpy(&bytes[local], &size, 4);
                std::memcpy(&bytes[central], &size, 4);
            }
        }
        ASSERT_TRUE(ZipWriter::WriteFile(Path("Orange.zip").toStdString(), bytes));
        dlg.OnChangeSkin(32771);
        EXPECT_TRUE(services.messages.empty()) << services.messageTexts().join("|").toStdString();
        EXPECT_EQ(dlg.Background().size(), QSize(200, 150));
        EXPECT_EQ(dlg.Buttons().size(), 4u);
        const bool iconShown = (Grab(dlg).pixel(10, 10) & 0xFFFFFF) == 0xFFFF00u;
        EXPECT_EQ(iconShown, !c.shortIcon);
        EXPECT_EQ(LeftInTmp(), QStringList());
    }
}

TEST_F(ForeignPackages, NoTemporaryFolderSaysExtractFailedAndReadsNothingElsewhere) {
    BasicSkin(kButtons).WritePackage(Path("Orange.zip"));
    BasicSkin(kButtons).WriteFolder(dir.path());  // a Skin.ini in the current directory
    QFile file(tmp.filePath("not-a-folder"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    for (const QString& where : {file.fileName(), tmp.filePath("missing")}) {
        SCOPED_TRACE(where.toStdString());
        qputenv("TMPDIR", QFile::encodeName(where));
        services.messages.clear();
        const QString oldCwd = QDir::currentPath();
        QDir::setCurrent(dir.path());
        dlg.OnChangeSkin(32771);
        QDir::setCurrent(oldCwd);
        EXPECT_EQ(services.messageTexts(), QStringList{"Extract failed"});
        EXPECT_TRUE(dlg.Buttons().empty());
        EXPECT_TRUE(dlg.Background().isNull());
        EXPECT_EQ(LeftInTmp(), QStringList{"not-a-folder"});
    }
}
