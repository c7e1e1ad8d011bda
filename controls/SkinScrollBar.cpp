#include "SkinScrollBar.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>
#include <limits>

#include "SkinListView.h"
#include "platform/Bitmap.h"

namespace {

QImage LoadPicture(const QString& path) {
    return path.isEmpty() ? QImage() : platform::LoadBitmap(path);
}

// Loads a pair of pictures; the size counts only when both are there.
QSize LoadPair(const QString& normalPath, const QString& pressedPath, QImage& normal,
               QImage& pressed) {
    normal = LoadPicture(normalPath);
    pressed = LoadPicture(pressedPath);
    if (normal.isNull() || pressed.isNull()) return {0, 0};
    return normal.size();
}

}  // namespace

SkinScrollBar::SkinScrollBar(QWidget* parent) : QWidget(parent) {
    EnableSkinAccessibility();
    setMouseTracking(true);  // the parts light up under the pointer
    setAttribute(Qt::WA_OpaquePaintEvent);
    show();
}

void SkinScrollBar::LoadImages(const SkinScrollBarImages& images) {
    m_trackImage = LoadPicture(images.track);
    m_trackWidth = m_trackImage.width();
    m_trackHeight = m_trackImage.height();
    const QSize up = LoadPair(images.up, images.upPressed, m_upImage, m_upPressedImage);
    const QSize down = LoadPair(images.down, images.downPressed, m_downImage, m_downPressedImage);
    const QSize thumb = LoadPair(images.thumb, images.thumbPressed, m_thumbImage,
                                 m_thumbPressedImage);
    m_upWidth = up.width();
    m_upHeight = up.height();
    m_downWidth = down.width();
    m_downHeight = down.height();
    m_thumbWidth = thumb.width();
    m_thumbHeight = thumb.height();
    m_thumbTop = m_upHeight;
    m_barWidth = m_upWidth;
    update();
}

void SkinScrollBar::SetBackColor(platform::Colour colour) {
    m_backColour = colour;
    update();
}

QRect SkinScrollBar::UpArea() const { return QRect(0, 0, m_upWidth, m_upHeight); }

QRect SkinScrollBar::DownArea() const {
    return QRect(0, height() - m_downHeight, m_downWidth, m_downHeight);
}

QRect SkinScrollBar::ThumbArea() const {
    return QRect(0, m_thumbTop, m_thumbWidth, m_thumbHeight);
}

double SkinScrollBar::PixelsPerStep() const {
    const int limit = m_list ? m_list->ScrollLimit() : 0;
    if (limit <= 0) return 0;  // nothing to scroll: the thumb rests under the up arrow
    const int track = height() - (m_upHeight + m_downHeight + m_thumbHeight);
    return double(track) / limit;
}

void SkinScrollBar::ClampThumb() {
    if (height() - m_downHeight < m_thumbTop + m_thumbHeight)
        m_thumbTop = height() - m_downHeight - m_thumbHeight;
    if (m_thumbTop < m_upHeight) m_thumbTop = m_upHeight;
}

void SkinScrollBar::Update() {
    const int position = m_list ? m_list->ScrollPosition() : 0;
    m_thumbTop = m_upHeight + int(std::trunc(position * PixelsPerStep()));
    ClampThumb();
    update();
}

void SkinScrollBar::paintEvent(QPaintEvent*) {
    QImage buffer(size(), QImage::Format_RGB32);
    buffer.fill(platform::ToQColor(m_backColour));
    // A list that cannot scroll gets a flat bar in its background colour, without arrows.
    if (m_list && m_list->ScrollLimit() != 0) {
        QPainter p(&buffer);
        if (!m_trackImage.isNull()) p.drawImage(QRect(0, 0, m_upWidth, height()), m_trackImage);
        const QRect up = UpArea(), down = DownArea(), thumb = ThumbArea();
        p.drawImage(up.topLeft(), m_upPressed ? m_upPressedImage : m_upImage,
                    QRect(QPoint(0, 0), up.size()));
        p.drawImage(down.topLeft(), m_downPressed ? m_downPressedImage : m_downImage,
                    QRect(QPoint(0, 0), down.size()));
        p.drawImage(thumb.topLeft(), m_thumbDragging ? m_thumbPressedImage : m_thumbImage,
                    QRect(QPoint(0, 0), thumb.size()));
    }
    QPainter(this).drawImage(0, 0, buffer);
}

void SkinScrollBar::StopTimer(int& id) {
    if (id) killTimer(id);
    id = 0;
}

void SkinScrollBar::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    const QPoint point = e->position().toPoint();
    if (ThumbArea().contains(point)) m_thumbDragging = true;
    // Nothing scrolls on the press; holding an arrow repeats after the first delay.
    const bool onDown = DownArea().contains(point), onUp = UpArea().contains(point);
    if (onDown) m_downPressed = true;
    if (onUp) m_upPressed = true;
    if (onDown || onUp) {
        StopTimer(m_firstRepeatTimer);
        m_firstRepeatTimer = startTimer(kFirstRepeatMs);
    }
    update();
}

void SkinScrollBar::timerEvent(QTimerEvent* e) {
    if (e->timerId() == m_firstRepeatTimer) {
        if (m_upPressed || m_downPressed) {
            StopTimer(m_firstRepeatTimer);
            StopTimer(m_repeatTimer);
            m_repeatTimer = startTimer(kRepeatMs);
        }
    } else if (e->timerId() == m_repeatTimer) {
        // Steps only while the button is still down, wherever the release went.
        const bool held = QGuiApplication::mouseButtons() & Qt::LeftButton;
        if (m_downPressed && held) Scroll(Step::LineDown);
        if (m_upPressed && held) Scroll(Step::LineUp);
    } else {
        QWidget::timerEvent(e);
    }
}

void SkinScrollBar::ForwardMouseMove(const QPoint& point, Qt::MouseButtons buttons) {
    HandleMove(point, buttons);
}

void SkinScrollBar::mouseMoveEvent(QMouseEvent* e) {
    HandleMove(e->position().toPoint(), e->buttons());
    e->accept();
}

void SkinScrollBar::HandleMove(const QPoint& point, Qt::MouseButtons buttons) {
    if ((buttons & Qt::LeftButton) && m_thumbDragging) {
        const double perStep = PixelsPerStep();
        // A list that cannot scroll (or a bar too short for a track) ignores the drag and
        // its thumb rests under the up arrow.
        m_thumbTop = perStep > 0 ? point.y() - m_thumbHeight / 2 : m_upHeight;
        if (m_list && perStep > 0) {
            const double target = std::trunc((m_thumbTop - m_upHeight) / perStep);
            const double lines =
                std::clamp(target, double(std::numeric_limits<int>::min() / 2),
                           double(std::numeric_limits<int>::max() / 2)) -
                m_list->ScrollPosition();
            m_list->ScrollRows(int(lines));
        }
        // The thumb follows the mouse, not the list.
        ClampThumb();
    } else {
        // Without a drag the flags show what lies under the pointer.
        m_thumbDragging = ThumbArea().contains(point);
        m_downPressed = DownArea().contains(point);
        m_upPressed = UpArea().contains(point);
    }
    update();
}

void SkinScrollBar::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    Update();
    StopTimer(m_repeatTimer);
    StopTimer(m_firstRepeatTimer);
    // The release point decides: an arrow still pressed steps once more; anywhere else on
    // the track pages toward the point.
    const QPoint point = e->position().toPoint();
    const bool onUp = UpArea().contains(point) && m_upPressed;
    const bool onDown = DownArea().contains(point) && m_downPressed;
    if (onUp) {
        Scroll(Step::LineUp);
    } else if (onDown) {
        Scroll(Step::LineDown);
    } else if (!ThumbArea().contains(point) && !m_thumbDragging) {
        Scroll(m_thumbTop < point.y() ? Step::PageDown : Step::PageUp);
    }
    m_upPressed = m_downPressed = m_thumbDragging = false;
    update();
}

void SkinScrollBar::Scroll(Step step) {
    if (m_list) {
        const int page = m_list->RowsPerPage();
        switch (step) {
        case Step::LineUp: m_list->ScrollRows(-1); break;
        case Step::LineDown: m_list->ScrollRows(1); break;
        case Step::PageUp: m_list->ScrollRows(-page); break;
        case Step::PageDown: m_list->ScrollRows(page); break;
        }
    }
    Update();
}

QString SkinScrollBar::AccessibleFallbackName() const { return m_list ? m_list->name : QString(); }

bool SkinScrollBar::AccessibleValue(int& value, int& minimum, int& maximum) const {
    value = m_list ? m_list->ScrollPosition() : 0;
    minimum = 0;
    maximum = m_list ? m_list->ScrollLimit() : 0;
    return true;
}
