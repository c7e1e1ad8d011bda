// skin-generator <output folder> [--preview <folder> [--preview-scale <percent>]]
// Draws and packs the shipped skin packages; with --preview also writes a PNG of each window
// as it looks at start-up (<title>.png) and with every control shown (<title>-all.png).
#include <QDir>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "PreviewRenderer.h"
#include "ThemeBuilder.h"
#include "SkinPacker.h"
#include "SkinTheme.h"
#include "ZipWriter.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // fonts need a GUI application, even off-screen
    QString out, preview;
    int scale = 100;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--preview" && i + 1 < argc)
            preview = QString::fromLocal8Bit(argv[++i]);
        else if (arg == "--preview-scale" && i + 1 < argc)
            scale = std::clamp(std::atoi(argv[++i]), 10, 100);
        else if (out.isEmpty())
            out = QString::fromLocal8Bit(argv[i]);
    }
    if (out.isEmpty()) {
        std::fprintf(stderr, "usage: skin-generator <output folder> [--preview <folder> "
                             "[--preview-scale <percent>]]\n");
        return 2;
    }
    for (const QString& dir : {out, preview})
        if (!dir.isEmpty() && !QDir().mkpath(dir)) {
            std::fprintf(stderr, "skin-generator: cannot create %s\n", qPrintable(dir));
            return 1;
        }

    try {
        for (const SkinTheme& theme : ShippedThemes()) {
            const SkinModel model = ThemeBuilder::Build(theme);
            const QString path = QDir(out).filePath(QString::fromLatin1(theme.package));
            if (!ZipWriter::WriteFile(path.toStdString(), SkinPacker::Pack(model))) {
                std::fprintf(stderr, "skin-generator: cannot write %s\n", qPrintable(path));
                return 1;
            }
            if (preview.isEmpty()) continue;
            const QString title = QString::fromLatin1(theme.title);
            auto save = [&](bool everything, const QString& name) {
                QImage image = PreviewRenderer::Render(model, everything);
                if (scale != 100)
                    image = image.scaled(image.size() * scale / 100, Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation);
                image.save(QDir(preview).filePath(name));
            };
            save(false, title + ".png");
            save(true, title + "-all.png");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin-generator: %s\n", e.what());
        return 1;
    }
    return 0;
}
