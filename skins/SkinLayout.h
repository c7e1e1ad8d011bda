// Where everything sits on a skin's window. QRect here is position and size; Skin.ini wants
// exclusive right and bottom edges, which SkinIniWriter derives.
#pragma once

#include <QRect>
#include <QSize>

#include <array>
#include <vector>

struct SkinTheme;

struct SkinLayout {
    QSize window;
    QRect titleBand;  // the strip the icon and caption sit on
    QRect icon, caption;
    QRect minimize, close;
    QRect bezel, video;  // video is the CONTROL rectangle, bezel the frame drawn round it
    QRect panel;         // recessed settings panel
    QRect bar;           // transport bar along the bottom
    QRect play, stop, record, stream, snapshot;
    std::array<QRect, 6> settings;
    std::array<QRect, 6> settingsCaption;
    bool captionsUnder = false;  // settings captions under the buttons rather than beside them
    QRect display;               // the read-out strip holding the progress slider and the time
    QRect slider, time;
    QRect fileCaption, edit;
    QRect modeLabel, combo;  // combo spans the closed box and its open list
    QSize comboCell;         // one cell of the drop-down button's strip
    int scrollBarWidth = 16;

    // Only in layouts with room for them; empty otherwise.
    QRect optionsCaption, check, listCaption, list;
    std::vector<QRect> options;

    static SkinLayout For(const SkinTheme& theme);
};
