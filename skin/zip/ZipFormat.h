// The ZIP records this reader understands, in one place: signatures, fixed sizes and the
// offsets of the fields read. Everything in the format is little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zipformat {

// End of central directory: 22 bytes, then a comment of up to 65535 bytes.
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr size_t kEndSize = 22;
constexpr size_t kMaxCommentSize = 65535;
constexpr size_t kEndThisDisk = 4;          // 16-bit
constexpr size_t kEndDirectoryDisk = 6;     // 16-bit
constexpr size_t kEndTotalEntries = 10;     // 16-bit
constexpr size_t kEndDirectorySize = 12;    // 32-bit
constexpr size_t kEndDirectoryOffset = 16;  // 32-bit
constexpr size_t kEndCommentLength = 20;    // 16-bit

// Central file header: 46 bytes, then name, extra field and comment.
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr size_t kCentralSize = 46;
constexpr size_t kCentralVersionMadeBy = 4;
constexpr size_t kCentralVersionNeeded = 6;
constexpr size_t kCentralFlags = 8;
constexpr size_t kCentralMethod = 10;
constexpr size_t kCentralTime = 12;
constexpr size_t kCentralDate = 14;
constexpr size_t kCentralCrc = 16;
constexpr size_t kCentralCompressedSize = 20;
constexpr size_t kCentralUncompressedSize = 24;
constexpr size_t kCentralNameLength = 28;
constexpr size_t kCentralExtraLength = 30;
constexpr size_t kCentralCommentLength = 32;
constexpr size_t kCentralDiskStart = 34;
constexpr size_t kCentralInternalAttributes = 36;
constexpr size_t kCentralExternalAttributes = 38;  // 32-bit
constexpr size_t kCentralLocalOffset = 42;         // 32-bit

// Local file header: 30 bytes, then name and extra field, then the data.
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kLocalSize = 30;
constexpr size_t kLocalFlags = 6;
constexpr size_t kLocalMethod = 8;
constexpr size_t kLocalCrc = 14;
constexpr size_t kLocalCompressedSize = 18;
constexpr size_t kLocalUncompressedSize = 22;
constexpr size_t kLocalNameLength = 26;
constexpr size_t kLocalExtraLength = 28;

// Data descriptor after the data: CRC-32 and both sizes (12 bytes), optionally preceded by
// its signature.
constexpr uint32_t kDescriptorSignature = 0x08074b50;
constexpr size_t kDescriptorSize = 12;
constexpr size_t kDescriptorSignedSize = 16;

// General-purpose flag bits.
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDescriptor = 0x0008;
constexpr uint16_t kFlagUtf8Name = 0x0800;

constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;

// External attributes: DOS bits in the low byte, a Unix st_mode in the high 16 bits when the
// "version made by" host is Unix-like.
constexpr uint32_t kDosReadOnly = 0x01;
constexpr uint32_t kDosDirectory = 0x10;
constexpr uint8_t kHostUnix = 3;
constexpr uint8_t kHostDarwin = 19;

inline uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace zipformat
