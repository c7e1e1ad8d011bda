// Draws every picture of one theme and describes its controls: a complete skin in memory.
#pragma once

#include "SkinModel.h"

struct SkinTheme;

class ThemeBuilder {
public:
    static SkinModel Build(const SkinTheme& theme);
};
