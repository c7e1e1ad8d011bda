// Where a live stream goes: rtmp://host[:port]/app and the stream key, read and checked in
// one place for the settings dialog and the capture component.
#pragma once

#include <string>

namespace platform {

struct StreamAddress {
    std::string host;
    int port = 1935;
    std::string app;
    std::string key;
};

// On failure returns false and says, in words for the user, what is wrong in `error`; the
// key itself never appears there.
bool ParseStreamAddress(const std::string& server, const std::string& key, StreamAddress* out,
                        std::string* error);

}  // namespace platform
