// A recording whose process is killed outright keeps everything but the last second.
#include "MediaReadback.h"
#include "WaitFor.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Of each recording type, killed 6 s in: the file decodes to within a second of the kill.
TEST(CrashRecovery, KillNineLosesAtMostTheLastSecond) {
    for (const char* type : {"flv", "mp4", "mkv"}) {
        SCOPED_TRACE(type);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("killed.") + type);
        QProcess helper;
        helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        helper.start(QStringLiteral(RECORD_UNTIL_KILLED), {path});
        ASSERT_TRUE(helper.waitForStarted());

        int64_t frames = 0;
        QByteArray pending;
        ASSERT_TRUE(WaitFor(
            [&] {
                pending += helper.readAllStandardOutput();
                for (qsizetype nl; (nl = pending.indexOf('\n')) >= 0; pending.remove(0, nl + 1)) {
                    const QByteArray line = pending.left(nl);
                    if (line.startsWith("frames ")) frames = line.mid(7).toLongLong();
                }
                return frames >= 180;
            },
            30000));
        helper.kill();  // SIGKILL: no destructor, no trailer
        ASSERT_TRUE(helper.waitForFinished());
        EXPECT_EQ(helper.exitStatus(), QProcess::CrashExit);

        const Readback rb = ReadRecording(path.toStdString());
        ASSERT_TRUE(rb.opened) << rb.error;
        EXPECT_LE(rb.decodeErrors, 1);  // at most the one unit cut short
        ASSERT_FALSE(rb.frames.empty());
        EXPECT_GE(rb.frames.back().time, double(frames) / 30 - 1.0);
        EXPECT_GE(rb.frames.size() + 30, size_t(frames));
    }
}

}  // namespace
