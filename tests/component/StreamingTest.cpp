// Live streaming through the dispatch interface to a real RTMP server (nginx), with a local
// copy: what the server and a reader receive, a dropped and restored server, a server that
// never answers, and settings that cannot work.
#include "HostedCaptureTest.h"
#include "MediaReadback.h"
#include "RtmpServer.h"
#include "WaitFor.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <set>

using platform::CaptureOp;
using component::StreamState;
using platform::Variant;

namespace {

const char kKey[] = "secret-key-42";

class Streaming : public HostedCaptureTest {
protected:
    Streaming() : HostedCaptureTest({320, 240}) {}
    void SetUp() override {
        HostedCaptureTest::SetUp();
        driver->SelectTestSources("320x240 RGB32 30 fps");
        driver->flv.frameRate = 25;
        driver->flv.videoWidth = 320;
        driver->flv.videoHeight = 240;
        driver->selection.showStampAndText = false;
    }
    int16_t GoLive(const QString& server, const std::string& key, const std::string& path) {
        driver->Call(CaptureOp::StreamServer, {Variant::Str(server.toStdString())});
        driver->Call(CaptureOp::StreamKey, {Variant::Str(key)});
        return driver->Record(path);
    }
    StreamState State() const {
        auto s = control->LiveStatus();
        return s ? s->state : StreamState::Stopped;
    }
    bool WaitLive(int timeoutMs) {
        return WaitFor([&] {
            auto s = control->LiveStatus();
            return s && (s->state == StreamState::Live || s->state == StreamState::LiveAgain) &&
                   s->packetsSent > 0;
        }, timeoutMs);
    }
    // An outage of a set length: the time is the point here, nothing is waited for.
    static void Let(int ms) {
        QDeadlineTimer t(ms);
        WaitFor([&] { return t.hasExpired(); }, ms + 1000);
    }
};

// What a viewer's player sees of the stream, read while it runs.
QString ProbeStream(const QString& url) {
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-rw_timeout", "5000000", "-show_entries",
                        "stream=codec_name,width,height,sample_rate", "-of", "compact", url});
    if (!p.waitForFinished(15000)) p.kill();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(Streaming, TheServerAndAReaderGetH264AndAacAndTheLocalCopyIsWhole) {
    RtmpServer server;
    ASSERT_TRUE(server.Start()) << server.why().toStdString();
    const std::string local = Path("local.flv");
    ASSERT_EQ(GoLive(server.url(), kKey, local), 0);
    ASSERT_TRUE(WaitLive(10000));
    EXPECT_TRUE(control->StatusText().startsWith("Live")) << control->StatusText().toStdString();

    const QString seen = ProbeStream(server.url() + "/" + kKey);
    EXPECT_TRUE(seen.contains("codec_name=h264|width=320|height=240")) << seen.toStdString();
    EXPECT_TRUE(seen.contains("codec_name=aac|sample_rate=44100")) << seen.toStdString();

    ASSERT_TRUE(WaitFor([&] { return control->LiveStatus()->liveUs >= 5000000; }, 20000));
    EXPECT_FALSE(control->StatusText().contains(kKey));
    driver->StopCapture();

    const QStringList received = server.Recordings();
    ASSERT_EQ(received.size(), 1);
    const Readback remote = ReadRecording(received.front().toStdString());
    ASSERT_TRUE(remote.opened) << remote.error;
    EXPECT_EQ(remote.videoCodec, "h264");
    EXPECT_EQ(remote.audioCodec, "aac");
    EXPECT_EQ(remote.width, 320);
    EXPECT_EQ(remote.height, 240);
    EXPECT_EQ(remote.sampleRate, 44100);
    EXPECT_EQ(remote.decodeErrors, 0);
    EXPECT_GE(remote.VideoSpan(), 4.5);

    const Readback copy = ReadRecording(local);
    ASSERT_TRUE(copy.opened) << copy.error;
    EXPECT_EQ(copy.decodeErrors, 0);
    EXPECT_GE(copy.VideoSpan(), remote.VideoSpan() - 0.5);
    // Viewers get pictures from the connection on, not from the next regular key frame
    // (every 2 s): the server misses only what was encoded before the connection was up.
    EXPECT_LE(copy.VideoSpan() - remote.VideoSpan(), 0.5);
    ASSERT_TRUE(copy.metaDuration.has_value());
}

// A local copy of another type leaves the stream FLV.
TEST_F(Streaming, AnMp4LocalCopyStreamsAsFlv) {
    RtmpServer server;
    ASSERT_TRUE(server.Start()) << server.why().toStdString();
    const std::string local = Path("local.mp4");
    ASSERT_EQ(GoLive(server.url(), kKey, local), 0);
    ASSERT_TRUE(WaitLive(10000));
    ASSERT_TRUE(WaitFor([&] { return control->LiveStatus()->liveUs >= 2000000; }, 20000));
    driver->StopCapture();
    const QStringList received = server.Recordings();
    ASSERT_EQ(received.size(), 1);
    for (const std::string& file : {received.front().toStdString(), local}) {
        const Readback rb = ReadRecording(file);
        ASSERT_TRUE(rb.opened) << file << ": " << rb.error;
        EXPECT_EQ(rb.videoCodec, "h264") << file;
        EXPECT_EQ(rb.decodeErrors, 0) << file;
        EXPECT_GE(rb.VideoSpan(), 1.5) << file;
    }
    QFile copy(QString::fromStdString(local));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.read(8).mid(4), "ftyp");  // an MP4
}

TEST_F(Streaming, ADroppedServerIsRetriedAndTheLocalCopyHasNoGap) {
    RtmpServer server;
    ASSERT_TRUE(server.Start()) << server.why().toStdString();
    const std::string local = Path("kept.flv");
    ASSERT_EQ(GoLive(server.url(), kKey, local), 0);
    ASSERT_TRUE(WaitLive(10000));
    ASSERT_TRUE(WaitFor([&] { return control->LiveStatus()->liveUs >= 2000000; }, 10000));

    server.Kill();
    ASSERT_TRUE(WaitFor([&] { return State() == StreamState::Reconnecting; }, 15000));
    EXPECT_TRUE(control->StatusText().startsWith("Reconnecting"))
        << control->StatusText().toStdString();
    Let(3000);
    ASSERT_TRUE(server.Start()) << server.why().toStdString();
    QElapsedTimer sinceRestart;
    sinceRestart.start();
    ASSERT_TRUE(WaitFor([&] { return control->LiveStatus()->reconnects >= 1; }, 15000));
    EXPECT_LE(sinceRestart.elapsed(), 5000 + 1000);  // the next attempt is at most 4 s away
    ASSERT_TRUE(WaitLive(10000));
    // One clock: "Live again" reads what "REC" reads, the outage included.
    EXPECT_TRUE(WaitFor([&] {
        return control->StatusText().startsWith("Live again  " + control->IndicatorText().mid(4));
    }, 3000)) << control->StatusText().toStdString() << " / " << control->IndicatorText().toStdString();
    const int64_t sentBefore = control->LiveStatus()->packetsSent;
    ASSERT_TRUE(WaitFor([&] { return control->LiveStatus()->packetsSent > sentBefore + 50; }, 10000));
    driver->StopCapture();

    // The file went on through the outage: one picture every 1/25 s from start to end.
    const Readback copy = ReadRecording(local);
    ASSERT_TRUE(copy.opened) << copy.error;
    EXPECT_EQ(copy.decodeErrors, 0);
    for (size_t i = 1; i < copy.frames.size(); ++i)
        ASSERT_NEAR(copy.frames[i].time - copy.frames[i - 1].time, 1.0 / 25, 0.0015) << i;
    // The resumed stream is a stream of its own that starts with a key frame.
    const QStringList received = server.Recordings();
    ASSERT_FALSE(received.isEmpty());
    const Readback resumed = ReadRecording(received.back().toStdString());
    ASSERT_TRUE(resumed.opened) << resumed.error;
    ASSERT_FALSE(resumed.keyFrames.empty());
    ASSERT_FALSE(resumed.frames.empty());
    EXPECT_DOUBLE_EQ(resumed.keyFrames.front(), resumed.frames.front().time);
    EXPECT_EQ(resumed.decodeErrors, 0);
}

TEST_F(Streaming, AServerThatNeverAnswersShowsReconnectingAndStopEndsAtOnce) {
    SilentServer silent;
    ASSERT_GT(silent.port(), 0);
    const std::string local = Path("alone.flv");
    ASSERT_EQ(GoLive(QStringLiteral("rtmp://127.0.0.1:%1/live").arg(silent.port()), kKey, local), 0);
    ASSERT_TRUE(WaitFor([&] { return State() == StreamState::Reconnecting; }, 15000));
    EXPECT_TRUE(control->StatusText().startsWith("Reconnecting… (1)"))
        << control->StatusText().toStdString();
    ASSERT_TRUE(WaitFor([&] { return control->Stats().framesWritten >= 25; }, 10000));
    QElapsedTimer stop;
    stop.start();
    driver->StopCapture();
    EXPECT_LT(stop.elapsed(), 2000);  // not one network timeout more
    const Readback copy = ReadRecording(local);
    ASSERT_TRUE(copy.opened) << copy.error;
    EXPECT_EQ(copy.decodeErrors, 0);
    EXPECT_GE(copy.frames.size(), 25u);
}

// One encode to several destinations, each on its own connection: two servers get the whole
// stream while a third that is down only shows as reconnecting, holding up neither of them
// nor the local copy.
TEST_F(Streaming, SeveralDestinationsFromOneEncodeAndADeadOneHoldsUpNone) {
    RtmpServer first, second;
    ASSERT_TRUE(first.Start()) << first.why().toStdString();
    ASSERT_TRUE(second.Start()) << second.why().toStdString();
    const QString dead = QStringLiteral("rtmp://127.0.0.1:%1/live").arg(RtmpServer::FreePort());
    for (const QString& server : {second.url(), dead})
        EXPECT_EQ(driver->Call(CaptureOp::AddStreamDestination, {Variant::Str(server.toStdString()), Variant::Str(kKey)})
                      .ToStr(), "");
    EXPECT_NE(driver->Call(CaptureOp::AddStreamDestination, {Variant::Str("rtmp://x"), Variant::Str(kKey)}).ToStr(), "");
    const std::string local = Path("several.flv");
    ASSERT_EQ(GoLive(first.url(), kKey, local), 0);
    ASSERT_TRUE(WaitLive(10000));
    ASSERT_TRUE(WaitFor([&] { return control->LiveStatus()->liveUs >= 4000000; }, 20000));
    // A line a destination, named by its server.
    const QStringList lines = control->StatusText().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(first.url().mid(7).section('/', 0, 0) + "  Live")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(second.url().mid(7).section('/', 0, 0) + "  Live")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains("Reconnecting… (")) << lines[2].toStdString();
    driver->StopCapture();

    const Readback copy = ReadRecording(local);
    ASSERT_TRUE(copy.opened) << copy.error;
    EXPECT_EQ(copy.decodeErrors, 0);
    for (RtmpServer* server : {&first, &second}) {
        const QStringList received = server->Recordings();
        ASSERT_EQ(received.size(), 1);
        const Readback remote = ReadRecording(received.front().toStdString());
        ASSERT_TRUE(remote.opened) << remote.error;
        EXPECT_EQ(remote.decodeErrors, 0);
        EXPECT_GE(remote.VideoSpan(), 3.5);
        EXPECT_LE(copy.VideoSpan() - remote.VideoSpan(), 0.6);
    }
}

// SRT in caller mode to a real listener (the ffmpeg program), MPEG-TS inside, the stream id
// taken from the key and the latency from the address.
TEST_F(Streaming, AnSrtListenerGetsH264AndAacInMpegTs) {
    QTemporaryDir dir;
    const QString received = dir.filePath("received.ts");
    const int port = RtmpServer::FreePort();
    QProcess listener;
    listener.start("ffmpeg", {"-v", "error", "-y", "-f", "mpegts", "-i",
                              QStringLiteral("srt://127.0.0.1:%1?mode=listener&latency=200000").arg(port),
                              "-c", "copy", "-f", "mpegts", received});
    ASSERT_TRUE(listener.waitForStarted());
    const std::string local = Path("srt-copy.flv");
    const QString server = QStringLiteral("srt://127.0.0.1:%1?latency=200000").arg(port);
    // The listener may take a moment to bind: the stream's own reconnection covers it.
    ASSERT_EQ(GoLive(server, kKey, local), 0);
    ASSERT_TRUE(WaitLive(15000)) << control->StatusText().toStdString();
    ASSERT_TRUE(WaitFor([&] { return control->LiveStatus()->liveUs >= 3000000; }, 20000));
    EXPECT_FALSE(control->StatusText().contains(kKey));
    driver->StopCapture();
    // The listener ends with the caller's connection.
    if (!listener.waitForFinished(15000)) listener.kill();
    const Readback remote = ReadRecording(received.toStdString());
    ASSERT_TRUE(remote.opened) << remote.error << listener.readAllStandardError().toStdString();
    EXPECT_EQ(remote.videoCodec, "h264");
    EXPECT_EQ(remote.audioCodec, "aac");
    EXPECT_EQ(remote.width, 320);
    EXPECT_EQ(remote.decodeErrors, 0);
    EXPECT_GE(remote.VideoSpan(), 2.5);
    const Readback copy = ReadRecording(local);
    ASSERT_TRUE(copy.opened) << copy.error;
    EXPECT_GE(copy.VideoSpan(), remote.VideoSpan() - 0.5);
}

// The relay of scripts/relay.sh, started as its documentation says, hands the stream on to
// viewers as HLS over HTTP.
TEST_F(Streaming, ARelayServesTheStreamAsHlsOverHttp) {
    if (!QFileInfo::exists("/usr/lib/nginx/modules/ngx_rtmp_module.so")) GTEST_SKIP() << "no nginx RTMP module";
    QTemporaryDir dir(QDir::tempPath() + "/cs-relay-XXXXXX");  // nginx paths take no blanks
    const int rtmpPort = RtmpServer::FreePort();
    int httpPort = RtmpServer::FreePort();
    while (httpPort == rtmpPort) httpPort = RtmpServer::FreePort();
    QProcess relay;
    relay.setProcessChannelMode(QProcess::MergedChannels);
    relay.start("sh", {CS_RELAY_SCRIPT, "--listen", "127.0.0.1", "--rtmp-port", QString::number(rtmpPort),
                       "--http-port", QString::number(httpPort), "--dir", dir.path()});
    const struct Stop {
        QProcess& p;
        ~Stop() { p.kill(), p.waitForFinished(5000); }
    } stop{relay};
    ASSERT_TRUE(WaitFor([&] { return RtmpServer::PortAccepts(rtmpPort) && RtmpServer::PortAccepts(httpPort); }, 10000))
        << relay.readAll().toStdString();
    ASSERT_EQ(GoLive(QStringLiteral("rtmp://127.0.0.1:%1/live").arg(rtmpPort), "lecture", Path("relayed.flv")), 0);
    ASSERT_TRUE(WaitLive(10000));
    const QString playlist = QStringLiteral("http://127.0.0.1:%1/hls/lecture.m3u8").arg(httpPort);
    // The playlist appears once the first two-second segment is whole.
    QString seen;
    EXPECT_TRUE(WaitFor([&] {
        seen = ProbeStream(playlist);
        return seen.contains("codec_name=h264") && seen.contains("codec_name=aac");
    }, 30000)) << seen.toStdString();
    EXPECT_TRUE(seen.contains("width=320|height=240")) << seen.toStdString();
    driver->StopCapture();
}

// A real slow uplink: a network namespace of the test's own in which what goes to the RTMP
// server is held to 250 kbit/s, with the station, an nginx RTMP server and a reader inside.
// The stream's bitrate steps down from the recording's until the link keeps up, the reader
// stays within 2 s, and the local copy keeps every picture at the recording's bitrate.
TEST(StreamingOverASlowLink, TheStreamStepsDownTheReaderStaysCloseAndTheCopyKeepsItsOwn) {
    QTemporaryDir dir(QDir::tempPath() + "/cs-slow-XXXXXX");
    QProcess run;
    run.start("unshare", {"-n", "sh", "-c", "ip link set lo up mtu 1500 && exec \"$0\" \"$1\" 30 250", SLOW_LINK_HELPER, dir.path()});
    ASSERT_TRUE(run.waitForFinished(120000));
    const QString out = QString::fromUtf8(run.readAllStandardOutput());
    const QString err = QString::fromUtf8(run.readAllStandardError());
    if (!out.contains("at 1 ")) GTEST_SKIP() << "this machine cannot make a throttled network namespace: " << err.toStdString();
    std::set<int> steps;
    int64_t worstLateDelayMs = 0;
    QString copy, received;
    long long dropped = -1;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
        const QStringList w = line.split(' ');
        if (w.size() == 10 && w[0] == "at") {
            if (w[3].toInt() > 0) steps.insert(w[3].toInt());
            // After the first twenty seconds the stream has found its rate.
            if (w[1].toInt() >= 20) worstLateDelayMs = std::max<int64_t>(worstLateDelayMs, w[5].toLongLong() - w[7].toLongLong());
        } else if (w.size() == 4 && w[0] == "copy") {
            copy = w[1];
            dropped = w[3].toLongLong();
        } else if (w.size() == 2 && w[0] == "received") {
            received = w[1];
        }
    }
    EXPECT_GE(steps.size(), 2u) << out.toStdString();
    EXPECT_LT(worstLateDelayMs, 2000) << out.toStdString() << err.toStdString();
    EXPECT_EQ(dropped, 0);
    const Readback rb = ReadRecording(copy.toStdString());
    ASSERT_TRUE(rb.opened) << rb.error << err.toStdString();
    EXPECT_EQ(rb.decodeErrors, 0);
    EXPECT_NEAR(rb.VideoSpan(), 30, 1.5);
    EXPECT_GE(rb.frames.size(), 25u * 29);
    // The copy keeps the recording's bitrate, well above what the link carried.
    const Readback remote = ReadRecording(received.toStdString());
    ASSERT_TRUE(remote.opened) << remote.error;
    EXPECT_EQ(remote.decodeErrors, 0);
    const double copyRate = QFileInfo(copy).size() * 8.0 / rb.VideoSpan();
    const double remoteRate = QFileInfo(received).size() * 8.0 / remote.VideoSpan();
    EXPECT_GT(copyRate, 1.3 * remoteRate) << copyRate << " against " << remoteRate;
}

TEST_F(Streaming, SettingsThatCannotWorkStartNothingAndSayWhy) {
    const QString refused = QStringLiteral("rtmp://127.0.0.1:%1/live").arg(RtmpServer::FreePort());
    const struct {
        QString server;
        std::string key;
        const char* reason;
    } rows[] = {
        {refused, kKey, "does not take connections"},
        {"http://127.0.0.1/live", kKey, "must start with rtmp://"},
        {"rtmp://", kKey, "no server name"},
        {"rtmp://127.0.0.1", kKey, "no application name"},
        {"rtmp://127.0.0.1:99999/live", kKey, "not a number from 1 to 65535"},
        {"rtmp://127.0.0.1/live", "", "stream key is empty"},
        {"rtmp://127.0.0.1/live", "two words", "may not contain blanks"},
        {"srt://127.0.0.1", kKey, "needs its port"},
        {"srt://127.0.0.1:9000/live", kKey, "has no path"},
        {"srt://127.0.0.1:9000", "a&b", "stream id may not contain"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.server.toStdString() + " / " + row.key);
        const std::string local = Path("never.flv");
        EXPECT_EQ(GoLive(row.server, row.key, local), -1);
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(local)));
        const QString text = control->StatusText();
        EXPECT_TRUE(text.contains(row.reason)) << text.toStdString();
        if (!row.key.empty()) {
            EXPECT_FALSE(text.contains(QString::fromStdString(row.key)));
        }
        EXPECT_FALSE(control->LiveStatus().has_value());
        driver->StopCapture();
    }
}

}  // namespace
