// A picture of a skin as its window would look, for checking the artwork by eye.
#pragma once

#include <QImage>

struct SkinModel;

class PreviewRenderer {
public:
    // The window at start-up; with everything, also the controls the program keeps hidden
    // (pause button aside), the progress half way and the format list open.
    static QImage Render(const SkinModel& model, bool everything);
};
