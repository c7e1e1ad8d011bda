#include "CCaptureApp.h"

#include "CCaptureDlg.h"

int CCaptureApp::Run() {
    CCaptureDlg dlg;
    dlg.RunModal();
    return 0;
}
