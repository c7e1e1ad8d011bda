// Reads skin packages: ZIP archives with stored and deflated entries. Opens an archive,
// reads its central directory and extracts entries into a folder.
//
// Archives are untrusted input. Nothing an entry says can place a file outside the
// extraction folder, create a link, or make the reader allocate or write without bound:
// such entries are rejected as a damaged archive (cause 10).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CZipException.h"
#include "CZipFileException.h"
#include "ZipEntryHeader.h"
#include "ZipOutputFolder.h"

class ZipEntryStream;
class ZipStorage;

class CZipReader {
public:
    // Called after each block written: the entry's size, the bytes written so far and the
    // caller's value. Returning false stops the extraction of that entry.
    using ProgressCallback = std::function<bool(uint64_t total, uint64_t done, void* userValue)>;

    // Every mode opens the archive read-only: reading never needs more, and a read-only
    // package or medium must still open.
    enum OpenMode : int { OpenExisting = 0, OpenReadOnly = 1 };

    static constexpr uint64_t kMaxEntrySize = 64ull << 20;     // either size of one entry
    static constexpr uint64_t kMaxArchiveSize = 256ull << 20;  // all entries, uncompressed
    static constexpr size_t kDefaultBufferSize = 65535;

    CZipReader();
    ~CZipReader();
    CZipReader(const CZipReader&) = delete;
    CZipReader& operator=(const CZipReader&) = delete;

    // Opens an existing archive and reads its central directory; an archive still open is
    // closed first. volumeSize only matters for writing split archives and is ignored.
    // Throws CZipException (cause 18: no end of central directory record) or
    // CZipFileException. After a failure the reader is closed.
    void OpenArchive(const std::filesystem::path& path, int mode = OpenExisting,
                     uint64_t volumeSize = 0);
    void OpenArchiveFromMemory(std::string bytes, std::string name = "<memory>");
    void OpenArchive(std::unique_ptr<ZipStorage> storage);

    // Drops any open entry and the archive. Reading leaves nothing to write back, so this
    // cannot fail; afterException is kept for callers that close after an error.
    void CloseArchive(bool afterException = false);

    bool IsOpen() const { return m_storage != nullptr; }
    int EntryCount() const { return static_cast<int>(m_entries.size()); }
    // Nothing when index is out of range.
    const ZipEntryHeader* EntryHeader(uint16_t index) const;
    const std::string& Comment() const { return m_comment; }

    // Writes entry index into folder (made when missing): below it at the stored path when
    // keepPath, else directly in it; under newName instead of the stored name when given.
    // Returns true when the entry was written and checked. Returns false without raising for
    // an encrypted entry, a bad index, a buffer size of 0, when the callback stopped it or
    // the deflate data ended before its declared size (the part written is removed), or
    // when its permissions could not be set. Throws
    // CZipException or CZipFileException otherwise; a file whose data fails its checks is
    // removed, and the entry is closed again.
    bool ExtractEntry(uint16_t index, const std::filesystem::path& folder, bool keepPath = true,
                      const std::optional<std::string>& newName = std::nullopt,
                      const ProgressCallback& callback = nullptr, void* userValue = nullptr,
                      size_t bufferSize = kDefaultBufferSize);

    // Reading one entry by hand. OpenEntry gives false for a bad index, while another entry
    // is open and for an encrypted entry; it throws when the local header does not match.
    bool OpenEntry(uint16_t index);
    // Up to length bytes, fewer only at the entry's end; 0 with no entry open.
    size_t ReadEntry(void* buffer, size_t length);
    // Closes the open entry, whatever follows. 1: every byte was read and checked; -1: the
    // reading stopped early (nothing checked); -2: the destination's permissions could not
    // be set; 0: no entry was open, or afterException (nothing checked). With a destination,
    // its times and permissions are set from the entry (never through a link). Throws
    // CZipException when the CRC-32 (cause 11) or the data descriptor (cause 10) is wrong.
    int CloseEntry(const std::filesystem::path& destination = {}, bool afterException = false);

private:
    uint64_t FindEndRecord();
    void ReadCentralDirectory();
    void ReadCentralHeaders(const std::vector<uint8_t>& directory, uint16_t total);
    void CheckLayout(uint64_t directoryOffset);
    void CheckDescriptor(const ZipEntryHeader& header);
    [[noreturn]] void Fail(int code) const;

    std::unique_ptr<ZipStorage> m_storage;
    std::vector<ZipEntryHeader> m_entries;
    std::string m_comment;
    uint64_t m_prefixSize = 0;  // bytes before the archive, such as a self-extracting stub

    std::unique_ptr<ZipEntryStream> m_entry;
    uint16_t m_entryIndex = 0;
    uint64_t m_entryDataEnd = 0;  // where a data descriptor would start
    ZipOutputFolder m_folders;     // the folder the last entry went to, for the next one
};
