// Points the user's Videos and Pictures folders at a private place for as long as it lives,
// so that tests of recordings and snapshots neither read nor create folders in the real home.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

class ScopedVideosFolder {
public:
    // `videos`: where the Videos folder is said to be; by default "Videos" in a private folder.
    explicit ScopedVideosFolder(const QString& videos = {})
        : m_oldConfig(qgetenv("XDG_CONFIG_HOME")), m_hadConfig(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")),
          m_videos(videos.isEmpty() ? m_dir.filePath(QStringLiteral("Videos")) : videos),
          m_pictures(m_dir.filePath(QStringLiteral("Pictures"))) {
        Write();
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    }
    void SetPictures(const QString& pictures) {
        m_pictures = pictures;
        Write();
    }
    ~ScopedVideosFolder() {
        if (m_hadConfig)
            qputenv("XDG_CONFIG_HOME", m_oldConfig);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    ScopedVideosFolder(const ScopedVideosFolder&) = delete;
    ScopedVideosFolder& operator=(const ScopedVideosFolder&) = delete;

    const QString& videos() const { return m_videos; }
    const QString& pictures() const { return m_pictures; }
    QString root() const { return m_dir.path(); }

private:
    void Write() {
        QFile dirs(m_dir.filePath(QStringLiteral("user-dirs.dirs")));
        if (dirs.open(QIODevice::WriteOnly | QIODevice::Truncate))
            dirs.write("XDG_VIDEOS_DIR=\"" + m_videos.toUtf8() + "\"\nXDG_PICTURES_DIR=\"" +
                       m_pictures.toUtf8() + "\"\n");
    }

    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    bool m_hadConfig;
    QString m_videos;
    QString m_pictures;
};
