// Extraction behaviour beyond the archive table: links in the way, file metadata, the
// entry-level calls, and the reader's state after errors.
#include <gtest/gtest.h>

#include "RowName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <zlib.h>

#include "ZipTestSupport.h"
#include "skin/zip/ZipFormat.h"

using namespace ziptest;
using namespace zipformat;
using Options = ZipWriter::EntryOptions;

namespace {

const std::string kPicture = PictureBytes(5000);

std::string OneEntry(const std::string& name, const std::string& data = kPicture, Options o = {}) {
    ZipWriter writer;
    writer.Add(name, data, o);
    return writer.Finish();
}

mode_t ModeOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
    return st.st_mode;
}

TEST(CZipReaderExtract, CrcMismatchIsWrittenInFullThenRemoved) {
    ZipWriter writer;
    writer.Add("a.bmp", kPicture);
    std::string bytes = writer.Finish();
    Patch32(bytes, writer.Entries()[0].localOffset + kLocalCrc, 1);
    Patch32(bytes, writer.Entries()[0].centralOffset + kCentralCrc, 1);
    TempDir temp;
    CZipReader reader;
    reader.OpenArchiveFromMemory(bytes);
    uint64_t written = 0;
    const auto progress = [&](uint64_t, uint64_t done, void*) {
        written = done;
        return true;
    };
    EXPECT_EQ(OutcomeOf([&] {
                  return reader.ExtractEntry(0, temp.Path(), true, std::nullopt, progress);
              }),
              CZipException::BadCrc);
    EXPECT_EQ(written, kPicture.size());
    EXPECT_FALSE(fs::exists(temp.Path() / "a.bmp"));
}

TEST(CZipReaderExtract, ExistingLinkAtDestinationIsReplacedNotFollowed) {
    TempDir temp;
    const fs::path victim = temp.Path() / "victim";
    ZipWriter::WriteFile(victim.string(), "precious");
    const fs::path folder = temp.Path() / "out";
    fs::create_directory(folder);
    fs::create_symlink(victim, folder / "a.bmp");

    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("a.bmp"));
    EXPECT_TRUE(reader.ExtractEntry(0, folder));
    EXPECT_EQ(ReadFile(victim), "precious");
    EXPECT_TRUE(S_ISREG(ModeOf(folder / "a.bmp")));
    EXPECT_EQ(ReadFile(folder / "a.bmp"), kPicture);
}

TEST(CZipReaderExtract, HardLinkAtDestinationIsNotWrittenThrough) {
    TempDir temp;
    const fs::path victim = temp.Path() / "victim";
    ZipWriter::WriteFile(victim.string(), "precious");
    const fs::path folder = temp.Path() / "out";
    fs::create_directory(folder);
    fs::create_hard_link(victim, folder / "a.bmp");

    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("a.bmp"));
    EXPECT_TRUE(reader.ExtractEntry(0, folder));
    EXPECT_EQ(ReadFile(victim), "precious");
    EXPECT_EQ(ReadFile(folder / "a.bmp"), kPicture);
}

TEST(CZipReaderExtract, LinkedSubFolderIsNotEntered) {
    TempDir temp;
    const fs::path elsewhere = temp.Path() / "elsewhere";
    const fs::path folder = temp.Path() / "out";
    fs::create_directories(elsewhere);
    fs::create_directories(folder);
    fs::create_directory_symlink(elsewhere, folder / "skin");

    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("skin/a.bmp"));
    EXPECT_EQ(OutcomeOf([&] { return reader.ExtractEntry(0, folder); }), kFileError);
    EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST(CZipReaderExtract, FileWhereFolderIsNeededIsAFileError) {
    TempDir temp;
    ZipWriter::WriteFile((temp.Path() / "skin").string(), "x");
    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("skin/a.bmp"));
    EXPECT_EQ(OutcomeOf([&] { return reader.ExtractEntry(0, temp.Path()); }), kFileError);
    // The failed entry is closed again: the reader goes on with the next call.
    EXPECT_TRUE(reader.ExtractEntry(0, temp.Path() / "again"));
}

TEST(CZipReaderExtract, ReplacesAnExistingLongerFile) {
    TempDir temp;
    ZipWriter::WriteFile((temp.Path() / "a.bmp").string(), std::string(20000, 'z'));
    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("a.bmp"));
    EXPECT_TRUE(reader.ExtractEntry(0, temp.Path()));
    EXPECT_EQ(ReadFile(temp.Path() / "a.bmp"), kPicture);
}

TEST(CZipReaderExtract, ModificationTimeComesFromDosDateAsLocalTime) {
    Options o;
    o.dosDate = uint16_t(((2021 - 1980) << 9) | (3 << 5) | 14);  // 2021-03-14
    o.dosTime = uint16_t((15 << 11) | (9 << 5) | (26 / 2));      // 15:09:26
    TempDir temp;
    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("a.bmp", kPicture, o));
    ASSERT_TRUE(reader.ExtractEntry(0, temp.Path()));
    std::tm tm{};
    tm.tm_year = 121, tm.tm_mon = 2, tm.tm_mday = 14, tm.tm_hour = 15, tm.tm_min = 9,
    tm.tm_sec = 26;
    tm.tm_isdst = -1;
    struct stat st {};
    ASSERT_EQ(::stat((temp.Path() / "a.bmp").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, std::mktime(&tm));
}

TEST(CZipReaderExtract, InvalidDosDateIsNoError) {
    Options o;
    o.dosDate = 0;  // month 0
    TempDir temp;
    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("a.bmp", kPicture, o));
    EXPECT_TRUE(reader.ExtractEntry(0, temp.Path()));
}

struct ModeCase {
    const char* name;
    uint16_t versionMadeBy;
    uint32_t externalAttributes;
    bool folder;
    mode_t expected;
};

class PermissionTable : public ::testing::TestWithParam<ModeCase> {};

TEST_P(PermissionTable, OnlyOrdinaryBitsAndOwnerAccess) {
    const ModeCase& c = GetParam();
    Options o;
    o.deflate = false;
    o.versionMadeBy = c.versionMadeBy;
    o.externalAttributes = c.externalAttributes;
    const std::string name = c.folder ? "entry/" : "entry";
    TempDir temp;
    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry(name, c.folder ? "" : "data", o));
    ASSERT_TRUE(reader.ExtractEntry(0, temp.Path()));
    EXPECT_EQ(ModeOf(temp.Path() / "entry") & 07777, c.expected);
}

constexpr uint16_t kUnix = (3 << 8) | 20;
INSTANTIATE_TEST_SUITE_P(
    CZipReader, PermissionTable,
    ::testing::Values(ModeCase{"DosFile", 20, 0, false, 0644},
                      ModeCase{"DosReadOnlyFile", 20, kDosReadOnly, false, 0644},
                      ModeCase{"DosFolder", 20, kDosDirectory, true, 0755},
                      ModeCase{"UnixPlain", kUnix, 0100644u << 16, false, 0644},
                      ModeCase{"UnixExecutable", kUnix, 0100755u << 16, false, 0755},
                      ModeCase{"UnixSetIdAndSticky", kUnix, 0107777u << 16, false, 0755},
                      ModeCase{"UnixWorldWritable", kUnix, 0100666u << 16, false, 0644},
                      ModeCase{"UnixOwnerReadOnly", kUnix, 0100400u << 16, false, 0600},
                      ModeCase{"UnixNoBits", kUnix, 0100000u << 16, false, 0644},
                      ModeCase{"UnixPrivateFolder", kUnix, 0040500u << 16, true, 0700},
                      ModeCase{"UnixOpenFolder", kUnix, 0043777u << 16, true, 0755}),
    RowName());

TEST(CZipReaderExtract, ReadOnlyPackageOpens) {
    TempDir temp;
    const fs::path archive = temp.Path() / "Blue.skn";
    ZipWriter::WriteFile(archive.string(), OneEntry("a.bmp"));
    fs::permissions(archive,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    CZipReader reader;
    reader.OpenArchive(archive, CZipReader::OpenExisting, 0);
    EXPECT_TRUE(reader.ExtractEntry(0, temp.Path() / "Test"));
    EXPECT_EQ(ReadFile(temp.Path() / "Test" / "a.bmp"), kPicture);
}

TEST(CZipReaderOpen, FileErrorsAreNotArchiveErrors) {
    TempDir temp;
    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("a.bmp"));
    EXPECT_EQ(OutcomeOf([&] {
                  reader.OpenArchive(temp.Path() / "missing.skn");
                  return true;
              }),
              kFileError);
    EXPECT_EQ(OutcomeOf([&] {
                  reader.OpenArchive(temp.Path());
                  return true;
              }),
              kFileError);
    EXPECT_FALSE(reader.IsOpen());
}

TEST(CZipReaderOpen, FailedOpenLeavesReaderClosedAndReusable) {
    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("a.bmp"));
    EXPECT_EQ(OutcomeOf([&] {
                  reader.OpenArchiveFromMemory("junk");
                  return true;
              }),
              CZipException::EndRecordNotFound);
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(reader.EntryCount(), 0);
    reader.CloseArchive(true);
    reader.CloseArchive(false);
    reader.OpenArchiveFromMemory(OneEntry("b.bmp"));
    ASSERT_EQ(reader.EntryCount(), 1);
    EXPECT_EQ(reader.EntryHeader(0)->name, "b.bmp");
    EXPECT_EQ(reader.EntryHeader(1), nullptr);
}

TEST(CZipReaderOpen, ExceptionCarriesArchivePath) {
    TempDir temp;
    const fs::path archive = temp.Path() / "bad.zip";
    ZipWriter::WriteFile(archive.string(), "not a zip");
    CZipReader reader;
    try {
        reader.OpenArchive(archive);
        FAIL() << "opened";
    } catch (const CZipException& e) {
        EXPECT_EQ(e.GetCause(), CZipException::EndRecordNotFound);
        EXPECT_EQ(e.ArchivePath(), archive.string());
    }
}

TEST(CZipReaderExtract, RefusedCallsReturnFalse) {
    TempDir temp;
    CZipReader reader;
    EXPECT_FALSE(reader.ExtractEntry(0, temp.Path()));  // nothing open
    reader.OpenArchiveFromMemory(OneEntry("a.bmp"));
    EXPECT_FALSE(reader.ExtractEntry(1, temp.Path()));
    EXPECT_FALSE(reader.ExtractEntry(0, temp.Path(), true, std::nullopt, nullptr, nullptr, 0));
    EXPECT_FALSE(reader.ExtractEntry(0, fs::path()));
    EXPECT_TRUE(reader.OpenEntry(0));
    EXPECT_FALSE(reader.ExtractEntry(0, temp.Path()));  // an entry is open
    EXPECT_FALSE(reader.OpenEntry(0));
    EXPECT_EQ(reader.CloseEntry({}, true), 0);
    EXPECT_TRUE(fs::is_empty(temp.Path()));
}

TEST(CZipReaderExtract, FlatPathAndNewName) {
    TempDir temp;
    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("skin/deep/a.bmp"));
    EXPECT_TRUE(reader.ExtractEntry(0, temp.Path(), false));
    EXPECT_TRUE(reader.ExtractEntry(0, temp.Path(), true, std::string("other/b.bmp")));
    EXPECT_EQ(ListTree(temp.Path()), (std::vector<std::string>{"a.bmp", "other", "other/b.bmp"}));
    EXPECT_EQ(
        OutcomeOf([&] { return reader.ExtractEntry(0, temp.Path(), true, std::string("../c")); }),
        CZipException::BadArchive);
}

TEST(CZipReaderExtract, AnyBufferSizeGivesTheSameFile) {
    ZipWriter writer;
    Options stored;
    stored.deflate = false;
    writer.Add("d.bmp", kPicture);
    writer.Add("s.bmp", kPicture, stored);
    const std::string bytes = writer.Finish();
    for (const size_t size :
         {size_t(1), size_t(7), size_t(4999), size_t(5000), size_t(5001), size_t(1) << 20}) {
        TempDir temp;
        CZipReader reader;
        reader.OpenArchiveFromMemory(bytes);
        EXPECT_TRUE(
            reader.ExtractEntry(0, temp.Path(), true, std::nullopt, nullptr, nullptr, size));
        EXPECT_TRUE(
            reader.ExtractEntry(1, temp.Path(), true, std::nullopt, nullptr, nullptr, size));
        EXPECT_EQ(ReadFile(temp.Path() / "d.bmp"), kPicture) << size;
        EXPECT_EQ(ReadFile(temp.Path() / "s.bmp"), kPicture) << size;
    }
}

TEST(CZipReaderExtract, CallbackStopRemovesThePartWritten) {
    TempDir temp;
    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("a.bmp"));
    int userValue = 42;
    std::vector<uint64_t> seen;
    const auto stopAfterTwo = [&](uint64_t total, uint64_t done, void* user) {
        EXPECT_EQ(total, kPicture.size());
        EXPECT_EQ(user, &userValue);
        seen.push_back(done);
        return seen.size() < 2;
    };
    EXPECT_FALSE(
        reader.ExtractEntry(0, temp.Path(), true, std::nullopt, stopAfterTwo, &userValue, 1000));
    EXPECT_EQ(seen, (std::vector<uint64_t>{1000, 2000}));
    EXPECT_FALSE(fs::exists(temp.Path() / "a.bmp"));
    EXPECT_TRUE(reader.ExtractEntry(0, temp.Path()));  // closed again: extracts in full next time
}

TEST(CZipReaderEntry, ReadByHand) {
    TempDir temp;
    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("a.bmp"));
    ASSERT_TRUE(reader.OpenEntry(0));
    std::string data(kPicture.size() + 10, '\0');
    EXPECT_EQ(reader.ReadEntry(data.data(), 100), 100u);
    EXPECT_EQ(reader.ReadEntry(data.data() + 100, data.size() - 100), kPicture.size() - 100);
    EXPECT_EQ(reader.ReadEntry(data.data(), 10), 0u);
    data.resize(kPicture.size());
    EXPECT_EQ(data, kPicture);

    const fs::path destination = temp.Path() / "copy.bmp";
    ZipWriter::WriteFile(destination.string(), data);
    fs::permissions(destination, fs::perms::owner_read);
    EXPECT_EQ(reader.CloseEntry(destination), 1);
    EXPECT_EQ(ModeOf(destination) & 0777, 0644u);
    EXPECT_EQ(reader.ReadEntry(data.data(), 10), 0u);  // closed

    ASSERT_TRUE(reader.OpenEntry(0));
    EXPECT_EQ(reader.ReadEntry(data.data(), 10), 10u);
    EXPECT_EQ(reader.CloseEntry(), -1);  // stopped early: nothing checked
    EXPECT_EQ(reader.CloseEntry(), 0);   // nothing open
}

TEST(CZipReaderEntry, CloseEntryWithLinkDestinationTouchesNothingThroughIt) {
    TempDir temp;
    const fs::path victim = temp.Path() / "victim";
    ZipWriter::WriteFile(victim.string(), "x");
    fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path link = temp.Path() / "link";
    fs::create_symlink(victim, link);
    CZipReader reader;
    reader.OpenArchiveFromMemory(OneEntry("a.bmp"));
    ASSERT_TRUE(reader.OpenEntry(0));
    std::string data(kPicture.size(), '\0');
    reader.ReadEntry(data.data(), data.size());
    EXPECT_EQ(reader.CloseEntry(link), -2);
    EXPECT_EQ(ModeOf(victim) & 0777, 0600u);
}

// Trees beyond the system's path limit: made fd by fd, and removed whole the same way.
struct TreeCase {
    const char* label;
    std::function<void(ZipWriter&)> build;
    std::string deepestFile;
};

std::string Repeat(const std::string& part, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += part;
    return out;
}

TEST(CZipReaderTrees, DeepAndLongTreesExtractAndAreRemovedWhole) {
    const TreeCase cases[] = {
        {"4000 folders deep", [](ZipWriter& w) { w.Add(Repeat("a/", 4000) + "x.bmp", "x"); },
         Repeat("a/", 4000) + "x.bmp"},
        {"200 parts of 255 characters",
         [](ZipWriter& w) { w.Add(Repeat(std::string(255, 'p') + "/", 200) + "x.bmp", "x"); },
         Repeat(std::string(255, 'p') + "/", 200) + "x.bmp"},
    };
    for (const TreeCase& c : cases) {
        SCOPED_TRACE(c.label);
        ZipWriter writer;
        c.build(writer);
        TempDir temp;
        const fs::path folder = temp.Path() / "out";
        CZipReader reader;
        reader.OpenArchiveFromMemory(writer.Finish());
        EXPECT_EQ(OutcomeOf([&] {
                      bool all = true;
                      for (int i = 0; i < reader.EntryCount(); ++i)
                          all = reader.ExtractEntry(uint16_t(i), folder, true) && all;
                      return all;
                  }),
                  kOk);
        // Walk down by descriptor to where the deepest entry must be.
        const std::string& deepest = c.deepestFile;
        UniqueFd at(::open(folder.c_str(), O_RDONLY | O_DIRECTORY));
        size_t start = 0;
        bool complete = bool(at);
        while (complete && start < deepest.size()) {
            const size_t end = std::min(deepest.find('/', start), deepest.size());
            const std::string part = deepest.substr(start, end - start);
            UniqueFd next(::openat(at.Get(), part.c_str(), O_RDONLY));
            complete = bool(next);
            at = std::move(next);
            start = end + 1;
        }
        EXPECT_TRUE(complete);
        EXPECT_TRUE(ZipOutputFolder::RemoveTree(folder));
        EXPECT_FALSE(fs::exists(folder));
    }
}

TEST(CZipReaderTrees, AFolderRemovedBetweenEntriesIsMadeAgain) {
    ZipWriter writer;
    writer.Add("a/b/x.bmp", kPicture);
    writer.Add("a/b/y.bmp", kPicture);
    TempDir temp;
    const fs::path folder = temp.Path() / "out";
    CZipReader reader;
    reader.OpenArchiveFromMemory(writer.Finish());
    ASSERT_TRUE(reader.ExtractEntry(0, folder, true));
    ASSERT_TRUE(ZipOutputFolder::RemoveTree(folder));
    // The reader remembers a/b from the first entry; that folder is gone now.
    ASSERT_TRUE(reader.ExtractEntry(1, folder, true));
    EXPECT_EQ(ListTree(folder), (std::vector<std::string>{"a", "a/b", "a/b/y.bmp"}));
}

TEST(CZipReaderExtract, OtherEntriesStillExtractAfterARejectedOne) {
    ZipWriter writer;
    writer.Add("../escape", "x");
    writer.Add("a.bmp", kPicture);
    TempDir temp;
    CZipReader reader;
    reader.OpenArchiveFromMemory(writer.Finish());
    EXPECT_EQ(OutcomeOf([&] { return reader.ExtractEntry(0, temp.Path() / "out"); }),
              CZipException::BadArchive);
    EXPECT_TRUE(reader.ExtractEntry(1, temp.Path() / "out"));
    EXPECT_EQ(ListTree(temp.Path()), (std::vector<std::string>{"out", "out/a.bmp"}));
}

struct CodeCase {
    int code;
    int cause;
};

TEST(CZipException, InternalCodesMapToCauses) {
    const CodeCase cases[] = {
        {Z_STREAM_END, 2},
        {Z_NEED_DICT, 3},
        {Z_ERRNO, 4},
        {Z_STREAM_ERROR, 5},
        {Z_DATA_ERROR, 6},
        {Z_MEM_ERROR, 7},
        {Z_BUF_ERROR, 8},
        {Z_VERSION_ERROR, 9},
        {-101, 10},
        {-102, 11},
        {-103, 12},
        {-104, 13},
        {-105, 14},
        {-106, 15},
        {-107, 16},
        {-108, 17},
        {-109, 18},
        {0, 1},
        {-100, 1},
        {-110, 1},
        {3, 1},
    };
    for (const CodeCase& c : cases) {
        EXPECT_EQ(CZipException::CauseFromCode(c.code), c.cause) << c.code;
        EXPECT_EQ(CZipException::FromCode(c.code, "p.zip").GetCause(), c.cause) << c.code;
    }
}

}  // namespace
