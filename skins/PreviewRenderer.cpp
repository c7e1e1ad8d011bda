#include "PreviewRenderer.h"

#include <QPainter>

#include "KeyedArt.h"
#include "SkinModel.h"

namespace {

QImage Cell(const QImage& strip, int index) {
    const int w = strip.width() / 4;
    return strip.copy(index * w, 0, w, strip.height());
}

void DrawKeyed(QPainter& p, const QRect& r, const QImage& picture) {
    p.drawImage(r, KeyedArt::CutKey(picture));
}

void DrawText(QPainter& p, const SkinLabelEntry& l) {
    QFont font(QString::fromStdString(l.face));
    font.setPointSize(l.points);
    p.setFont(font);
    p.setPen(l.colour);
    p.drawText(l.rect, Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(l.text));
}

void DrawBox(QPainter& p, const QRect& r, const QColor& back, const QColor& border,
             const QColor& ink, const QString& text) {
    p.fillRect(r, back);
    p.setPen(border);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(-1, -1, 0, 0));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace

QImage PreviewRenderer::Render(const SkinModel& m, bool everything) {
    QImage out = KeyedArt::CutKey(*m.Picture(m.background));
    QPainter p(&out);
    p.setRenderHint(QPainter::TextAntialiasing);
    DrawKeyed(p, m.iconRect, m.Picture(m.icon)->copy(0, 0, m.iconRect.width(), m.iconRect.height()));
    DrawText(p, m.caption);
    for (const auto& b : m.buttons)
        if (b.name != "BUTTON_PAUSE") DrawKeyed(p, b.rect, Cell(*m.Picture(b.image), 0));
    for (const auto* group : {&m.options, &m.checks})
        for (const auto& t : *group) DrawKeyed(p, t.rect, Cell(*m.Picture(t.image), t.checked ? 2 : 0));
    for (const auto& l : m.labels)
        if (everything || l.name != "LABEL_TIME") DrawText(p, l);
    for (const auto& e : m.edits)
        DrawBox(p, e.rect, e.back, e.border, e.text,
                everything ? QStringLiteral("/home/user/Videos/capture.flv") : QString());
    for (const auto& l : m.lists) p.fillRect(l.rect, l.back);
    if (everything) {
        for (const auto& s : m.sliders) {
            const QImage& channel = *m.Picture(s.channel);
            const QImage& thumb = *m.Picture(s.thumb);
            const int centre = thumb.width() / 2 + (s.rect.width() - thumb.width()) * 4 / 10;
            const int offset = (thumb.height() - channel.height()) / 2;
            p.drawImage(s.rect.topLeft() + QPoint(0, offset), channel.copy(0, 0, centre, channel.height()));
            DrawKeyed(p, QRect(s.rect.x() + centre - thumb.width() / 2, s.rect.y(), thumb.width(),
                               thumb.height()), thumb);
        }
    }
    for (const auto& c : m.combos) {
        const QImage& strip = *m.Picture(c.button);
        const int w = strip.width() / 4, h = strip.height();
        const QRect edit(c.rect.x(), c.rect.y(), c.rect.width() - w, h);
        DrawBox(p, edit, c.editBack, c.editBorder, c.editText, QStringLiteral("FLV"));
        DrawKeyed(p, QRect(c.rect.right() + 1 - w, c.rect.y() - 1, w, h + 2), Cell(strip, 0));
        if (everything) {
            const QRect list(c.rect.x(), c.rect.y() + h + 2, c.rect.width() - 1,
                             c.rect.bottom() + 1 - (c.rect.y() + h + 2));
            DrawBox(p, list, c.listBack, c.editBorder, c.listText, QString());
            const QStringList rows = {QStringLiteral("FLV"), QStringLiteral("item1"),
                                      QStringLiteral("item2"), QStringLiteral("item3")};
            for (int i = 0; i < rows.size(); ++i) {
                const QRect row(list.x(), list.y() + i * 18, list.width() - 16, 18);
                if (row.bottom() > list.bottom()) break;
                DrawBox(p, row, i == 0 ? c.selBack : c.listBack, i == 0 ? c.selBack : c.listBack,
                        i == 0 ? c.selText : c.listText, rows[i]);
            }
            const QImage& up = *m.Picture(c.bar[1]);
            const QImage& down = *m.Picture(c.bar[3]);
            const QImage& thumb = *m.Picture(c.bar[5]);
            const int bx = list.right() + 1 - up.width();
            p.drawImage(QRect(bx, list.y(), up.width(), list.height()), *m.Picture(c.bar[0]));
            p.drawImage(bx, list.y(), up);
            p.drawImage(bx, list.bottom() + 1 - down.height(), down);
            p.drawImage(bx, list.y() + up.height(), thumb);
        }
    }
    p.end();
    return out;
}
