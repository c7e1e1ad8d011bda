// Runs one picture through a fresh processing stage, for tests that check its pixels.
#pragma once

#include "component/overlays/OverlaySettings.h"
#include "component/pipeline/ProcessingStage.h"

#include <QImage>

#include <cstdint>

// Settings with the stamp and both overlays off, so only what a test turns on is drawn.
inline component::OverlaySettings NoOverlays() {
    component::OverlaySettings s;
    s.dateTime.show = false;
    s.activeOverlay = -1;
    return s;
}

inline QImage RunStage(const component::OverlaySettings& s, QImage frame, int64_t timeUs = 0) {
    component::ProcessingStage stage;
    stage.SetOverlaySettings(s);
    stage.Apply(frame, timeUs);
    return frame;
}
