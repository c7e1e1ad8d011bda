#include "SkinFiles.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

#include "skin/zip/ZipOutputFolder.h"

SkinWorkFolder::SkinWorkFolder() {
    // A temporary directory that does not exist comes back empty: never fall back to "/".
    const QString base = QDir::tempPath();
    if (base.isEmpty()) return;
    QByteArray pattern = QFile::encodeName(base + "/capture-station-skin-XXXXXX");
    if (::mkdtemp(pattern.data())) m_path = QFile::decodeName(pattern);
}

SkinWorkFolder::~SkinWorkFolder() {
    // Not the user's concern, but never silent: each load would leave another folder.
    if (IsValid() && !ZipOutputFolder::RemoveTree(QFile::encodeName(m_path).toStdString()))
        std::fprintf(stderr, "skin loader: cannot remove %s\n", qPrintable(m_path));
}

QString FindSkinFile(const QString& folder, const QString& relative) {
    const QString exact = folder + relative;
    if (relative.isEmpty() || QFileInfo::exists(exact)) return exact;

    QString found = folder;
    const QStringList parts = relative.split(QLatin1Char('/'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        QString name = part;
        if (!part.isEmpty() && !QFileInfo::exists(found + part)) {
            // Sorted, so the same package always resolves the same way.
            const QStringList entries =
                QDir(found).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                          QDir::NoDotAndDotDot,
                                      QDir::Name);
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    name = entry;
                    break;
                }
            }
        }
        found += name;
        if (i + 1 < parts.size()) found += QLatin1Char('/');
    }
    return found;
}
