#include "component/sources/AudioDeviceProbe.h"

#include "component/media/FfmpegHandles.h"

extern "C" {
#include <libavdevice/avdevice.h>
}

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace component {

namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

// Asking the client library with no server around can mean a wait or a server start; a
// socket or an explicit server setting is what says a server is there.
bool SoundServerPresent() {
    if (const char* server = std::getenv("PULSE_SERVER"); server && *server) return true;
    std::string runtime;
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir) runtime = dir;
    else runtime = "/run/user/" + std::to_string(::getuid());
    return Exists(runtime + "/pulse/native") || Exists("/run/pulse/native");
}

struct DeviceListDeleter {
    void operator()(AVDeviceInfoList* l) const { avdevice_free_list_devices(&l); }
};

using DeviceList = std::unique_ptr<AVDeviceInfoList, DeviceListDeleter>;

DeviceList ListPulseSources() {
    const AVInputFormat* pulse = av_find_input_format("pulse");
    if (!pulse) return nullptr;
    AVDeviceInfoList* raw = nullptr;
    if (avdevice_list_input_sources(pulse, nullptr, nullptr, &raw) < 0) return nullptr;
    return DeviceList(raw);
}

std::vector<AudioDevice> ProbePulse() {
    const DeviceList list = ListPulseSources();
    if (!list) return {};
    std::vector<PulseSource> sources;
    for (int i = 0; i < list->nb_devices; ++i) {
        const AVDeviceInfo* info = list->devices[i];
        sources.push_back({info->device_name ? info->device_name : "",
                           info->device_description ? info->device_description : "",
                           i == list->default_device});
    }
    return PulseDevices(sources);
}

}  // namespace

bool PulseSourceListed(const std::string& name) {
    const DeviceList list = ListPulseSources();
    if (!list) return true;  // no answer: not a sign that the source went
    for (int i = 0; i < list->nb_devices; ++i) {
        const char* listed = list->devices[i]->device_name;
        if (listed && name == listed) return true;
    }
    return false;
}

namespace {

bool AlsaOpens(const std::string& name) {
    const AVInputFormat* alsa = av_find_input_format("alsa");
    if (!alsa) return false;
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw) return false;
    raw->flags |= AVFMT_FLAG_NONBLOCK;  // a busy device answers at once instead of waiting
    if (avformat_open_input(&raw, name.c_str(), alsa, nullptr) < 0) return false;
    InputContextPtr ctx(raw);
    return true;
}

std::vector<AudioDevice> ProbeAlsa() {
    std::ifstream in("/proc/asound/pcm");
    if (!in) return {};
    std::stringstream text;
    text << in.rdbuf();
    std::vector<AudioDevice> out;
    for (const AlsaPcm& pcm : ParseAlsaCapturePcms(text.str())) {
        const std::string hw = std::to_string(pcm.card) + "," + std::to_string(pcm.device);
        // plughw converts to the format we ask for, whatever the hardware's own.
        const std::string source = "plughw:" + hw;
        if (!AlsaOpens(source)) continue;
        AudioDevice d;
        d.kind = AudioKind::Alsa;
        d.source = source;
        d.name = pcm.name + " (hw:" + hw + ")";
        d.inputs = {"Default"};
        out.push_back(std::move(d));
    }
    return out;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    const auto e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

}  // namespace

std::vector<AlsaPcm> ParseAlsaCapturePcms(const std::string& procPcm) {
    std::vector<AlsaPcm> out;
    std::istringstream lines(procPcm);
    std::string line;
    while (std::getline(lines, line)) {
        int card = -1, device = -1;
        if (std::sscanf(line.c_str(), "%d-%d:", &card, &device) != 2 || card < 0 || device < 0)
            continue;
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, ':')) fields.push_back(Trim(field));
        bool capture = false;
        for (const std::string& f : fields)
            if (f.rfind("capture", 0) == 0) capture = true;
        if (!capture || fields.size() < 3) continue;
        out.push_back({card, device, fields[2].empty() ? fields[1] : fields[2]});
    }
    return out;
}

std::vector<AudioDevice> PulseDevices(const std::vector<PulseSource>& sources) {
    // Microphones and line inputs before the monitors of outputs, the server's default
    // first among its kind: what "the microphone" means to the user.
    auto isMonitor = [](const PulseSource& s) {
        return s.name.size() > 8 && s.name.compare(s.name.size() - 8, 8, ".monitor") == 0;
    };
    std::vector<const PulseSource*> order;
    for (bool monitors : {false, true}) {
        for (const PulseSource& s : sources)
            if (isMonitor(s) == monitors && s.isDefault) order.push_back(&s);
        for (const PulseSource& s : sources)
            if (isMonitor(s) == monitors && !s.isDefault) order.push_back(&s);
    }
    std::map<std::string, int> uses;
    for (const PulseSource& s : sources) ++uses[s.description.empty() ? s.name : s.description];
    std::vector<AudioDevice> out;
    for (const PulseSource* s : order) {
        AudioDevice d;
        d.kind = AudioKind::Pulse;
        d.source = s->name;
        d.name = s->description.empty() ? s->name : s->description;
        // Two sources of one description (two of the same headset) are told apart by name.
        if (uses[d.name] > 1 && d.name != s->name) d.name += " (" + s->name + ")";
        d.inputs = {"Default"};
        out.push_back(std::move(d));
    }
    return out;
}

std::vector<AudioDevice> ProbeAudioDevices() {
    EnsureFfmpegInitialised();
    if (SoundServerPresent()) return ProbePulse();
    return ProbeAlsa();
}

}  // namespace component
