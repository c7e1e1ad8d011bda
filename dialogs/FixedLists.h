// The fixed entries of the settings dialogs' lists. An entry's index is the value the capture
// control receives, so the order is part of the interface.
#pragma once

#include <algorithm>
#include <QStringList>

#include <array>
#include <string_view>

#include "DialogIds.h"
#include "platform/EffectLabels.h"

namespace lists {

inline constexpr const auto& kDateTimeFormats = platform::kDateTimeFormatLabels;

inline constexpr auto kFontStyles = std::to_array<const char*>({
    "Regular", "Bold", "Italic", "BoldItalic", "Underline",
});
static_assert(kFontStyles.size() == 5);

// Listed first; the installed families follow.
inline constexpr auto kFixedFontNames = std::to_array<const char*>({
    "Arial", "Arial Black", "Comic Sans MS", "Times New Roman",
});
static_assert(kFixedFontNames.size() == 4);

// Even sizes 8 to 98.
inline constexpr int kFirstFontSize = 8;
inline constexpr int kLastFontSize = 98;
inline constexpr int kFontSizeCount = (kLastFontSize - kFirstFontSize) / 2 + 1;
static_assert(kFontSizeCount == 46);

// The text styles and, for each, the colour and brush controls it enables in the text
// overlay dialog; the other governed controls are disabled.
struct TextStyle {
    const char* name;
    std::array<int, 3> enables;  // 0 pads unused places
};
inline constexpr auto kTextStyles = std::to_array<TextStyle>({
    {"Normal", {OverlayTextIds::kFontColour, 0, 0}},
    {"Outline Text", {OverlayTextIds::kOutlineColour, 0, 0}},
    {"Filled Outline Text", {OverlayTextIds::kOutlineColour, OverlayTextIds::kOutlineBackColour, 0}},
    {"Hatch Brush",
     {OverlayTextIds::kHatchStyleList, OverlayTextIds::kHatchForeColour,
      OverlayTextIds::kHatchBackColour}},
    {"TextureBrush", {OverlayTextIds::kSelectTexture, 0, 0}},
});
static_assert(kTextStyles.size() == 5);
inline constexpr int kTextureBrushStyle = 4;
inline constexpr auto kStyleGovernedControls = std::to_array<int>({
    OverlayTextIds::kFontColour,      OverlayTextIds::kHatchStyleList,
    OverlayTextIds::kHatchForeColour, OverlayTextIds::kHatchBackColour,
    OverlayTextIds::kSelectTexture,   OverlayTextIds::kOutlineColour,
    OverlayTextIds::kOutlineBackColour,
});
static_assert(kStyleGovernedControls.size() == 7);

// Odd indexes are the quarter turns, which cannot be combined with inversion or grey scale.
inline constexpr const auto& kRotations = platform::kRotationLabels;
constexpr bool IsQuarterTurn(int rotation) { return rotation % 2 != 0; }

// The hatch styles in the order of the drawing library's enumeration; each label keeps the
// trailing space it has always had.
inline constexpr auto kHatchStyles = std::to_array<const char*>({
    "HatchStyleHorizontal ",          "HatchStyleVertical ",
    "HatchStyleForwardDiagonal ",     "HatchStyleBackwardDiagonal ",
    "HatchStyleCross ",               "HatchStyleDiagonalCross ",
    "HatchStyle05Percent ",           "HatchStyle10Percent ",
    "HatchStyle20Percent ",           "HatchStyle25Percent ",
    "HatchStyle30Percent ",           "HatchStyle40Percent ",
    "HatchStyle50Percent ",           "HatchStyle60Percent ",
    "HatchStyle70Percent ",           "HatchStyle75Percent ",
    "HatchStyle80Percent ",           "HatchStyle90Percent ",
    "HatchStyleLightDownwardDiagonal ", "HatchStyleLightUpwardDiagonal ",
    "HatchStyleDarkDownwardDiagonal ",  "HatchStyleDarkUpwardDiagonal ",
    "HatchStyleWideDownwardDiagonal ",  "HatchStyleWideUpwardDiagonal ",
    "HatchStyleLightVertical ",       "HatchStyleLightHorizontal ",
    "HatchStyleNarrowVertical ",      "HatchStyleNarrowHorizontal ",
    "HatchStyleDarkVertical ",        "HatchStyleDarkHorizontal ",
    "HatchStyleDashedDownwardDiagonal ", "HatchStyleDashedUpwardDiagonal ",
    "HatchStyleDashedHorizontal ",    "HatchStyleDashedVertical ",
    "HatchStyleSmallConfetti ",       "HatchStyleLargeConfetti ",
    "HatchStyleZigZag ",              "HatchStyleWave ",
    "HatchStyleDiagonalBrick ",       "HatchStyleHorizontalBrick ",
    "HatchStyleWeave ",               "HatchStylePlaid ",
    "HatchStyleDivot ",               "HatchStyleDottedGrid ",
    "HatchStyleDottedDiamond ",       "HatchStyleShingle ",
    "HatchStyleTrellis ",             "HatchStyleSphere ",
    "HatchStyleSmallGrid ",           "HatchStyleSmallCheckerBoard ",
    "HatchStyleLargeCheckerBoard ",   "HatchStyleOutlinedDiamond ",
    "HatchStyleSolidDiamond ",
});
static_assert(kHatchStyles.size() == 53);

template <size_t N>
constexpr bool AllEndWithOneSpace(const std::array<const char*, N>& names) {
    for (const char* n : names) {
        const std::string_view v(n);
        if (v.size() < 2 || v.back() != ' ' || v[v.size() - 2] == ' ') return false;
    }
    return true;
}
static_assert(AllEndWithOneSpace(kHatchStyles));

inline constexpr auto kSyncModes = std::to_array<const char*>({
    "No Sync",
    "Sync with stream offset (Auto Mode)",
    "Sync with stream offset (Manual Mode)",
});
static_assert(kSyncModes.size() == 3);

template <size_t N>
QStringList ToStringList(const std::array<const char*, N>& texts) {
    QStringList out;
    for (const char* t : texts) out << QString::fromLatin1(t);
    return out;
}
QStringList FontSizeTexts();
// The overlays' start size for a picture `height` lines high: 8 points per 240 lines, as the
// first entry of the size lists is for the first output size.
inline int FontSizeForHeight(int height) { return kFirstFontSize * std::max(1, height) / 240; }
QStringList TextStyleNames();

}  // namespace lists
