// A picture over the video with a transparent colour and an alpha value. Picking, drawing and
// showing act on the capture control at once; the main window redraws from the stored values
// at every start.
#pragma once

#include <QString>

#include <cstdint>

#include "CSettingsDialog.h"
#include "platform/Colour.h"

class COverlayImageDlg : public CSettingsDialog {
    Q_OBJECT
public:
    COverlayImageDlg();

    platform::Colour TransparentColour() const { return m_transparentColour; }
    int32_t Alpha() const { return m_alpha; }
    int32_t Left() const { return m_left; }
    int32_t Top() const { return m_top; }
    const QString& ImageFile() const { return m_imageFile; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(platform::DataExchange& dx) override;

private:
    void Draw();
    void OnSelectImage();
    void OnChangeColour();
    void OnDrawImage();
    void OnShowImage();
    void OnOk();

    bool m_showImage = true;
    platform::Colour m_transparentColour = 0;
    int32_t m_alpha = 100;
    int32_t m_left = 20;
    int32_t m_top = 0;
    QString m_imageFile;
};
