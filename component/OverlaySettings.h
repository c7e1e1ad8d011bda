// Everything the overlay and effect operations have set: what the processing stage draws.
// Colours are 0x00BBGGRR as they arrive.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace component {

struct DateTimeOverlay {
    bool show = false;
    int16_t left = 0;
    int16_t top = 0;
    int16_t formatIndex = 0;
    uint32_t colour = 0x00FFFFFF;
    std::string fontName = "Arial";
    int16_t fontSize = 12;
    int16_t fontStyle = 0;
};

struct TextOverlay {
    bool show = true;
    int16_t left = 0;
    int16_t top = 0;
    std::string text;  // lines separated by "\r\n"
    uint32_t colour = 0x00FFFFFF;
    std::string fontName = "Arial";
    int16_t fontSize = 12;
    int16_t fontStyle = 0;
    int16_t style = 0;
    uint32_t outlineColour = 0;
    uint32_t outlineBackColour = 0;
    int16_t hatchStyle = -1;  // -1: no hatch brush
    uint32_t hatchForeColour = 0;
    uint32_t hatchBackColour = 0;
    std::string texturePath;
};

struct ImageOverlay {
    bool show = true;
    int16_t left = 0;
    int16_t top = 0;
    std::string path;
    uint32_t transparentColour = 0;
    int16_t alpha = 100;
};

struct OverlaySettings {
    DateTimeOverlay dateTime;
    std::map<int16_t, TextOverlay> texts;  // by overlay index
    std::map<int16_t, ImageOverlay> images;
    int16_t rotation = 0;
    bool invert = false;
    bool grayScale = false;
    int32_t activeOverlay = -1;  // the overlay index drawn, -1 for none
};

}  // namespace component
