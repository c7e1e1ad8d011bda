#include "platform/StreamAddress.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {
bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

struct Scheme {
    const char* prefix;
    StreamProtocol protocol;
    int defaultPort;  // 0: the address must give one
};
constexpr Scheme kSchemes[] = {
    {"rtmp://", StreamProtocol::Rtmp, 1935}, {"rtmps://", StreamProtocol::Rtmps, 443}, {"srt://", StreamProtocol::Srt, 0}};

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    const std::string p = prefix;
    return s.size() >= p.size() && std::equal(p.begin(), p.end(), s.begin(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}
}  // namespace

std::string StreamAddress::ToUrl() const {
    const std::string hostPort = host + ":" + std::to_string(port);
    if (protocol == StreamProtocol::Srt) {
        // Caller mode: the station dials the listener; the stream id names the stream there.
        std::string query = options;
        if (!key.empty() && query.find("streamid=") == std::string::npos)
            query += (query.empty() ? "" : "&") + std::string("streamid=") + key;
        return "srt://" + hostPort + (query.empty() ? "" : "?" + query);
    }
    return (protocol == StreamProtocol::Rtmps ? "rtmps://" : "rtmp://") + hostPort + "/" + app + "/" + key;
}

Result<StreamAddress> ParseStreamAddress(const std::string& server, const std::string& key) {
    StreamAddress u;
    std::string s = server;
    while (!s.empty() && IsBlank(s.back())) s.pop_back();
    s.erase(0, std::min(s.size(), s.find_first_not_of(" \t")));
    const Scheme* scheme = nullptr;
    for (const Scheme& candidate : kSchemes)
        if (StartsWithNoCase(s, candidate.prefix)) scheme = &candidate;
    if (!scheme) return Fail("the server address must start with rtmp://, rtmps:// or srt://");
    const bool srt = scheme->protocol == StreamProtocol::Srt;
    u.protocol = scheme->protocol;
    u.port = scheme->defaultPort;
    s.erase(0, std::string(scheme->prefix).size());
    if (srt) {
        const size_t question = s.find('?');
        if (question != std::string::npos) {
            u.options = s.substr(question + 1);
            s.erase(question);
        }
        while (!s.empty() && s.back() == '/') s.pop_back();
    }
    const size_t slash = s.find('/');
    std::string hostPort = s.substr(0, slash);
    std::string app = slash == std::string::npos ? std::string() : s.substr(slash + 1);
    while (!app.empty() && app.back() == '/') app.pop_back();
    const size_t colon = hostPort.rfind(':');
    if (colon != std::string::npos) {
        const std::string port = hostPort.substr(colon + 1);
        int value = 0;
        bool ok = !port.empty() && port.size() <= 5;
        for (char c : port) {
            ok = ok && std::isdigit(static_cast<unsigned char>(c));
            value = value * 10 + (c - '0');
        }
        if (!ok || value < 1 || value > 65535)
            return Fail("the port \"" + port + "\" is not a number from 1 to 65535");
        u.port = value;
        hostPort.erase(colon);
    }
    if (hostPort.empty())
        return Fail(srt ? "the server address has no server name (srt://host:port)"
                        : "the server address has no server name (rtmp://host/app)");
    if (srt && u.port == 0) return Fail("an SRT address needs its port (srt://host:port)");
    if (srt && !app.empty()) return Fail("an SRT address has no path: options go after '?' (srt://host:port?latency=200000)");
    if (!srt && app.empty())
        return Fail("the server address has no application name (rtmp://host/app)");
    for (char c : hostPort + app + u.options)
        if (IsBlank(c) || c == '#' || (c == '?' && !srt)) return Fail("the server address may not contain blanks, '?' or '#'");
    // An SRT listener may need no stream id; an RTMP server always needs the stream's name.
    if (key.empty() && !srt) return Fail("the stream key is empty");
    for (char c : key)
        if (IsBlank(c) || c == '/' || (srt && (c == '&' || c == '?')))
            return Fail(srt ? "the stream id may not contain blanks, '/', '&' or '?'"
                            : "the stream key may not contain blanks or '/'");
    u.host = hostPort;
    u.app = app;
    u.key = key;
    return u;
}

}  // namespace platform
