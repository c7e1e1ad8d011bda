// A file-system error met while reading an archive or writing what it holds: the archive or a
// destination cannot be opened, read, sought or written. Kept apart from CZipException so a
// caller can tell "not an archive" from "could not get at the file".
#pragma once

#include <stdexcept>
#include <string>

class CZipFileException : public std::runtime_error {
public:
    // errorNumber is the errno of the failed call, 0 when there was none (a short read).
    CZipFileException(const std::string& what, std::string path, int errorNumber);

    const std::string& Path() const { return m_path; }
    int ErrorNumber() const { return m_errno; }

private:
    std::string m_path;
    int m_errno;
};
