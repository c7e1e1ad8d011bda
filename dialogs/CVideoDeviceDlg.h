// Chooses the video device, format, input and (on analogue cards) video standard, and
// whether interlaced pictures are deinterlaced; the main window applies the choice when a
// preview or recording starts. "Controls…" opens the chosen camera's own picture settings.
#pragma once

#include <QStringList>

#include <cstdint>

#include "CCameraControlsDlg.h"
#include "CSettingsDialog.h"

class CVideoDeviceDlg : public CSettingsDialog {
    Q_OBJECT
public:
    CVideoDeviceDlg();

    // Filled by the main window before the window is created.
    QStringList& DeviceNames() { return m_deviceNames; }
    QStringList& FormatNames() { return m_formatNames; }
    QStringList& InputNames() { return m_inputNames; }
    QStringList& StandardNames() { return m_standardNames; }

    // The selections at the last "Ok"; -1 for an empty list.
    int32_t DeviceIndex() const { return m_deviceIndex; }
    int32_t FormatIndex() const { return m_formatIndex; }
    int32_t InputIndex() const { return m_inputIndex; }
    int32_t StandardIndex() const { return m_standardIndex; }
    bool Deinterlace() const { return m_deinterlace; }
    // The name of the format chosen at the last "Ok" ("1280x720 MJPG 30 fps").
    QString ChosenFormat() const;

    // Opens "Camera Controls" for the video device at `index` of the device list.
    void ShowCameraControls(int index);
    CCameraControlsDlg& CameraControls() { return m_cameraControls; }

protected:
    bool OnInitDialog() override;

private:
    void OnDeviceChanged();
    void OnStandardChanged();
    void OnOk();

    QStringList m_deviceNames;
    QStringList m_formatNames;
    QStringList m_inputNames;
    QStringList m_standardNames;
    int32_t m_deviceIndex = 0;
    int32_t m_formatIndex = 0;
    int32_t m_inputIndex = 0;
    int32_t m_standardIndex = 0;
    bool m_deinterlace = true;
    CCameraControlsDlg m_cameraControls;
    int m_shownDevice = 0;  // whose formats, inputs and standards are on screen
};
