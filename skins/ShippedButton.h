// The main window's commands as every shipped skin offers them: skin name, picture, tool tip.
#pragma once

#include <span>

enum class Glyph {
    Play, Pause, Stop, Record, Minimize, Close,
    VideoDevice, AudioDevice, DateTime, OverlayText, OverlayImage, OutputProperties,
    DropDown, ArrowUp, ArrowDown, Camera, Stream,
};

enum class CommandGroup { Transport, Window, Settings };

struct ShippedButton {
    const char* name;     // skin name the main window reacts to
    const char* file;     // picture file name inside the package
    Glyph glyph;
    CommandGroup group;
    const char* tip;
    const char* caption;       // printed beside settings buttons; empty for the others
    const char* shortCaption;  // printed under settings buttons where room is scarce
};

// Transport first (play and pause share one place), then the window buttons, then the six
// settings buttons in the order they are laid out.
std::span<const ShippedButton> ShippedButtons();
