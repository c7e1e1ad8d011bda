// Owns a zlib stream that inflates raw deflate data (no zlib header or trailer).
#pragma once

#include <zlib.h>

#include <string>

class ZipInflater {
public:
    // Throws CZipException with zlib's status when the stream cannot start.
    explicit ZipInflater(const std::string& archivePath);
    ~ZipInflater();
    ZipInflater(const ZipInflater&) = delete;
    ZipInflater& operator=(const ZipInflater&) = delete;

    z_stream& Stream() { return m_stream; }

private:
    z_stream m_stream{};
};
