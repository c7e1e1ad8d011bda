#include "ZipEntryStream.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

#include "CZipException.h"
#include "ZipFormat.h"

namespace {
// Large reads keep the number of system calls per megabyte low; small entries get a buffer
// of their own size.
constexpr size_t kInputBufferSize = 256 * 1024;
}  // namespace

ZipEntryStream::ZipEntryStream(ZipStorage& storage, const ZipEntryHeader& header,
                               uint64_t dataOffset)
    : m_storage(storage),
      m_expectedCrc(header.crc),
      m_inputOffset(dataOffset),
      m_compressedLeft(header.compressedSize),
      m_uncompressedLeft(header.uncompressedSize) {
    if (header.method == zipformat::kMethodDeflated) {
        m_inflater = std::make_unique<ZipInflater>(storage.Name());
        m_input.resize(std::clamp<uint64_t>(header.compressedSize, 1, kInputBufferSize));
    }
}

void ZipEntryStream::Fail(int code) const { throw CZipException::FromCode(code, m_storage.Name()); }

size_t ZipEntryStream::Read(void* buffer, size_t length) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(length, m_uncompressedLeft));
    auto* out = static_cast<uint8_t*>(buffer);
    const size_t done = m_inflater ? ReadDeflated(out, want) : ReadStored(out, want);
    m_crc = static_cast<uint32_t>(crc32_z(m_crc, out, done));
    m_uncompressedLeft -= done;
    return done;
}

size_t ZipEntryStream::ReadStored(uint8_t* out, size_t want) {
    // Stored entries were checked to have equal sizes, so input and output advance together.
    if (m_storage.ReadAt(m_inputOffset, out, want) != want) Fail(CZipException::kBadArchive);
    m_inputOffset += want;
    m_compressedLeft -= want;
    return want;
}

bool ZipEntryStream::Inflate(uint8_t* out, size_t space, size_t& produced) {
    z_stream& zs = m_inflater->Stream();
    if (zs.avail_in == 0 && m_compressedLeft > 0) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(m_input.size(), m_compressedLeft));
        if (m_storage.ReadAt(m_inputOffset, m_input.data(), n) != n)
            Fail(CZipException::kBadArchive);
        m_inputOffset += n;
        m_compressedLeft -= n;
        zs.next_in = m_input.data();
        zs.avail_in = static_cast<uInt>(n);
    }
    zs.next_out = out;
    zs.avail_out = static_cast<uInt>(std::min<size_t>(space, UINT_MAX));
    const int rc = inflate(&zs, Z_SYNC_FLUSH);
    produced = std::min<size_t>(space, UINT_MAX) - zs.avail_out;
    if (rc == Z_STREAM_END) return m_streamEnded = true;
    // Out of input with the stream still open: the compressed data was cut short.
    if (rc == Z_BUF_ERROR && zs.avail_in == 0 && m_compressedLeft == 0)
        Fail(CZipException::kBadArchive);
    if (rc != Z_OK) Fail(rc);
    return false;
}

size_t ZipEntryStream::ReadDeflated(uint8_t* out, size_t want) {
    size_t done = 0;
    while (done < want && !m_streamEnded) {
        size_t produced = 0;
        Inflate(out + done, want - done, produced);
        done += produced;
    }
    return done;  // fewer than declared when the stream ended early
}

void ZipEntryStream::Verify() {
    // A deflate stream must end exactly at the declared size: one byte more is damage.
    while (m_inflater && !m_streamEnded) {
        uint8_t extra = 0;
        size_t produced = 0;
        Inflate(&extra, 1, produced);
        if (produced) Fail(CZipException::kBadArchive);
    }
    if (m_crc != m_expectedCrc) Fail(CZipException::kBadCrc);
}
