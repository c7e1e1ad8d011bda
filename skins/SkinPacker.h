// Packs a skin model into a ZIP package: Skin.ini at the root, then the pictures as 24-bit
// BMP files at the paths Skin.ini names. The same model always gives the same bytes.
#pragma once

#include <QImage>

#include <string>

struct SkinModel;

class SkinPacker {
public:
    static std::string Pack(const SkinModel& model);
    static std::string Bmp(const QImage& image);
};
