// Folders below the extraction folder, made one component at a time without following
// links, so that a link planted in the folder cannot send a file elsewhere.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "UniqueFd.h"

struct ZipOutputFolder {
    // Makes root (following links there: the caller chose it) and then each of components
    // below it that is missing, and opens the last one. Throws CZipFileException when a
    // folder cannot be made or opened, or a component is a link or not a folder.
    static UniqueFd Open(const std::filesystem::path& root,
                         const std::vector<std::string>& components);
};
