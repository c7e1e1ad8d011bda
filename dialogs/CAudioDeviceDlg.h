// Chooses the audio device and input, the sync mode and the audio offset; the main window
// applies them when a preview or recording starts.
#pragma once

#include <QStringList>

#include <cstdint>

#include "CSettingsDialog.h"

class CAudioDeviceDlg : public CSettingsDialog {
    Q_OBJECT
public:
    CAudioDeviceDlg();

    // Filled by the main window before the window is created.
    QStringList& DeviceNames() { return m_deviceNames; }
    QStringList& InputNames() { return m_inputNames; }

    int32_t DeviceIndex() const { return m_deviceIndex; }
    int32_t InputIndex() const { return m_inputIndex; }
    int32_t SyncMode() const { return m_syncMode; }
    int32_t AudioOffset() const { return m_audioOffset; }  // milliseconds

protected:
    bool OnInitDialog() override;
    void DoDataExchange(platform::DataExchange& dx) override;

private:
    void OnOk();

    QStringList m_deviceNames;
    QStringList m_inputNames;
    int32_t m_deviceIndex = 0;
    int32_t m_inputIndex = 0;
    int32_t m_syncMode = 1;
    int32_t m_audioOffset = 1;
};
