#include "SkinLayout.h"

#include "SkinTheme.h"

namespace {

// 1040 x 760: a 720 x 540 video area with a settings column beside it and the transport bar
// below; the column goes left or right.
SkinLayout Standard(PanelSide side, WindowShape shape) {
    SkinLayout l;
    const int w = 1040, h = 760;
    l.window = QSize(w, h);
    l.titleBand = QRect(24, 10, w - 48, 48);
    l.icon = QRect(30, 18, 32, 32);
    l.caption = QRect(72, 19, 360, 30);
    // Under a title tab the rest of the top edge is lower: keep the window buttons clear of it.
    const int buttonsTop = shape == WindowShape::TitleTab ? 34 : 24;
    l.minimize = QRect(w - 100, buttonsTop, 24, 24);
    l.close = QRect(w - 68, buttonsTop, 24, 24);

    const bool right = side == PanelSide::Right;
    l.video = QRect(right ? 44 : w - 44 - 720, 84, 720, 540);
    l.bezel = l.video.adjusted(-16, -16, 16, 16);
    l.panel = right ? QRect(l.bezel.right() + 21, 68, 216, 572) : QRect(24, 68, 216, 572);

    const int px = l.panel.x() + 16;
    for (int i = 0; i < 6; ++i) {
        l.settings[size_t(i)] = QRect(px, l.panel.y() + 16 + i * 62, 48, 48);
        const QRect& b = l.settings[size_t(i)];
        l.settingsCaption[size_t(i)] = QRect(b.right() + 12, b.y(), l.panel.right() - b.right() - 18,
                                             b.height());
    }
    l.modeLabel = QRect(px, 466, l.panel.width() - 32, 20);
    l.comboCell = QSize(22, 22);
    l.combo = QRect(px, 490, l.panel.width() - 32, 22 + 2 + 66);

    l.bar = QRect(24, 652, w - 48, 88);
    const int tx = right ? 44 : w - 44 - 5 * 56 - 4 * 12;
    l.play = QRect(tx, 668, 56, 56);
    l.stop = QRect(tx + 68, 668, 56, 56);
    l.record = QRect(tx + 136, 668, 56, 56);
    l.stream = QRect(tx + 204, 668, 56, 56);
    l.snapshot = QRect(tx + 272, 668, 56, 56);

    const int dx = right ? l.snapshot.right() + 25 : 44;
    const int dr = right ? w - 44 : l.play.x() - 24;  // exclusive right edge
    l.display = QRect(dx, 662, dr - dx, 30);
    l.time = QRect(dr - 150, 665, 142, 24);
    l.slider = QRect(dx + 12, 667, l.time.x() - dx - 24, 20);
    l.fileCaption = QRect(dx, 702, 44, 24);
    l.edit = QRect(dx + 48, 702, dr - dx - 48, 24);
    return l;
}

// 1100 x 800 with a crest for the caption, a wider settings panel holding a grid of settings
// buttons, the format combo, the quality options, the grey-picture check box and the list of
// recordings.
SkinLayout Deluxe() {
    SkinLayout l;
    const int w = 1100, h = 800;
    l.window = QSize(w, h);
    l.titleBand = QRect(340, 0, 420, 56);
    l.icon = QRect(392, 14, 32, 32);
    l.caption = QRect(436, 14, 280, 34);
    l.minimize = QRect(w - 108, 46, 26, 26);
    l.close = QRect(w - 74, 46, 26, 26);

    l.video = QRect(52, 100, 720, 540);
    l.bezel = l.video.adjusted(-20, -20, 20, 20);
    l.panel = QRect(812, 80, 260, 580);

    l.captionsUnder = true;
    for (int i = 0; i < 6; ++i) {
        const int col = i % 3, row = i / 3;
        const QRect cell(l.panel.x() + 10 + col * 80, l.panel.y() + 34 + row * 92, 80, 88);
        l.settings[size_t(i)] = QRect(cell.x() + 14, cell.y(), 52, 52);
        l.settingsCaption[size_t(i)] = QRect(cell.x(), cell.y() + 56, 80, 18);
    }
    const int px = l.panel.x() + 16, pw = l.panel.width() - 32;
    l.modeLabel = QRect(px, 298, pw, 20);
    l.comboCell = QSize(24, 24);
    l.combo = QRect(px, 322, pw, 24 + 2 + 66);

    l.optionsCaption = QRect(px, 424, pw, 18);
    for (int i = 0; i < 3; ++i) l.options.push_back(QRect(px + i * 76, 446, 72, 22));
    l.check = QRect(px, 476, pw, 22);
    l.listCaption = QRect(px, 510, pw, 18);
    l.list = QRect(px, 532, pw, 116);

    l.bar = QRect(44, 676, w - 88, 104);
    l.play = QRect(64, 698, 60, 60);
    l.stop = QRect(136, 698, 60, 60);
    l.record = QRect(208, 698, 60, 60);
    l.stream = QRect(280, 698, 60, 60);
    l.snapshot = QRect(352, 698, 60, 60);
    const int dx = 436, dr = w - 64;
    l.display = QRect(dx, 688, dr - dx, 32);
    l.time = QRect(dr - 152, 692, 144, 24);
    l.slider = QRect(dx + 12, 694, l.time.x() - dx - 24, 20);
    l.fileCaption = QRect(dx, 736, 48, 26);
    l.edit = QRect(dx + 52, 736, dr - dx - 52, 26);
    return l;
}

}  // namespace

SkinLayout SkinLayout::For(const SkinTheme& theme) {
    return theme.deluxe ? Deluxe() : Standard(theme.panelSide, theme.shape);
}
