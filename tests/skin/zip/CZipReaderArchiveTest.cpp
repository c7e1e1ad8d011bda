// Crafted archives, each opened and extracted whole, with the outcome and the files it must
// leave behind.
#include <gtest/gtest.h>

#include "RowName.h"

#include <cstdlib>
#include <map>

#include "ZipTestSupport.h"
#include "skin/zip/ZipFormat.h"

using namespace ziptest;
using namespace zipformat;
using Options = ZipWriter::EntryOptions;

namespace {

using Setup = std::function<void(ZipWriter&)>;
using Mutation = std::function<void(std::string& bytes, const ZipWriter&)>;

struct ArchiveCase {
    const char* name;
    Setup setup;
    Mutation mutate;
    int expected;                               // kOk, kFalse, kFileError or a cause
    std::map<std::string, std::string> files;   // what the extraction folder must hold
};

const std::string kPicture = PictureBytes(3000);
const std::string kOther = PictureBytes(1200, 7);

Options Stored() {
    Options o;
    o.deflate = false;
    return o;
}
Options WithDescriptor(ZipWriter::Descriptor d, bool deflate) {
    Options o;
    o.deflate = deflate;
    o.descriptor = d;
    return o;
}
Options Unix(uint32_t mode) {
    Options o;
    o.versionMadeBy = (3 << 8) | 20;
    o.externalAttributes = mode << 16;
    return o;
}

Setup One(std::string name, std::string data = kPicture, Options o = {}) {
    return [=](ZipWriter& w) { w.Add(name, data, o); };
}
Setup Two(Options first = {}, Options second = {}) {
    return [=](ZipWriter& w) {
        w.Add("a.bmp", kPicture, first);
        w.Add("b.bmp", kOther, second);
    };
}

// Offsets of named fields of entry i.
size_t Local(const ZipWriter& w, size_t i, size_t field) {
    return w.Entries()[i].localOffset + field;
}
size_t Central(const ZipWriter& w, size_t i, size_t field) {
    return w.Entries()[i].centralOffset + field;
}
size_t End(const ZipWriter& w, size_t field) { return w.EndRecordOffset() + field; }

Mutation SetLocal16(size_t i, size_t field, uint16_t value) {
    return [=](std::string& b, const ZipWriter& w) { Patch16(b, Local(w, i, field), value); };
}
Mutation SetCentral16(size_t i, size_t field, uint16_t value) {
    return [=](std::string& b, const ZipWriter& w) { Patch16(b, Central(w, i, field), value); };
}
Mutation SetEnd16(size_t field, uint16_t value) {
    return [=](std::string& b, const ZipWriter& w) { Patch16(b, End(w, field), value); };
}
Mutation SetEnd32(size_t field, uint32_t value) {
    return [=](std::string& b, const ZipWriter& w) { Patch32(b, End(w, field), value); };
}
// Sets a 32-bit field in both the local and the central header of entry i.
Mutation SetBoth32(size_t i, size_t localField, size_t centralField, uint32_t value) {
    return [=](std::string& b, const ZipWriter& w) {
        Patch32(b, Local(w, i, localField), value);
        Patch32(b, Central(w, i, centralField), value);
    };
}
Mutation SetSizes(size_t i, uint32_t uncompressed) {
    return SetBoth32(i, kLocalUncompressedSize, kCentralUncompressedSize, uncompressed);
}
// Makes the central directory claim more compressed bytes for entry i than it has.
Mutation GrowCompressed(size_t i, uint32_t by) {
    return [=](std::string& b, const ZipWriter& w) {
        const auto size = uint32_t(w.Entries()[i].compressedSize + by);
        Patch32(b, Central(w, i, kCentralCompressedSize), size);
    };
}
Mutation CorruptLocal(size_t i, size_t field) {
    return [=](std::string& b, const ZipWriter& w) { Corrupt(b, Local(w, i, field)); };
}
Mutation Append(size_t count, char c) {
    return [=](std::string& b, const ZipWriter&) { b.append(count, c); };
}
Mutation Cut(size_t count) {
    return [=](std::string& b, const ZipWriter&) { b.resize(b.size() - count); };
}
Mutation Replace(std::string bytes) {
    return [=](std::string& b, const ZipWriter&) { b = bytes; };
}

constexpr int kBad = CZipException::BadArchive;

const std::vector<ArchiveCase>& Cases() {
    static const std::vector<ArchiveCase> cases = {
        {"Deflated", One("a.bmp"), nullptr, kOk, {{"a.bmp", kPicture}}},
        {"Stored", One("a.bmp", kPicture, Stored()), nullptr, kOk, {{"a.bmp", kPicture}}},
        {"EmptyEntries",
         [](ZipWriter& w) {
             w.Add("e0", "");
             w.Add("e1", "", Stored());
         },
         nullptr, kOk, {{"e0", ""}, {"e1", ""}}},
        {"NoEntries", [](ZipWriter&) {}, nullptr, kOk, {}},
        {"DescriptorWithSignature",
         One("a.bmp", kPicture, WithDescriptor(ZipWriter::Descriptor::WithSignature, true)),
         nullptr, kOk, {{"a.bmp", kPicture}}},
        {"DescriptorWithoutSignature",
         Two(WithDescriptor(ZipWriter::Descriptor::WithoutSignature, false),
             WithDescriptor(ZipWriter::Descriptor::WithoutSignature, true)),
         nullptr, kOk, {{"a.bmp", kPicture}, {"b.bmp", kOther}}},
        {"DescriptorDisagrees",
         One("a.bmp", kPicture, WithDescriptor(ZipWriter::Descriptor::WithSignature, true)),
         [](std::string& b, const ZipWriter& w) {
             Corrupt(b, w.Entries()[0].dataOffset + w.Entries()[0].compressedSize + 4);
         },
         kBad, {}},
        {"LocalExtraFieldIsSkipped",
         [](ZipWriter& w) {
             Options o;
             o.localExtra = std::string(9, 'x');
             w.Add("a.bmp", kPicture, o);
         },
         nullptr, kOk, {{"a.bmp", kPicture}}},
        {"CommentOfMaximumLength",
         [](ZipWriter& w) {
             w.SetComment(std::string(65535, 'c'));
             w.Add("a.bmp", kPicture);
         },
         nullptr, kOk, {{"a.bmp", kPicture}}},
        {"TrailingJunkShorterThanLongestComment", One("a.bmp"), Append(65535, 'j'), kOk,
         {{"a.bmp", kPicture}}},
        {"TrailingJunkLongerThanLongestComment", One("a.bmp"), Append(65536, 'j'),
         CZipException::EndRecordNotFound, {}},
        {"NotAnArchive", One("a.bmp"), Replace("hello"), CZipException::EndRecordNotFound, {}},
        {"EmptyFile", One("a.bmp"), Replace(""), CZipException::EndRecordNotFound, {}},
        {"SelfExtractingPrefix",
         [](ZipWriter& w) {
             w.SetPrefix(std::string(5000, 'S'));
             w.Add("a.bmp", kPicture);
             w.Add("b.bmp", kOther, Stored());
         },
         nullptr, kOk, {{"a.bmp", kPicture}, {"b.bmp", kOther}}},
        {"SubFolder", One("skin/a.bmp"), nullptr, kOk, {{"skin", ""}, {"skin/a.bmp", kPicture}}},
        {"BackslashSubFolder", One("skin\\deep\\a.bmp"), nullptr, kOk,
         {{"skin", ""}, {"skin/deep", ""}, {"skin/deep/a.bmp", kPicture}}},
        {"DotAndEmptyComponentsDropped", One("./skin//a.bmp"), nullptr, kOk,
         {{"skin", ""}, {"skin/a.bmp", kPicture}}},
        {"DirectoryEntries",
         [](ZipWriter& w) {
             w.AddDirectory("skin/");
             Options o = Stored();
             o.externalAttributes = kDosDirectory;
             w.Add("flagged", "", o);
             w.Add("unix", "", Unix(0040755));
         },
         nullptr, kOk, {{"skin", ""}, {"flagged", ""}, {"unix", ""}}},
        {"Cp437Name", One("\x82t\x82.bmp"), nullptr, kOk, {{"\xC3\xA9t\xC3\xA9.bmp", kPicture}}},
        {"Utf8Name",
         [](ZipWriter& w) {
             Options o;
             o.extraFlags = kFlagUtf8Name;
             w.Add("\xC3\xA9.bmp", kPicture, o);
         },
         nullptr, kOk, {{"\xC3\xA9.bmp", kPicture}}},

        // Damaged data.
        {"StoredDataCorrupted", Two(Stored(), Stored()),
         [](std::string& b, const ZipWriter& w) { Corrupt(b, w.Entries()[1].dataOffset + 100); },
         CZipException::BadCrc, {{"a.bmp", kPicture}}},
        {"CrcFieldsWrong", Two(), SetBoth32(1, kLocalCrc, kCentralCrc, 0x12345678),
         CZipException::BadCrc, {{"a.bmp", kPicture}}},
        {"DeflateDataCorrupted", One("a.bmp"),
         [](std::string& b, const ZipWriter& w) {
             b[w.Entries()[0].dataOffset] = 0x07;  // final block of the reserved type
         },
         CZipException::ZlibDataError, {}},
        // A stream that ends early fails only its own entry, and its short file goes.
        {"DeflateShorterThanDeclared", Two(), SetSizes(0, 3001), kFalse, {{"b.bmp", kOther}}},
        {"DeflateLongerThanDeclared", One("a.bmp"), SetSizes(0, 2999), kBad, {}},
        {"StoredSizesDiffer", One("a.bmp", kPicture, Stored()), SetSizes(0, 2999), kBad, {}},
        {"TruncatedEndRecord", One("a.bmp"), Cut(10), kBad, {}},
        {"TruncatedToHalf", One("a.bmp"),
         [](std::string& b, const ZipWriter&) { b.resize(b.size() / 2); },
         CZipException::EndRecordNotFound, {}},
        {"DataCutOutOfTheMiddle", One("a.bmp"),
         [](std::string& b, const ZipWriter& w) { b.erase(w.Entries()[0].dataOffset + 10, 50); },
         kBad, {}},
        {"CommentCutShort",
         [](ZipWriter& w) {
             w.SetComment("hello");
             w.Add("a.bmp", kPicture);
         },
         Cut(2), kBad, {}},

        // Headers that disagree.
        {"LocalSignatureWrong", One("a.bmp"), CorruptLocal(0, 0), kBad, {}},
        {"LocalMethodDiffers", One("a.bmp"), SetLocal16(0, kLocalMethod, 0), kBad, {}},
        {"LocalFlagsDiffer", One("a.bmp"), SetLocal16(0, kLocalFlags, 2), kBad, {}},
        {"LocalNameLengthDiffers", One("a.bmp"), SetLocal16(0, kLocalNameLength, 4), kBad, {}},
        {"LocalCrcDiffers", One("a.bmp"), CorruptLocal(0, kLocalCrc), kBad, {}},
        {"LocalSizeDiffers", One("a.bmp"), CorruptLocal(0, kLocalCompressedSize), kBad, {}},
        {"UnsupportedMethod", One("a.bmp"),
         [](std::string& b, const ZipWriter& w) {
             Patch16(b, Local(w, 0, kLocalMethod), 12);
             Patch16(b, Central(w, 0, kCentralMethod), 12);
         },
         kBad, {}},
        {"CentralSignatureWrong", Two(),
         [](std::string& b, const ZipWriter& w) { Corrupt(b, Central(w, 1, 1)); }, kBad, {}},
        {"CentralNameRunsPastDirectory", One("a.bmp"), SetCentral16(0, kCentralNameLength, 200),
         kBad, {}},
        {"DirectoryBeyondEndRecord", One("a.bmp"), SetEnd32(kEndDirectoryOffset, 100000), kBad, {}},
        {"DirectorySizeZeroWithEntries", One("a.bmp"), SetEnd32(kEndDirectorySize, 0), kBad, {}},
        {"EntriesZeroWithDirectory", One("a.bmp"), SetEnd16(kEndTotalEntries, 0), kBad, {}},
        {"HugeEntryCountTinyDirectory", One("a.bmp"), SetEnd16(kEndTotalEntries, 65535), kBad, {}},
        {"MultiVolume", One("a.bmp"), SetEnd16(kEndThisDisk, 1), kBad, {}},
        {"DirectoryOnAnotherDisk", One("a.bmp"), SetEnd16(kEndDirectoryDisk, 2), kBad, {}},

        // Entries sharing bytes, or larger than allowed.
        {"TwoEntriesOneLocalHeader", Two(),
         [](std::string& b, const ZipWriter& w) {
             const auto first = uint32_t(w.Entries()[0].localOffset);
             Patch32(b, Central(w, 1, kCentralLocalOffset), first);
         },
         kBad, {}},
        {"DataRunsIntoNextEntry", Two(), GrowCompressed(0, 40), kBad, {}},
        {"LocalExtraRunsIntoNextEntry", Two(), SetLocal16(0, kLocalExtraLength, 500), kBad, {}},
        {"DataRunsIntoDirectory", One("a.bmp"), GrowCompressed(0, 1), kBad, {}},
        {"DeclaredSizeAboveEntryCap", One("a.bmp"),
         SetSizes(0, uint32_t(CZipReader::kMaxEntrySize + 1)), kBad, {}},

        // Entries that must not be extracted as named.
        {"Encrypted",
         [](ZipWriter& w) {
             Options o;
             o.extraFlags = kFlagEncrypted;
             w.Add("a.bmp", kPicture, o);
             w.Add("b.bmp", kOther);
         },
         nullptr, kFalse, {{"b.bmp", kOther}}},
        {"ParentTraversal", One("../x"), nullptr, kBad, {}},
        {"NestedParentTraversal", One("a/../../x"), nullptr, kBad, {}},
        {"BackslashTraversal", One("..\\x"), nullptr, kBad, {}},
        // Roots and drives are dropped: the entry lands inside the folder.
        {"AbsolutePath", One("/tmp/cs-zip-absolute"), nullptr, kOk,
         {{"tmp", ""}, {"tmp/cs-zip-absolute", kPicture}}},
        {"AbsoluteBackslashPath", One("\\tmp\\cs-zip-absolute"), nullptr, kOk,
         {{"tmp", ""}, {"tmp/cs-zip-absolute", kPicture}}},
        {"DrivePrefix", One("C:x"), nullptr, kOk, {{"x", kPicture}}},
        {"DrivePrefixWithRoot", One("c:\\x"), nullptr, kOk, {{"x", kPicture}}},
        {"DrivePrefixWithTraversal", One("c:\\..\\x"), nullptr, kBad, {}},
        {"NulInName", One(std::string("a.bmp\0.txt", 10)), nullptr, kBad, {}},
        {"SymlinkEntry", One("link", "/etc/passwd", Unix(0120777)), nullptr, kBad, {}},
        {"SymlinkDirectoryEntry",
         [](ZipWriter& w) {
             Options o = Unix(0120777);
             o.deflate = false;
             w.Add("dir/", "", o);
         },
         nullptr, kBad, {}},
    };
    return cases;
}

class ArchiveTable : public ::testing::TestWithParam<ArchiveCase> {};

// Writes the archive to a file, opens it and extracts every entry with its stored path,
// stopping at the first error as the skin loader does.
TEST_P(ArchiveTable, ExtractsOrFailsAsExpected) {
    const ArchiveCase& c = GetParam();
    ZipWriter writer;
    c.setup(writer);
    std::string bytes = writer.Finish();
    if (c.mutate) c.mutate(bytes, writer);
    // CS_ZIP_CORPUS=<folder> saves the small archives as seeds for the fuzz target.
    if (const char* corpus = std::getenv("CS_ZIP_CORPUS"); corpus && bytes.size() <= 4096)
        ZipWriter::WriteFile((fs::path(corpus) / c.name).string(), bytes);

    TempDir temp;
    const fs::path archive = temp.Path() / "package.skn";
    const fs::path folder = temp.Path() / "out";
    ASSERT_TRUE(ZipWriter::WriteFile(archive.string(), bytes));

    CZipReader reader;
    const int outcome = OutcomeOf([&] {
        reader.OpenArchive(archive, CZipReader::OpenExisting, 0);
        bool all = true;
        for (int i = 0; i < reader.EntryCount(); ++i)
            all = reader.ExtractEntry(uint16_t(i), folder, true) && all;
        return all;
    });
    EXPECT_EQ(outcome, c.expected);

    std::vector<std::string> expectedTree;
    for (const auto& [path, content] : c.files) {
        expectedTree.push_back(path);
        if (fs::is_regular_file(folder / path))
            EXPECT_EQ(ReadFile(folder / path), content) << path;
        else
            EXPECT_TRUE(fs::is_directory(folder / path)) << path;
    }
    std::sort(expectedTree.begin(), expectedTree.end());
    EXPECT_EQ(ListTree(folder), expectedTree);
    // Whatever the archive says, nothing lands beside the extraction folder.
    const std::vector<std::string> beside = ListTree(temp.Path());
    EXPECT_TRUE(std::all_of(beside.begin(), beside.end(), [](const std::string& p) {
        return p == "package.skn" || p == "out" || p.rfind("out/", 0) == 0;
    }));
    EXPECT_FALSE(fs::exists("/tmp/cs-zip-absolute"));
}

INSTANTIATE_TEST_SUITE_P(CZipReader, ArchiveTable, ::testing::ValuesIn(Cases()), RowName());

// The end record is searched in overlapping chunks from the end; a signature that straddles
// a chunk boundary (32768 bytes from the end) must still be found.
TEST(CZipReaderEndRecord, FoundWhereverTheCommentPutsIt) {
    for (size_t comment = 32740; comment <= 32752; ++comment) {
        ZipWriter writer;
        writer.SetComment(std::string(comment, 'c'));
        writer.Add("a.bmp", kPicture);
        CZipReader reader;
        EXPECT_EQ(OutcomeOf([&] {
                      reader.OpenArchiveFromMemory(writer.Finish());
                      return reader.EntryCount() == 1;
                  }),
                  kOk)
            << "comment of " << comment;
        EXPECT_EQ(reader.Comment().size(), comment);
    }
}

TEST(CZipReaderEndRecord, LastSignatureWins) {
    // An archive whose comment holds a second, bogus end record: the later one is read.
    ZipWriter inner;
    std::string bogus = inner.Finish();  // an empty archive: just an end record
    ZipWriter writer;
    writer.SetComment(bogus);
    writer.Add("a.bmp", kPicture);
    CZipReader reader;
    reader.OpenArchiveFromMemory(writer.Finish());
    EXPECT_EQ(reader.EntryCount(), 0);
}

// Entries that share bytes are refused as soon as the directory is read, before any entry
// is extracted.
TEST(CZipReaderLayout, OverlapsAreRefusedAtOpen) {
    const Mutation overlaps[] = {
        [](std::string& b, const ZipWriter& w) {
            Patch32(b, Central(w, 1, kCentralLocalOffset), uint32_t(w.Entries()[0].localOffset));
        },
        GrowCompressed(0, 1),
        [](std::string& b, const ZipWriter& w) {
            Patch32(b, Central(w, 1, kCentralLocalOffset), uint32_t(w.Entries()[0].dataOffset));
        },
    };
    for (const Mutation& overlap : overlaps) {
        ZipWriter writer;
        Two()(writer);
        std::string bytes = writer.Finish();
        overlap(bytes, writer);
        CZipReader reader;
        EXPECT_EQ(OutcomeOf([&] { reader.OpenArchiveFromMemory(bytes); return true; }),
                  CZipException::BadArchive);
    }
}

// The package-wide cap on declared sizes, at n and n+1.
TEST(CZipReaderLimits, ArchiveTotalCapIsInclusive) {
    for (const uint64_t extra : {0, 1}) {
        ZipWriter writer;
        for (const char* name : {"e0", "e1", "e2", "e3"}) writer.Add(name, "x");
        std::string bytes = writer.Finish();
        const uint64_t each = CZipReader::kMaxArchiveSize / 4;
        for (size_t i = 0; i < 4; ++i) {
            const auto declared = uint32_t(each + (i == 3 ? extra : 0));
            Patch32(bytes, Central(writer, i, kCentralUncompressedSize), declared);
        }
        CZipReader reader;
        EXPECT_EQ(OutcomeOf([&] {
                      reader.OpenArchiveFromMemory(bytes);
                      return true;
                  }),
                  extra ? CZipException::BadArchive : kOk);
    }
}

// One entry at the cap may be read; one byte more is refused before anything is written.
TEST(CZipReaderLimits, EntryCapIsInclusive) {
    TempDir temp;
    for (const uint64_t extra : {0, 1}) {
        ZipWriter writer;
        Options fast;
        fast.level = 1;
        writer.Add("big", std::string(CZipReader::kMaxEntrySize + extra, '\0'), fast);
        CZipReader reader;
        reader.OpenArchiveFromMemory(writer.Finish());
        int calls = 0;
        const auto stopAtFirstBlock = [&](uint64_t total, uint64_t done, void*) {
            EXPECT_EQ(total, CZipReader::kMaxEntrySize);
            EXPECT_EQ(done, CZipReader::kDefaultBufferSize);
            ++calls;
            return false;
        };
        EXPECT_EQ(OutcomeOf([&] {
                      return reader.ExtractEntry(0, temp.Path(), true, std::nullopt,
                                                 stopAtFirstBlock);
                  }),
                  extra ? kBad : kFalse);
        EXPECT_EQ(calls, extra ? 0 : 1);
        EXPECT_FALSE(fs::exists(temp.Path() / "big"));
    }
}

}  // namespace
