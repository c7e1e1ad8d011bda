#include "CVideoDeviceDlg.h"

#include <QComboBox>

#include "DialogIds.h"
#include "DialogTemplates.h"
#include "capture/CVideoCap.h"

using namespace VideoDeviceIds;

CVideoDeviceDlg::CVideoDeviceDlg() : CSettingsDialog(kVideoDeviceTemplate) {}

bool CVideoDeviceDlg::OnInitDialog() {
    CSettingsDialog::OnInitDialog();
    FillList(kDeviceList, m_deviceNames, m_deviceIndex);
    FillList(kFormatList, m_formatNames, m_formatIndex);
    FillList(kInputList, m_inputNames, m_inputIndex);

    OnSelChange(kDeviceList, [this] { OnDeviceChanged(); });
    OnClicked(kOk, [this] { OnOk(); });
    OnClicked(kCancel, [this] { reject(); });
    return true;
}

void CVideoDeviceDlg::OnDeviceChanged() {
    // Only the lists on screen follow the device; the stored names and indexes stay.
    Combo(kInputList)->clear();
    Combo(kFormatList)->clear();
    CVideoCap& capture = Capture();
    capture.SelectVideoDevice(static_cast<int16_t>(Selection(kDeviceList)));
    FillList(kFormatList, ReadAllNames([&] { return capture.GetVideoFormats(); }), 0);
    FillList(kInputList, ReadAllNames([&] { return capture.GetVideoInputs(); }), 0);
}

void CVideoDeviceDlg::OnOk() {
    m_deviceIndex = Selection(kDeviceList);
    m_formatIndex = Selection(kFormatList);
    m_inputIndex = Selection(kInputList);
    StandardOk();
}
