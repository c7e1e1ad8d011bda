#include "platform/StreamAddress.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {
constexpr char kScheme[] = "rtmp://";
bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
}  // namespace

bool ParseStreamAddress(const std::string& server, const std::string& key, StreamAddress* out,
                        std::string* error) {
    StreamAddress u;
    std::string s = server;
    while (!s.empty() && IsBlank(s.back())) s.pop_back();
    s.erase(0, std::min(s.size(), s.find_first_not_of(" \t")));
    if (s.size() < sizeof kScheme - 1 ||
        !std::equal(kScheme, kScheme + sizeof kScheme - 1, s.begin(),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); })) {
        *error = "the server address must start with rtmp://";
        return false;
    }
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
        if (!ok || value < 1 || value > 65535) {
            *error = "the port \"" + port + "\" is not a number from 1 to 65535";
            return false;
        }
        u.port = value;
        hostPort.erase(colon);
    }
    if (hostPort.empty()) {
        *error = "the server address has no server name (rtmp://host/app)";
        return false;
    }
    if (app.empty()) {
        *error = "the server address has no application name (rtmp://host/app)";
        return false;
    }
    for (char c : hostPort + app)
        if (IsBlank(c) || c == '?' || c == '#') {
            *error = "the server address may not contain blanks, '?' or '#'";
            return false;
        }
    if (key.empty()) {
        *error = "the stream key is empty";
        return false;
    }
    for (char c : key)
        if (IsBlank(c) || c == '/') {
            *error = "the stream key may not contain blanks or '/'";
            return false;
        }
    u.host = hostPort;
    u.app = app;
    u.key = key;
    *out = u;
    return true;
}

}  // namespace platform
