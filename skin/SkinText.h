// White space as the Skin.ini rules count it, shared by the file reader and the entry reader.
#pragma once

#include <string>

inline bool IsSkinBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

inline std::string TrimSkinText(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsSkinBlank(s[b])) ++b;
    while (e > b && IsSkinBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}
