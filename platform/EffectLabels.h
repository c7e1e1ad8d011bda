// Labels the settings dialogs list and the capture control interprets. A label's index is the
// value passed across the control's interface, so both sides read these same tables.
#pragma once

#include <array>

namespace platform {

// "yyyy" the year, "dd" the day, "hh" the hour (0-23), "ss" the second, and "mm" the minute
// when it touches a ':' and the month otherwise.
inline constexpr auto kDateTimeFormatLabels = std::to_array<const char*>({
    "mm/dd/yyyy",          "dd/mm/yyyy",          "mm.dd.yyyy",          "dd.mm.yyyy",
    "hh:mm:ss",            "hh:mm",               "mm:ss",               "mm/dd/yyyy hh:mm:ss",
    "dd/mm/yyyy hh:mm:ss", "mm.dd.yyyy hh:mm:ss", "dd.mm.yyyy hh:mm:ss", "mm/dd/yyyy hh:mm",
    "dd/mm/yyyy hh:mm",    "mm.dd.yyyy hh:mm",    "dd.mm.yyyy hh:mm",    "mm/dd/yyyy.mm:ss",
    "dd/mm/yyyy.mm:ss",    "mm.dd.yyyy.mm:ss",    "dd.mm.yyyy.mm:ss",
});
static_assert(kDateTimeFormatLabels.size() == 19);

// Quarter turns clockwise (index % 4), then no flip, a horizontal flip or a vertical flip
// (index / 4).
inline constexpr auto kRotationLabels = std::to_array<const char*>({
    "No Rotation",
    "90-degree rotation without flipping",
    "180-degree rotation without flipping",
    "270-degree rotation without flipping",
    "no rotation and a horizontal flip",
    "90-degree rotation followed by a horizontal flip",
    "180-degree rotation followed by a horizontal flip",
    "270-degree rotation followed by a horizontal flip",
    "no rotation and a vertical flip",
    "90-degree rotation followed by a vertical flip",
    "180-degree rotation followed by a vertical flip",
    "270-degree rotation followed by a vertical flip",
});
static_assert(kRotationLabels.size() == 12);

}  // namespace platform
