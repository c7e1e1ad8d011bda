// Runs one picture through a fresh processing stage, for tests that check its pixels.
#pragma once

#include "component/overlays/OverlayLayer.h"
#include "component/overlays/OverlaySettings.h"
#include "component/pipeline/ProcessingStage.h"

#include <QImage>
#include <QPainter>

#include <cstdint>

// Settings with the stamp and both overlays off, so only what a test turns on is drawn.
inline component::OverlaySettings NoOverlays() {
    component::OverlaySettings s;
    s.dateTime.show = false;
    s.activeOverlay = -1;
    return s;
}

// A solid colour as it comes out of the pipeline's 4:2:0 planes (a few levels off at the
// saturated edges of studio range).
inline QRgb AsRecorded(QRgb colour) {
    QImage block(2, 2, QImage::Format_RGB32);
    block.fill(colour);
    return component::YuvImage::FromImage(block).ToImage().pixel(0, 0);
}

// `layer` blended onto `picture` in RGB: what an overlay draws, before the planes share each
// 2x2 block's colour.
inline QImage Blended(QImage picture, const component::OverlayLayer& layer) {
    QPainter(&picture).drawImage(layer.at, layer.image);
    return picture;
}

inline QImage RunStage(const component::OverlaySettings& s, QImage frame, int64_t timeUs = 0) {
    component::ProcessingStage stage;
    stage.SetOverlaySettings(s);
    stage.Apply(frame, timeUs);
    return frame;
}
