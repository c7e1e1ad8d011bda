// One entry of the central directory, as read, with what the reader derives from it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

struct ZipEntryHeader {
    uint16_t versionMadeBy = 0;
    uint16_t versionNeeded = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t modTime = 0;
    uint16_t modDate = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint16_t diskStart = 0;
    uint16_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    uint32_t localOffset = 0;  // relative to the archive's start, before any prefix shift
    uint16_t storedNameLength = 0;
    std::string name;  // UTF-8 with "/" separators
    std::string comment;
    // Where the next local header or the central directory starts: this entry's header,
    // data and descriptor must end there at the latest. Relative like localOffset.
    uint64_t dataLimit = 0;

    bool IsEncrypted() const;
    bool HasDescriptor() const;
    bool HasUnixAttributes() const;
    bool IsDirectory() const;
    bool IsSymlink() const;

    // Permission bits for the extracted file or folder: only ordinary read/write/execute
    // bits, never set-id or sticky, never writable by group or others, always readable and
    // writable (and for folders searchable) by the owner so the skin folder can be removed.
    mode_t Permissions() const;

    // The DOS date and time, read as local time; nothing when they are not a valid moment.
    std::optional<std::time_t> ModificationTime() const;
};
