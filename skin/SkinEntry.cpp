#include "SkinEntry.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "SkinText.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

SkinEntry::SkinEntry(std::string value) : m_rest(std::move(value)) {
    if (m_rest.size() > kMaxLength) m_rest.resize(kMaxLength);
}

std::string SkinEntry::NextField() {
    const size_t comma = m_rest.find(',');
    if (comma == std::string::npos) return m_rest;
    std::string field = m_rest.substr(0, comma);
    m_rest = TrimSkinText(m_rest.substr(comma + 1));
    return field;
}

SkinRect SkinEntry::ParseRect() {
    auto coordinate = [this] {
        return std::clamp(NextInt(), -kMaxSkinCoordinate, kMaxSkinCoordinate);
    };
    SkinRect r;
    r.left = coordinate();
    r.top = coordinate();
    r.right = coordinate();
    r.bottom = coordinate();
    return r;
}

int SkinEntry::ParseInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsSkinBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > 1LL + INT_MAX) v = 1LL + INT_MAX;  // saturate instead of overflowing
    }
    if (negative) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    return static_cast<int>(v);
}

uint32_t SkinEntry::ParseColor(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsSkinBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint32_t v = 0;
    bool any = false;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        i + 2 < text.size() && HexDigit(text[i + 2]) >= 0) {
        for (i += 2; i < text.size() && HexDigit(text[i]) >= 0; ++i, any = true)
            v = (v << 4) | uint32_t(HexDigit(text[i]));
    } else {
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, any = true)
            v = v * 10 + uint32_t(text[i] - '0');  // wraps like a 32-bit conversion would
    }
    if (!any) return kNoColour;
    if (negative) v = 0u - v;
    const uint32_t red = (v >> 16) & 0xFF, green = (v >> 8) & 0xFF, blue = v & 0xFF;
    return red | (green << 8) | (blue << 16);
}

std::string FormatElapsed(long long seconds) {
    if (seconds < 0) seconds = 0;
    if (seconds > 359999) seconds = 359999;
    const long long hours = seconds / 3600;
    const long long minutes = (seconds - 3600 * hours) / 60;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", hours, minutes, seconds % 60);
    return buf;
}
