// The window's background picture: its outline (cut out by the key colour), body, panels,
// video frame and the captions printed beside the controls.
#pragma once

#include <QImage>
#include <QPainterPath>

struct SkinLayout;
struct SkinTheme;

class BackgroundPainter {
public:
    // An opaque picture of the layout's window size; everything outside the outline is the key.
    static QImage Paint(const SkinTheme& theme, const SkinLayout& layout);

    static QPainterPath Outline(const SkinTheme& theme, const SkinLayout& layout);
};
