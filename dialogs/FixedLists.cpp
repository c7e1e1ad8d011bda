#include "FixedLists.h"

namespace lists {

QStringList FontSizeTexts() {
    QStringList out;
    for (int size = kFirstFontSize; size <= kLastFontSize; size += 2) out << QString::number(size);
    return out;
}

QStringList TextStyleNames() {
    QStringList out;
    for (const TextStyle& s : kTextStyles) out << QString::fromLatin1(s.name);
    return out;
}

}  // namespace lists
