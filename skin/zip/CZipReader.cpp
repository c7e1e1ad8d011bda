#include "CZipReader.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <numeric>

#include "UniqueFd.h"
#include "ZipEntryName.h"
#include "ZipEntryStream.h"
#include "ZipFileStorage.h"
#include "ZipFormat.h"
#include "ZipMemoryStorage.h"
#include "ZipOutputFile.h"

using namespace zipformat;

namespace {
// The end record is searched backwards in chunks that overlap by 3 bytes, so a signature
// split across two chunks is still seen.
constexpr size_t kEndSearchChunk = 32768;
}  // namespace

CZipReader::CZipReader() = default;
CZipReader::~CZipReader() = default;

void CZipReader::Fail(int code) const {
    throw CZipException::FromCode(code, m_storage ? m_storage->Name() : std::string());
}

void CZipReader::OpenArchive(const std::filesystem::path& path, int, uint64_t) {
    CloseArchive(true);  // also when the new file cannot be opened
    OpenArchive(std::make_unique<ZipFileStorage>(path));
}

void CZipReader::OpenArchiveFromMemory(std::string bytes, std::string name) {
    OpenArchive(std::make_unique<ZipMemoryStorage>(std::move(bytes), std::move(name)));
}

void CZipReader::OpenArchive(std::unique_ptr<ZipStorage> storage) {
    CloseArchive(true);
    m_storage = std::move(storage);
    try {
        ReadCentralDirectory();
    } catch (...) {
        CloseArchive(true);
        throw;
    }
}

void CZipReader::CloseArchive(bool) {
    m_entry.reset();
    m_folders.Reset();
    m_entries.clear();
    m_comment.clear();
    m_prefixSize = 0;
    m_storage.reset();
}

const ZipEntryHeader* CZipReader::EntryHeader(uint16_t index) const {
    return index < m_entries.size() ? &m_entries[index] : nullptr;
}

uint64_t CZipReader::FindEndRecord() {
    const uint64_t size = m_storage->Size();
    const uint64_t floor = size - std::min<uint64_t>(size, kEndSize + kMaxCommentSize);
    std::vector<uint8_t> chunk(kEndSearchChunk);
    uint64_t chunkEnd = size;
    while (chunkEnd - floor >= 4) {
        const size_t length =
            static_cast<size_t>(std::min<uint64_t>(kEndSearchChunk, chunkEnd - floor));
        const uint64_t chunkStart = chunkEnd - length;
        if (m_storage->ReadAt(chunkStart, chunk.data(), length) != length)
            Fail(CZipException::kBadArchive);
        for (size_t i = length - 4 + 1; i-- > 0;)
            if (Get32(&chunk[i]) == kEndSignature) return chunkStart + i;
        if (chunkStart == floor) break;
        chunkEnd = chunkStart + 3;
    }
    Fail(CZipException::kEndRecordNotFound);
}

void CZipReader::ReadCentralDirectory() {
    const uint64_t endOffset = FindEndRecord();
    uint8_t end[kEndSize];
    if (m_storage->ReadAt(endOffset, end, kEndSize) != kEndSize) Fail(CZipException::kBadArchive);
    // Volumes of a multi-volume set are not read.
    if (Get16(end + kEndThisDisk) != 0 || Get16(end + kEndDirectoryDisk) != 0)
        Fail(CZipException::kBadArchive);
    const uint16_t total = Get16(end + kEndTotalEntries);
    const uint32_t directorySize = Get32(end + kEndDirectorySize);
    const uint32_t directoryOffset = Get32(end + kEndDirectoryOffset);
    if (endOffset < uint64_t(directoryOffset) + directorySize) Fail(CZipException::kBadArchive);

    m_comment.resize(Get16(end + kEndCommentLength));
    if (m_storage->ReadAt(endOffset + kEndSize, m_comment.data(), m_comment.size()) !=
        m_comment.size())
        Fail(CZipException::kBadArchive);

    // Offsets in the archive count from its own start; whatever precedes it shifts them all.
    m_prefixSize = endOffset - directoryOffset - directorySize;
    if ((directorySize == 0) != (total == 0)) Fail(CZipException::kBadArchive);
    // Never trust the count: it must fit the directory before anything is allocated for it.
    if (total > directorySize / kCentralSize) Fail(CZipException::kBadArchive);
    if (total == 0) return;

    std::vector<uint8_t> directory(directorySize);
    if (m_storage->ReadAt(m_prefixSize + directoryOffset, directory.data(), directorySize) !=
        directorySize)
        Fail(CZipException::kBadArchive);
    ReadCentralHeaders(directory, total);
    CheckLayout(directoryOffset);
}

void CZipReader::ReadCentralHeaders(const std::vector<uint8_t>& directory, uint16_t total) {
    m_entries.reserve(total);
    size_t pos = 0;
    uint64_t totalSize = 0;
    for (uint16_t i = 0; i < total; ++i) {
        if (directory.size() - pos < kCentralSize) Fail(CZipException::kBadArchive);
        const uint8_t* p = directory.data() + pos;
        if (Get32(p) != kCentralSignature) Fail(CZipException::kBadArchive);
        const size_t nameLength = Get16(p + kCentralNameLength);
        const size_t extraLength = Get16(p + kCentralExtraLength);
        const size_t commentLength = Get16(p + kCentralCommentLength);
        const size_t recordSize = kCentralSize + nameLength + extraLength + commentLength;
        if (directory.size() - pos < recordSize) Fail(CZipException::kBadArchive);

        ZipEntryHeader& h = m_entries.emplace_back();
        h.versionMadeBy = Get16(p + kCentralVersionMadeBy);
        h.versionNeeded = Get16(p + kCentralVersionNeeded);
        h.flags = Get16(p + kCentralFlags);
        h.method = Get16(p + kCentralMethod);
        h.modTime = Get16(p + kCentralTime);
        h.modDate = Get16(p + kCentralDate);
        h.crc = Get32(p + kCentralCrc);
        h.compressedSize = Get32(p + kCentralCompressedSize);
        h.uncompressedSize = Get32(p + kCentralUncompressedSize);
        h.diskStart = Get16(p + kCentralDiskStart);
        h.internalAttributes = Get16(p + kCentralInternalAttributes);
        h.externalAttributes = Get32(p + kCentralExternalAttributes);
        h.localOffset = Get32(p + kCentralLocalOffset);
        h.storedNameLength = static_cast<uint16_t>(nameLength);
        const auto* name = reinterpret_cast<const char*>(p + kCentralSize);
        h.name = ZipEntryName::ToUtf8({name, nameLength}, h.flags & kFlagUtf8Name);
        h.comment.assign(name + nameLength + extraLength, commentLength);
        totalSize += h.uncompressedSize;
        pos += recordSize;
    }
    if (totalSize > kMaxArchiveSize) Fail(CZipException::kBadArchive);
}

// Each entry's local header, data and descriptor must fit before the next entry's local
// header, and the last before the central directory: entries that share or overlap bytes
// could otherwise expand one piece of data many times over.
void CZipReader::CheckLayout(uint64_t directoryOffset) {
    std::vector<size_t> order(m_entries.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(), [this](size_t a, size_t b) {
        return m_entries[a].localOffset < m_entries[b].localOffset;
    });
    for (size_t i = 0; i < order.size(); ++i) {
        ZipEntryHeader& h = m_entries[order[i]];
        h.dataLimit = i + 1 < order.size() ? m_entries[order[i + 1]].localOffset : directoryOffset;
        const uint64_t smallest = uint64_t(h.localOffset) + kLocalSize + h.storedNameLength +
                                  h.compressedSize + (h.HasDescriptor() ? kDescriptorSize : 0);
        if (smallest > h.dataLimit) Fail(CZipException::kBadArchive);
    }
}

bool CZipReader::OpenEntry(uint16_t index) {
    if (!m_storage || index >= m_entries.size() || m_entry) return false;
    const ZipEntryHeader& h = m_entries[index];

    uint8_t local[kLocalSize];
    if (m_storage->ReadAt(m_prefixSize + h.localOffset, local, kLocalSize) != kLocalSize)
        Fail(CZipException::kBadArchive);
    const uint16_t method = Get16(local + kLocalMethod);
    bool consistent = Get32(local) == kLocalSignature && Get16(local + kLocalFlags) == h.flags &&
                      method == h.method &&
                      (method == kMethodStored || method == kMethodDeflated) &&
                      Get16(local + kLocalNameLength) == h.storedNameLength;
    if (consistent && !h.HasDescriptor())
        consistent = Get32(local + kLocalCrc) == h.crc &&
                     Get32(local + kLocalCompressedSize) == h.compressedSize &&
                     Get32(local + kLocalUncompressedSize) == h.uncompressedSize;
    if (!consistent) Fail(CZipException::kBadArchive);

    const uint64_t dataOffset = uint64_t(h.localOffset) + kLocalSize + h.storedNameLength +
                                Get16(local + kLocalExtraLength);
    const uint64_t dataEnd = dataOffset + h.compressedSize;
    if (dataEnd + (h.HasDescriptor() ? kDescriptorSize : 0) > h.dataLimit)
        Fail(CZipException::kBadArchive);

    // No password is ever set, so encrypted entries are skipped rather than failed.
    if (h.IsEncrypted()) return false;
    if (h.compressedSize > kMaxEntrySize || h.uncompressedSize > kMaxEntrySize)
        Fail(CZipException::kBadArchive);
    if (h.method == kMethodStored && h.compressedSize != h.uncompressedSize)
        Fail(CZipException::kBadArchive);

    m_entry = std::make_unique<ZipEntryStream>(*m_storage, h, m_prefixSize + dataOffset);
    m_entryIndex = index;
    m_entryDataEnd = m_prefixSize + dataEnd;
    return true;
}

size_t CZipReader::ReadEntry(void* buffer, size_t length) {
    return m_entry ? m_entry->Read(buffer, length) : 0;
}

void CZipReader::CheckDescriptor(const ZipEntryHeader& h) {
    // The signature is optional; with it the record is 16 bytes, and only room for 12 means
    // it cannot be there.
    const uint64_t room = m_prefixSize + h.dataLimit - m_entryDataEnd;
    uint8_t record[kDescriptorSignedSize];
    const size_t length = static_cast<size_t>(std::min<uint64_t>(room, sizeof record));
    if (m_storage->ReadAt(m_entryDataEnd, record, length) != length)
        Fail(CZipException::kBadArchive);
    const bool signed_ = length == kDescriptorSignedSize && Get32(record) == kDescriptorSignature;
    const uint8_t* p = record + (signed_ ? 4 : 0);
    if (Get32(p) != h.crc || Get32(p + 4) != h.compressedSize || Get32(p + 8) != h.uncompressedSize)
        Fail(CZipException::kBadArchive);
}

int CZipReader::CloseEntry(const std::filesystem::path& destination, bool afterException) {
    // The entry is closed whatever happens below, so the reader stays usable after a throw.
    const std::unique_ptr<ZipEntryStream> entry = std::move(m_entry);
    if (!entry || afterException) return 0;
    if (entry->Remaining() > 0) return -1;

    const ZipEntryHeader& h = m_entries[m_entryIndex];
    entry->Verify();
    if (h.HasDescriptor()) CheckDescriptor(h);
    if (destination.empty()) return 1;

    if (const auto when = h.ModificationTime()) {
        const struct timespec times[2] = {{0, UTIME_NOW}, {*when, 0}};
        ::utimensat(AT_FDCWD, destination.c_str(), times, AT_SYMLINK_NOFOLLOW);
    }
    return ::fchmodat(AT_FDCWD, destination.c_str(), h.Permissions(), AT_SYMLINK_NOFOLLOW) == 0
               ? 1
               : -2;
}

bool CZipReader::ExtractEntry(uint16_t index, const std::filesystem::path& folder, bool keepPath,
                              const std::optional<std::string>& newName,
                              const ProgressCallback& callback, void* userValue,
                              size_t bufferSize) {
    if (bufferSize == 0 || folder.empty()) return false;
    if (!m_storage || index >= m_entries.size() || m_entry) return false;
    const ZipEntryHeader& h = m_entries[index];
    const std::string& name = newName ? *newName : h.name;

    auto parts = ZipEntryName::SafeComponents(name);
    if (!parts || h.IsSymlink()) Fail(CZipException::kBadArchive);
    if (!keepPath && parts->size() > 1) parts->erase(parts->begin(), parts->end() - 1);

    if (h.IsDirectory() || ZipEntryName::IsFolderName(name)) {
        const UniqueFd made = m_folders.Open(folder, *parts);
        return ::fchmod(made.Get(), h.Permissions()) == 0;
    }
    if (parts->empty()) Fail(CZipException::kBadArchive);

    if (!OpenEntry(index)) return false;
    try {
        std::filesystem::path shown = folder;
        for (const std::string& part : *parts) shown /= part;
        const std::string leaf = std::move(parts->back());
        parts->pop_back();
        ZipOutputFile out(m_folders.Open(folder, *parts), leaf, shown.string());

        // Small entries need no more than their own size (plus one byte to see the end).
        std::vector<uint8_t> buffer(
            static_cast<size_t>(std::min<uint64_t>(bufferSize, uint64_t(h.uncompressedSize) + 1)));
        uint64_t written = 0;
        for (;;) {
            const size_t n = ReadEntry(buffer.data(), buffer.size());
            out.Write(buffer.data(), n);
            written += n;
            if (callback && !callback(h.uncompressedSize, written, userValue)) break;
            if (n < buffer.size()) break;
        }
        if (CloseEntry() != 1) return false;  // stopped early: the part written goes

        if (const auto when = h.ModificationTime()) out.SetModificationTime(*when);
        const bool permitted = out.SetPermissions(h.Permissions());
        out.Keep();
        return permitted;
    } catch (...) {
        CloseEntry({}, true);
        throw;
    }
}
