// `cmake --install` into a private prefix: the desktop finds the program, its icon in every
// size and its software-centre data, and the installed files pass the desktops' validators.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/AppIcon.h"

namespace {

struct ToolRun {
    int exitCode = -1;
    QString output;  // stdout and stderr together
};

ToolRun RunTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    ToolRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.output = program + QStringLiteral(" did not finish");
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromLocal8Bit(process.readAll());
    return run;
}

class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_prefix = new QTemporaryDir;
        s_install = RunTool(QStringLiteral(CS_CMAKE_COMMAND),
                            {QStringLiteral("--install"), QStringLiteral(CS_BUILD_DIR),
                             QStringLiteral("--prefix"), s_prefix->path()});
    }
    static void TearDownTestSuite() {
        delete s_prefix;
        s_prefix = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(s_install.exitCode, 0) << qPrintable(s_install.output);
    }
    static QString Installed(const QString& relative) {
        return QDir(s_prefix->path()).filePath(relative);
    }
    static QString Id() { return QStringLiteral(CS_DESKTOP_ID); }

    static QTemporaryDir* s_prefix;
    static ToolRun s_install;
};

QTemporaryDir* InstallTest::s_prefix = nullptr;
ToolRun InstallTest::s_install;

TEST_F(InstallTest, IconIsInstalledAtEverySizeAsTheWindowDrawsIt) {
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const QString path =
            Installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(Id()));
        const QImage icon(path);
        ASSERT_FALSE(icon.isNull()) << qPrintable(path);
        EXPECT_EQ(icon.size(), QSize(size, size));
        // A picture, not an empty square: the camera's body is opaque, the corner is clear.
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(icon.pixel(size / 4, size / 2)), 255);
        EXPECT_EQ(icon.convertToFormat(QImage::Format_ARGB32),
                  DrawAppIcon(size).convertToFormat(QImage::Format_ARGB32));
    }
}

TEST_F(InstallTest, DesktopEntryValidatesAndNamesTheInstalledProgramAndIcon) {
    const QString entry = Installed(QStringLiteral("share/applications/%1.desktop").arg(Id()));
    ASSERT_TRUE(QFile::exists(entry)) << qPrintable(entry);
    const ToolRun validate = RunTool(QStringLiteral("desktop-file-validate"), {entry});
    EXPECT_EQ(validate.exitCode, 0) << qPrintable(validate.output);
    EXPECT_TRUE(validate.output.trimmed().isEmpty()) << qPrintable(validate.output);

    QSettings desktop(entry, QSettings::IniFormat);
    desktop.beginGroup(QStringLiteral("Desktop Entry"));
    const QString exec = desktop.value(QStringLiteral("Exec")).toString().section(' ', 0, 0);
    EXPECT_TRUE(QFileInfo(Installed(QStringLiteral("bin/") + exec)).isExecutable()) << qPrintable(exec);
    EXPECT_EQ(desktop.value(QStringLiteral("Icon")).toString(), Id());
    // The installed program finds its start-up skin beside itself.
    EXPECT_TRUE(QFile::exists(Installed(QStringLiteral("share/capture-station/skins/Blue.skn"))));
}

TEST_F(InstallTest, MetainfoValidatesStrictlyAndLaunchesTheInstalledEntry) {
    const QString metainfo = Installed(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(Id()));
    ASSERT_TRUE(QFile::exists(metainfo)) << qPrintable(metainfo);
    const ToolRun validate = RunTool(QStringLiteral("appstreamcli"),
                                 {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                  QStringLiteral("--strict"), metainfo});
    EXPECT_EQ(validate.exitCode, 0) << qPrintable(validate.output);

    QFile file(metainfo);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString xml = QString::fromUtf8(file.readAll());
    const auto launchable = QRegularExpression(
        QStringLiteral("<launchable type=\"desktop-id\">([^<]+)</launchable>")).match(xml);
    ASSERT_TRUE(launchable.hasMatch());
    EXPECT_TRUE(QFile::exists(Installed(QStringLiteral("share/applications/") + launchable.captured(1))));
    EXPECT_TRUE(xml.contains(QStringLiteral("<id>%1</id>").arg(Id())));
}

}  // namespace
