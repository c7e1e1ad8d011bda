// Where a live stream goes: rtmp://host[:port]/app and the stream key, read and checked in
// one place for the settings dialog and the capture component.
#pragma once

#include <string>

#include "platform/Result.h"

namespace platform {

struct StreamAddress {
    std::string host;
    int port = 1935;
    std::string app;
    std::string key;
};

// On failure says, in words for the user, what is wrong; the key itself never appears there.
Result<StreamAddress> ParseStreamAddress(const std::string& server, const std::string& key);

}  // namespace platform
