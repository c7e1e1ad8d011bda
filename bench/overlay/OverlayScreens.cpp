// Writes what the preview shows for each text style, the image overlay and the effects: the
// processing stage applied to a test-pattern picture, saved as PNG.
// Usage: overlay_screens DIR
#include "component/pipeline/ProcessingStage.h"
#include "component/sources/TestPattern.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

using namespace component;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

QString MakeTexture(const QString& dir) {
    QImage tex(16, 16, QImage::Format_RGB32);
    QPainter p(&tex);
    p.fillRect(tex.rect(), QColor(255, 140, 0));
    p.fillRect(QRect(0, 0, 8, 8), QColor(0, 160, 255));
    p.fillRect(QRect(8, 8, 8, 8), QColor(0, 160, 255));
    p.end();
    const QString path = dir + "/texture.png";
    tex.save(path);
    return path;
}

QString MakeLogo(const QString& dir) {
    QImage logo(160, 100, QImage::Format_RGB32);
    logo.fill(QColor(255, 0, 255));  // the key colour around the badge
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(QColor(30, 200, 90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRect(10, 5, 140, 90));
    p.setPen(Qt::white);
    QFont f("DejaVu Sans");
    f.setPixelSize(28);
    f.setBold(true);
    p.setFont(f);
    p.drawText(logo.rect(), Qt::AlignCenter, "LOGO");
    p.end();
    const QString path = dir + "/logo.bmp";
    logo.save(path);
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: overlay_screens DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    const QString texture = MakeTexture(dir);
    const QString logo = MakeLogo(dir);
    TestPattern pattern(kWidth, kHeight);
    const QImage picture = pattern.Render(12, 30).ToImage();

    OverlaySettings base;
    base.dateTime = DateTimeOverlay{.show = true, .left = 10, .top = 60, .formatIndex = 7,
                                    .colour = 0x0000FFFF, .fontName = "DejaVu Sans", .fontSize = 18,
                                    .fontStyle = 1};
    TextOverlay& t = base.texts[0];
    t.left = 20;
    t.top = 110;
    t.text = "Korvex Software\r\nwww.korvex.example";
    t.fontName = "DejaVu Sans";
    t.fontSize = 36;
    t.fontStyle = 1;
    t.colour = 0x00FFFFFF;
    t.outlineColour = 0x000000FF;
    t.outlineBackColour = 0x00FFFFFF;
    t.hatchStyle = 5;  // DiagonalCross
    t.hatchForeColour = 0x0000FFFF;
    t.hatchBackColour = 0x00800000;
    t.texturePath = texture.toStdString();
    base.images[0].show = false;

    struct Shot {
        const char* name;
        int16_t textStyle;
        bool image;
        int16_t rotation;
        bool invert, grey;
    };
    const Shot shots[] = {
        {"text-style-0-normal", 0, false, 0, false, false},
        {"text-style-1-outline", 1, false, 0, false, false},
        {"text-style-2-filled-outline", 2, false, 0, false, false},
        {"text-style-3-hatch-brush", 3, false, 0, false, false},
        {"text-style-4-texture-brush", 4, false, 0, false, false},
        {"image-overlay", 0, true, 0, false, false},
        {"effects-rotation-1-invert-grey", 2, true, 1, true, true},
    };
    for (const Shot& s : shots) {
        OverlaySettings settings = base;
        settings.texts[0].style = s.textStyle;
        settings.images[0] = ImageOverlay{.show = s.image, .left = 420, .top = 300,
                                          .path = logo.toStdString(),
                                          .transparentColour = 0x00FF00FF, .alpha = 200};
        settings.rotation = s.rotation;
        settings.invert = s.invert;
        settings.greyScale = s.grey;
        ProcessingStage stage;
        stage.SetOverlaySettings(settings);
        QImage frame = picture;
        stage.Apply(frame, 0);
        const QString path = dir + "/" + s.name + ".png";
        if (!frame.save(path)) return 1;
        std::printf("%s\n", qPrintable(path));
    }
    QFile::remove(texture);
    QFile::remove(logo);
    return 0;
}
