#include "ZipEntryHeader.h"

#include <sys/stat.h>

#include "ZipEntryName.h"
#include "ZipFormat.h"

using namespace zipformat;

bool ZipEntryHeader::IsEncrypted() const { return flags & kFlagEncrypted; }

bool ZipEntryHeader::HasDescriptor() const { return flags & kFlagDescriptor; }

bool ZipEntryHeader::HasUnixAttributes() const {
    const int host = versionMadeBy >> 8;
    return host == kHostUnix || host == kHostDarwin;
}

bool ZipEntryHeader::IsDirectory() const {
    if (externalAttributes & kDosDirectory) return true;
    if (ZipEntryName::IsFolderName(name)) return true;
    return HasUnixAttributes() && S_ISDIR(externalAttributes >> 16);
}

bool ZipEntryHeader::IsSymlink() const {
    return HasUnixAttributes() && S_ISLNK(externalAttributes >> 16);
}

mode_t ZipEntryHeader::Permissions() const {
    const bool folder = IsDirectory();
    const mode_t owner = folder ? 0700 : 0600;
    const mode_t unixMode = HasUnixAttributes() ? (externalAttributes >> 16) & 0777 : 0;
    if (unixMode == 0) return folder ? 0755 : 0644;
    return (unixMode & 0755) | owner;
}

std::optional<std::time_t> ZipEntryHeader::ModificationTime() const {
    std::tm tm{};
    tm.tm_year = 80 + (modDate >> 9);
    tm.tm_mon = ((modDate >> 5) & 0x0F) - 1;
    tm.tm_mday = modDate & 0x1F;
    tm.tm_hour = modTime >> 11;
    tm.tm_min = (modTime >> 5) & 0x3F;
    tm.tm_sec = (modTime & 0x1F) * 2;
    tm.tm_isdst = -1;
    if (tm.tm_mon < 0 || tm.tm_mon > 11 || tm.tm_mday < 1 || tm.tm_hour > 23 || tm.tm_min > 59 ||
        tm.tm_sec > 59)
        return std::nullopt;
    const std::time_t t = std::mktime(&tm);
    if (t == std::time_t(-1)) return std::nullopt;
    return t;
}
