// The date-time stamp's formats, read from their labels: "yyyy" the year, "dd" the day, "hh"
// the hour (0-23), "ss" the second, and "mm" the minute when it touches a ':' and the month
// otherwise (so in "mm/dd/yyyy.mm:ss" the second "mm" is minutes).
#pragma once

#include <QDateTime>
#include <QString>

#include <array>

namespace component {

inline constexpr auto kDateTimeFormatLabels = std::to_array<const char*>({
    "mm/dd/yyyy",          "dd/mm/yyyy",          "mm.dd.yyyy",          "dd.mm.yyyy",
    "hh:mm:ss",            "hh:mm",               "mm:ss",               "mm/dd/yyyy hh:mm:ss",
    "dd/mm/yyyy hh:mm:ss", "mm.dd.yyyy hh:mm:ss", "dd.mm.yyyy hh:mm:ss", "mm/dd/yyyy hh:mm",
    "dd/mm/yyyy hh:mm",    "mm.dd.yyyy hh:mm",    "dd.mm.yyyy hh:mm",    "mm/dd/yyyy.mm:ss",
    "dd/mm/yyyy.mm:ss",    "mm.dd.yyyy.mm:ss",    "dd.mm.yyyy.mm:ss",
});
static_assert(kDateTimeFormatLabels.size() == 19);

// `formatIndex` outside the list uses the first format.
QString FormatDateTime(const QDateTime& when, int formatIndex);

}  // namespace component
