#include "component/overlays/TextLayer.h"

#include "component/overlays/HatchPatterns.h"

#include "platform/Colour.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace component {

namespace {

// Far beyond any listed size, small enough that a stray value cannot make a huge layer.
constexpr int kMaxPoints = 400;

enum TextStyle { Normal = 0, Outline = 1, FilledOutline = 2, Hatch = 3, Texture = 4 };

double OutlineWidth(const QFont& font) { return std::max(1.0, font.pixelSize() / 16.0); }

// Draws `path` offset by (left, top) into a layer covering only the part inside the picture.
template <typename Paint>
OverlayLayer RenderClipped(const QPainterPath& path, double pad, int left, int top, QSize frame,
                           Paint&& paint) {
    if (path.isEmpty()) return {};
    const QRectF bounds = path.boundingRect().adjusted(-pad, -pad, pad, pad).translated(left, top);
    const QRect visible = bounds.toAlignedRect().intersected(QRect(QPoint(0, 0), frame));
    if (visible.isEmpty()) return {};
    OverlayLayer layer;
    layer.at = visible.topLeft();
    layer.image = QImage(visible.size(), QImage::Format_ARGB32_Premultiplied);
    layer.image.fill(Qt::transparent);
    QPainter p(&layer.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(left - visible.x(), top - visible.y());
    paint(p);
    return layer;
}

QPainterPath LinesPath(const QString& text, const QFont& font) {
    const QFontMetricsF metrics(font);
    QPainterPath path;
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i)
        path.addText(QPointF(0, metrics.ascent() + double(i) * metrics.lineSpacing()), font,
                     lines[i]);
    return path;
}

QBrush FillBrush(const TextOverlay& t) {
    const QColor font = platform::ToQColor(t.colour);
    if (t.style == Hatch && IsHatchStyle(t.hatchStyle))
        return QBrush(HatchTile(t.hatchStyle, platform::ToQColor(t.hatchForeColour),
                                platform::ToQColor(t.hatchBackColour)));
    if (t.style == Texture && !t.texturePath.empty()) {
        const QImage tile(QString::fromStdString(t.texturePath));
        if (!tile.isNull()) return QBrush(tile);
    }
    return QBrush(font);
}

}  // namespace

QFont OverlayFont(const std::string& name, int points, int fontStyle) {
    QFont font(QString::fromStdString(name));
    font.setPixelSize(std::max(1, int(std::lround(std::clamp(points, 1, kMaxPoints) * 96.0 / 72.0))));
    font.setBold(fontStyle == 1 || fontStyle == 3);
    font.setItalic(fontStyle == 2 || fontStyle == 3);
    font.setUnderline(fontStyle == 4);
    return font;
}

OverlayLayer RenderTextLayer(const TextOverlay& t, QSize frame) {
    const QFont font = OverlayFont(t.fontName, t.fontSize, t.fontStyle);
    const QPainterPath path = LinesPath(QString::fromStdString(t.text), font);
    const double width = OutlineWidth(font);
    return RenderClipped(path, width, t.left, t.top, frame, [&](QPainter& p) {
        const QPen outline(platform::ToQColor(t.outlineColour), width, Qt::SolidLine, Qt::RoundCap,
                           Qt::RoundJoin);
        switch (t.style) {
        case Outline: p.strokePath(path, outline); break;
        case FilledOutline:
            p.fillPath(path, platform::ToQColor(t.outlineBackColour));
            p.strokePath(path, outline);
            break;
        default: p.fillPath(path, FillBrush(t)); break;
        }
    });
}

OverlayLayer RenderStampLayer(const DateTimeOverlay& s, const QString& text, QSize frame) {
    const QFont font = OverlayFont(s.fontName, s.fontSize, s.fontStyle);
    const QFontMetricsF metrics(font);
    double digitAdvance = 0;
    for (QChar c = u'0'; c <= u'9'; c = QChar(c.unicode() + 1))
        digitAdvance = std::max(digitAdvance, metrics.horizontalAdvance(c));
    QPainterPath path;
    double x = 0;
    for (const QChar c : text) {
        const double advance = metrics.horizontalAdvance(c);
        const bool digit = c.isDigit();
        path.addText(QPointF(x + (digit ? (digitAdvance - advance) / 2 : 0), metrics.ascent()),
                     font, QString(c));
        x += digit ? digitAdvance : advance;
    }
    // An edge of the opposite lightness keeps the digits readable on any picture, while the
    // glyphs keep the user's colour.
    const QColor fill = platform::ToQColor(s.colour);
    const QColor edge = qGray(fill.rgb()) >= 96 ? QColor(0, 0, 0, 230) : QColor(255, 255, 255, 230);
    const double edgeWidth = std::max(1.0, font.pixelSize() / 10.0);
    return RenderClipped(path, std::ceil(edgeWidth) + 1, s.left, s.top, frame, [&](QPainter& p) {
        p.strokePath(path, QPen(edge, 2 * edgeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.fillPath(path, fill);
    });
}

}  // namespace component
