#include "CLabel.h"

#include <QFontDatabase>
#include <QPainter>

#include "SkinHost.h"

CLabel::CLabel(SkinHost* host, QWidget* parent, const QRect& rect)
    : QWidget(parent), m_host(host),
      // A label the skin gives no font draws in the system font, like any new static text.
      m_font(QFontDatabase::systemFont(QFontDatabase::GeneralFont)) {
    EnableSkinAccessibility();
    setGeometry(rect);
    setAttribute(Qt::WA_TransparentForMouseEvents);  // clicks fall through to the window
    show();
}

void CLabel::SetText(const QString& text) { m_text = text; }

// An empty face leaves the face the label has; the size and weight stay as they were.
void CLabel::SetFontName(const QString& face) {
    if (!face.isEmpty()) m_font.setFamily(face);
}

void CLabel::SetFontSize(int points) {
    if (points > 0) m_font.setPointSize(points);
}

void CLabel::SetBold(bool on) { m_font.setWeight(on ? QFont::Bold : QFont::Normal); }
void CLabel::SetItalic(bool on) { m_font.setItalic(on); }
void CLabel::SetUnderline(bool on) { m_font.setUnderline(on); }

void CLabel::paintEvent(QPaintEvent*) {
    // The background under the label is copied once; drawing it first means a changed
    // text never leaves the old one behind, whatever lies between label and window.
    // A window still without its picture is asked again at the next paint.
    if (m_backgroundCopy.isNull() && m_host && !m_host->BackgroundCopy().isNull()) {
        m_backgroundCopy = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_backgroundCopy.fill(Qt::transparent);
        QPainter copy(&m_backgroundCopy);
        copy.drawImage(-pos(), m_host->BackgroundCopy());
    }
    QPainter p(this);
    if (!m_backgroundCopy.isNull()) p.drawImage(0, 0, m_backgroundCopy);
    p.setFont(m_font);
    p.setPen(platform::ToQColor(m_textColour));
    // Left and top aligned, no word wrap: a long text is cut at the right edge, and only
    // explicit line breaks start new lines.
    p.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, m_text);
}
