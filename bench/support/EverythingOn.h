// Every effect and all three overlays, as a user could set them from the dialogs: what the
// benches turn on to measure the heaviest recording.
#pragma once

#include "ComponentDriver.h"

#include <QImage>
#include <QString>

inline void EverythingOn(ComponentDriver& driver, const QString& dir) {
    using platform::CaptureOp;
    using platform::Variant;
    const QString image = dir + "/overlay.png";
    QImage img(200, 100, QImage::Format_RGB32);
    img.fill(qRgb(200, 100, 50));
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 60; ++x) img.setPixel(x, y, qRgb(0, 255, 0));
    img.save(image);
    driver.Call(CaptureOp::SetVideoRotation, {Variant::I16(1)});
    driver.Call(CaptureOp::SetInvertColor, {Variant::Bool(true)});
    driver.Call(CaptureOp::SetGrayScale, {Variant::Bool(true)});
    driver.Call(CaptureOp::ActiveOverlay, {Variant::I32(0)});
    driver.Call(CaptureOp::ShowDateTime, {Variant::Bool(true)});
    driver.Call(CaptureOp::DrawDateTime, {Variant::I16(10), Variant::I16(30), Variant::I16(7)});
    driver.Call(CaptureOp::DateTimeFontSize, {Variant::I16(24)});
    driver.Call(CaptureOp::ShowOverlayText, {Variant::I16(0), Variant::Bool(true)});
    driver.Call(CaptureOp::SetOverlayTextFontSize, {Variant::I16(0), Variant::I16(28)});
    driver.Call(CaptureOp::SetOverlayTextStyle, {Variant::I16(0), Variant::I16(3)});
    driver.Call(CaptureOp::SetOverlayTextHatchBrush,
                {Variant::I16(0), Variant::I16(4), Variant::Colour(0x0000FFFF), Variant::Colour(0x00800000)});
    driver.Call(CaptureOp::DrawOverlayText, {Variant::I16(0), Variant::I16(10), Variant::I16(100),
                                             Variant::Str("Korvex Software\r\nwww.example.com")});
    driver.Call(CaptureOp::ShowOverlayImage, {Variant::I16(0), Variant::Bool(true)});
    driver.Call(CaptureOp::DrawOverlayImage,
                {Variant::I16(0), Variant::I16(20), Variant::I16(400), Variant::Str(image.toStdString()),
                 Variant::Colour(0x0000FF00), Variant::I16(128)});
}

