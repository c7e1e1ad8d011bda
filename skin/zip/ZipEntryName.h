// Entry names as stored in an archive, turned into names and paths this system can use.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ZipEntryName {
    // The stored bytes as UTF-8: code page 437 unless the UTF-8 flag (bit 11) is set. A "\"
    // is a separator as much as "/", so every "\" becomes "/".
    static std::string ToUtf8(std::string_view stored, bool storedAsUtf8);

    // The path components of a converted name, with a drive prefix ("C:"), empty and "."
    // components dropped, so "/x" and "C:/x" both give "x". Nothing when the name could
    // reach outside the extraction folder or cannot be a file name here: a ".." component
    // or a NUL byte.
    static std::optional<std::vector<std::string>> SafeComponents(std::string_view name);

    // Whether a converted name names a folder (it ends with a separator).
    static bool IsFolderName(std::string_view name) { return !name.empty() && name.back() == '/'; }
};
