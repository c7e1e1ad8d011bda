// The date-time stamp over the video. Font, style, size, colour, visibility and drawing go to
// the capture control at once; the main window redraws with the stored position and format
// at every start.
#pragma once

#include <cstdint>

#include "CSettingsDialog.h"
#include "platform/Colour.h"

class CDateTimeDlg : public CSettingsDialog {
    Q_OBJECT
public:
    CDateTimeDlg();

    int32_t FormatIndex() const { return m_formatIndex; }
    int16_t Left() const { return m_left; }
    int16_t Top() const { return m_top; }
    platform::Colour Colour() const { return m_colour; }

    // Until the user picks a size (or has one remembered), the size follows the height of
    // the recorded picture, so the overlay keeps its proportion on a larger picture.
    void FollowPictureHeight(int height);
    void KeepFontSize() { m_sizePicked = true; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(platform::DataExchange& dx) override;

private:
    void OnChangeColour();
    void OnDrawTime();
    void OnFontStyle();
    void OnFontName();
    void OnFontSize();
    void OnShow();
    void OnOk();

    int32_t m_fontNameSelection = 0;
    int32_t m_fontStyleSelection = 0;
    int32_t m_fontSizeSelection = 0;
    bool m_sizePicked = false;
    int32_t m_formatIndex = 0;
    bool m_show = true;
    // Preselected in the first colour dialog; white reads on most pictures.
    platform::Colour m_colour = platform::MakeColour(255, 255, 255);
    int16_t m_left = 0;
    int16_t m_top = 30;
};
