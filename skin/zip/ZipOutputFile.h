// A file being extracted: always a newly made regular file (what had its name before is
// removed, never written through), and removed again unless it was completed.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>

#include "UniqueFd.h"

class ZipOutputFile {
public:
    // Replaces name inside folder with a new empty file. shownPath is what errors report.
    // Throws CZipFileException when that cannot be done (the name is a folder, ...).
    ZipOutputFile(UniqueFd folder, std::string name, std::string shownPath);
    ~ZipOutputFile();
    ZipOutputFile(const ZipOutputFile&) = delete;
    ZipOutputFile& operator=(const ZipOutputFile&) = delete;

    // Throws CZipFileException when the bytes cannot all be written (disk full, ...).
    void Write(const void* data, size_t length);
    // Best effort: the access time becomes now.
    void SetModificationTime(std::time_t when);
    bool SetPermissions(mode_t mode);
    // Closes the file and keeps it. Throws CZipFileException when closing reports an error.
    void Keep();

private:
    UniqueFd m_folder;
    UniqueFd m_file;
    std::string m_name;
    std::string m_shownPath;
};
