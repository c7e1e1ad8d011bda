#include "SkinBuilder.h"

#include <QBuffer>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include "skins/ZipWriter.h"

SkinBuilder& SkinBuilder::Image(const std::string& name, const QImage& image) {
    m_files[name] = BmpBytes(image);
    return *this;
}

SkinBuilder& SkinBuilder::Ini(const std::string& text) {
    m_files["Skin.ini"] = text;
    return *this;
}

SkinBuilder& SkinBuilder::File(const std::string& name, const std::string& bytes) {
    m_files[name] = bytes;
    return *this;
}

std::string SkinBuilder::PackageBytes() const {
    ZipWriter zip;
    for (const auto& [name, bytes] : m_files) zip.Add(name, bytes);
    return zip.Finish();
}

void SkinBuilder::WritePackage(const QString& path) const {
    ZipWriter::WriteFile(path.toStdString(), PackageBytes());
}

QString SkinBuilder::WriteFolder(const QString& folder) const {
    for (const auto& [name, bytes] : m_files) {
        const QString path = QDir(folder).filePath(QString::fromStdString(name));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes.data(), qint64(bytes.size()));
    }
    return QDir(folder).filePath(QStringLiteral("Skin.ini"));
}

std::string BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    return bytes.toStdString();
}

QImage SolidImage(int w, int h, QColor colour) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

QImage RoundedBackground(int w, int h, QColor colour, QColor key, int radius) {
    QImage img = SolidImage(w, h, key);
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRect(0, 0, w, h), radius, radius);  // no anti-aliasing: clean key edge
    return img;
}

QImage ButtonStrip(int w, int h, QColor normal, QColor hover, QColor pressed, QColor disabled) {
    QImage img(4 * w, h, QImage::Format_RGB32);
    QPainter p(&img);
    const QColor colours[4] = {normal, hover, pressed, disabled};
    for (int i = 0; i < 4; ++i) p.fillRect(i * w, 0, w, h, colours[i]);
    return img;
}

SkinBuilder BasicSkin(const std::string& extraSections) {
    SkinBuilder b;
    b.Image("back.bmp", RoundedBackground(200, 150, QColor(0, 0, 160), QColor(255, 0, 255), 12));
    b.Image("icon.bmp", SolidImage(16, 16, QColor(255, 255, 0)));
    b.Image("btn.bmp", ButtonStrip(10, 10, Qt::red, Qt::green, Qt::blue, Qt::gray));
    b.Ini("[Screen]\nMain=back.bmp\n[TRANSPARENT]\nCOLOR=0xFF00FF\n"
          "[CONTROL]\nCONTROL=40,30,160,120\n[ICON]\nICON=icon.bmp,4,4,20,20\n"
          "[CAPTION]\nCAPTION=CAP,24,4,180,20,Capture Station,DejaVu Sans,9,0xFFFFFF\n" +
          extraSections);
    return b;
}
