#include "SkinComboBox.h"

#include "SkinButton.h"
#include "SkinEditBox.h"
#include "SkinListBox.h"
#include "platform/Bitmap.h"

SkinComboLayout ComputeComboLayout(int l, int t, int r, int b, int w, int h) {
    SkinComboLayout out;
    out.edit = QRect(QPoint(l, t), QPoint(r - w - 1, t + h - 1));
    out.button = QRect(QPoint(r - w, t - 1), QPoint(r - 1, t + h));
    const int listBottom = std::max(b, t + h + 52);
    out.list = QRect(QPoint(l, t + h + 2), QPoint(r - 2, listBottom - 1));
    out.whole = QRect(QPoint(l, t), QPoint(r - 1, listBottom - 1));
    return out;
}

SkinComboBox::SkinComboBox(SkinHost* host, QWidget* parent, const QRect& rect,
                           const QString& buttonStrip, const SkinComboColours& colours,
                           const SkinScrollBarImages& images, platform::Colour transparentColor)
    : QWidget(parent) {
    setGeometry(rect);
    const QImage strip = platform::LoadBitmap(buttonStrip);
    const int cellW = strip.isNull() ? 0 : strip.width() / 4;
    const int cellH = strip.isNull() ? 0 : strip.height();
    m_layout = ComputeComboLayout(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1,
                                  cellW, cellH);
    // The combo box itself only covers the closed box; the list is a sibling on top.
    setGeometry(m_layout.edit.united(m_layout.button));
    m_button = new SkinComboButton(host, parent, m_layout.button);
    m_button->transparentColor = transparentColor;
    m_button->LoadImages(buttonStrip, m_layout.button);
    m_button->name = QStringLiteral("COMBO_BTN");
    m_edit = new SkinComboEdit(parent, m_layout.edit);
    m_edit->name = QStringLiteral("COMBO_EDIT");
    m_edit->SetBackColor(colours.editBack);
    m_edit->SetTextColor(colours.editText);
    m_edit->SetFrameColor(colours.editFrame);
    m_list = new SkinListBox(parent, m_layout.list, colours.list, images);
    m_list->name = QStringLiteral("COMBO_LIST");
    m_list->hide();
    show();
}

SkinComboBox::~SkinComboBox() {
    delete m_list;
    delete m_edit;
    delete m_button;
}

void SkinComboBox::ToggleList() {
    m_list->setVisible(!m_list->isVisible());
    if (m_list->isVisible()) m_list->raise();
}

void SkinComboBox::AddString(const QString& text) { m_list->AddString(text); }
void SkinComboBox::SelectText(const QString& text) { m_edit->setText(text); }
QString SkinComboBox::Text() const { return m_edit->text(); }
QStringList SkinComboBox::Items() const { return m_list->Items(); }
bool SkinComboBox::IsListVisible() const { return m_list->isVisible(); }
SkinScrollBar* SkinComboBox::ListScrollBar() const { return m_list->ScrollBar(); }
