// The data of one entry being read: stored bytes copied or deflated bytes inflated, never
// more than the central header declares, with a running CRC-32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ZipEntryHeader.h"
#include "ZipInflater.h"
#include "ZipStorage.h"

class ZipEntryStream {
public:
    // dataOffset: where the entry's data starts in the storage. The caller has checked that
    // the compressed bytes lie inside the storage.
    ZipEntryStream(ZipStorage& storage, const ZipEntryHeader& header, uint64_t dataOffset);

    // Delivers up to length bytes, fewer only once every declared byte has been delivered
    // or a deflate stream ended before its declared size (Remaining() then stays above 0,
    // and the entry fails on its own). Throws CZipException: cause 10 when the compressed
    // data runs out before the stream ends, a zlib cause when it is corrupt.
    size_t Read(void* buffer, size_t length);

    uint64_t Remaining() const { return m_uncompressedLeft; }

    // Once everything declared was delivered: the data must hold nothing more (cause 10)
    // and its CRC-32 must be the declared one (cause 11).
    void Verify();

private:
    size_t ReadStored(uint8_t* out, size_t want);
    size_t ReadDeflated(uint8_t* out, size_t want);
    // One inflate step into out; true when the deflate stream ended.
    bool Inflate(uint8_t* out, size_t space, size_t& produced);
    [[noreturn]] void Fail(int code) const;

    ZipStorage& m_storage;
    const uint32_t m_expectedCrc;
    uint64_t m_inputOffset;
    uint64_t m_compressedLeft;
    uint64_t m_uncompressedLeft;
    uint32_t m_crc = 0;
    std::unique_ptr<ZipInflater> m_inflater;  // only for deflated entries
    bool m_streamEnded = false;
    std::vector<uint8_t> m_input;
};
