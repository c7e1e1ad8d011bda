// Folders below the extraction folder, made one component at a time without following
// links, so that a link planted in the folder cannot send a file elsewhere; and the removal
// of such a tree, however deep.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "UniqueFd.h"

class ZipOutputFolder {
public:
    // Makes root (following links there: the caller chose it) and then each of components
    // below it that is missing, and opens the last one. Throws CZipFileException when a
    // folder cannot be made or opened, or a component is a link or not a folder.
    //
    // The folder opened last is remembered: an entry in it or below it starts from there
    // instead of walking down from root again, so a package of nested folders costs one
    // step per entry rather than one per level of every entry.
    UniqueFd Open(const std::filesystem::path& root, const std::vector<std::string>& components);

    // Forgets the remembered folder.
    void Reset();

    // Removes root and everything below it without following links. Paths are never built,
    // so depth and name lengths beyond the system's path limit are no obstacle, and only a
    // few descriptors are open at any time. True when nothing is left.
    static bool RemoveTree(const std::filesystem::path& root);

private:
    std::filesystem::path m_root;
    std::vector<std::string> m_components;
    UniqueFd m_last;
};
