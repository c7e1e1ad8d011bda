#include "COverlayImageDlg.h"

#include "DialogIds.h"
#include "DialogTemplates.h"
#include "capture/CVideoCap.h"
#include "platform/Paths.h"
#include "platform/Services.h"

using namespace OverlayImageIds;

namespace {
constexpr int16_t kOverlay = 0;
constexpr const char* kImageFilter = "bmp file(*.bmp)|*.bmp||";
}  // namespace

COverlayImageDlg::COverlayImageDlg() : CSettingsDialog(kOverlayImageTemplate) {}

void COverlayImageDlg::DoDataExchange(platform::DataExchange& dx) {
    dx.Text(Edit(kAlphaEdit), m_alpha);
    dx.Text(Edit(kLeftEdit), m_left);
    dx.Text(Edit(kTopEdit), m_top);
    dx.Text(Edit(kFileEdit), m_imageFile);
}

bool COverlayImageDlg::OnInitDialog() {
    CSettingsDialog::OnInitDialog();
    SetChecked(kShowImage, m_showImage);
    m_imageFile = platform::CurrentDirectory().left(512) + QStringLiteral("/image.bmp");
    UpdateData(false);

    OnClicked(kSelectImage, [this] { OnSelectImage(); });
    OnClicked(kTransparentColour, [this] { OnChangeColour(); });
    OnClicked(kDrawImage, [this] { OnDrawImage(); });
    OnClicked(kShowImage, [this] { OnShowImage(); });
    OnClicked(kOk, [this] { OnOk(); });
    OnClicked(kCancel, [this] { reject(); });
    return true;
}

void COverlayImageDlg::Draw() {
    // Held as 32-bit, sent as their low 16 bits.
    Capture().DrawOverlayImage(kOverlay, static_cast<int16_t>(m_left), static_cast<int16_t>(m_top),
                               m_imageFile, m_transparentColour, static_cast<int16_t>(m_alpha));
}

void COverlayImageDlg::OnSelectImage() {
    platform::FileDialogRequest request;
    request.owner = this;
    request.filter = QString::fromLatin1(kImageFilter);
    request.mustExist = true;  // a picture to read: an open dialog, not a save dialog
    if (const auto path = platform::RunFileDialog(request)) {
        m_imageFile = *path;
        UpdateData(false);
    }
    Draw();
}

void COverlayImageDlg::OnChangeColour() {
    if (const auto chosen = platform::RunColourDialog(this, m_transparentColour))
        m_transparentColour = *chosen;
    UpdateData(true);
    Draw();
}

void COverlayImageDlg::OnDrawImage() {
    UpdateData(true);
    Draw();
}

void COverlayImageDlg::OnShowImage() {
    Capture().ShowOverlayImage(kOverlay, IsChecked(kShowImage));
}

void COverlayImageDlg::OnOk() {
    // What the dialog holds is what the preview shows from now on, as Draw Image would do.
    if (UpdateData(true)) Draw();
    UpdateData(false);
    StandardOk();
}
