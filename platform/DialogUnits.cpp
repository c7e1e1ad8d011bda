#include "DialogUnits.h"

#include <QFontMetrics>

namespace platform {

QSize DialogBaseUnits(const QFont& font) {
    const QFontMetrics fm(font);
    static const QString sample =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int width = (fm.horizontalAdvance(sample) / 26 + 1) / 2;  // rounded mean of 52
    return QSize(std::max(1, width), std::max(1, fm.height()));
}

QRect DialogUnitsToPixels(const QRect& du, const QSize& base) {
    const int cx = base.width(), cy = base.height();
    return QRect(du.x() * cx / 4, du.y() * cy / 8, du.width() * cx / 4, du.height() * cy / 8);
}

QFont TemplateFont(const QString& face, int points) {
    QFont font(face);
    font.setPointSize(points);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace platform
