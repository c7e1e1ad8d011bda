// Reads Skin.ini with the private-profile rules skins are written for: case-insensitive
// section and key names, trimmed and unquoted values, bounded value and key-list sizes.
#pragma once

#include <string>
#include <vector>

class CIniFile {
public:
    // A value keeps at most this many characters (a 2048-character buffer with its terminator).
    static constexpr size_t kMaxValue = 2047;
    // All key names of one section, each with a terminator, share a buffer of this size.
    static constexpr size_t kKeyListBuffer = 16384;

    explicit CIniFile(std::string path);

    // The value of key in section, or def when the file, section or key is missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Fills keys with the section's key names in file order; true when there is at least one.
    bool ReadSectionKeys(const std::string& section, std::vector<std::string>& keys) const;

    // The same rules over text already in memory (tests and the fuzzer use it).
    static CIniFile FromText(std::string text);

private:
    CIniFile() = default;
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    void Parse(const std::string& text);
    const Section* FindSection(const std::string& name) const;

    std::vector<Section> m_sections;
};
