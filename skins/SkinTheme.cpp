#include "SkinTheme.h"

#include <array>

namespace {

QColor C(QRgb rgb) { return QColor::fromRgb(rgb); }

// Order is the order the packages are written and previewed in.
const std::array<SkinTheme, 9>& Table() {
    static const std::array<SkinTheme, 9> themes = {{
        {"Start", "Blue.skn", "art/", WindowShape::TitleTab, PanelSide::Right, FaceShape::Circle,
         false,
         C(0x4A6C92), C(0x203552), C(0xA9C8EA), C(0x122035), C(0x3C6A9E), C(0xEAF4FF),
         C(0x7FD3FF), C(0xFFFFFF), C(0xA9C2DE),
         C(0x0C1829), C(0xD8ECFF), C(0x5D86B5),
         C(0x0C1829), C(0xD8ECFF), C(0x3F7FC4), C(0xFFFFFF),
         "DejaVu Sans", 15},
        {"Orange", "Orange.zip", "", WindowShape::Rounded, PanelSide::Right, FaceShape::Circle,
         false,
         C(0xF6A248), C(0xC25F0E), C(0xFFDDAA), C(0x3B2414), C(0xE8822A), C(0xFFF7EC),
         C(0xFFE066), C(0x3A1E08), C(0xF3C89A),
         C(0x2A190D), C(0xFFE9CF), C(0xE8822A),
         C(0x2A190D), C(0xFFE9CF), C(0xE8822A), C(0x2A190D),
         "Liberation Sans", 16},
        {"Black", "Black.zip", "", WindowShape::Chamfered, PanelSide::Left, FaceShape::RoundedSquare,
         false,
         C(0x34353A), C(0x0D0D0F), C(0x8A8F98), C(0x050506), C(0x2E3035), C(0xE6E8EC),
         C(0x66C2FF), C(0xF0F0F0), C(0x9AA0A8),
         C(0x000000), C(0xE6E8EC), C(0x4A4E56),
         C(0x000000), C(0xE6E8EC), C(0x2F6E99), C(0xFFFFFF),
         "DejaVu Sans", 15},
        {"Purple", "Purple.zip", "", WindowShape::Bulged, PanelSide::Right, FaceShape::Circle,
         false,
         C(0x6D43AB), C(0x2C1454), C(0xCDB4FF), C(0x1A0C33), C(0x5B3396), C(0xF3EAFF),
         C(0xFFCF6B), C(0xFFFFFF), C(0xC8B6E6),
         C(0x12082A), C(0xEDE2FF), C(0x8A62C9),
         C(0x12082A), C(0xEDE2FF), C(0x6D43AB), C(0xFFFFFF),
         "DejaVu Sans", 15},
        {"Blue", "Blue.zip", "", WindowShape::Rounded, PanelSide::Left, FaceShape::RoundedSquare,
         false,
         C(0x4A94EE), C(0x1650A8), C(0xC4E2FF), C(0x0B2A5A), C(0x2F78D6), C(0xFFFFFF),
         C(0xA8ECFF), C(0xFFFFFF), C(0xBFD8F5),
         C(0x071D40), C(0xE4F1FF), C(0x5B9BE6),
         C(0x071D40), C(0xE4F1FF), C(0x2F78D6), C(0xFFFFFF),
         "Liberation Sans", 16},
        {"Red", "Red.zip", "", WindowShape::Chamfered, PanelSide::Right, FaceShape::Circle,
         false,
         C(0xC62D3E), C(0x650C18), C(0xFFB7A8), C(0x26050A), C(0xA81E2D), C(0xFFF1E6),
         C(0xFFD27F), C(0xFFF4E8), C(0xE8B9B0),
         C(0x1A0306), C(0xFFE9DE), C(0xC62D3E),
         C(0x1A0306), C(0xFFE9DE), C(0xC62D3E), C(0xFFFFFF),
         "Liberation Sans", 16},
        {"Gray", "Gray.zip", "", WindowShape::TitleTab, PanelSide::Left, FaceShape::RoundedSquare,
         false,
         C(0xE8EBEF), C(0xA3AAB3), C(0xFFFFFF), C(0x3A4048), C(0xD5D9DE), C(0x2A2F36),
         C(0x2F7FE0), C(0x1E2228), C(0xD5D9DE),
         C(0x262B31), C(0xF0F2F5), C(0x8C949E),
         C(0x262B31), C(0xF0F2F5), C(0x2F7FE0), C(0xFFFFFF),
         "DejaVu Sans", 15},
        {"Pink", "Pink.zip", "", WindowShape::Bulged, PanelSide::Left, FaceShape::Circle,
         false,
         C(0xF9C4D8), C(0xDC7AA2), C(0xFFEAF2), C(0x5A1F3C), C(0xF29BBE), C(0x5A1F3C),
         C(0xFFFFFF), C(0x5A1F3C), C(0xF7C9DC),
         C(0x45152D), C(0xFFE6F0), C(0xE07FA6),
         C(0x45152D), C(0xFFE6F0), C(0xE07FA6), C(0x45152D),
         "Liberation Sans", 16},
        {"Deluxe", "Deluxe.zip", "art/", WindowShape::Crest, PanelSide::Right, FaceShape::Circle,
         true,
         C(0x2C3860), C(0x0A1024), C(0xE6C66A), C(0x060A16), C(0x2C3A66), C(0xF6E7B8),
         C(0xFFD76A), C(0xF6E2A6), C(0xCDBB85),
         C(0x03060F), C(0xF6E7B8), C(0xB8963E),
         C(0x03060F), C(0xF6E7B8), C(0x8A6E25), C(0xFFFFFF),
         "DejaVu Serif", 17},
    }};
    return themes;
}

}  // namespace

std::span<const SkinTheme> ShippedThemes() { return Table(); }
