// What the preview shows over the picture and the recording never holds: a red dot and
// "REC 00:01:23" while recording, "PAUSED" while paused, a small meter of the sound being
// captured (peak and RMS of the last 50 ms, with a clip mark), and above them the file's
// figures.
#pragma once

#include "component/pipeline/SoundLevelMeter.h"

#include <QPainter>
#include <QRect>
#include <QString>

#include <cstdint>

namespace component {

struct IndicatorState {
    QString text;            // "REC hh:mm:ss", "PAUSED" or empty
    bool recording = false;  // the red dot
    SoundLevelMeter::Reading level;
    QString figures;         // the file's figures, on a line above; empty for none
    bool warning = false;    // the figures call for attention (the disk is nearly full)
};

// The meter's scale: from this level up to full scale.
inline constexpr double kMeterFloorDb = -60.0;

// Draws the indicator in the bottom-left corner of `area` and returns the rectangle it
// covers; an empty one when there is nothing to show.
QRect PaintIndicator(QPainter& p, QRect area, const IndicatorState& state);

}  // namespace component
