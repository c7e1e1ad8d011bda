// Small colour blends the painters share.
#pragma once

#include <QColor>

struct ColourMath {
    // a at t = 0, b at t = 1.
    static QColor Mix(const QColor& a, const QColor& b, double t) {
        auto m = [t](int x, int y) { return int(x + (y - x) * t + 0.5); };
        return QColor(m(a.red(), b.red()), m(a.green(), b.green()), m(a.blue(), b.blue()),
                      m(a.alpha(), b.alpha()));
    }
    // The grey of the same lightness, for disabled pictures.
    static QColor Grey(const QColor& c) {
        const int l = (c.red() * 30 + c.green() * 59 + c.blue() * 11) / 100;
        return QColor(l, l, l, c.alpha());
    }
    static QColor WithAlpha(QColor c, int alpha) {
        c.setAlpha(alpha);
        return c;
    }
    static bool IsLight(const QColor& c) { return c.red() * 30 + c.green() * 59 + c.blue() * 11 > 14000; }
};
