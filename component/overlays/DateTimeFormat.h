// The date-time stamp's formats, read from their labels: "yyyy" the year, "dd" the day, "hh"
// the hour (0-23), "ss" the second, and "mm" the minute when it touches a ':' and the month
// otherwise (so in "mm/dd/yyyy.mm:ss" the second "mm" is minutes).
#pragma once

#include <QDateTime>
#include <QString>

#include "platform/EffectLabels.h"

#include <array>

namespace component {

using platform::kDateTimeFormatLabels;

// `formatIndex` outside the list uses the first format.
QString FormatDateTime(const QDateTime& when, int formatIndex);

}  // namespace component
