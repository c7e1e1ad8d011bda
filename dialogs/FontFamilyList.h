// Appends the installed font families to a font name list, after its fixed entries.
#pragma once

#include <QString>

class QComboBox;

namespace fonts {

// Font types as the list keeps them in each entry's data.
inline constexpr int kRasterFontType = 0x1;
inline constexpr int kTrueTypeFontType = 0x4;

// Adds one reported family: a vertical-writing face ("@" prefix) only when it is TrueType,
// and a face only when no entry already equals it ignoring case. True when added.
bool AddFontFamily(QComboBox* list, const QString& face, int fontType);

// Adds every family the font database knows, in its order; scalable counts as TrueType.
void AddInstalledFontFamilies(QComboBox* list);

}  // namespace fonts
