// A value control drawn as a thumb picture over a channel picture, on a copy of the window
// background under it so that it looks transparent.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "SkinAccessible.h"
#include "platform/Colour.h"

class SkinHost;

// The thumb's centre along a slider of length `length` with a thumb `thumb` long. Where the
// arithmetic would divide by zero (equal range ends, thumb as long as the slider) the thumb
// rests at the start.
int SliderPixelFromPosition(int length, int thumb, int position, int rangeMin, int rangeMax);
// The position for a thumb centre; rangeMin in the same degenerate cases.
int SliderPositionFromPixel(int length, int thumb, int pixel, int rangeMin, int rangeMax);

class SkinSlider : public QWidget, public SkinAccessibleControl {
    Q_OBJECT
public:
    SkinSlider(SkinHost* host, QWidget* parent, const QRect& rect);

    QString name;
    int index = 0;
    bool vertical = false;
    platform::Colour transparentColor = 0;

    bool SetChannelImage(const QString& path);
    // Must follow SetChannelImage: the control's size depends on both pictures. A null path
    // removes the thumb.
    bool SetThumbImages(const QString& path, const QString& activePath, bool transparent);
    // The position is not re-clamped until the next SetPosition.
    void SetRange(int min, int max, bool redraw);
    void SetRangeMin(int value, bool redraw);
    void SetRangeMax(int value, bool redraw);
    void SetPosition(int value);
    int GetPosition() const { return m_position; }
    int GetRangeMin() const { return m_rangeMin; }
    int GetRangeMax() const { return m_rangeMax; }
    // Returns the previous page size.
    int SetPageSize(int value);
    int PageSize() const { return m_pageSize; }
    void SetEnabled(bool value);
    void SetDrawFocusRect(bool value, bool redraw);
    void SetToolTipText(const QString& text, bool activate);
    bool IsDragging() const { return m_dragging; }
    // The thumb's centre for the current position, along the slider.
    int ThumbPixel() const;
    QSize ThumbSize() const { return {m_thumbWidth, m_thumbHeight}; }

    QAccessible::Role AccessibleRole() const override { return QAccessible::Slider; }
    QString AccessibleFallbackName() const override { return name; }
    bool AccessibleValue(int& value, int& minimum, int& maximum) const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;

private:
    int Length() const { return vertical ? m_height : m_width; }
    int ThumbLength() const { return vertical ? m_thumbHeight : m_thumbWidth; }
    void Resize(int width, int height);
    void DragTo(const QPoint& point);
    void FreeThumbs();

    SkinHost* m_host;
    int m_rangeMax = 100;
    int m_rangeMin = 0;
    int m_position = 0;
    int m_pageSize = 20;
    int m_width = 0, m_height = 0;
    int m_thumbWidth = 0, m_thumbHeight = 0;
    int m_channelWidth = 0, m_channelHeight = 0;
    bool m_hasActiveThumb = false;
    bool m_transparentThumb = false;
    bool m_thumbLoaded = false;
    bool m_dragging = false;
    bool m_drawFocusRect = true;
    bool m_channelLoaded = false;
    bool m_backgroundPending = true;
    QImage m_thumb, m_activeThumb;  // keyed when the thumb is transparent
    QImage m_channel;
    QImage m_backgroundCopy;  // the window background under the slider, taken once
};
