#include "StartValues.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

std::optional<OutputPicture> OutputForFormat(const QString& formatName) {
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d+)x(\d+)\b.*?([\d.]+) fps)"));
    const QRegularExpressionMatch m = pattern.match(formatName);
    if (!m.hasMatch()) return std::nullopt;
    double w = m.captured(1).toDouble(), h = m.captured(2).toDouble();
    const double rate = m.captured(3).toDouble();
    if (w < 2 || h < 2 || rate <= 0) return std::nullopt;
    const double scale = std::min({1.0, kMostFollowedWidth / w, kMostFollowedHeight / h});
    OutputPicture out;
    out.width = int16_t(int(w * scale) & ~1);
    out.height = int16_t(int(h * scale) & ~1);
    // 29.97 records as 30: the output's rate is whole.
    out.frameRate = float(std::clamp(std::lround(rate), 1L, long(kMostFollowedRate)));
    return out;
}
