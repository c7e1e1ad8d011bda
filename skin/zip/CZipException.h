// The error the ZIP reader raises for a damaged or unreadable archive: a cause number and the
// archive's path. Errors of the file system (the archive cannot be opened, read or sought, a
// destination cannot be written) are CZipFileException instead.
#pragma once

#include <stdexcept>
#include <string>

class CZipException : public std::runtime_error {
public:
    // Cause numbers callers see. 2..9 are zlib's statuses 1, 2, -1 .. -6 in that order.
    enum Cause : int {
        Generic = 1,
        ZlibStreamEnd = 2,
        ZlibNeedDictionary = 3,
        ZlibErrno = 4,
        ZlibStreamError = 5,
        ZlibDataError = 6,
        ZlibMemoryError = 7,
        ZlibBufferError = 8,
        ZlibVersionError = 9,
        BadArchive = 10,
        BadCrc = 11,
        NoVolumeCallback = 12,
        WrongPassword = 17,
        EndRecordNotFound = 18,
    };

    // Codes the reader works with internally; zlib statuses are used as they are.
    enum Code : int {
        kBadArchive = -101,
        kBadCrc = -102,
        kNoVolumeCallback = -103,
        kWrongPassword = -108,
        kEndRecordNotFound = -109,
    };

    CZipException(int cause, std::string archivePath);

    // The exception for an internal code (a zlib status or one of Code).
    static CZipException FromCode(int code, std::string archivePath);
    static int CauseFromCode(int code);

    int GetCause() const { return m_cause; }
    const std::string& ArchivePath() const { return m_path; }

private:
    int m_cause;
    std::string m_path;
};
