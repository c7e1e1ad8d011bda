#include "CFlvPropertiesDlg.h"

#include "DialogIds.h"
#include "DialogTemplates.h"

using namespace FlvIds;

CFlvPropertiesDlg::CFlvPropertiesDlg() : platform::TemplateDialog(kFlvPropertiesTemplate) {}

void CFlvPropertiesDlg::DoDataExchange(platform::DataExchange& dx) {
    dx.Text(Edit(kAudioBitrateEdit), m_audioBitrate);
    dx.Text(Edit(kVideoBitrateEdit), m_videoBitrate);
    dx.Text(Edit(kWidthEdit), m_width);
    dx.Text(Edit(kHeightEdit), m_height);
    dx.Text(Edit(kFrameRateEdit), m_frameRate);
    dx.Text(Edit(kChannelsEdit), m_audioChannels);
    dx.Text(Edit(kSampleRateEdit), m_audioSampleRate);
}

bool CFlvPropertiesDlg::OnInitDialog() {
    TemplateDialog::OnInitDialog();
    OnClicked(kOk, [this] { OnOk(); });
    OnClicked(kCancel, [this] { reject(); });
    return true;
}

void CFlvPropertiesDlg::OnOk() {
    UpdateData(true);
    UpdateData(false);
    StandardOk();
}

void CFlvPropertiesDlg::SetPicture(int16_t width, int16_t height, float frameRate) {
    m_width = width;
    m_height = height;
    m_frameRate = frameRate;
    if (IsCreated()) UpdateData(false);
}

void CFlvPropertiesDlg::SetQuality(const Quality& q) {
    m_videoBitrate = q.videoBitrate;
    m_width = q.width;
    m_height = q.height;
    m_audioBitrate = q.audioBitrate;
    if (IsCreated()) UpdateData(false);
}
