#include "ZipOutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "CZipFileException.h"

ZipOutputFile::ZipOutputFile(UniqueFd folder, std::string name, std::string shownPath)
    : m_folder(std::move(folder)), m_name(std::move(name)), m_shownPath(std::move(shownPath)) {
    // Whatever has the name now goes first: truncating in place would write through a hard
    // link, and O_EXCL then refuses a symbolic link or anything made in between.
    if (::unlinkat(m_folder.Get(), m_name.c_str(), 0) != 0 && errno != ENOENT && errno != EISDIR)
        throw CZipFileException("Cannot replace", m_shownPath, errno);
    m_file.Reset(::openat(m_folder.Get(), m_name.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!m_file) throw CZipFileException("Cannot create", m_shownPath, errno);
}

ZipOutputFile::~ZipOutputFile() {
    if (m_file) {
        m_file.Reset();
        ::unlinkat(m_folder.Get(), m_name.c_str(), 0);
    }
}

void ZipOutputFile::Write(const void* data, size_t length) {
    const auto* p = static_cast<const char*>(data);
    while (length > 0) {
        const ssize_t n = ::write(m_file.Get(), p, length);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw CZipFileException("Cannot write", m_shownPath, errno);
        }
        p += n;
        length -= static_cast<size_t>(n);
    }
}

void ZipOutputFile::SetModificationTime(std::time_t when) {
    const struct timespec times[2] = {{0, UTIME_NOW}, {when, 0}};
    ::futimens(m_file.Get(), times);
}

bool ZipOutputFile::SetPermissions(mode_t mode) { return ::fchmod(m_file.Get(), mode) == 0; }

void ZipOutputFile::Keep() {
    if (!m_file.Close()) {
        const int error = errno;
        ::unlinkat(m_folder.Get(), m_name.c_str(), 0);
        throw CZipFileException("Cannot write", m_shownPath, error);
    }
}
