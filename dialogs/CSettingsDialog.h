// A settings dialog that acts on the capture control through the main window.
#pragma once

#include "CaptureHost.h"
#include "platform/TemplateDialog.h"

class CSettingsDialog : public platform::TemplateDialog {
    Q_OBJECT
public:
    using platform::TemplateDialog::TemplateDialog;

    // Set by the main window before it creates the dialog's window.
    void SetMainWindow(CaptureHost* mainWindow) { m_mainWindow = mainWindow; }
    CaptureHost* MainWindow() const { return m_mainWindow; }

protected:
    // The main window's capture control; a dispatch error when there is no main window.
    CVideoCap& Capture() const;
    // Selects the entry of the size list `id` nearest `points`; false when it already was.
    bool SelectNearestSize(int id, int points);

private:
    friend class DeviceListFollower;
    CaptureHost* m_mainWindow = nullptr;
};
