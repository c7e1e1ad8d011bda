#include "SkinScrollBar.h"

#include <QPainter>

#include "platform/Bitmap.h"

SkinScrollBar::SkinScrollBar(QWidget* parent, const SkinScrollBarImages& images)
    : QWidget(parent), m_track(platform::LoadBitmap(images.track)) {}

void SkinScrollBar::ForwardMouseMove(const QPoint&, Qt::MouseButtons) {}

void SkinScrollBar::paintEvent(QPaintEvent*) {
    if (!m_track.isNull()) QPainter(this).drawImage(rect(), m_track);
}
