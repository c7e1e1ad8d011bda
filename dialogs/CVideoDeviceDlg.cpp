#include "CVideoDeviceDlg.h"

#include <QComboBox>

#include "DeviceListFollower.h"
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
    FillList(kStandardList, m_standardNames, m_standardIndex);
    Combo(kStandardList)->setEnabled(!m_standardNames.isEmpty());
    SetChecked(kDeinterlaceCheck, m_deinterlace);
    m_cameraControls.setParent(this, m_cameraControls.windowFlags() | Qt::Dialog);

    m_shownDevice = m_deviceIndex;
    new DeviceListFollower(*this, {kDeviceList, &m_deviceNames, &m_deviceIndex,
                                   [](CVideoCap& c) { return ReadAllNames([&] { return c.GetVideoDevices(); }); },
                                   [this](int at) {
                                       // Described at its new place, its formats left as chosen;
                                       // one not connected has nothing to describe.
                                       m_shownDevice = at;
                                       if (at < m_deviceNames.size()) Capture().SelectVideoDevice(static_cast<int16_t>(at));
                                   }});
    OnSelChange(kDeviceList, [this] { OnDeviceChanged(); });
    OnSelChange(kStandardList, [this] { OnStandardChanged(); });
    OnClicked(kControlsButton, [this] { ShowCameraControls(Selection(kDeviceList)); });
    OnClicked(kOk, [this] { OnOk(); });
    OnClicked(kCancel, [this] { reject(); });
    return true;
}

void CVideoDeviceDlg::OnDeviceChanged() {
    // The device already shown, chosen again, keeps the format and input on screen.
    // One that is not connected has nothing to describe: its lists stay as they were.
    if (Selection(kDeviceList) == m_shownDevice || Selection(kDeviceList) >= m_deviceNames.size()) return;
    m_shownDevice = Selection(kDeviceList);
    // Only the lists on screen follow the device; the stored names and indexes stay.
    Combo(kInputList)->clear();
    Combo(kFormatList)->clear();
    Combo(kStandardList)->clear();
    CVideoCap& capture = Capture();
    capture.SelectVideoDevice(static_cast<int16_t>(Selection(kDeviceList)));
    FillList(kFormatList, ReadAllNames([&] { return capture.GetVideoFormats(); }), 0);
    FillList(kInputList, ReadAllNames([&] { return capture.GetVideoInputs(); }), 0);
    const QStringList standards = ReadAllNames([&] { return capture.GetVideoStandards(); });
    FillList(kStandardList, standards, 0);
    Combo(kStandardList)->setEnabled(!standards.isEmpty());
}

void CVideoDeviceDlg::OnStandardChanged() {
    // The sizes and rates follow the standard: PAL 720x576 at 25, NTSC 720x480 at 29.97.
    Combo(kFormatList)->clear();
    CVideoCap& capture = Capture();
    capture.SelectVideoStandard(static_cast<int16_t>(Selection(kStandardList)));
    FillList(kFormatList, ReadAllNames([&] { return capture.GetVideoFormats(); }), 0);
}

void CVideoDeviceDlg::ShowCameraControls(int index) {
    const QString name = index >= 0 && index < m_deviceNames.size() ? m_deviceNames[index] : QString();
    m_cameraControls.ShowFor(Capture().VideoDeviceNode(static_cast<int16_t>(index)), name);
}

QString CVideoDeviceDlg::ChosenFormat() const {
    const QComboBox* formats = Combo(kFormatList);
    return formats ? formats->itemText(m_formatIndex) : m_formatNames.value(m_formatIndex);
}

void CVideoDeviceDlg::OnOk() {
    m_deviceIndex = Selection(kDeviceList);
    m_formatIndex = Selection(kFormatList);
    m_inputIndex = Selection(kInputList);
    m_standardIndex = Selection(kStandardList);
    m_deinterlace = IsChecked(kDeinterlaceCheck);
    StandardOk();
}
