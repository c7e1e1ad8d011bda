// The encoding parameters of an FLV recording; the main window passes them to the capture
// control when a recording starts.
#pragma once

#include <cstdint>

#include "platform/TemplateDialog.h"

class CFlvPropertiesDlg : public platform::TemplateDialog {
    Q_OBJECT
public:
    CFlvPropertiesDlg();

    int32_t AudioBitrate() const { return m_audioBitrate; }
    int32_t VideoBitrate() const { return m_videoBitrate; }
    int16_t Width() const { return m_width; }
    int16_t Height() const { return m_height; }
    float FrameRate() const { return m_frameRate; }
    int16_t AudioChannels() const { return m_audioChannels; }
    int32_t AudioSampleRate() const { return m_audioSampleRate; }

    // The values a quality preset chooses; frame rate, channels and sample rate stay.
    struct Quality {
        int32_t videoBitrate;
        int16_t width;
        int16_t height;
        int32_t audioBitrate;
        bool operator==(const Quality&) const = default;
    };
    Quality CurrentQuality() const { return {m_videoBitrate, m_width, m_height, m_audioBitrate}; }
    // Holds q from now on and shows it in the edit boxes.
    void SetQuality(const Quality& q);
    // The same for the picture's size and rate.
    void SetPicture(int16_t width, int16_t height, float frameRate);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(platform::DataExchange& dx) override;

private:
    void OnOk();

    int32_t m_audioBitrate = 128000;
    int32_t m_videoBitrate = 512000;
    int16_t m_width = 320;
    int16_t m_height = 240;
    float m_frameRate = 25.0f;
    int16_t m_audioChannels = 2;
    int32_t m_audioSampleRate = 44100;
};
