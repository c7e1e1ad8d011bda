// Pictures of the progress slider and of the list scroll bars.
#pragma once

#include <QImage>

#include <array>

#include "SkinTheme.h"

class BarPainter {
public:
    static constexpr int kChannelHeight = 8;
    static constexpr int kThumbSide = 20;
    static constexpr int kArrowHeight = 16;
    static constexpr int kScrollThumbHeight = 28;

    // The filled part of the slider's channel. It is copied without a key, so it is opaque
    // and drawn over under, the groove it covers.
    static QImage SliderChannel(const SkinTheme& theme, const QImage& under);
    // The thumb's surroundings are the key; its soft edge is blended with under.
    static QImage SliderThumb(const SkinTheme& theme, const QImage& under, bool active);

    // Track, up, up pressed, down, down pressed, thumb, thumb pressed: the order Skin.ini
    // lists them in. All opaque, width pixels wide.
    static std::array<QImage, 7> ScrollBar(const SkinTheme& theme, int width);
};
