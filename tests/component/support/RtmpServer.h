// A real RTMP server for tests: nginx with its RTMP module, on 127.0.0.1 and a free port, in a
// private folder, recording every stream it receives to that folder. Stopped and started at
// will, on the same port, to play a dropped connection.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class RtmpServer {
public:
    RtmpServer();
    ~RtmpServer();
    RtmpServer(const RtmpServer&) = delete;
    RtmpServer& operator=(const RtmpServer&) = delete;

    // False, with why(), when nginx or its module is missing or the server did not come up.
    bool Start();
    void Kill();
    bool running() const;
    int port() const { return m_port; }
    QString url() const;  // rtmp://127.0.0.1:PORT/live
    // The FLV files the server recorded, oldest first.
    QStringList Recordings() const;
    const QString& why() const { return m_why; }

    static int FreePort();
    static bool PortAccepts(int port);

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
    QString m_why;
};

// A TCP listener on a free port that accepts and never says a word: a server that hangs.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    int port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};
