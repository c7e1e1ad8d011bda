// The bitmap scroll bar that replaces a skin list's own.
#pragma once

#include <QImage>
#include <QWidget>

#include "SkinListColours.h"

class SkinScrollBar : public QWidget {
    Q_OBJECT
public:
    SkinScrollBar(QWidget* parent, const SkinScrollBarImages& images);
    // Mouse moves over the window are passed on here (point in this bar's coordinates).
    void ForwardMouseMove(const QPoint& point, Qt::MouseButtons buttons);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage m_track;
};
