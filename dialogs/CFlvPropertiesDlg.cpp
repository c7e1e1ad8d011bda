#include "CFlvPropertiesDlg.h"

#include "DialogIds.h"
#include "DialogTemplates.h"
#include "platform/OutputLimits.h"
#include "platform/Services.h"

#include <QLineEdit>

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
    // A field that does not read as a number was said by the exchange; the dialog closes
    // with the values it held before, as it always has.
    if (!UpdateData(true)) {
        UpdateData(false);
        StandardOk();
        return;
    }
    using namespace platform;
    // A value no encoder can take is refused with the reason, the dialog open on its field.
    const struct {
        int id;
        double value;
        int low, high;
        const char* what;
    } ranges[] = {
        {kWidthEdit, double(m_width), kMinPictureSide, kMaxPictureSide, "The width must be from %1 to %2 pixels."},
        {kHeightEdit, double(m_height), kMinPictureSide, kMaxPictureSide, "The height must be from %1 to %2 pixels."},
        {kFrameRateEdit, double(m_frameRate), 1, kMaxOutputFrameRate, "The frame rate must be from %1 to %2 frames a second."},
        {kSampleRateEdit, double(m_audioSampleRate), kAacSampleRates.front(), kAacSampleRates.back(),
         "The sample rate must be from %1 to %2 Hz."},
    };
    for (const auto& r : ranges)
        if (r.value < r.low || r.value > r.high) {
            ShowMessage(this, tr(r.what).arg(r.low).arg(r.high), MsgButtons::Ok, MsgIcon::Exclamation);
            Edit(r.id)->setFocus();
            Edit(r.id)->selectAll();
            return;
        }
    // One that an encoder takes only adapted is said, and shown as it will be used.
    QStringList notes;
    if (const int rate = NearestAacSampleRate(m_audioSampleRate); rate != m_audioSampleRate) {
        notes << tr("AAC sound has no sample rate of %1 Hz: %2 Hz will be used.").arg(m_audioSampleRate).arg(rate);
        m_audioSampleRate = rate;
    }
    if (EvenSide(m_width) != m_width || EvenSide(m_height) != m_height) {
        notes << tr("H.264 needs an even width and height: %1x%2 will be recorded as %3x%4.")
                     .arg(m_width).arg(m_height).arg(EvenSide(m_width)).arg(EvenSide(m_height));
        m_width = int16_t(EvenSide(m_width));
        m_height = int16_t(EvenSide(m_height));
    }
    UpdateData(false);
    if (!notes.isEmpty()) ShowMessage(this, notes.join(QLatin1Char('\n')), MsgButtons::Ok, MsgIcon::Information);
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
