#include "component/overlays/DateTimeFormat.h"

#include <string_view>

namespace component {

namespace {

QString TwoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

}  // namespace

QString FormatDateTime(const QDateTime& when, int formatIndex) {
    if (formatIndex < 0 || size_t(formatIndex) >= kDateTimeFormatLabels.size()) formatIndex = 0;
    const std::string_view label = kDateTimeFormatLabels[size_t(formatIndex)];
    const QDate d = when.date();
    const QTime t = when.time();
    QString out;
    for (size_t i = 0; i < label.size();) {
        const std::string_view rest = label.substr(i);
        if (rest.starts_with("yyyy")) {
            out += QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
            i += 4;
        } else if (rest.starts_with("dd")) {
            out += TwoDigits(d.day());
            i += 2;
        } else if (rest.starts_with("hh")) {
            out += TwoDigits(t.hour());
            i += 2;
        } else if (rest.starts_with("ss")) {
            out += TwoDigits(t.second());
            i += 2;
        } else if (rest.starts_with("mm")) {
            const bool minutes = (i > 0 && label[i - 1] == ':') ||
                                 (i + 2 < label.size() && label[i + 2] == ':');
            out += TwoDigits(minutes ? t.minute() : d.month());
            i += 2;
        } else {
            out += QLatin1Char(label[i]);
            ++i;
        }
    }
    return out;
}

}  // namespace component
