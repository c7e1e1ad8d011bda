// Chooses the video device, format and input; the main window applies the choice when a
// preview or recording starts.
#pragma once

#include <QStringList>

#include <cstdint>

#include "CSettingsDialog.h"

class CVideoDeviceDlg : public CSettingsDialog {
    Q_OBJECT
public:
    CVideoDeviceDlg();

    // Filled by the main window before the window is created.
    QStringList& DeviceNames() { return m_deviceNames; }
    QStringList& FormatNames() { return m_formatNames; }
    QStringList& InputNames() { return m_inputNames; }

    // The selections at the last "Ok"; -1 for an empty list.
    int32_t DeviceIndex() const { return m_deviceIndex; }
    int32_t FormatIndex() const { return m_formatIndex; }
    int32_t InputIndex() const { return m_inputIndex; }

protected:
    bool OnInitDialog() override;

private:
    void OnDeviceChanged();
    void OnOk();

    QStringList m_deviceNames;
    QStringList m_formatNames;
    QStringList m_inputNames;
    int32_t m_deviceIndex = 0;
    int32_t m_formatIndex = 0;
    int32_t m_inputIndex = 0;
};
