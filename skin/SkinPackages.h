// The shipped skin packages: the start-up package and the eight Change Skin commands.
#pragma once

#include <array>

inline constexpr const char* kStartupPackage = "Blue.skn";
inline constexpr int kFirstSkinCommand = 32771;
inline constexpr int kLastSkinCommand = 32778;

struct SkinCommand {
    int id;
    const char* caption;  // menu text with its mnemonic
    const char* package;
};

inline constexpr std::array<SkinCommand, 8> kSkinCommands{{
    {32771, "&Orange", "Orange.zip"},
    {32772, "&Black", "Black.zip"},
    {32773, "&Purple", "Purple.zip"},
    {32774, "Bl&ue", "Blue.zip"},
    {32775, "&Red", "Red.zip"},
    {32776, "&Gray", "Gray.zip"},
    {32777, "P&ink", "Pink.zip"},
    {32778, "&Deluxe", "Deluxe.zip"},
}};
static_assert(kSkinCommands.size() == kLastSkinCommand - kFirstSkinCommand + 1);
static_assert(kSkinCommands.front().id == kFirstSkinCommand &&
              kSkinCommands.back().id == kLastSkinCommand);

inline constexpr const char* kChangeSkinMenu = "&Change Skin";
inline constexpr const char* kMsgOpenFailed = "Open failed";
inline constexpr const char* kMsgExtractFailed = "Extract failed";
inline constexpr const char* kMsgRetryCentralDirectory =
    "The central directory was not found. If you're opening a multi-disk archive, make sure "
    "you have inserted the last disk. Retry?";
