#include "SkinSlider.h"

#include <QPainter>

#include "SkinHost.h"
#include "platform/Bitmap.h"

SkinSlider::SkinSlider(SkinHost* host, QWidget* parent, const QRect& rect)
    : QWidget(parent), m_host(host) {
    setGeometry(rect);
    setFocusPolicy(Qt::StrongFocus);
    show();
}

bool SkinSlider::SetChannelImage(const QString& path) {
    m_channel = platform::LoadBitmap(path);
    return !m_channel.isNull();
}

bool SkinSlider::SetThumbImages(const QString& path, const QString& activePath, bool transparent) {
    m_thumb = platform::LoadBitmap(path);
    m_activeThumb = platform::LoadBitmap(activePath);
    if (transparent) {
        m_thumb = platform::KeyedImage(m_thumb, transparentColor);
        m_activeThumb = platform::KeyedImage(m_activeThumb, transparentColor);
    }
    const QSize size(std::max(m_channel.width(), m_thumb.width()),
                     std::max(m_channel.height(), m_thumb.height()));
    resize(size);
    return !m_thumb.isNull();
}

void SkinSlider::SetRange(int min, int max, bool redraw) {
    m_rangeMin = min;
    m_rangeMax = max;
    if (redraw) update();
}

void SkinSlider::SetPosition(int value) {
    m_position = std::max(m_rangeMin, std::min(value, m_rangeMax));
    update();
}

void SkinSlider::SetDrawFocusRect(bool value, bool redraw) {
    m_drawFocusRect = value;
    if (redraw) update();
}

void SkinSlider::SetToolTipText(const QString& text, bool activate) {
    setToolTip(activate ? text : QString());
}

void SkinSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_host && !m_host->BackgroundCopy().isNull())
        p.drawImage(0, 0, m_host->BackgroundCopy().copy(geometry()));
    p.drawImage(0, 0, m_channel);
}
