// Waiting in a bench the way the application waits: in its event loop, asleep until an event
// or the time comes. A loop that polls would wake the process a thousand times a second and
// add that to the CPU time being measured.
#pragma once

#include "component/media/CaptureClock.h"

#include <QEventLoop>
#include <QTimer>

#include <cstdint>

inline void RunEventsUntil(int64_t untilUs) {
    const int64_t left = untilUs - component::ClockNowUs();
    if (left <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(int((left + 999) / 1000), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
