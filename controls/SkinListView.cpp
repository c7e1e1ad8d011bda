#include "SkinListView.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

#include "SkinScrollBar.h"

QFont SkinListFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(18);
    // The width asks for a face stretched to 10 pixels per average character.
    const int average = QFontMetrics(font).averageCharWidth();
    if (average > 0 && average != 10)
        font.setStretch(std::clamp(int(100.0 * 10 / average + 0.5), 1, 4000));
    return font;
}

SkinListView::SkinListView(QWidget* parent, const QRect& rect, bool singleSelection)
    : QWidget(parent), m_font(SkinListFont()), m_singleSelection(singleSelection) {
    EnableSkinAccessibility();
    m_rowHeight = std::max(1, QFontMetrics(m_font).height() + 2);
    setGeometry(rect);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);  // moves are passed on to the bar
    setAttribute(Qt::WA_OpaquePaintEvent);
    show();
}

// The bar stands beside the list in the window, but it is the list's and goes with it.
SkinListView::~SkinListView() { delete m_scrollBar; }

void SkinListView::SetBackColor(platform::Colour c) {
    m_colours.back = c;
    update();
}

void SkinListView::SetTextColor(platform::Colour c) {
    m_colours.text = c;
    update();
}

void SkinListView::SetSelBackColour(platform::Colour c) {
    m_colours.selectedBack = c;
    update();
}

void SkinListView::SetSelTextColour(platform::Colour c) {
    m_colours.selectedText = c;
    update();
}

void SkinListView::SetColours(const SkinListColours& c) {
    SetBackColor(c.back);
    SetTextColor(c.text);
    SetSelBackColour(c.selectedBack);
    SetSelTextColour(c.selectedText);
}

void SkinListView::AttachScrollBar(const SkinScrollBarImages& images) {
    delete m_scrollBar;
    auto* bar = new SkinScrollBar(parentWidget());
    bar->LoadImages(images);
    bar->SetList(this);
    bar->SetBackColor(m_colours.back);
    m_scrollBar = bar;
    // The list gives the bar its right-hand strip and comes to the top of its siblings,
    // so that an opened drop-down list covers what lies under it.
    resize(std::max(0, width() - bar->BarWidth()), height());
    raise();
    bar->setGeometry(x() + width(), y(), bar->BarWidth(), height());
    bar->Update();
}

SkinScrollBar* SkinListView::ScrollBar() const { return m_scrollBar; }

QStringList SkinListView::Items() const {
    QStringList texts;
    for (const Row& row : m_rows) texts << row.text;
    return texts;
}

void SkinListView::AppendRow(const QString& number, const QString& text) {
    m_rows.append(Row{number, text, false});
    update();
    UpdateBar();
}

QRect SkinListView::RowRect(int row) const {
    return QRect(0, (row - ScrollPosition()) * m_rowHeight, width(), m_rowHeight);
}

int SkinListView::RowAt(const QPoint& point) const {
    if (point.y() < 0) return -1;
    const int row = ScrollPosition() + point.y() / m_rowHeight;
    return row < Count() ? row : -1;
}

bool SkinListView::IsSelected(int row) const {
    return row >= 0 && row < Count() && m_rows[row].selected;
}

int SkinListView::FirstSelected() const {
    for (int i = 0; i < Count(); ++i)
        if (m_rows[i].selected) return i;
    return -1;
}

void SkinListView::SelectOnly(int row) {
    for (int i = 0; i < Count(); ++i) m_rows[i].selected = i == row;
    update();
}

int SkinListView::RowsPerPage() const { return std::max(1, height() / m_rowHeight); }

int SkinListView::ScrollLimit() const { return std::max(0, Count() - RowsPerPage()); }

int SkinListView::ScrollPosition() const { return std::min(m_top, ScrollLimit()); }

void SkinListView::SetTop(int top) {
    top = std::clamp(top, 0, ScrollLimit());
    if (top == m_top) return;
    m_top = top;
    update();
}

void SkinListView::ScrollRows(int rows) {
    const long long top = (long long)ScrollPosition() + rows;
    SetTop(int(std::clamp<long long>(top, 0, ScrollLimit())));
}

void SkinListView::MakeVisible(int row) {
    if (row < 0) return;
    if (row < ScrollPosition())
        SetTop(row);
    else if (row >= ScrollPosition() + RowsPerPage())
        SetTop(row - RowsPerPage() + 1);
}

void SkinListView::UpdateBar() {
    if (m_scrollBar) m_scrollBar->Update();
}

void SkinListView::paintEvent(QPaintEvent*) {
    QImage buffer(size(), QImage::Format_RGB32);
    buffer.fill(platform::ToQColor(m_colours.back));
    QPainter p(&buffer);
    p.setFont(m_font);
    for (int row = ScrollPosition(); row < Count(); ++row) {
        const QRect r = RowRect(row);
        if (r.top() >= height()) break;
        // The skin's own colours for the selected row, never the platform's highlight.
        if (m_rows[row].selected) {
            p.fillRect(r, platform::ToQColor(m_colours.selectedBack));
            p.setPen(platform::ToQColor(m_colours.selectedText));
        } else {
            p.setPen(platform::ToQColor(m_colours.text));
        }
        PaintRowText(p, m_rows[row], r);
    }
    p.end();
    QPainter(this).drawImage(0, 0, buffer);
}

void SkinListView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_leftDown = true;
    const int row = RowAt(e->position().toPoint());
    const Qt::KeyboardModifiers mods = e->modifiers();
    if (!m_singleSelection && (mods & Qt::ControlModifier)) {
        if (row >= 0) m_rows[row].selected = !m_rows[row].selected;
    } else if (!m_singleSelection && (mods & Qt::ShiftModifier) && row >= 0 && m_anchor >= 0) {
        const auto [from, to] = std::minmax(m_anchor, row);
        for (int i = 0; i < Count(); ++i) m_rows[i].selected = i >= from && i <= to;
    } else {
        SelectOnly(row);  // a click on empty space selects nothing
    }
    if (row >= 0) {
        m_current = row;
        if (!(mods & Qt::ShiftModifier)) m_anchor = row;
        MakeVisible(row);
    }
    update();
    UpdateBar();
}

void SkinListView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !m_leftDown) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    m_leftDown = false;
    OnClicked();
}

void SkinListView::mouseMoveEvent(QMouseEvent* e) {
    // The bar lights its parts under the pointer; it also hears where the pointer went.
    if (m_scrollBar && parentWidget())
        m_scrollBar->ForwardMouseMove(
            m_scrollBar->mapFrom(parentWidget(), mapToParent(e->position().toPoint())),
            e->buttons());
    e->accept();
}

void SkinListView::wheelEvent(QWheelEvent* e) {
    m_wheelRemainder += e->angleDelta().y();
    const int notches = m_wheelRemainder / 120;
    m_wheelRemainder -= notches * 120;
    ScrollRows(-notches * QApplication::wheelScrollLines());
    UpdateBar();
    e->accept();
}

void SkinListView::keyPressEvent(QKeyEvent* e) {
    if (Count() == 0) {
        QWidget::keyPressEvent(e);
        UpdateBar();
        return;
    }
    int row = m_current;
    switch (e->key()) {
    case Qt::Key_Up: row = std::max(0, row - 1); break;
    case Qt::Key_Down: row = std::min(Count() - 1, row + 1); break;
    case Qt::Key_PageUp: row = std::max(0, row - RowsPerPage()); break;
    case Qt::Key_PageDown: row = std::min(Count() - 1, std::max(0, row) + RowsPerPage()); break;
    case Qt::Key_Home: row = 0; break;
    case Qt::Key_End: row = Count() - 1; break;
    default:
        QWidget::keyPressEvent(e);
        UpdateBar();
        return;
    }
    m_current = m_anchor = row;
    SelectOnly(row);
    MakeVisible(row);
    UpdateBar();
    e->accept();
}

void SkinListView::keyReleaseEvent(QKeyEvent* e) {
    UpdateBar();
    QWidget::keyReleaseEvent(e);
}

void SkinListView::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    SetTop(m_top);
    UpdateBar();
}
