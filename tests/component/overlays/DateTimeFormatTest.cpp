#include "component/overlays/DateTimeFormat.h"

#include <gtest/gtest.h>

using component::FormatDateTime;

TEST(DateTimeFormat, EveryFormatReadsAsItsLabel) {
    // Every field differs, so a month shown for a minute (or day for month) is caught.
    const QDateTime when(QDate(2024, 3, 7), QTime(9, 5, 2));
    const char* expected[] = {
        "03/07/2024",          "07/03/2024",          "03.07.2024",          "07.03.2024",
        "09:05:02",            "09:05",               "05:02",               "03/07/2024 09:05:02",
        "07/03/2024 09:05:02", "03.07.2024 09:05:02", "07.03.2024 09:05:02", "03/07/2024 09:05",
        "07/03/2024 09:05",    "03.07.2024 09:05",    "07.03.2024 09:05",    "03/07/2024.05:02",
        "07/03/2024.05:02",    "03.07.2024.05:02",    "07.03.2024.05:02",
    };
    static_assert(std::size(expected) == component::kDateTimeFormatLabels.size());
    for (int i = 0; i < int(std::size(expected)); ++i)
        EXPECT_EQ(FormatDateTime(when, i).toStdString(), expected[i]) << "format " << i;
}

TEST(DateTimeFormat, HoursRunToTwentyThreeAndFormatsOutsideTheListUseTheFirst) {
    const QDateTime evening(QDate(1999, 12, 31), QTime(23, 59, 58));
    EXPECT_EQ(FormatDateTime(evening, 4), "23:59:58");
    EXPECT_EQ(FormatDateTime(evening, -1), "12/31/1999");
    EXPECT_EQ(FormatDateTime(evening, 19), "12/31/1999");
}
