// One skin package in memory: what Skin.ini says, and the pictures it names.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <array>
#include <string>
#include <vector>

struct SkinPicture {
    std::string path;  // inside the package, "/"-separated
    QImage image;
};

struct SkinButtonEntry {
    std::string name, image;
    QRect rect;
    std::string tip;
    bool toggle = false;
};

struct SkinSliderEntry {
    std::string name, channel, thumb, activeThumb;
    QRect rect;
    bool vertical = false;
    int position = 0;
    std::string tip;
};

// Option and check boxes share one format.
struct SkinToggleEntry {
    std::string name, image;
    QRect rect;
    std::string tip;
    bool toggle = false;
    bool checked = false;
};

struct SkinLabelEntry {
    std::string name;
    QRect rect;
    std::string text, face;
    int points = 10;
    QColor colour;
};

struct SkinEditEntry {
    std::string name;
    QRect rect;
    QColor back, text, border;
    bool enabled = false;
};

// Track, up, up pressed, down, down pressed, thumb, thumb pressed.
using SkinScrollBarFiles = std::array<std::string, 7>;

struct SkinListEntry {
    std::string name;
    QRect rect;
    QColor back, text, selBack, selText;
    SkinScrollBarFiles bar;
};

struct SkinComboEntry {
    std::string name;
    QRect rect;  // bottom is the bottom of the open list
    std::string button;
    QColor editBack, editText, editBorder;
    QColor listBack, listText, selBack, selText;
    SkinScrollBarFiles bar;
};

struct SkinModel {
    std::string title;    // what the skin is called
    std::string package;  // its file name
    std::string background;
    QRgb key = 0;
    QRect control;
    std::string icon;
    QRect iconRect;
    SkinLabelEntry caption;
    std::vector<SkinButtonEntry> buttons;
    std::vector<SkinSliderEntry> sliders;
    std::vector<SkinToggleEntry> options;
    std::vector<SkinToggleEntry> checks;
    std::vector<SkinLabelEntry> labels;
    std::vector<SkinEditEntry> edits;
    std::vector<SkinListEntry> lists;
    std::vector<SkinComboEntry> combos;
    std::vector<SkinPicture> pictures;  // in the order they are packed

    const QImage* Picture(const std::string& path) const {
        for (const auto& p : pictures)
            if (p.path == path) return &p.image;
        return nullptr;
    }
};
