#include "SkinSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "FocusMark.h"
#include "SkinHost.h"
#include "platform/Bitmap.h"

namespace {

// Truncates toward zero and keeps the result representable, whatever the inputs.
int TruncToInt(double v) {
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::trunc(std::clamp(v, lo, hi)));
}

int Saturate(long long v) {
    return int(std::clamp<long long>(v, std::numeric_limits<int>::min(),
                                     std::numeric_limits<int>::max()));
}

}  // namespace

int SliderPixelFromPosition(int length, int thumb, int position, int rangeMin, int rangeMax) {
    const int half = thumb / 2;
    if (rangeMax == rangeMin || length == thumb) return half;
    const double span = double(rangeMax) - double(rangeMin);
    return TruncToInt(double(half) + std::trunc((double(length) - thumb) *
                                                (double(position) - rangeMin) / span));
}

int SliderPositionFromPixel(int length, int thumb, int pixel, int rangeMin, int rangeMax) {
    if (rangeMax == rangeMin || length == thumb) return rangeMin;
    const double span = double(rangeMax) - double(rangeMin);
    return TruncToInt(double(rangeMin) +
                      (double(pixel) - thumb / 2) / (double(length) - thumb) * span);
}

SkinSlider::SkinSlider(SkinHost* host, QWidget* parent, const QRect& rect)
    : QWidget(parent), m_host(host) {
    EnableSkinAccessibility();
    setGeometry(rect);
    setFocusPolicy(Qt::StrongFocus);  // a tab stop that takes the arrow and paging keys
    show();
}

void SkinSlider::Resize(int width, int height) {
    m_width = width;
    m_height = height;
    resize(width, height);
}

bool SkinSlider::SetChannelImage(const QString& path) {
    m_channel = platform::LoadBitmap(path);
    m_channelLoaded = !m_channel.isNull();
    m_channelWidth = m_channelLoaded ? m_channel.width() : 0;
    m_channelHeight = m_channelLoaded ? m_channel.height() : 0;
    return m_channelLoaded;
}

void SkinSlider::FreeThumbs() {
    m_thumb = QImage();
    m_activeThumb = QImage();
}

bool SkinSlider::SetThumbImages(const QString& path, const QString& activePath, bool transparent) {
    if (path.isNull()) {
        m_thumbLoaded = false;
        FreeThumbs();
        update();
        return true;
    }
    FreeThumbs();
    const QImage thumb = platform::LoadBitmap(path);
    if (thumb.isNull()) {
        // Without a thumb the control is just its channel.
        Resize(m_channelWidth, m_channelHeight);
        m_transparentThumb = transparent;
        m_thumbLoaded = false;
        return false;
    }
    QImage active;
    if (!activePath.isNull()) {
        active = platform::LoadBitmap(activePath);
        if (active.isNull()) {
            m_thumbLoaded = false;
            return false;
        }
    }
    // Key pixels are cut out once here; drawing is then a plain alpha blit.
    m_thumb = transparent ? platform::KeyedImage(thumb, transparentColor) : thumb;
    m_activeThumb = active.isNull() || !transparent ? active
                                                    : platform::KeyedImage(active, transparentColor);
    m_hasActiveThumb = !active.isNull();
    m_thumbWidth = thumb.width();
    m_thumbHeight = thumb.height();
    Resize(std::max(m_channelWidth, m_thumbWidth), std::max(m_channelHeight, m_thumbHeight));
    m_transparentThumb = transparent;
    m_thumbLoaded = true;
    update();
    return true;
}

void SkinSlider::SetRange(int min, int max, bool redraw) {
    SetRangeMin(min, false);
    SetRangeMax(max, redraw);
}

void SkinSlider::SetRangeMin(int value, bool redraw) {
    m_rangeMin = value;
    if (redraw) update();
}

void SkinSlider::SetRangeMax(int value, bool redraw) {
    m_rangeMax = value;
    if (redraw) update();
}

void SkinSlider::SetPosition(int value) {
    m_position = value;
    if (m_position > m_rangeMax) m_position = m_rangeMax;
    if (m_position < m_rangeMin) m_position = m_rangeMin;
    update();
}

int SkinSlider::SetPageSize(int value) {
    const int previous = m_pageSize;
    m_pageSize = value;
    return previous;
}

void SkinSlider::SetEnabled(bool value) {
    if (!value) m_dragging = false;
    setEnabled(value);
    update();
}

void SkinSlider::SetDrawFocusRect(bool value, bool redraw) {
    m_drawFocusRect = value;
    if (redraw) update();
}

void SkinSlider::SetToolTipText(const QString& text, bool activate) {
    if (text.isNull()) return;
    setAccessibleName(text);
    setToolTip(activate ? text : QString());
}

int SkinSlider::ThumbPixel() const {
    return SliderPixelFromPosition(Length(), ThumbLength(), m_position, m_rangeMin, m_rangeMax);
}

bool SkinSlider::AccessibleValue(int& value, int& minimum, int& maximum) const {
    value = m_position;
    minimum = m_rangeMin;
    maximum = m_rangeMax;
    return true;
}

void SkinSlider::paintEvent(QPaintEvent*) {
    // Where nothing is drawn the buffer stays clear, and the window shows through.
    QImage buffer(size(), QImage::Format_ARGB32_Premultiplied);
    buffer.fill(Qt::transparent);
    QPainter p(&buffer);
    const int pixel = ThumbPixel();

    if (m_channelLoaded) {
        if (m_backgroundPending && m_host && !m_host->BackgroundCopy().isNull()) {
            m_backgroundCopy = QImage(m_width, m_height, QImage::Format_ARGB32_Premultiplied);
            m_backgroundCopy.fill(Qt::transparent);
            QPainter copy(&m_backgroundCopy);
            copy.drawImage(-pos(), m_host->BackgroundCopy());
            m_backgroundPending = false;
        }
        p.drawImage(0, 0, m_backgroundCopy);
        // The filled part of the channel runs from the start to the thumb's centre.
        if (!vertical) {
            const int offset = m_thumbHeight ? std::abs(m_thumbHeight - m_channelHeight) / 2 : 0;
            if (pixel > 0)
                p.drawImage(QPoint(0, offset), m_channel, QRect(0, 0, pixel, m_channelHeight));
        } else {
            const int offset = m_thumbWidth ? std::abs(m_thumbWidth - m_channelWidth) / 2 : 0;
            if (m_channelHeight - pixel > 0)
                p.drawImage(QPoint(offset, pixel), m_channel,
                            QRect(0, pixel, m_channelWidth, m_channelHeight - pixel));
        }
    }

    if (m_thumbLoaded && isEnabled()) {
        const QImage& picture = m_hasActiveThumb && m_dragging ? m_activeThumb : m_thumb;
        const QPoint at = vertical ? QPoint(0, pixel - m_thumbHeight / 2)
                                   : QPoint(pixel - m_thumbWidth / 2, 0);
        p.drawImage(at, picture);
    }

    if (m_drawFocusRect && hasFocus() && isEnabled()) DrawFocusDots(p, QRect(0, 0, m_width, m_height));
    p.end();
    QPainter(this).drawImage(0, 0, buffer);
}

void SkinSlider::DragTo(const QPoint& point) {
    const int half = ThumbLength() / 2;
    int along = vertical ? point.y() : point.x();
    // Past either end the pointer counts as the thumb's half-length from the edge.
    along = std::max(half, std::min(along, Length() - half));
    SetPosition(SliderPositionFromPixel(Length(), ThumbLength(), along, m_rangeMin, m_rangeMax));
    if (m_host) m_host->OnSkinSliderMove(index, m_position);
}

void SkinSlider::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_dragging = true;
    QPointer<SkinSlider> alive(this);  // the host may rebuild the skin when told
    DragTo(e->position().toPoint());
    if (alive) update();
}

void SkinSlider::mouseMoveEvent(QMouseEvent* e) {
    if (m_dragging) DragTo(e->position().toPoint());
    e->accept();
}

void SkinSlider::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    m_dragging = false;
    update();
}

void SkinSlider::keyPressEvent(QKeyEvent* e) {
    long long value = m_position;
    switch (e->key()) {
    case Qt::Key_PageUp: value -= m_pageSize; break;
    case Qt::Key_PageDown: value += m_pageSize; break;
    case Qt::Key_End: value = m_rangeMax; break;
    case Qt::Key_Home: value = m_rangeMin; break;
    case Qt::Key_Left:
    case Qt::Key_Up: value -= 1; break;
    case Qt::Key_Right:
    case Qt::Key_Down: value += 1; break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    // Keys move the thumb without telling the host.
    SetPosition(Saturate(value));
    e->accept();
}

void SkinSlider::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
}

void SkinSlider::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    update();
}
