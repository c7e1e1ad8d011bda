// Streams the test sources with a local copy to an nginx RTMP server of its own while an
// ffmpeg reader watches the stream, for a test that runs it in a network namespace of its own
// (as root there): what goes to the server's port is held to RATE kbit/s by the kernel's
// traffic control, the way back and the reader's traffic are not. Prints a line a second:
//   "at S lowered B recorded_ms R reader_ms X queued_ms Q"
// then "copy PATH frames_dropped N" and "received PATH" after the stop.
// Usage: <folder> <seconds> <rate kbit/s>
#include "ComponentDriver.h"
#include "RtmpServer.h"

#include "component/CaptureControl.h"
#include "component/media/CaptureClock.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FOLDER SECONDS RATE_KBIT\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const int seconds = std::atoi(argv[2]);
    RtmpServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "no RTMP server: %s\n", qPrintable(server.why()));
        return 1;
    }
    const QString port = QString::number(server.port()), rate = QString::fromLocal8Bit(argv[3]) + "kbit";
    for (const QStringList& tc : {QStringList{"qdisc", "add", "dev", "lo", "root", "handle", "1:", "htb", "default", "10"},
                                  QStringList{"class", "add", "dev", "lo", "parent", "1:", "classid", "1:10", "htb", "rate", "10gbit"},
                                  QStringList{"class", "add", "dev", "lo", "parent", "1:", "classid", "1:20", "htb", "rate", rate,
                                              "ceil", rate},
                                  // A modem's buffer, not the kernel's thousand packets: a link that
                                  // is too slow then loses packets and TCP backs off.
                                  QStringList{"qdisc", "add", "dev", "lo", "parent", "1:20", "handle", "20:", "pfifo",
                                              "limit", "30"},
                                  QStringList{"filter", "add", "dev", "lo", "parent", "1:", "protocol", "ip", "prio", "1", "u32",
                                              "match", "ip", "dport", port, "0xffff", "flowid", "1:20"}}) {
        if (QProcess::execute("tc", tc) != 0) {
            std::fprintf(stderr, "tc %s failed\n", qPrintable(tc.join(' ')));
            return 3;
        }
    }
    component::CaptureControl control(nullptr);
    ComponentDriver driver(control.Dispatch());
    driver.SelectTestSources("640x360 RGB32 30 fps");
    driver.flv.videoWidth = 640;
    driver.flv.videoHeight = 360;
    driver.flv.frameRate = 25;
    driver.flv.videoBitrate = 1000000;
    driver.flv.audioBitrate = 32000;
    driver.selection.showStampAndText = true;  // pictures that change, as a camera's do
    driver.Call(platform::CaptureOp::StreamServer, {platform::Variant::Str(server.url().toStdString())});
    driver.Call(platform::CaptureOp::StreamKey, {platform::Variant::Str("slow")});
    // The reader lists every packet as it arrives, with the stream's own time stamps (a
    // player's clock would start at the first packet it got, which a slow link may not be the
    // stream's first), so its position can be set against the recording's clock.
    QProcess reader;
    reader.start("ffmpeg", {"-v", "error", "-copyts", "-i", server.url() + "/slow", "-c", "copy", "-flush_packets",
                            "1", "-f", "framecrc", "pipe:1"});
    int64_t readerUs = 0;
    std::map<int, int64_t> ticksPerSecond;  // of each stream, from the "#tb N: 1/D" lines
    QObject::connect(&reader, &QProcess::readyReadStandardOutput, [&] {
        while (reader.canReadLine()) {
            const QList<QByteArray> w = reader.readLine().simplified().split(' ');
            if (w.size() == 3 && w[0] == "#tb") {
                ticksPerSecond[w[1].chopped(1).toInt()] = w[2].mid(2).toLongLong();
            } else if (w.size() >= 2 && !w[0].startsWith('#')) {
                const int64_t d = ticksPerSecond[w[0].chopped(1).toInt()];
                if (d > 0) readerUs = std::max<int64_t>(readerUs, w[1].chopped(1).toLongLong() * 1000000 / d);
            }
        }
    });
    reader.waitForStarted();
    const QString copy = dir + "/copy.flv";
    if (driver.Record(copy.toStdString()) != 0) {
        std::fprintf(stderr, "no start: %s\n", qPrintable(control.StatusText()));
        return 1;
    }
    const int64_t startUs = component::ClockNowUs();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const auto status = control.LiveStatus();
        const int64_t atUs = component::ClockNowUs() - startUs;
        std::printf("at %lld lowered %d recorded_ms %lld reader_ms %lld queued_ms %lld\n",
                    static_cast<long long>(atUs / 1000000), status ? status->videoBitrate : -1,
                    static_cast<long long>(control.RecordedUs() / 1000), static_cast<long long>(readerUs / 1000),
                    static_cast<long long>(status ? status->queuedUs / 1000 : -1));
        std::fflush(stdout);
        if (atUs >= int64_t(seconds) * 1000000) {
            tick.stop();
            driver.StopCapture();
            std::printf("copy %s frames_dropped %lld\n", qPrintable(copy),
                        static_cast<long long>(control.Stats().framesDropped));
            std::fflush(stdout);
            reader.kill();
            reader.waitForFinished(5000);
            // Kept beside the copy: the server's folder goes with it.
            const QStringList received = server.Recordings();
            const QString kept = dir + "/received.flv";
            std::printf("received %s\n", !received.isEmpty() && QFile::copy(received.front(), kept) ? qPrintable(kept) : "-");
            std::fprintf(stderr, "%s", reader.readAllStandardError().constData());
            app.quit();
        }
    });
    tick.start(1000);
    return app.exec();
}
