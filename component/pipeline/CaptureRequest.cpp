#include "component/pipeline/CaptureRequest.h"

#include "component/media/Diagnostics.h"

#include <algorithm>

namespace component {

namespace {
// An empty list in a dialog stores -1, as does any index past the end: the first entry
// stands in.
int IndexOrFirst(int index, size_t count) { return index >= 0 && index < int(count) ? index : 0; }
}  // namespace

Result<CaptureRequest> CaptureRequest::From(const CaptureSettings& s, const DeviceCatalog& c) {
    CaptureRequest r;
    if (s.videoDeviceIndex < 0 || s.videoDeviceIndex >= int(c.video.size()))
        return Fail("there is no video device " + std::to_string(s.videoDeviceIndex));
    r.videoDevice = c.video[size_t(s.videoDeviceIndex)];
    const std::vector<VideoFormat> formats = r.videoDevice.FormatsFor(s.videoStandardIndex);
    if (formats.empty()) return Fail("\"" + r.videoDevice.name + "\" offers no format");
    r.videoFormat = formats[size_t(IndexOrFirst(s.videoFormatIndex, formats.size()))];
    r.videoFormat.deinterlace = r.videoFormat.Interlaced() && s.deinterlace;
    r.videoInput = IndexOrFirst(s.videoInputIndex, r.videoDevice.inputs.size());
    r.record = s.captureToFile;
    r.path = s.captureFileName;
    r.encoder = ResolveEncoderSettings(s.flv);
    if (!r.encoder) r.encoder = Fail("the encoder cannot honour these settings: " + r.encoder.Error());
    if (r.record) {
        if (s.audioDeviceIndex < 0 || s.audioDeviceIndex >= int(c.audio.size()))
            return Fail("there is no audio device " + std::to_string(s.audioDeviceIndex));
        r.audioDevice = c.audio[size_t(s.audioDeviceIndex)];
        r.audioInput = std::max<int>(0, s.audioInputIndex);
        if (!s.streamServer.empty()) {
            std::vector<std::pair<std::string, std::string>> destinations{{s.streamServer, s.streamKey}};
            destinations.insert(destinations.end(), s.moreStreams.begin(), s.moreStreams.end());
            for (const auto& [server, key] : destinations) {
                Result<StreamUrl> url = StreamUrl::Parse(server, key);
                if (!url) return url.AsFailure();
                r.streams.push_back(*url);
            }
        }
    }
    r.outputFormat = s.outputFormat;
    if (s.audioSyncMode >= 0 && s.audioSyncMode <= 2) {
        r.syncMode = AudioSyncMode(s.audioSyncMode);
    } else {
        Diagnose("unknown audio sync mode " + std::to_string(s.audioSyncMode) +
                 "; using 1 (capture clock)");
        r.syncMode = AudioSyncMode::CaptureClock;
    }
    r.audioOffsetMs = s.audioOffsetMs;
    return r;
}

}  // namespace component
