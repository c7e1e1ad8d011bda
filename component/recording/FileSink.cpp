#include "component/recording/FileSink.h"

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
}

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace component {

Result<std::unique_ptr<OutputSink>> FileSink::Create(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return Fail("cannot create \"" + path + "\": " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail("\"" + path + "\" is not a regular file");
    }
    return std::unique_ptr<OutputSink>(new FileSink(fd, path));
}

FileSink::~FileSink() { Close(); }

void FileSink::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

int FileSink::Write(const uint8_t* data, int size) {
    int done = 0;
    while (done < size) {
        ssize_t n = ::write(m_fd, data + done, static_cast<size_t>(size - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            m_pos += done;
            m_durable = std::max(m_durable, m_pos);
            return AVERROR(err);
        }
        done += static_cast<int>(n);
    }
    m_pos += done;
    m_durable = std::max(m_durable, m_pos);
    return done;
}

int64_t FileSink::Seek(int64_t offset, int whence) {
    if (whence == AVSEEK_SIZE) {
        struct stat st {};
        return ::fstat(m_fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : AVERROR(errno);
    }
    off_t r = ::lseek(m_fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
    if (r < 0) return AVERROR(errno);
    m_pos = r;
    return r;
}

bool FileSink::Truncate(int64_t size) {
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0) return false;
    m_durable = std::min(m_durable, size);
    return true;
}

void FileSink::Discard() {
    Close();
    ::unlink(m_path.c_str());
}

}  // namespace component
