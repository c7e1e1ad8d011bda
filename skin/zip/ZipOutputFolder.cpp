#include "ZipOutputFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "CZipFileException.h"

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

UniqueFd Duplicate(const UniqueFd& fd) { return UniqueFd(::fcntl(fd.Get(), F_DUPFD_CLOEXEC, 0)); }

// A folder removed since it was opened has no links left; nothing must be written there.
bool StillThere(const UniqueFd& fd) {
    struct stat st {};
    return ::fstat(fd.Get(), &st) == 0 && st.st_nlink > 0;
}

// Removes the files and empty folders directly in folder and returns the folders that
// still hold something. Failures to remove a file are counted in ok.
std::vector<std::string> ClearFolder(const UniqueFd& folder, bool& ok) {
    std::vector<std::string> full;
    // The owner may have lost write or search access through an entry's attributes.
    ::fchmod(folder.Get(), 0700);
    UniqueFd listing = Duplicate(folder);
    DIR* dir = listing ? ::fdopendir(listing.Get()) : nullptr;
    if (!dir) {
        ok = false;
        return full;
    }
    static_cast<void>(listing.Release());  // the DIR owns it now
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        // Folders are entered without trying to remove them first: in a deep tree nearly
        // every one still holds the next.
        if (e->d_type == DT_DIR)
            full.emplace_back(e->d_name);
        else
            names.emplace_back(e->d_name);
    }
    ::closedir(dir);
    for (std::string& name : names) {
        if (::unlinkat(folder.Get(), name.c_str(), 0) == 0) continue;
        if (errno != EISDIR && errno != EPERM) {
            ok = false;
            continue;
        }
        if (::unlinkat(folder.Get(), name.c_str(), AT_REMOVEDIR) == 0) continue;
        if (errno == ENOTEMPTY || errno == EEXIST || errno == EACCES)
            full.push_back(std::move(name));
        else
            ok = false;
    }
    return full;
}

}  // namespace

UniqueFd ZipOutputFolder::Open(const std::filesystem::path& root,
                               const std::vector<std::string>& components) {
    UniqueFd folder;
    size_t done = 0;
    const bool below = m_last && root == m_root && m_components.size() <= components.size() &&
                       std::equal(m_components.begin(), m_components.end(), components.begin());
    if (below && StillThere(m_last)) {
        folder = Duplicate(m_last);
        done = m_components.size();
    }
    if (!folder) {
        std::error_code ec;
        std::filesystem::create_directories(root, ec);
        if (ec) throw CZipFileException("Cannot create folder", root.string(), ec.value());
        folder.Reset(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!folder) throw CZipFileException("Cannot open folder", root.string(), errno);
        done = 0;
    }

    for (size_t i = done; i < components.size(); ++i) {
        const std::string& part = components[i];
        if (::mkdirat(folder.Get(), part.c_str(), 0755) != 0 && errno != EEXIST) {
            const int error = errno;
            Reset();
            throw CZipFileException("Cannot create folder", (root / part).string(), error);
        }
        UniqueFd next(::openat(folder.Get(), part.c_str(), kFolderFlags));
        if (!next) {
            const int error = errno;
            Reset();
            throw CZipFileException("Cannot open folder", (root / part).string(), error);
        }
        folder = std::move(next);
    }
    m_root = root;
    m_components = components;
    m_last = Duplicate(folder);
    return folder;
}

void ZipOutputFolder::Reset() {
    m_root.clear();
    m_components.clear();
    m_last.Reset();
}

bool ZipOutputFolder::RemoveTree(const std::filesystem::path& root) {
    UniqueFd folder(::open(root.c_str(), kFolderFlags));
    if (!folder) return errno == ENOENT || ::unlink(root.c_str()) == 0;

    // Depth first with one descriptor: down by name, back up through "..". Each level keeps
    // the names of the sub-folders it still has to empty.
    bool ok = true;
    std::vector<std::vector<std::string>> pending{ClearFolder(folder, ok)};
    std::vector<std::string> entered;
    while (!pending.empty()) {
        if (!pending.back().empty()) {
            std::string name = std::move(pending.back().back());
            pending.back().pop_back();
            UniqueFd child(::openat(folder.Get(), name.c_str(), kFolderFlags));
            if (!child) {
                ok = false;
                continue;
            }
            folder = std::move(child);
            entered.push_back(std::move(name));
            pending.push_back(ClearFolder(folder, ok));
            continue;
        }
        pending.pop_back();
        if (entered.empty()) break;
        UniqueFd parent(::openat(folder.Get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!parent) return false;
        folder = std::move(parent);
        if (::unlinkat(folder.Get(), entered.back().c_str(), AT_REMOVEDIR) != 0) ok = false;
        entered.pop_back();
    }
    folder.Reset();
    return ::rmdir(root.c_str()) == 0 && ok;
}
