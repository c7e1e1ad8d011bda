#include "SkinPacker.h"

#include <QBuffer>

#include <set>
#include <stdexcept>

#include "SkinIniWriter.h"
#include "SkinModel.h"
#include "ZipWriter.h"

std::string SkinPacker::Bmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Opaque 32-bit images are written as 24-bit BMP files.
    if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP"))
        throw std::runtime_error("cannot encode a BMP picture");
    return bytes.toStdString();
}

std::string SkinPacker::Pack(const SkinModel& model) {
    ZipWriter zip;
    zip.Add("Skin.ini", SkinIniWriter::Write(model));
    std::set<std::string> folders;
    for (const SkinPicture& picture : model.pictures) {
        const size_t slash = picture.path.rfind('/');
        if (slash != std::string::npos) {
            const std::string folder = picture.path.substr(0, slash + 1);
            if (folders.insert(folder).second) zip.AddDirectory(folder);
        }
        zip.Add(picture.path, Bmp(picture.image));
    }
    return zip.Finish();
}
