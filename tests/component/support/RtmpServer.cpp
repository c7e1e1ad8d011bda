#include "RtmpServer.h"

#include "WaitFor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
const char kNginx[] = "/usr/sbin/nginx";
const char kModule[] = "/usr/lib/nginx/modules/ngx_rtmp_module.so";

sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}
}  // namespace

int RtmpServer::FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(0);
    socklen_t len = sizeof a;
    int port = 0;
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    if (fd >= 0) close(fd);
    return port;
}

bool RtmpServer::PortAccepts(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in a = Loopback(port);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(fd);
    return ok;
}

// nginx's configuration cannot quote paths: the folder's name has no blanks.
RtmpServer::RtmpServer() : m_dir(QDir::tempPath() + "/cs-rtmp-XXXXXX"), m_port(FreePort()) {}

RtmpServer::~RtmpServer() { Kill(); }

QString RtmpServer::url() const { return QStringLiteral("rtmp://127.0.0.1:%1/live").arg(m_port); }

bool RtmpServer::Start() {
    if (!QFileInfo::exists(kNginx) || !QFileInfo::exists(kModule)) {
        m_why = "nginx with its RTMP module is not installed";
        return false;
    }
    if (!m_dir.isValid() || m_port == 0) {
        m_why = "no private folder or no free port";
        return false;
    }
    const QString root = m_dir.path();
    QDir(root).mkpath("rec");
    QDir(root).mkpath("logs");
    QFile conf(root + "/nginx.conf");
    if (!conf.open(QIODevice::WriteOnly)) {
        m_why = "cannot write nginx.conf";
        return false;
    }
    // One process, in the foreground, nothing outside the private folder.
    conf.write(QStringLiteral(
                   "load_module %1;\n"
                   "daemon off;\nmaster_process off;\n"
                   "error_log %2/logs/error.log info;\npid %2/nginx.pid;\n"
                   "events { worker_connections 64; }\n"
                   "rtmp { server { listen 127.0.0.1:%3; chunk_size 4096;\n"
                   "  application live { live on; record all; record_path %2/rec;\n"
                   "    record_unique on; } } }\n")
                   .arg(kModule, root)
                   .arg(m_port)
                   .toUtf8());
    conf.close();
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(kNginx, {"-p", root, "-c", root + "/nginx.conf", "-e", root + "/logs/error.log"});
    if (!m_process.waitForStarted(5000)) {
        m_why = "nginx did not start";
        return false;
    }
    if (!WaitFor([&] { return PortAccepts(m_port) || m_process.state() == QProcess::NotRunning; },
                 10000) ||
        m_process.state() == QProcess::NotRunning) {
        m_why = "nginx did not listen on port " + QString::number(m_port);
        return false;
    }
    return true;
}

void RtmpServer::Kill() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

bool RtmpServer::running() const { return m_process.state() == QProcess::Running; }

QStringList RtmpServer::Recordings() const {
    QStringList files;
    const QFileInfoList found = QDir(m_dir.path() + "/rec")
                                    .entryInfoList({"*.flv"}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& f : found) files << f.absoluteFilePath();
    return files;
}

SilentServer::SilentServer() {
    m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(0);
    socklen_t len = sizeof a;
    if (m_fd >= 0 && bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        listen(m_fd, 8) == 0 && getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        m_port = ntohs(a.sin_port);
}

SilentServer::~SilentServer() {
    if (m_fd >= 0) close(m_fd);
}
