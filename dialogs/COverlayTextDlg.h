// The two-line text over the video and the whole-picture effects (rotation, inversion, grey
// scale). Most controls act on the capture control at once; the main window re-applies the
// text, position, rotation, inversion and "Use Overlay" at every start.
#pragma once

#include <QString>

#include <cstdint>

#include "CSettingsDialog.h"
#include "platform/Colour.h"

class COverlayTextDlg : public CSettingsDialog {
    Q_OBJECT
public:
    COverlayTextDlg();

    int32_t RotationIndex() const { return m_rotationIndex; }
    int32_t InvertFlag() const { return m_invertFlag; }        // check state, 1 = checked
    int32_t UseOverlayFlag() const { return m_useOverlayFlag; }  // check state, 1 = checked
    int16_t Left() const { return m_left; }
    int16_t Top() const { return m_top; }
    const QString& Text1() const { return m_text1; }
    const QString& Text2() const { return m_text2; }
    // The two lines as the control draws them.
    QString OverlayText() const { return m_text1 + QStringLiteral("\r\n") + m_text2; }
    const QString& TextureImageFile() const { return m_textureImageFile; }

    // Until the user picks a size (or has one remembered), the size follows the height of
    // the recorded picture, so the overlay keeps its proportion on a larger picture.
    void FollowPictureHeight(int height);
    void KeepFontSize() { m_sizePicked = true; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(platform::DataExchange& dx) override;

private:
    // Opens the colour dialog on colour; true when the user chose one (stored in colour).
    bool PickColour(platform::Colour& colour);
    void OnFontColour();
    void OnOutlineColour();
    void OnOutlineBackColour();
    void OnHatchForeColour();
    void OnHatchBackColour();
    void SendHatchBrush();
    void OnSelectTexture();
    void OnTextStyle();
    void OnFontStyle();
    void OnFontSize();
    void OnFontName();
    void OnRotation();
    void OnInvert();
    void OnGreyScale();
    void OnShowText();
    void OnDrawText();
    void OnOk();

    int32_t m_textStyleSelection = 0;
    int32_t m_hatchStyleSelection = 0;
    int32_t m_fontStyleSelection = 0;
    int32_t m_fontSizeSelection = 0;
    bool m_sizePicked = false;
    int32_t m_fontNameSelection = 0;
    bool m_showText = true;
    bool m_greyScale = false;
    int32_t m_rotationIndex = 0;
    int32_t m_invertFlag = 0;
    int32_t m_useOverlayFlag = 1;
    // Preselected in the first colour dialogs: white text, black outline on white, black
    // hatch on white.
    platform::Colour m_fontColour = platform::MakeColour(255, 255, 255);
    platform::Colour m_outlineColour = platform::MakeColour(0, 0, 0);
    platform::Colour m_outlineBackColour = platform::MakeColour(255, 255, 255);
    platform::Colour m_hatchForeColour = platform::MakeColour(0, 0, 0);
    platform::Colour m_hatchBackColour = platform::MakeColour(255, 255, 255);
    int16_t m_left = 0;
    int16_t m_top = 0;
    QString m_text1 = QStringLiteral("Korvex Software");
    QString m_text2 = QStringLiteral("www.example.com");
    QString m_textureImageFile;
};
