#include "CSettingsDialog.h"

#include "platform/Dispatch.h"

CVideoCap& CSettingsDialog::Capture() const {
    if (!m_mainWindow)
        throw platform::DispatchError(platform::DispatchError::Code::NoControl, 0,
                                      "The capture control is not available.");
    return m_mainWindow->Capture();
}
