#include "CAudioDeviceDlg.h"

#include "DeviceListFollower.h"
#include "DialogIds.h"
#include "capture/CVideoCap.h"
#include "DialogTemplates.h"
#include "FixedLists.h"

using namespace AudioDeviceIds;

CAudioDeviceDlg::CAudioDeviceDlg() : CSettingsDialog(kAudioDeviceTemplate) {}

void CAudioDeviceDlg::DoDataExchange(platform::DataExchange& dx) {
    dx.Text(Edit(kOffsetEdit), m_audioOffset);
}

bool CAudioDeviceDlg::OnInitDialog() {
    CSettingsDialog::OnInitDialog();
    FillList(kSyncModeList, lists::ToStringList(lists::kSyncModes), m_syncMode);
    // The stored indexes are not shown: a fresh dialog starts on the first entries.
    FillList(kDeviceList, m_deviceNames, 0);
    FillList(kInputList, m_inputNames, 0);

    new DeviceListFollower(*this, {kDeviceList, &m_deviceNames, &m_deviceIndex,
                                   [](CVideoCap& c) { return ReadAllNames([&] { return c.GetAudioDevices(); }); },
                                   nullptr});
    OnClicked(kOk, [this] { OnOk(); });
    OnClicked(kCancel, [this] { reject(); });
    return true;
}

void CAudioDeviceDlg::OnOk() {
    m_deviceIndex = Selection(kDeviceList);
    m_inputIndex = Selection(kInputList);
    m_syncMode = Selection(kSyncModeList);
    UpdateData(true);
    UpdateData(false);
    StandardOk();
}
