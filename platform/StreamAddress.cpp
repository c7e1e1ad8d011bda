#include "platform/StreamAddress.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {
constexpr char kScheme[] = "rtmp://";
bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
}  // namespace

Result<StreamAddress> ParseStreamAddress(const std::string& server, const std::string& key) {
    StreamAddress u;
    std::string s = server;
    while (!s.empty() && IsBlank(s.back())) s.pop_back();
    s.erase(0, std::min(s.size(), s.find_first_not_of(" \t")));
    if (s.size() < sizeof kScheme - 1 ||
        !std::equal(kScheme, kScheme + sizeof kScheme - 1, s.begin(),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); }))
        return Fail("the server address must start with rtmp://");
    s.erase(0, sizeof kScheme - 1);
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
        return Fail("the server address has no server name (rtmp://host/app)");
    if (app.empty())
        return Fail("the server address has no application name (rtmp://host/app)");
    for (char c : hostPort + app)
        if (IsBlank(c) || c == '?' || c == '#')
            return Fail("the server address may not contain blanks, '?' or '#'");
    if (key.empty()) return Fail("the stream key is empty");
    for (char c : key)
        if (IsBlank(c) || c == '/') return Fail("the stream key may not contain blanks or '/'");
    u.host = hostPort;
    u.app = app;
    u.key = key;
    return u;
}

}  // namespace platform
