// The nine shipped skins as data: package name, window shape, layout and colour scheme.
#pragma once

#include <QColor>

#include <span>

enum class WindowShape { Rounded, Chamfered, TitleTab, Bulged, Crest };
enum class PanelSide { Right, Left };
enum class FaceShape { Circle, RoundedSquare };

struct SkinTheme {
    const char* title;        // the name the skin is shown under
    const char* package;      // file name of the package
    const char* imageFolder;  // sub-folder of the pictures inside the package, "" for the root
    WindowShape shape;
    PanelSide panelSide;
    FaceShape transportFace;
    bool deluxe;  // larger window, richer decoration, the extra control kinds

    QColor bodyTop, bodyBottom;  // window body gradient
    QColor trim;                 // bevel highlight and decorative lines
    QColor panel;                // recessed panels
    QColor face;                 // button faces
    QColor glyph;                // button symbols
    QColor accent;               // hover rings, progress, highlights
    QColor text;                 // caption and printed labels
    QColor textDim;              // secondary printed labels
    QColor editBack, editText, editBorder;
    QColor listBack, listText, selBack, selText;

    const char* captionFace;
    int captionPoints;
};

std::span<const SkinTheme> ShippedThemes();

// The colour key that is cut out of every window and left undrawn in every picture.
inline constexpr QRgb kKeyColour = 0xFFFF00FF;
