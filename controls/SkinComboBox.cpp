#include "SkinComboBox.h"

#include <QPainter>

#include "SkinButton.h"
#include "SkinComboList.h"
#include "SkinEditBox.h"
#include "SkinHost.h"
#include "SkinScrollBar.h"
#include "platform/Bitmap.h"

namespace {
QRect FromEdges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}
}  // namespace

SkinComboLayout ComputeComboLayout(int l, int t, int r, int b, int w, int h) {
    SkinComboLayout out;
    out.edit = FromEdges(l, t, r - w, t + h);
    out.button = FromEdges(r - w, t - 1, r, t + h + 1);
    const int listTop = t + h + 2;
    const int listBottom = std::max(b, listTop + 50);
    out.list = FromEdges(l, listTop, r - 1, listBottom);
    out.whole = FromEdges(l, t, r, listBottom);
    return out;
}

SkinComboBox::SkinComboBox(SkinHost* host, QWidget* parent, const QRect& rect,
                           const QString& buttonStrip, const SkinComboColours& colours,
                           const SkinScrollBarImages& images)
    : QWidget(parent), m_host(host) {
    EnableSkinAccessibility();
    LoadButtonStrip(buttonStrip);
    m_layout = ComputeComboLayout(rect.left(), rect.top(), rect.left() + rect.width(),
                                  rect.top() + rect.height(), m_buttonWidth, m_buttonHeight);
    // The controller only draws the open list's frame; clicks go through it to the window.
    setGeometry(FrameRect());
    setAttribute(Qt::WA_TransparentForMouseEvents);

    m_button = new SkinComboButton(host, parent, m_layout.button);
    m_button->LoadImages(buttonStrip, m_layout.button);
    m_button->name = QStringLiteral("COMBO_BTN");

    m_edit = new SkinComboEdit(parent, m_layout.edit);
    m_edit->name = QStringLiteral("COMBO_EDIT");
    m_edit->SetBackColor(colours.editBack);
    m_edit->SetTextColor(colours.editText);
    m_edit->SetFrameColor(colours.editFrame);
    m_edit->setEnabled(true);

    m_list = new SkinComboList(host, parent, m_layout.list);
    m_list->name = QStringLiteral("COMBO_LIST");
    m_list->SetColours(colours.list);
    m_list->AttachScrollBar(images);
    m_list->ScrollBar()->hide();
    m_list->hide();
    show();
}

// The parts live in the window beside the controller, but they are the controller's.
SkinComboBox::~SkinComboBox() {
    delete m_list;
    delete m_edit;
    delete m_button;
}

void SkinComboBox::LoadButtonStrip(const QString& path) {
    const QImage strip = platform::LoadBitmap(path);
    m_buttonWidth = strip.isNull() ? 0 : strip.width() / 4;
    m_buttonHeight = strip.isNull() ? 0 : strip.height();
}

QRect SkinComboBox::FrameRect() const { return m_layout.whole.adjusted(-1, -1, 1, 1); }

void SkinComboBox::ToggleList() {
    if (!m_list) return;
    SkinScrollBar* bar = m_list->ScrollBar();
    if (m_listClosed) {
        // Whatever was raised since, the open list lies on top.
        m_list->show();
        m_list->raise();
        if (bar) {
            bar->show();
            bar->raise();
            bar->Update();
        }
    } else {
        m_list->hide();
        if (bar) bar->hide();
    }
    m_listClosed = !m_listClosed;
    update();
    // The open list may have covered option boxes and the mode label.
    if (m_listClosed && m_host) m_host->RepaintOptionsAndModeLabel();
}

void SkinComboBox::SelectText(const QString& text) {
    m_listClosed = false;
    if (m_edit) m_edit->setText(text);
    ToggleList();
}

void SkinComboBox::AddString(const QString& text) {
    if (m_list) m_list->AddItem(text);
}

QString SkinComboBox::Text() const { return m_edit ? m_edit->text() : QString(); }
QStringList SkinComboBox::Items() const { return m_list ? m_list->Items() : QStringList(); }
bool SkinComboBox::IsListVisible() const { return m_list && !m_list->isHidden(); }
SkinComboButton* SkinComboBox::Button() const { return m_button; }
SkinComboEdit* SkinComboBox::Edit() const { return m_edit; }
SkinComboList* SkinComboBox::List() const { return m_list; }
SkinScrollBar* SkinComboBox::ListScrollBar() const { return m_list ? m_list->ScrollBar() : nullptr; }

void SkinComboBox::paintEvent(QPaintEvent*) {
    if (!IsListVisible() || !m_edit) return;
    QPainter p(this);
    p.setPen(platform::ToQColor(m_edit->FrameColour()));
    const QRect frame = m_layout.list.adjusted(-1, -1, 1, 1).translated(-pos());
    p.drawRect(frame.adjusted(0, 0, -1, -1));
}
