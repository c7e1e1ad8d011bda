// What a skin control needs from the skinned window that holds it: where to report clicks
// and moves by index, and the background picture to copy under itself.
#pragma once

#include <QImage>

class SkinComboBox;

class SkinHost {
public:
    virtual ~SkinHost() = default;
    virtual void OnSkinButtonClick(int index) = 0;
    virtual void OnSkinOptionClick(int index) = 0;
    virtual void OnSkinCheckClick(int index) = 0;
    virtual void OnSkinSliderMove(int index, int position) = 0;
    // The whole background picture, in the window's client coordinates.
    virtual const QImage& BackgroundCopy() const = 0;
    // The window's first combo box, or nullptr (its drop-down button toggles it).
    virtual SkinComboBox* FirstComboBox() = 0;
    // A combo box repaints every option box and the label "LABEL_MODE" with itself.
    virtual void RepaintOptionsAndModeLabel() = 0;
};
