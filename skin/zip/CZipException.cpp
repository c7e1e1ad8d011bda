#include "CZipException.h"

#include <zlib.h>

CZipException::CZipException(int cause, std::string archivePath)
    : std::runtime_error("ZIP archive error " + std::to_string(cause) + " in \"" + archivePath +
                         "\""),
      m_cause(cause),
      m_path(std::move(archivePath)) {}

CZipException CZipException::FromCode(int code, std::string archivePath) {
    return CZipException(CauseFromCode(code), std::move(archivePath));
}

int CZipException::CauseFromCode(int code) {
    switch (code) {
    case Z_STREAM_END: return ZlibStreamEnd;
    case Z_NEED_DICT: return ZlibNeedDictionary;
    case Z_ERRNO: return ZlibErrno;
    case Z_STREAM_ERROR: return ZlibStreamError;
    case Z_DATA_ERROR: return ZlibDataError;
    case Z_MEM_ERROR: return ZlibMemoryError;
    case Z_BUF_ERROR: return ZlibBufferError;
    case Z_VERSION_ERROR: return ZlibVersionError;
    case kBadArchive: return BadArchive;
    case kBadCrc: return BadCrc;
    case kNoVolumeCallback: return NoVolumeCallback;
    case -104: return 13;
    case -105: return 14;
    case -106: return 15;
    case -107: return 16;
    case kWrongPassword: return WrongPassword;
    case kEndRecordNotFound: return EndRecordNotFound;
    default: return Generic;
    }
}
