#include "ZipOutputFolder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "CZipFileException.h"

UniqueFd ZipOutputFolder::Open(const std::filesystem::path& root,
                               const std::vector<std::string>& components) {
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    if (ec) throw CZipFileException("Cannot create folder", root.string(), ec.value());
    UniqueFd folder(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) throw CZipFileException("Cannot open folder", root.string(), errno);

    std::filesystem::path shown = root;
    for (const std::string& part : components) {
        shown /= part;
        if (::mkdirat(folder.Get(), part.c_str(), 0755) != 0 && errno != EEXIST)
            throw CZipFileException("Cannot create folder", shown.string(), errno);
        UniqueFd next(
            ::openat(folder.Get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next) throw CZipFileException("Cannot open folder", shown.string(), errno);
        folder = std::move(next);
    }
    return folder;
}
