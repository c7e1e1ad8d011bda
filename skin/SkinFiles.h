// The files of an extracted skin: the private folder they are extracted into, and finding a
// file in it by the name Skin.ini gives.
#pragma once

#include <QString>

// A fresh folder of this user's under the temporary directory, removed with everything in
// it when the object goes, however deep the package made it.
class SkinWorkFolder {
public:
    SkinWorkFolder();
    ~SkinWorkFolder();
    SkinWorkFolder(const SkinWorkFolder&) = delete;
    SkinWorkFolder& operator=(const SkinWorkFolder&) = delete;

    // False when the folder could not be made; Path() is then empty.
    bool IsValid() const { return !m_path.isEmpty(); }
    QString Path() const { return m_path; }

private:
    QString m_path;
};

// folder (ending in "/") followed by relative, where each component of relative that does
// not exist as written is matched without regard to letter case: skins made on systems
// that ignore case may write "BTN.BMP" for a stored "btn.bmp". An exact match always wins;
// a component found in no case is kept as written.
QString FindSkinFile(const QString& folder, const QString& relative);
