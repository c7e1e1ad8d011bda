// A small ZIP writer: builds the shipped skin packages, and lets tests craft archives
// (prefixes, data descriptors, comments, any flags, names and attributes) to read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ZipWriter {
public:
    enum class Descriptor { None, WithSignature, WithoutSignature };

    struct EntryOptions {
        bool deflate = true;
        Descriptor descriptor = Descriptor::None;
        uint16_t versionMadeBy = 20;  // 20: DOS attributes; (3 << 8) | 20 for Unix ones
        uint32_t externalAttributes = 0;
        uint16_t dosTime = 0x6000;  // 12:00:00
        uint16_t dosDate = 0x5A87;  // 2025-04-07
        uint16_t extraFlags = 0;    // ORed into both headers' flags: 0x0001 encrypted, 0x0800 UTF-8
        std::string localExtra;     // the local header's extra field
        int level = 9;              // zlib's compression level when deflating
    };

    // Where each entry landed, so tests can corrupt a named byte.
    struct EntryInfo {
        std::string name;
        size_t localOffset = 0;
        size_t dataOffset = 0;
        size_t compressedSize = 0;
        size_t centralOffset = 0;
    };

    // Bytes before the archive, as a self-extracting stub would put them. Call before Add.
    void SetPrefix(std::string prefix);
    void SetComment(std::string comment);
    void Add(const std::string& name, const std::string& data, const EntryOptions& options);
    void Add(const std::string& name, const std::string& data) { Add(name, data, EntryOptions{}); }
    void AddDirectory(const std::string& name);

    // The whole archive. Entries added afterwards are not in it.
    std::string Finish();

    const std::vector<EntryInfo>& Entries() const { return m_entries; }
    size_t CentralDirectoryOffset() const { return m_centralOffset; }
    size_t EndRecordOffset() const { return m_endOffset; }

    static bool WriteFile(const std::string& path, const std::string& bytes);

private:
    std::string m_out;
    std::string m_central;
    std::string m_comment;
    std::vector<EntryInfo> m_entries;
    size_t m_prefixSize = 0;
    size_t m_centralOffset = 0;
    size_t m_endOffset = 0;
};
