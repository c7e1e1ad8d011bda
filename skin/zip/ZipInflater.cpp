#include "ZipInflater.h"

#include "CZipException.h"

ZipInflater::ZipInflater(const std::string& archivePath) {
    // Negative window bits: raw deflate, as ZIP entries store it.
    const int rc = inflateInit2(&m_stream, -MAX_WBITS);
    if (rc != Z_OK) throw CZipException::FromCode(rc, archivePath);
}

ZipInflater::~ZipInflater() { inflateEnd(&m_stream); }
