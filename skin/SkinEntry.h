// One comma-separated value of Skin.ini and the ways its fields are read.
#pragma once

#include <cstdint>
#include <string>

// Rect coordinates are kept within this distance of the origin, so sizes never overflow.
inline constexpr int kMaxSkinCoordinate = 1 << 20;

struct SkinRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const SkinRect&) const = default;
};

// The colour value of an empty or unreadable colour field: all bits set, not a colour.
inline constexpr uint32_t kNoColour = 0xFFFFFFFFu;

class SkinEntry {
public:
    // Entries are at most this long; the rest is not read.
    static constexpr size_t kMaxLength = 255;

    explicit SkinEntry(std::string value);

    // The text before the next comma, as written (trailing spaces kept); the rest is then
    // trimmed. With no comma left, the whole remainder, which is not consumed: every further
    // field reads the same text again.
    std::string NextField();
    // Four fields: left, top, right, bottom, each limited to +-kMaxSkinCoordinate.
    SkinRect ParseRect();
    int NextInt() { return ParseInt(NextField()); }
    uint32_t NextColour() { return ParseColor(NextField()); }
    // True when the field starts with an upper-case T.
    bool NextFlag() { return IsFlagSet(NextField()); }

    // Leading blanks, an optional sign, decimal digits; anything else ends the number and no
    // digits read as 0. Out-of-range values saturate.
    static int ParseInt(const std::string& text);
    // "0xRRGGBB" or decimal RRGGBB to a 0x00BBGGRR colour value; bits above 23 are ignored.
    // Empty or holding no number: kNoColour.
    static uint32_t ParseColor(const std::string& text);
    static bool IsFlagSet(const std::string& text) { return !text.empty() && text[0] == 'T'; }

private:
    std::string m_rest;
};

// Seconds as "hh:mm:ss", capped at 99:59:59; negative counts read as 0.
std::string FormatElapsed(long long seconds);
