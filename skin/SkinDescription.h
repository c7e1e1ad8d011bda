// Skin.ini as plain data: every control a skin describes, field by field, before any widget
// exists. Image fields stay as written (relative to the skin folder); the window resolves them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "skin/SkinEntry.h"

class CIniFile;

// Buttons, option buttons and check boxes share one format; plain buttons have no `checked`.
struct SkinButtonData {
    std::string name, image;
    SkinRect rect;
    std::string tip;
    bool toggle = false;
    bool checked = false;
};

struct SkinSliderData {
    std::string name, channel, thumb, activeThumb;
    SkinRect rect;
    bool vertical = false;
    int position = 0;
    std::string tip;
};

struct SkinLabelData {
    std::string name;  // empty for the caption
    SkinRect rect;
    std::string text, face;
    int points = 0;
    uint32_t colour = kNoColour;
};

struct SkinEditData {
    std::string name;
    SkinRect rect;
    uint32_t back = kNoColour, text = kNoColour, frame = kNoColour;
    bool enabled = false;
};

struct SkinListColourData {
    uint32_t back = kNoColour, text = kNoColour, selectedBack = kNoColour, selectedText = kNoColour;
};

// Track, up, up pressed, down, down pressed, thumb, thumb pressed: the order skins list them.
using SkinScrollBarFields = std::array<std::string, 7>;

struct SkinListData {
    std::string name;
    SkinRect rect;
    SkinListColourData colours;
    SkinScrollBarFields bar;
};

struct SkinComboData {
    std::string name;
    SkinRect rect;
    std::string strip;  // the drop-down button's pictures
    uint32_t editBack = kNoColour, editText = kNoColour, editFrame = kNoColour;
    SkinListColourData list;
    SkinScrollBarFields bar;
};

struct SkinIconData {
    std::string image;
    SkinRect rect;
};

struct SkinDescription {
    std::string background;                // [Screen] Main
    std::optional<uint32_t> transparent;   // [TRANSPARENT] COLOR
    std::optional<SkinRect> control;       // [CONTROL] CONTROL: where the video goes
    std::optional<SkinIconData> icon;      // [ICON] ICON
    std::optional<SkinLabelData> caption;  // [CAPTION] CAPTION
    std::vector<SkinButtonData> buttons;   // [BUTTONINFO]
    std::vector<SkinSliderData> sliders;   // [SLIDERINFO]
    std::vector<SkinButtonData> options;   // [OPTIONINFO]
    std::vector<SkinButtonData> checks;    // [CHECKINFO]
    std::vector<SkinLabelData> labels;     // [LABELINFO]
    std::vector<SkinEditData> edits;       // [EDITBOXINFO]
    std::vector<SkinListData> lists;       // [LISTBOXINFO]
    std::vector<SkinComboData> combos;     // [COMBOBOXINFO]
};

// Numbered sections are read as keys 1..N, N being the section's number of keys; an empty or
// missing key is skipped. Single-value sections are read from the key of their own name.
SkinDescription ReadSkinDescription(const CIniFile& ini);
