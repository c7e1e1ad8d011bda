// Where a live stream goes: rtmp://host[:port]/app (rtmps:// over TLS) and the stream key, or
// srt://host:port[?options] with the key as the SRT stream id; read and checked in one place
// for the settings dialog and the capture component.
#pragma once

#include <string>

#include "platform/Result.h"

namespace platform {

enum class StreamProtocol { Rtmp, Rtmps, Srt };

struct StreamAddress {
    StreamProtocol protocol = StreamProtocol::Rtmp;
    std::string host;
    int port = 1935;
    std::string app;      // RTMP only
    std::string options;  // SRT only: what follows '?', e.g. "latency=200000"
    std::string key;      // RTMP: the stream's name; SRT: its stream id (may be empty)

    // rtmp://host:port/app/key, or srt://host:port?options&streamid=key
    std::string ToUrl() const;
};

// On failure says, in words for the user, what is wrong; the key itself never appears there.
Result<StreamAddress> ParseStreamAddress(const std::string& server, const std::string& key);

}  // namespace platform
