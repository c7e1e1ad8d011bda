// Folders the program works with.
#pragma once

#include <QString>

namespace platform {

QString CurrentDirectory();
bool SetCurrentDirectory(const QString& dir);
// Absolute, cleaned path of path resolved against the current directory.
QString FullPath(const QString& path);
// The skins folder installed beside the program (build tree or install prefix).
QString InstalledSkinsFolder();

}  // namespace platform
