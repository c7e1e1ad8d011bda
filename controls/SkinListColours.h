// Skin settings shared by list boxes and combo boxes.
#pragma once

#include <QString>

#include "platform/Colour.h"

struct SkinListColours {
    platform::Colour back = 0xFFFFFF;
    platform::Colour text = 0;
    platform::Colour selectedBack = 0x800000;
    platform::Colour selectedText = 0xFFFFFF;
};

// The seven pictures of a skin scroll bar, in the order skins list them.
struct SkinScrollBarImages {
    QString track, up, upPressed, down, downPressed, thumb, thumbPressed;
};
