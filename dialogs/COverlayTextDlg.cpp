#include "COverlayTextDlg.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

#include "DialogIds.h"
#include "DialogTemplates.h"
#include "FixedLists.h"
#include "FontFamilyList.h"
#include "capture/CVideoCap.h"
#include "platform/Paths.h"
#include "platform/Services.h"

using namespace OverlayTextIds;

namespace {
constexpr int16_t kOverlay = 0;
constexpr const char* kTextureFilter =
    "bmp file(*.bmp)|*.bmp|JPEG file(*.jpg)|*.jpg|GIF file(*.gif)|*.gif|PNG file(*.png)|*.png|"
    "All Files(*.*)|*.*||";
constexpr const char* kMsgSelectTexture = "select Texture Brush image";
constexpr const char* kMsgRotationConflict =
    "You selected rotate value that cannot support grayscale or invert color";
constexpr const char* kMsgInvertConflict = "You selected rotate value cannot support invert color";
constexpr const char* kMsgGreyConflict = "You selected rotate value that cannot support grayscale";

void Warn(QWidget* owner, const char* text) {
    platform::ShowMessage(owner, QString::fromLatin1(text), platform::MsgButtons::Ok,
                          platform::MsgIcon::Exclamation);
}
}  // namespace

COverlayTextDlg::COverlayTextDlg() : CSettingsDialog(kOverlayTextTemplate) {}

void COverlayTextDlg::DoDataExchange(platform::DataExchange& dx) {
    dx.Text(Edit(kLeftEdit), m_left);
    dx.Text(Edit(kTopEdit), m_top);
    dx.Text(Edit(kText1Edit), m_text1);
    dx.Text(Edit(kText2Edit), m_text2);
    dx.Text(Edit(kTextureFileEdit), m_textureImageFile);
}

bool COverlayTextDlg::OnInitDialog() {
    CSettingsDialog::OnInitDialog();
    FillList(kFontStyleList, lists::ToStringList(lists::kFontStyles), m_fontStyleSelection);
    FillList(kFontNameList, lists::ToStringList(lists::kFixedFontNames), m_fontNameSelection);
    FillList(kFontSizeList, lists::FontSizeTexts(), m_fontSizeSelection);
    FillList(kTextStyleList, lists::TextStyleNames(), m_textStyleSelection);
    FillList(kRotationList, lists::ToStringList(lists::kRotations), m_rotationIndex);
    FillList(kHatchStyleList, lists::ToStringList(lists::kHatchStyles), m_hatchStyleSelection);
    SetChecked(kShowText, m_showText);
    SetChecked(kInvert, m_invertFlag == 1);
    SetChecked(kGreyScale, m_greyScale);
    SetChecked(kUseOverlay, m_useOverlayFlag == 1);
    m_textureImageFile = platform::CurrentDirectory().left(512) + QStringLiteral("/image.bmp");
    UpdateData(false);
    fonts::AddInstalledFontFamilies(Combo(kFontNameList));

    OnClicked(kFontColour, [this] { OnFontColour(); });
    OnClicked(kOutlineColour, [this] { OnOutlineColour(); });
    OnClicked(kOutlineBackColour, [this] { OnOutlineBackColour(); });
    OnClicked(kHatchForeColour, [this] { OnHatchForeColour(); });
    OnClicked(kHatchBackColour, [this] { OnHatchBackColour(); });
    OnSelChange(kHatchStyleList, [this] { SendHatchBrush(); });
    OnClicked(kSelectTexture, [this] { OnSelectTexture(); });
    OnSelChange(kTextStyleList, [this] { OnTextStyle(); });
    OnSelChange(kFontStyleList, [this] { OnFontStyle(); });
    OnSelChange(kFontSizeList, [this] {
        m_sizePicked = true;
        OnFontSize();
    });
    OnSelChange(kFontNameList, [this] { OnFontName(); });
    OnSelChange(kRotationList, [this] { OnRotation(); });
    OnClicked(kInvert, [this] { OnInvert(); });
    OnClicked(kGreyScale, [this] { OnGreyScale(); });
    OnClicked(kShowText, [this] { OnShowText(); });
    OnClicked(kDrawText, [this] { OnDrawText(); });
    OnClicked(kOk, [this] { OnOk(); });
    OnClicked(kCancel, [this] { reject(); });
    return true;
}

bool COverlayTextDlg::PickColour(platform::Colour& colour) {
    const auto chosen = platform::RunColourDialog(this, colour);
    if (!chosen) return false;
    colour = *chosen;
    return true;
}

void COverlayTextDlg::OnFontColour() {
    if (auto c = m_fontColour; PickColour(c)) {
        Capture().SetOverlayTextColor(kOverlay, c);
        m_fontColour = c;
    }
}

void COverlayTextDlg::OnOutlineColour() {
    if (auto c = m_outlineColour; PickColour(c)) {
        Capture().SetOverlayTextOutlineColor(kOverlay, c);
        m_outlineColour = c;
    }
}

void COverlayTextDlg::OnOutlineBackColour() {
    if (auto c = m_outlineBackColour; PickColour(c)) {
        Capture().SetOverlayTextOutlineBackColor(kOverlay, c);
        m_outlineBackColour = c;
    }
}

void COverlayTextDlg::OnHatchForeColour() {
    if (PickColour(m_hatchForeColour)) SendHatchBrush();
}

void COverlayTextDlg::OnHatchBackColour() {
    if (PickColour(m_hatchBackColour)) SendHatchBrush();
}

void COverlayTextDlg::SendHatchBrush() {
    Capture().SetOverlayTextHatchBrush(kOverlay, static_cast<int16_t>(Selection(kHatchStyleList)),
                                       m_hatchForeColour, m_hatchBackColour);
}

void COverlayTextDlg::OnSelectTexture() {
    platform::FileDialogRequest request;
    request.owner = this;
    request.filter = QString::fromLatin1(kTextureFilter);
    request.mustExist = true;  // a picture to read: an open dialog, not a save dialog
    const auto path = platform::RunFileDialog(request);
    if (!path) return;
    m_textureImageFile = *path;
    Edit(kTextureFileEdit)->setText(m_textureImageFile);
    Capture().SetOverlayTextTextureBrush(kOverlay, m_textureImageFile);
}

void COverlayTextDlg::OnTextStyle() {
    const int style = Selection(kTextStyleList);
    Capture().SetOverlayTextStyle(kOverlay, static_cast<int16_t>(style));
    if (style >= 0 && style < int(lists::kTextStyles.size())) {
        const auto& enables = lists::kTextStyles[style].enables;
        for (int id : lists::kStyleGovernedControls)
            if (QWidget* w = Control(id))
                w->setEnabled(std::find(enables.begin(), enables.end(), id) != enables.end());
    }
    if (style == lists::kTextureBrushStyle) {
        if (m_textureImageFile.isEmpty()) Warn(this, kMsgSelectTexture);
        Capture().SetOverlayTextTextureBrush(kOverlay, m_textureImageFile);
    }
}

void COverlayTextDlg::OnFontStyle() {
    Capture().SetOverlayTextFontStyle(kOverlay, static_cast<int16_t>(Selection(kFontStyleList)));
}

void COverlayTextDlg::OnFontSize() {
    const int size = platform::LeadingInt(Combo(kFontSizeList)->currentText());
    Capture().SetOverlayTextFontSize(kOverlay, static_cast<int16_t>(size));
}

void COverlayTextDlg::OnFontName() {
    Capture().SetOverlayTextFontName(kOverlay, Combo(kFontNameList)->currentText());
}

void COverlayTextDlg::OnRotation() {
    const int rotation = Selection(kRotationList);
    if ((IsChecked(kInvert) || IsChecked(kGreyScale)) && lists::IsQuarterTurn(rotation))
        Warn(this, kMsgRotationConflict);
    Capture().SetVideoRotation(static_cast<int16_t>(rotation));
}

void COverlayTextDlg::OnInvert() {
    const bool on = IsChecked(kInvert);
    if (on && lists::IsQuarterTurn(Selection(kRotationList))) {
        Warn(this, kMsgInvertConflict);
        return;
    }
    Capture().SetInvertColor(on);
}

void COverlayTextDlg::OnGreyScale() {
    const bool on = IsChecked(kGreyScale);
    if (on && lists::IsQuarterTurn(Selection(kRotationList))) {
        Warn(this, kMsgGreyConflict);
        return;
    }
    Capture().SetGrayScale(on);
}

void COverlayTextDlg::OnShowText() { Capture().ShowOverlayText(kOverlay, IsChecked(kShowText)); }

void COverlayTextDlg::OnDrawText() {
    // A position that does not parse has been reported; the text still goes out as stored.
    UpdateData(true);
    Capture().DrawOverlayText(kOverlay, m_left, m_top, OverlayText());
}

void COverlayTextDlg::OnOk() {
    m_rotationIndex = Selection(kRotationList);
    m_invertFlag = IsChecked(kInvert) ? 1 : 0;
    m_useOverlayFlag = IsChecked(kUseOverlay) ? 1 : 0;
    // What the dialog holds is what the preview shows from now on, as Draw Text would do.
    if (UpdateData(true)) Capture().DrawOverlayText(kOverlay, m_left, m_top, OverlayText());
    UpdateData(false);
    StandardOk();
}

void COverlayTextDlg::FollowPictureHeight(int height) {
    if (!m_sizePicked && IsCreated() && SelectNearestSize(kFontSizeList, lists::FontSizeForHeight(height))) OnFontSize();
}
