// A value control drawn as a thumb picture over a channel picture.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "platform/Colour.h"

class SkinHost;

class SkinSlider : public QWidget {
    Q_OBJECT
public:
    SkinSlider(SkinHost* host, QWidget* parent, const QRect& rect);

    QString name;
    int index = 0;
    bool vertical = false;
    platform::Colour transparentColor = 0;

    bool SetChannelImage(const QString& path);
    bool SetThumbImages(const QString& path, const QString& activePath, bool transparent);
    void SetRange(int min, int max, bool redraw);
    void SetPosition(int value);
    int GetPosition() const { return m_position; }
    int GetRangeMin() const { return m_rangeMin; }
    int GetRangeMax() const { return m_rangeMax; }
    void SetDrawFocusRect(bool value, bool redraw);
    void SetToolTipText(const QString& text, bool activate);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    SkinHost* m_host;
    int m_rangeMin = 0, m_rangeMax = 100, m_position = 0;
    bool m_drawFocusRect = true;
    QImage m_channel, m_thumb, m_activeThumb;
};
