// The bitmap scroll bar that stands beside a skin list in place of the list's own: track,
// arrows and thumb from seven skin pictures, auto-repeat on the arrows, paging on the track.
#pragma once

#include <QImage>
#include <QWidget>

#include "SkinAccessible.h"
#include "SkinListColours.h"

class SkinListView;

class SkinScrollBar : public QWidget, public SkinAccessibleControl {
    Q_OBJECT
public:
    // Delays of the arrows' auto-repeat: the first step, then every further one.
    static constexpr int kFirstRepeatMs = 250;
    static constexpr int kRepeatMs = 50;

    explicit SkinScrollBar(QWidget* parent);

    // A pair's size is taken only when both of its pictures load.
    void LoadImages(const SkinScrollBarImages& images);
    void SetList(SkinListView* list) { m_list = list; }
    void SetBackColor(platform::Colour colour);
    // Re-reads the list's scroll state, places the thumb and redraws.
    void Update();
    // Mouse moves the list or the window pass on, in this bar's coordinates.
    void ForwardMouseMove(const QPoint& point, Qt::MouseButtons buttons);

    int BarWidth() const { return m_barWidth; }
    int ThumbTop() const { return m_thumbTop; }
    QRect UpArea() const;
    QRect DownArea() const;
    QRect ThumbArea() const;
    bool UpPressed() const { return m_upPressed; }
    bool DownPressed() const { return m_downPressed; }
    bool ThumbDragging() const { return m_thumbDragging; }
    // Ids of the running repeat timers, 0 when stopped.
    int FirstRepeatTimerId() const { return m_firstRepeatTimer; }
    int RepeatTimerId() const { return m_repeatTimer; }

    QAccessible::Role AccessibleRole() const override { return QAccessible::ScrollBar; }
    QString AccessibleFallbackName() const override;
    bool AccessibleValue(int& value, int& minimum, int& maximum) const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void timerEvent(QTimerEvent*) override;

private:
    enum class Step { LineUp, LineDown, PageUp, PageDown };
    void Scroll(Step step);
    void HandleMove(const QPoint& point, Qt::MouseButtons buttons);
    void ClampThumb();
    void StopTimer(int& id);
    // Track length per scroll step; 0 when the list cannot scroll.
    double PixelsPerStep() const;

    SkinListView* m_list = nullptr;
    QImage m_trackImage, m_upImage, m_upPressedImage, m_downImage, m_downPressedImage;
    QImage m_thumbImage, m_thumbPressedImage;
    platform::Colour m_backColour = 0xFFFFFF;
    int m_upWidth = 0, m_upHeight = 0, m_downWidth = 0, m_downHeight = 0;
    int m_thumbWidth = 0, m_thumbHeight = 0, m_trackWidth = 0, m_trackHeight = 0;
    int m_barWidth = 0;
    bool m_upPressed = false, m_downPressed = false, m_thumbDragging = false;
    int m_thumbTop = 0;
    int m_firstRepeatTimer = 0;
    int m_repeatTimer = 0;
};
