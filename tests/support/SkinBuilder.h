// Builds skins inside tests: BMP pictures drawn with QImage plus a Skin.ini, written to a
// folder or packed as a ZIP package.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <map>
#include <string>

class SkinBuilder {
public:
    SkinBuilder& Image(const std::string& name, const QImage& image);
    SkinBuilder& Ini(const std::string& text);
    // Extra raw entries (for example Skin.ini in a sub-folder).
    SkinBuilder& File(const std::string& name, const std::string& bytes);

    // Name -> bytes of every file, in the order they are packed.
    const std::map<std::string, std::string>& Files() const { return m_files; }
    std::string PackageBytes() const;
    void WritePackage(const QString& path) const;
    // Writes the files into folder and returns the path of its Skin.ini.
    QString WriteFolder(const QString& folder) const;

private:
    std::map<std::string, std::string> m_files;
};

QImage SolidImage(int w, int h, QColor colour);
// A w x h picture of colour with key-coloured corners (a one-pixel cut per corner at least).
QImage RoundedBackground(int w, int h, QColor colour, QColor key, int radius);
// A strip of four w x h cells, each filled with its colour.
QImage ButtonStrip(int w, int h, QColor normal, QColor hover, QColor pressed, QColor disabled);
std::string BmpBytes(const QImage& image);

// A complete small skin: background 200x150 with rounded corners, magenta key, an icon,
// caption, CONTROL area, and the buttons given as "NAME,left,top,right,bottom" rows.
SkinBuilder BasicSkin(const std::string& extraSections = "");
