#include "ZipFileStorage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "CZipFileException.h"

ZipFileStorage::ZipFileStorage(const std::filesystem::path& path) : m_name(path.string()) {
    // O_NONBLOCK so that a FIFO given as the package cannot hang the open.
    m_fd.Reset(::open(m_name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!m_fd) throw CZipFileException("Cannot open", m_name, errno);
    struct stat st {};
    if (::fstat(m_fd.Get(), &st) != 0) throw CZipFileException("Cannot examine", m_name, errno);
    if (!S_ISREG(st.st_mode)) throw CZipFileException("Not a regular file:", m_name, 0);
    m_size = static_cast<uint64_t>(st.st_size);
}

size_t ZipFileStorage::ReadAt(uint64_t offset, void* buffer, size_t length) {
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pread(m_fd.Get(), out + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw CZipFileException("Cannot read", m_name, errno);
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}
