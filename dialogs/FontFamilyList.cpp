#include "FontFamilyList.h"

#include <QComboBox>
#include <QFontDatabase>

namespace fonts {

bool AddFontFamily(QComboBox* list, const QString& face, int fontType) {
    if (face.startsWith(QLatin1Char('@')) && !(fontType & kTrueTypeFontType)) return false;
    // MatchFixedString without MatchCaseSensitive: whole text, any case.
    if (list->findText(face, Qt::MatchFixedString) >= 0) return false;
    list->addItem(face, fontType);
    return true;
}

void AddInstalledFontFamilies(QComboBox* list) {
    for (const QString& family : QFontDatabase::families())
        AddFontFamily(list, family,
                      QFontDatabase::isScalable(family) ? kTrueTypeFontType : kRasterFontType);
}

}  // namespace fonts
