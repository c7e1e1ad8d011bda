#include "CDateTimeDlg.h"

#include <QComboBox>

#include "DialogIds.h"
#include "DialogTemplates.h"
#include "FixedLists.h"
#include "FontFamilyList.h"
#include "capture/CVideoCap.h"
#include "platform/Services.h"

using namespace DateTimeIds;

CDateTimeDlg::CDateTimeDlg() : CSettingsDialog(kDateTimeTemplate) {}

void CDateTimeDlg::DoDataExchange(platform::DataExchange& dx) {
    dx.Text(Edit(kLeftEdit), m_left);
    dx.Text(Edit(kTopEdit), m_top);
}

bool CDateTimeDlg::OnInitDialog() {
    CSettingsDialog::OnInitDialog();
    FillList(kFormatList, lists::ToStringList(lists::kDateTimeFormats), m_formatIndex);
    FillList(kFontStyleList, lists::ToStringList(lists::kFontStyles), m_fontStyleSelection);
    FillList(kFontNameList, lists::ToStringList(lists::kFixedFontNames), m_fontNameSelection);
    FillList(kFontSizeList, lists::FontSizeTexts(), m_fontSizeSelection);
    SetChecked(kShow, m_show);
    fonts::AddInstalledFontFamilies(Combo(kFontNameList));

    OnClicked(kColour, [this] { OnChangeColour(); });
    OnClicked(kDrawTime, [this] { OnDrawTime(); });
    OnSelChange(kFormatList, [this] { OnDrawTime(); });
    OnSelChange(kFontStyleList, [this] { OnFontStyle(); });
    OnSelChange(kFontNameList, [this] { OnFontName(); });
    OnSelChange(kFontSizeList, [this] {
        m_sizePicked = true;
        OnFontSize();
    });
    OnClicked(kShow, [this] { OnShow(); });
    OnClicked(kOk, [this] { OnOk(); });
    OnClicked(kCancel, [this] { reject(); });
    return true;
}

void CDateTimeDlg::OnChangeColour() {
    const auto chosen = platform::RunColourDialog(this, m_colour);
    if (!chosen) return;
    m_colour = *chosen;
    Capture().SetDateTimeColor(m_colour);
}

void CDateTimeDlg::OnDrawTime() {
    // A position that does not parse has been reported; the stamp still goes to the stored one.
    UpdateData(true);
    Capture().DrawDateTime(m_left, m_top, static_cast<int16_t>(Selection(kFormatList)));
}

void CDateTimeDlg::OnFontStyle() {
    Capture().SetDateTimeFontStyle(static_cast<int16_t>(Selection(kFontStyleList)));
}

void CDateTimeDlg::OnFontName() {
    Capture().SetDateTimeFontName(Combo(kFontNameList)->currentText());
}

void CDateTimeDlg::OnFontSize() {
    const int size = platform::LeadingInt(Combo(kFontSizeList)->currentText());
    Capture().SetDateTimeFontSize(static_cast<int16_t>(size));
}

void CDateTimeDlg::OnShow() { Capture().SetShowDateTime(IsChecked(kShow)); }

void CDateTimeDlg::OnOk() {
    m_formatIndex = Selection(kFormatList);
    UpdateData(true);
    UpdateData(false);
    StandardOk();
}

void CDateTimeDlg::FollowPictureHeight(int height) {
    if (!m_sizePicked && IsCreated() && SelectNearestSize(kFontSizeList, lists::FontSizeForHeight(height))) OnFontSize();
}
