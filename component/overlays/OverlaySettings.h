// Everything the overlay and effect operations have set: what the processing stage draws.
// Colours are 0x00BBGGRR as they arrive. Positions and sizes are in pixels of the recorded
// picture. The defaults are what the settings dialogs show when they open, so that the first
// picture looks as the dialogs say.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace component {

struct DateTimeOverlay {
    bool show = true;
    int16_t left = 0;
    int16_t top = 30;
    int16_t formatIndex = 0;
    uint32_t colour = 0x00FFFFFF;
    std::string fontName = "Arial";
    int16_t fontSize = 8;
    int16_t fontStyle = 0;

    bool operator==(const DateTimeOverlay&) const = default;
};

struct TextOverlay {
    bool show = true;
    int16_t left = 0;
    int16_t top = 0;
    std::string text = "Korvex Software\r\nwww.example.com";  // lines separated by "\r\n"
    uint32_t colour = 0x00FFFFFF;
    std::string fontName = "Arial";
    int16_t fontSize = 8;
    int16_t fontStyle = 0;
    int16_t style = 0;
    uint32_t outlineColour = 0;
    uint32_t outlineBackColour = 0;
    int16_t hatchStyle = -1;  // -1: no hatch brush
    uint32_t hatchForeColour = 0;
    uint32_t hatchBackColour = 0;
    std::string texturePath;

    bool operator==(const TextOverlay&) const = default;
};

struct ImageOverlay {
    bool show = true;
    int16_t left = 20;
    int16_t top = 0;
    std::string path;
    uint32_t transparentColour = 0;
    int16_t alpha = 100;

    bool operator==(const ImageOverlay&) const = default;
};

struct OverlaySettings {
    DateTimeOverlay dateTime;
    std::map<int16_t, TextOverlay> texts{{0, TextOverlay{}}};  // by overlay index
    std::map<int16_t, ImageOverlay> images{{0, ImageOverlay{}}};
    int16_t rotation = 0;
    bool invert = false;
    bool greyScale = false;
    int32_t activeOverlay = 0;  // the overlay index drawn, -1 for none
};

}  // namespace component
