// The program itself run as a scheduled job would run it: options, a timed recording, a stop
// by signal, and options it refuses before any window opens.
#include "MediaReadback.h"
#include "WaitFor.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Exit {
    int exitCode = -1;
    QString errors;
};

Exit Station(const QStringList& arguments, const std::function<void(QProcess&)>& meanwhile = {}) {
    QProcess p;
    p.start(QStringLiteral(CS_STATION), arguments);
    EXPECT_TRUE(p.waitForStarted());
    if (meanwhile) meanwhile(p);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
}

TEST(CommandLine, ATimedJobAndASignalEachLeaveAWholeFile) {
    QTemporaryDir dir;
    const QString timed = dir.filePath("timed.mp4"), stopped = dir.filePath("stopped.flv");
    const Exit five = Station({"--record", timed, "--duration", "5", "--output-size", "640x360", "--minimized"});
    EXPECT_EQ(five.exitCode, 0) << five.errors.toStdString();
    const Readback a = ReadRecording(timed.toStdString());
    ASSERT_TRUE(a.opened) << a.error;
    EXPECT_EQ(a.width, 640);
    EXPECT_EQ(a.decodeErrors, 0);
    EXPECT_NEAR(a.VideoSpan(), 5.0, 0.3);

    const Exit signalled = Station({"--record", stopped}, [&](QProcess& p) {
        ASSERT_TRUE(WaitFor([&] { return QFileInfo(stopped).size() > 60000; }, 20000));
        p.terminate();  // SIGTERM
    });
    EXPECT_EQ(signalled.exitCode, 0) << signalled.errors.toStdString();
    const Readback b = ReadRecording(stopped.toStdString());
    ASSERT_TRUE(b.opened) << b.error;
    EXPECT_EQ(b.decodeErrors, 0);
    ASSERT_TRUE(b.metaDuration.has_value());  // finished, not cut off
    EXPECT_GT(*b.metaDuration, 0.5);
}

TEST(CommandLine, BadValuesAndAFailedStartAreRefusedWithTheReason) {
    QTemporaryDir dir;
    struct Row {
        QStringList arguments;
        int exitCode;
        const char* says;
    } rows[] = {
        {{"--output-size", "0x0"}, 2, "--output-size \"0x0\" is not a size"},
        {{"--video-device", "No Such Camera"}, 2, "there is no video device \"No Such Camera\"; the devices are"},
        {{"--video-device", "Test Pattern", "--video-format", "MJPEG 9x9 1"}, 2, "has no format \"MJPEG 9x9 1\""},
        {{"--skin", "Plaid"}, 2, "there is no skin \"Plaid\""},
        {{"--live", "rtmp://127.0.0.1/live", "--stream-key-file", dir.filePath("none")}, 2, "cannot read the stream key"},
        {{"--duration", "3"}, 2, "--duration goes with --record or --live"},
        {{"--frame-rate", "-4"}, 2, "is not a positive whole number"},
        {{"--record", dir.filePath("missing/x.flv"), "--duration", "2"}, 1, "No such file or directory"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const Exit r = Station(row.arguments);
        EXPECT_EQ(r.exitCode, row.exitCode);
        EXPECT_TRUE(r.errors.contains(row.says)) << r.errors.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{});
}

}  // namespace
