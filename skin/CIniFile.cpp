#include "CIniFile.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "SkinText.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

std::string Unquote(std::string v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

CIniFile::CIniFile(std::string path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return;
    std::ostringstream text;
    text << in.rdbuf();
    Parse(text.str());
}

CIniFile CIniFile::FromText(std::string text) {
    CIniFile ini;
    ini.Parse(text);
    return ini;
}

void CIniFile::Parse(const std::string& text) {
    size_t pos = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    Section* current = nullptr;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = TrimSkinText(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            const std::string name = TrimSkinText(line.substr(1, close == std::string::npos
                                                              ? std::string::npos
                                                              : close - 1));
            // A repeated section adds nothing: lookups stop at the first one anyway.
            m_sections.push_back({name, {}});
            current = &m_sections.back();
            continue;
        }
        const size_t eq = line.find('=');
        if (!current || eq == std::string::npos) continue;
        const std::string key = TrimSkinText(line.substr(0, eq));
        if (key.empty()) continue;
        std::string value = Unquote(TrimSkinText(line.substr(eq + 1)));
        current->entries.push_back({key, std::move(value)});
    }
}

const CIniFile::Section* CIniFile::FindSection(const std::string& name) const {
    const std::string wanted = TrimSkinText(name);
    for (const auto& s : m_sections)
        if (SameName(s.name, wanted)) return &s;
    return nullptr;
}

std::string CIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
    std::string value = def;
    if (const Section* s = FindSection(section)) {
        const std::string wanted = TrimSkinText(key);
        for (const auto& e : s->entries)
            if (SameName(e.key, wanted)) {
                value = e.value;
                break;
            }
    }
    if (value.size() > kMaxValue) value.resize(kMaxValue);
    return value;
}

bool CIniFile::ReadSectionKeys(const std::string& section, std::vector<std::string>& keys) const {
    keys.clear();
    const Section* s = FindSection(section);
    if (!s) return false;
    // The list ends with one more terminator, so names share capacity - 1 characters; the
    // name that does not fit whole is cut, and nothing after it is seen.
    size_t room = kKeyListBuffer - 1;
    for (const auto& e : s->entries) {
        if (e.key.size() + 1 <= room) {
            keys.push_back(e.key);
            room -= e.key.size() + 1;
            continue;
        }
        if (room >= 2) keys.push_back(e.key.substr(0, room - 1));
        break;
    }
    return !keys.empty();
}
