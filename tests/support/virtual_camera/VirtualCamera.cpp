// A virtual V4L2 camera at the system-call boundary, loaded with LD_PRELOAD: two capture
// devices appear in /dev and answer open, ioctl, mmap, poll and select the way a V4L2 driver
// does, so the unchanged program can be tried and tested on a machine without a camera.
//
//   CS_VCAM_FIRST_NODE  number of the first device node (default 40: /dev/video40, video41)
//   CS_VCAM_FAULTS      faults, separated by ';'
//   CS_VCAM_CONTROL     a file holding faults, one a line, read again on every call
// A fault is "unplug" or "busy", optionally followed by a device ("Virtual Camera" or
// "/dev/video40"); without one it hits both. unplug: DQBUF fails with ENODEV, poll reports
// POLLERR|POLLHUP, the node leaves /dev. busy: open fails with EBUSY.
//
// Every picture is a mid-green field with the frame counter as a row of 24 white (1) and black
// (0) cells along the top, a white block whose place tells the input, and an all-white flash on
// the frames at whole seconds of the monotonic clock. Frames sit on that clock's grid.
//
// The camera has the controls of a USB camera (brightness, contrast, saturation, hue, white
// balance, auto exposure, focus, power line frequency, gain); brightness and contrast change the
// luma of its pictures and saturation their chroma. The capture card has the video standards
// PAL-B/G, NTSC-M and SECAM, whose sizes and rates it delivers interlaced: a white bar in the
// lower quarter moves 8 pixels per field, so woven fields show combing.
//
// The library links nothing but libc and libjpeg, so it can go into any process.

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/select.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

// --- the devices ---------------------------------------------------------------------------

struct Mode {
    uint32_t fourcc;
    int width, height;
    std::vector<v4l2_fract> periods;  // seconds per frame, fastest first
};

struct Standard {
    const char* name;
    v4l2_std_id id;
    std::vector<Mode> modes;
};

// A control as a driver describes it. `gate` names the automatic control that decides whether
// this one has an effect: it is active only while the gate's value is `activeWhen`.
struct ControlSpec {
    uint32_t id;
    v4l2_ctrl_type type;
    const char* name;
    int32_t minimum, maximum, step, defaultValue;
    std::vector<const char*> menu;  // by value; nullptr for a value the driver skips
    uint32_t gate = 0;
    int32_t activeWhen = 0;
};

struct Model {
    const char* card;
    std::vector<Mode> modes;  // without standards
    std::vector<const char*> inputs;
    std::vector<Standard> standards;
    std::vector<ControlSpec> controls;  // by id
};

constexpr v4l2_fract kPal{1, 25};
constexpr v4l2_fract kNtsc{1001, 30000};

std::vector<ControlSpec> PictureControls() {
    return {
        {V4L2_CID_USER_CLASS, V4L2_CTRL_TYPE_CTRL_CLASS, "User Controls", 0, 0, 0, 0, {}},
        {V4L2_CID_BRIGHTNESS, V4L2_CTRL_TYPE_INTEGER, "Brightness", -64, 64, 1, 0, {}},
        {V4L2_CID_CONTRAST, V4L2_CTRL_TYPE_INTEGER, "Contrast", 0, 100, 1, 50, {}},
        {V4L2_CID_SATURATION, V4L2_CTRL_TYPE_INTEGER, "Saturation", 0, 100, 1, 50, {}},
        {V4L2_CID_HUE, V4L2_CTRL_TYPE_INTEGER, "Hue", -180, 180, 1, 0, {}},
    };
}

std::vector<ControlSpec> CameraControls() {
    std::vector<ControlSpec> c = PictureControls();
    const std::vector<ControlSpec> more = {
        {V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CTRL_TYPE_BOOLEAN, "White Balance, Automatic", 0, 1, 1, 1, {}},
        {V4L2_CID_GAIN, V4L2_CTRL_TYPE_INTEGER, "Gain", 0, 100, 1, 0, {}},
        {V4L2_CID_POWER_LINE_FREQUENCY, V4L2_CTRL_TYPE_MENU, "Power Line Frequency", 0, 2, 1, 1,
         {"Disabled", "50 Hz", "60 Hz"}},
        {V4L2_CID_WHITE_BALANCE_TEMPERATURE, V4L2_CTRL_TYPE_INTEGER, "White Balance Temperature",
         2800, 6500, 10, 4600, {}, V4L2_CID_AUTO_WHITE_BALANCE, 0},
        {V4L2_CID_CAMERA_CLASS, V4L2_CTRL_TYPE_CTRL_CLASS, "Camera Controls", 0, 0, 0, 0, {}},
        {V4L2_CID_EXPOSURE_AUTO, V4L2_CTRL_TYPE_MENU, "Auto Exposure", 0, 3, 1, 3,
         {nullptr, "Manual Mode", nullptr, "Aperture Priority Mode"}},
        {V4L2_CID_EXPOSURE_ABSOLUTE, V4L2_CTRL_TYPE_INTEGER, "Exposure Time, Absolute", 3, 2047, 1,
         250, {}, V4L2_CID_EXPOSURE_AUTO, V4L2_EXPOSURE_MANUAL},
        {V4L2_CID_FOCUS_ABSOLUTE, V4L2_CTRL_TYPE_INTEGER, "Focus (absolute)", 0, 250, 5, 0, {},
         V4L2_CID_FOCUS_AUTO, 0},
        {V4L2_CID_FOCUS_AUTO, V4L2_CTRL_TYPE_BOOLEAN, "Focus, Automatic Continuous", 0, 1, 1, 1, {}},
    };
    c.insert(c.end(), more.begin(), more.end());
    std::sort(c.begin(), c.end(), [](const ControlSpec& a, const ControlSpec& b) { return a.id < b.id; });
    return c;
}

const std::vector<Model>& Models() {
    static const std::vector<Model> models = {
        // What a USB camera of today offers: full size only as Motion-JPEG at 30 fps, the bus
        // leaving uncompressed 1080p 5 fps.
        {"Virtual Camera",
         {{V4L2_PIX_FMT_YUYV, 640, 480, {{1, 30}, {1, 15}}},
          {V4L2_PIX_FMT_YUYV, 320, 240, {{1, 30}}},
          {V4L2_PIX_FMT_YUYV, 1920, 1080, {{1, 5}}},
          {V4L2_PIX_FMT_MJPEG, 1920, 1080, {{1, 30}}},
          {V4L2_PIX_FMT_MJPEG, 1280, 720, {{1, 30}}}},
         {"Camera 1"},
         {},
         CameraControls()},
        {"Virtual Capture Card",
         {},
         {"Composite", "S-Video"},
         {{"PAL-B/G", V4L2_STD_PAL_B | V4L2_STD_PAL_G, {{V4L2_PIX_FMT_YUYV, 720, 576, {kPal}}}},
          {"NTSC-M", V4L2_STD_NTSC_M, {{V4L2_PIX_FMT_YUYV, 720, 480, {kNtsc}}}},
          {"SECAM", V4L2_STD_SECAM, {{V4L2_PIX_FMT_YUYV, 720, 576, {kPal}}}}},
         PictureControls()},
    };
    return models;
}

// What a device keeps whoever opened it: control values and the video standard.
struct DeviceState {
    std::map<uint32_t, int32_t> values;
    size_t standard = 0;
};

int FirstNode() {
    const char* v = std::getenv("CS_VCAM_FIRST_NODE");
    return v && *v ? std::atoi(v) : 40;
}

std::string NodePath(size_t model) { return "/dev/video" + std::to_string(FirstNode() + int(model)); }

int ModelOfPath(const char* path) {
    if (!path) return -1;
    for (size_t m = 0; m < Models().size(); ++m)
        if (NodePath(m) == path) return int(m);
    return -1;
}

// --- the real functions --------------------------------------------------------------------

template <typename F>
F Next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

struct Real {
    int (*open)(const char*, int, ...) = Next<int (*)(const char*, int, ...)>("open");
    int (*openat)(int, const char*, int, ...) = Next<int (*)(int, const char*, int, ...)>("openat");
    int (*close)(int) = Next<int (*)(int)>("close");
    int (*ioctl)(int, unsigned long, ...) = Next<int (*)(int, unsigned long, ...)>("ioctl");
    void* (*mmap)(void*, size_t, int, int, int, off_t) =
        Next<void* (*)(void*, size_t, int, int, int, off_t)>("mmap");
    int (*munmap)(void*, size_t) = Next<int (*)(void*, size_t)>("munmap");
    int (*poll)(pollfd*, nfds_t, int) = Next<int (*)(pollfd*, nfds_t, int)>("poll");
    DIR* (*opendir)(const char*) = Next<DIR* (*)(const char*)>("opendir");
    dirent* (*readdir)(DIR*) = Next<dirent* (*)(DIR*)>("readdir");
    dirent64* (*readdir64)(DIR*) = Next<dirent64* (*)(DIR*)>("readdir64");
    int (*closedir)(DIR*) = Next<int (*)(DIR*)>("closedir");
};

const Real& R() {
    static const Real real;
    return real;
}

// --- faults --------------------------------------------------------------------------------

struct Faults {
    bool unplugged[2] = {false, false};
    bool busy[2] = {false, false};
};

void ParseFaults(const std::string& text, Faults& f) {
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find_first_of(";\n", at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
        const size_t space = line.find(' ');
        const std::string word = line.substr(0, space);
        const std::string device = space == std::string::npos ? "" : line.substr(space + 1);
        bool* target = word == "unplug" ? f.unplugged : word == "busy" ? f.busy : nullptr;
        if (!target) continue;
        for (size_t m = 0; m < Models().size(); ++m)
            if (device.empty() || device == Models()[m].card || device == NodePath(m)) target[m] = true;
    }
}

Faults CurrentFaults() {
    Faults f;
    if (const char* env = std::getenv("CS_VCAM_FAULTS")) ParseFaults(env, f);
    const char* control = std::getenv("CS_VCAM_CONTROL");
    if (!control || !*control) return f;
    const int fd = R().open(control, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return f;
    std::string text;
    char buf[512];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) text.append(buf, size_t(n));
    R().close(fd);
    ParseFaults(text, f);
    return f;
}

// --- pictures ------------------------------------------------------------------------------

constexpr int kCounterBits = 24;
constexpr int kBarWidth = 16;
constexpr int kBarStep = 8;  // pixels per field

enum class Shade { Field, White, Black };

struct Picture {
    int width, height, input;
    int64_t index;
    bool flash;
    bool interlaced = false;
    bool bottomFirst = false;
    bool detailed = false;  // the field has texture, which drifts sideways frame by frame

    static constexpr int kPhases = 15;  // the texture's drift repeats every half second
    static constexpr int kDrift = 4;    // pixels per frame
    int Phase() const { return int(index % kPhases); }
    // The texture over the green field, about zero on average over any patch.
    int Detail(int x, int y) const { return detailed ? Texture(width, height)[size_t(y) * TextureWidth(width) + size_t(x + kDrift * Phase())] : 0; }

    static size_t TextureWidth(int width) { return size_t(width + kDrift * kPhases); }
    // Made once per size: the sines cost more than coding the picture.
    static const std::vector<int8_t>& Texture(int width, int height) {
        static std::map<std::pair<int, int>, std::vector<int8_t>> made;
        std::vector<int8_t>& t = made[{width, height}];
        if (!t.empty()) return t;
        const size_t w = TextureWidth(width);
        t.resize(w * size_t(height));
        for (int y = 0; y < height; ++y)
            for (size_t x = 0; x < w; ++x) {
                uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u;
                h ^= h >> 13;
                h *= 0x5bd1e995u;
                const int grain = int((h >> 24) % 13) - 6;
                t[size_t(y) * w + x] = int8_t(16 * std::sin(double(x) * 0.045 + 2.5 * std::sin(y * 0.021)) +
                                              9 * std::sin((double(x) + y) * 0.13) * std::cos(y * 0.05) + grain);
            }
        return t;
    }

    int CellLeft(int bit) const { return bit * width / kCounterBits; }
    int CounterRow() const { return std::max(4, height / 12); }

    // Where the moving bar is on row y: each field was taken at its own instant.
    int BarLeft(int y) const {
        const bool bottomRow = y & 1;
        const int64_t field = 2 * index + (bottomRow == bottomFirst ? 0 : 1);
        return int((field * kBarStep) % std::max(1, width - kBarWidth));
    }

    Shade At(int x, int y) const {
        if (y < CounterRow()) {
            int bit = x * kCounterBits / width;
            while (bit + 1 < kCounterBits && CellLeft(bit + 1) <= x) ++bit;
            while (bit > 0 && CellLeft(bit) > x) --bit;
            const auto counter = uint64_t(index) & ((uint64_t(1) << kCounterBits) - 1);
            return (counter >> (kCounterBits - 1 - bit)) & 1 ? Shade::White : Shade::Black;
        }
        if (flash) return Shade::White;
        const int left = input == 0 ? width / 8 : width * 5 / 8;
        if (x >= left && x < left + width / 4 && y >= height / 3 && y < height * 2 / 3)
            return Shade::White;
        if (interlaced && y >= height * 3 / 4 && y < height * 7 / 8) {
            const int bar = BarLeft(y);
            if (x >= bar && x < bar + kBarWidth) return Shade::White;
        }
        return Shade::Field;
    }
};

struct Yuv {
    uint8_t y, u, v;
};
struct Rgb {
    uint8_t r, g, b;
};

// The picture controls as they act on a shade.
struct Tone {
    int brightness = 0, contrast = 50, saturation = 50, hue = 0;
    bool Neutral() const { return brightness == 0 && contrast == 50 && saturation == 50 && hue == 0; }
};

uint8_t Clamp8(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

// Studio-range BT.601 values of RGB (40,160,80), white and black, toned.
Yuv ToYuv(Shade s, const Tone& t) {
    Yuv base{};
    switch (s) {
    case Shade::Field: base = {115, 111, 81}; break;
    case Shade::White: base = {235, 128, 128}; break;
    case Shade::Black: base = {16, 128, 128}; break;
    }
    if (t.Neutral()) return base;
    const double gain = t.saturation / 50.0, angle = t.hue * M_PI / 180;
    const double u = base.u - 128.0, v = base.v - 128.0;
    return {Clamp8(16 + (base.y - 16) * t.contrast / 50.0 + t.brightness),
            Clamp8(128 + gain * (u * std::cos(angle) - v * std::sin(angle))),
            Clamp8(128 + gain * (u * std::sin(angle) + v * std::cos(angle)))};
}
Rgb ToRgb(Shade s, const Tone& t) {
    if (t.Neutral()) {
        switch (s) {
        case Shade::Field: return {40, 160, 80};
        case Shade::White: return {255, 255, 255};
        case Shade::Black: return {0, 0, 0};
        }
    }
    const Yuv c = ToYuv(s, t);
    const double y = 1.164 * (c.y - 16), u = c.u - 128.0, v = c.v - 128.0;
    return {Clamp8(y + 1.596 * v), Clamp8(y - 0.392 * u - 0.813 * v), Clamp8(y + 2.017 * u)};
}

void RenderYuyv(const Picture& p, const Tone& tone, uint8_t* out) {
    const Yuv shades[3] = {ToYuv(Shade::Field, tone), ToYuv(Shade::White, tone), ToYuv(Shade::Black, tone)};
    for (int y = 0; y < p.height; ++y) {
        uint8_t* row = out + size_t(y) * size_t(p.width) * 2;
        for (int x = 0; x + 1 < p.width; x += 2) {
            const Yuv a = shades[int(p.At(x, y))], b = shades[int(p.At(x + 1, y))];
            row[2 * x] = a.y;
            row[2 * x + 1] = uint8_t((a.u + b.u) / 2);
            row[2 * x + 2] = b.y;
            row[2 * x + 3] = uint8_t((a.v + b.v) / 2);
        }
    }
}

// --- Motion-JPEG ---------------------------------------------------------------------------
//
// A picture with detail codes to hundreds of kilobytes at 1080p, as a camera's do, and coding
// one 30 times a second would cost the process that loads us about as much as what it
// measures. So pictures are coded 4:2:2, as USB cameras send them, with a restart marker after
// every row of blocks: each row then decodes on its own, and rows coded apart can be joined.
// Everything below the counter is coded once per input, tone, flash and texture phase and
// kept; each frame codes only the counter's rows.

constexpr int kMcuHeight = 8;  // 4:2:2: blocks of 16x8 pixels

struct CodedRows {
    std::string header;             // up to the start of the coded data
    std::vector<std::string> rows;  // the coded data of each row of blocks, without markers
};

// Codes the picture's pixel rows [top, top + height) (height a whole number of block rows, or
// the picture's last rows).
CodedRows CodeRows(const Picture& p, const Tone& tone, int top, int height) {
    const Rgb shades[3] = {ToRgb(Shade::Field, tone), ToRgb(Shade::White, tone), ToRgb(Shade::Black, tone)};
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = JDIMENSION(p.width);
    c.image_height = JDIMENSION(height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 85, TRUE);
    c.comp_info[0].h_samp_factor = 2;
    c.comp_info[0].v_samp_factor = 1;
    c.restart_in_rows = 1;
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> line(size_t(p.width) * 3);
    while (c.next_scanline < c.image_height) {
        const int y = top + int(c.next_scanline);
        // The counter's rows are all alike: the first one serves the rest.
        const bool sameAsLast = y > top && y < p.CounterRow();
        for (int x = 0; x < p.width && !sameAsLast; ++x) {
            const Shade shade = p.At(x, y);
            Rgb v = shades[int(shade)];
            if (shade == Shade::Field) {
                const int d = p.Detail(x, y);
                v = {Clamp8(v.r + d), Clamp8(v.g + d), Clamp8(v.b + d)};
            }
            line[3 * size_t(x)] = v.r;
            line[3 * size_t(x) + 1] = v.g;
            line[3 * size_t(x) + 2] = v.b;
        }
        JSAMPROW rows[1] = {line.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);

    // The header ends with the start-of-scan segment; the coded data that follows is cut at
    // the restart markers (a 0xFF inside it is always followed by a 0x00).
    CodedRows coded;
    const std::string jpeg(reinterpret_cast<const char*>(mem), size);
    std::free(mem);
    size_t at = 2;
    while (at + 4 <= jpeg.size() && uint8_t(jpeg[at]) == 0xFF) {
        const uint8_t marker = uint8_t(jpeg[at + 1]);
        at += 2 + (size_t(uint8_t(jpeg[at + 2])) << 8 | uint8_t(jpeg[at + 3]));
        if (marker == 0xDA) break;
    }
    coded.header = jpeg.substr(0, at);
    size_t start = at;
    for (size_t i = at; i + 1 < jpeg.size(); ++i) {
        if (uint8_t(jpeg[i]) != 0xFF) continue;
        const uint8_t next = uint8_t(jpeg[i + 1]);
        if ((next >= 0xD0 && next <= 0xD7) || next == 0xD9) {
            coded.rows.push_back(jpeg.substr(start, i - start));
            start = i + 2;
            ++i;
        }
    }
    return coded;
}

// The rows below the counter of the pictures coded so far, by what they show.
std::map<std::string, CodedRows> g_codedBodies;

// A JPEG of the picture into `out` (at most `capacity` bytes); returns its size, 0 when it
// does not fit.
size_t RenderJpeg(const Picture& p, const Tone& tone, uint8_t* out, size_t capacity) {
    const int counterRows = std::min(p.height, (p.CounterRow() + kMcuHeight - 1) / kMcuHeight * kMcuHeight);
    char key[128];
    std::snprintf(key, sizeof key, "%dx%d %d %d %d %d %d %d %d", p.width, p.height, p.input, p.flash,
                  p.flash ? 0 : p.Phase(), tone.brightness, tone.contrast, tone.saturation, tone.hue);
    auto body = g_codedBodies.find(key);
    if (body == g_codedBodies.end()) {
        if (g_codedBodies.size() >= 64) g_codedBodies.clear();
        body = g_codedBodies.emplace(key, CodeRows(p, tone, 0, p.height)).first;
    }
    const CodedRows counter = CodeRows(p, tone, 0, counterRows);
    const std::vector<std::string>& rows = body->second.rows;
    size_t used = 0;
    auto put = [&](const void* data, size_t n) {
        if (used + n <= capacity) std::memcpy(out + used, data, n);
        used += n;
    };
    put(body->second.header.data(), body->second.header.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string& row = i < counter.rows.size() ? counter.rows[i] : rows[i];
        put(row.data(), row.size());
        // Restart markers count 0 to 7 round; the last row ends the picture.
        const uint8_t marker[2] = {0xFF, uint8_t(i + 1 < rows.size() ? 0xD0 + i % 8 : 0xD9)};
        put(marker, 2);
    }
    return used <= capacity ? used : 0;
}

// --- open devices --------------------------------------------------------------------------

int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

std::mutex g_mutex;
DeviceState g_devices[2];

DeviceState& StateOf(size_t model) {
    DeviceState& d = g_devices[model];
    if (d.values.empty())
        for (const ControlSpec& c : Models()[model].controls) d.values[c.id] = c.defaultValue;
    return d;
}

struct Stream {
    size_t model = 0;
    bool nonblocking = false;
    size_t mode = 0;
    v4l2_fract period{1, 30};
    int input = 0;
    // Buffers live in one memfd; the program maps them through our mmap.
    int memfd = -1;
    uint8_t* mem = nullptr;
    size_t bufLen = 0;
    std::vector<bool> queued;
    std::vector<int> order;  // queued buffers, first to be filled first
    int mappings = 0;
    bool streaming = false;
    int64_t lastIndex = 0;
    uint32_t sequence = 0;
    bool unplugged = false;

    const Model& Device() const { return Models()[model]; }
    const Standard* CurrentStandard() const {
        const auto& standards = Device().standards;
        return standards.empty() ? nullptr : &standards[StateOf(model).standard];
    }
    const std::vector<Mode>& Modes() const {
        const Standard* st = CurrentStandard();
        return st ? st->modes : Device().modes;
    }
    const Mode& CurrentMode() const { return Modes()[std::min(mode, Modes().size() - 1)]; }
    bool Interlaced() const { return CurrentStandard() != nullptr; }
    // 525-line video sends the bottom field first.
    bool BottomFirst() const {
        const Standard* st = CurrentStandard();
        return st && (st->id & V4L2_STD_525_60);
    }
    size_t ImageSize() const {
        const Mode& m = CurrentMode();
        return size_t(m.width) * size_t(m.height) * 2;  // YUYV, and room for any JPEG of it
    }
    int64_t FrameNs(int64_t index) const {
        return index * 1000000000 * int64_t(period.numerator) / int64_t(period.denominator);
    }
    int64_t IndexAt(int64_t ns) const {
        return ns / 1000 * int64_t(period.denominator) / (int64_t(period.numerator) * 1000000);
    }
    int64_t NextIndex() const { return lastIndex + 1; }
    // The frame that holds a whole second of the clock.
    bool Flash(int64_t index) const { return FrameNs(index) / 1000000000 != FrameNs(index - 1) / 1000000000; }
    Tone CurrentTone() const {
        auto& v = StateOf(model).values;
        auto get = [&](uint32_t id, int fallback) { return v.count(id) ? v[id] : fallback; };
        return {get(V4L2_CID_BRIGHTNESS, 0), get(V4L2_CID_CONTRAST, 50), get(V4L2_CID_SATURATION, 50),
                get(V4L2_CID_HUE, 0)};
    }
};

std::map<int, Stream> g_streams;
std::map<void*, int> g_mappings;  // mapping -> fd it came from
std::map<DIR*, size_t> g_devDirs;  // listings of /dev -> how many virtual nodes given out

Stream* Find(int fd) {
    auto it = g_streams.find(fd);
    return it == g_streams.end() ? nullptr : &it->second;
}

void FreeBuffers(Stream& s) {
    if (s.mem) R().munmap(s.mem, s.bufLen * s.queued.size());
    if (s.memfd >= 0) R().close(s.memfd);
    s.mem = nullptr;
    s.memfd = -1;
    s.queued.clear();
    s.order.clear();
}

bool Unplugged(Stream& s) {
    if (!s.unplugged && CurrentFaults().unplugged[s.model]) s.unplugged = true;
    return s.unplugged;
}

int OpenDevice(const char* path, int flags) {
    const int model = ModelOfPath(path);
    const Faults f = CurrentFaults();
    if (f.unplugged[model]) {
        errno = ENOENT;
        return -1;
    }
    if (f.busy[model]) {
        errno = EBUSY;
        return -1;
    }
    // A real descriptor keeps the number ours and answers fstat like a character device.
    const int fd = R().open("/dev/null", O_RDWR | (flags & O_CLOEXEC));
    if (fd < 0) return -1;
    std::lock_guard lock(g_mutex);
    Stream s;
    s.model = size_t(model);
    s.nonblocking = flags & O_NONBLOCK;
    s.period = s.Modes()[0].periods[0];
    g_streams[fd] = s;
    return fd;
}

int Fail(int e) {
    errno = e;
    return -1;
}

void FillBuffer(const Stream& s, size_t index, v4l2_buffer* b) {
    b->index = uint32_t(index);
    b->type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    b->memory = V4L2_MEMORY_MMAP;
    b->m.offset = uint32_t(index * s.bufLen);
    b->length = uint32_t(s.bufLen);
    b->field = s.Interlaced() ? V4L2_FIELD_INTERLACED : V4L2_FIELD_NONE;
    b->flags = V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC | V4L2_BUF_FLAG_TSTAMP_SRC_SOE;
    if (s.mappings) b->flags |= V4L2_BUF_FLAG_MAPPED;
    if (s.queued[index]) b->flags |= V4L2_BUF_FLAG_QUEUED;
}

int SelectMode(const Stream& s, uint32_t fourcc, uint32_t& width, uint32_t& height) {
    const auto& modes = s.Modes();
    size_t best = modes.size();
    int64_t bestDistance = INT64_MAX;
    for (size_t i = 0; i < modes.size(); ++i) {
        if (modes[i].fourcc != fourcc) continue;
        const int64_t d = std::llabs(int64_t(modes[i].width) - width) + std::llabs(int64_t(modes[i].height) - height);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    if (best == modes.size()) best = 0;  // drivers fall back to a format of their own
    width = uint32_t(modes[best].width);
    height = uint32_t(modes[best].height);
    return int(best);
}

void DescribeFormat(const Stream& s, v4l2_format* f) {
    const Mode& m = s.CurrentMode();
    std::memset(&f->fmt.pix, 0, sizeof f->fmt.pix);
    f->fmt.pix.width = uint32_t(m.width);
    f->fmt.pix.height = uint32_t(m.height);
    f->fmt.pix.pixelformat = m.fourcc;
    f->fmt.pix.field = s.Interlaced() ? V4L2_FIELD_INTERLACED : V4L2_FIELD_NONE;
    f->fmt.pix.bytesperline = m.fourcc == V4L2_PIX_FMT_YUYV ? uint32_t(m.width * 2) : 0;
    f->fmt.pix.sizeimage = uint32_t(s.ImageSize());
    f->fmt.pix.colorspace = m.fourcc == V4L2_PIX_FMT_MJPEG ? V4L2_COLORSPACE_JPEG : V4L2_COLORSPACE_SMPTE170M;
}

double Fps(const v4l2_fract& f) { return f.numerator ? double(f.denominator) / f.numerator : 0; }

v4l2_fract NearestPeriod(const Mode& m, const v4l2_fract& want) {
    if (want.numerator == 0 || want.denominator == 0) return m.periods[0];
    v4l2_fract best = m.periods[0];
    for (const v4l2_fract& p : m.periods)
        if (std::abs(Fps(p) - Fps(want)) < std::abs(Fps(best) - Fps(want))) best = p;
    return best;
}

// Fills the oldest queued buffer with the newest frame that is due; -1 and EAGAIN when none is.
int Dequeue(std::unique_lock<std::mutex>& lock, int fd, v4l2_buffer* b) {
    for (;;) {
        Stream* s = Find(fd);
        if (!s) return Fail(EBADF);
        if (Unplugged(*s)) return Fail(ENODEV);
        if (!s->streaming || b->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || b->memory != V4L2_MEMORY_MMAP)
            return Fail(EINVAL);
        const int64_t now = MonotonicNs();
        const int64_t due = s->FrameNs(s->NextIndex());
        if (!s->order.empty() && now >= due) break;
        if (s->nonblocking) return Fail(EAGAIN);
        const int64_t wait = s->order.empty() ? 5000000 : std::min<int64_t>(due - now, 5000000);
        lock.unlock();
        timespec ts{0, long(wait)};
        nanosleep(&ts, nullptr);
        lock.lock();
    }
    Stream& s = *Find(fd);
    const int64_t index = std::max(s.NextIndex(), s.IndexAt(MonotonicNs()));
    s.lastIndex = index;
    const size_t buf = size_t(s.order.front());
    s.order.erase(s.order.begin());
    s.queued[buf] = false;
    const Mode& m = s.CurrentMode();
    Picture p{m.width, m.height, s.input, index, s.Flash(index)};
    p.interlaced = s.Interlaced();
    p.bottomFirst = s.BottomFirst();
    p.detailed = m.fourcc == V4L2_PIX_FMT_MJPEG;
    const Tone tone = s.CurrentTone();
    uint8_t* data = s.mem + buf * s.bufLen;
    const size_t used = m.fourcc == V4L2_PIX_FMT_MJPEG ? RenderJpeg(p, tone, data, s.bufLen)
                                                       : (RenderYuyv(p, tone, data), s.ImageSize());
    std::memset(b, 0, sizeof *b);
    FillBuffer(s, buf, b);
    b->bytesused = uint32_t(used);
    b->sequence = s.sequence++;
    const int64_t t = s.FrameNs(index);
    b->timestamp.tv_sec = t / 1000000000;
    b->timestamp.tv_usec = (t % 1000000000) / 1000;
    if (!used) b->flags |= V4L2_BUF_FLAG_ERROR;
    return 0;
}

// --- controls ------------------------------------------------------------------------------

const ControlSpec* FindControl(const Model& model, uint32_t id) {
    for (const ControlSpec& c : model.controls)
        if (c.id == id) return &c;
    return nullptr;
}

// With V4L2_CTRL_FLAG_NEXT_CTRL, the first control after the id; else the id itself.
const ControlSpec* QueryControl(const Model& model, uint32_t id) {
    if (!(id & V4L2_CTRL_FLAG_NEXT_CTRL)) return FindControl(model, id);
    const uint32_t after = id & ~(V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND);
    for (const ControlSpec& c : model.controls)
        if (c.id > after) return &c;
    return nullptr;
}

uint32_t FlagsOf(const Model& model, const ControlSpec& c, const DeviceState& d) {
    if (c.type == V4L2_CTRL_TYPE_CTRL_CLASS) return V4L2_CTRL_FLAG_READ_ONLY | V4L2_CTRL_FLAG_WRITE_ONLY;
    uint32_t flags = 0;
    if (c.gate && d.values.at(c.gate) != c.activeWhen) flags |= V4L2_CTRL_FLAG_INACTIVE;
    if (c.type == V4L2_CTRL_TYPE_BOOLEAN || c.type == V4L2_CTRL_TYPE_MENU)
        for (const ControlSpec& other : model.controls)
            if (other.gate == c.id) flags |= V4L2_CTRL_FLAG_UPDATE;  // it changes others' flags
    return flags;
}

// What a driver answers to a new value: 0, or the errno it fails with. Like the USB camera
// driver, it refuses a write to a control that has no effect now.
int Check(const Model& model, const ControlSpec& c, const DeviceState& d, int64_t value) {
    if (c.type == V4L2_CTRL_TYPE_CTRL_CLASS) return EACCES;
    if (FlagsOf(model, c, d) & V4L2_CTRL_FLAG_INACTIVE) return EACCES;
    if (value < c.minimum || value > c.maximum) return c.type == V4L2_CTRL_TYPE_MENU ? EINVAL : ERANGE;
    if (c.type == V4L2_CTRL_TYPE_MENU && !c.menu[size_t(value)]) return EINVAL;
    return 0;
}

int32_t Stepped(const ControlSpec& c, int64_t value) {
    const int64_t step = std::max(1, c.step);
    return int32_t(c.minimum + (value - c.minimum + step / 2) / step * step);
}

int ExtControls(Stream& s, unsigned long request, v4l2_ext_controls* all) {
    const Model& model = s.Device();
    DeviceState& d = StateOf(s.model);
    // Every value is checked before any is set: a refused one leaves them all as they were.
    for (uint32_t i = 0; i < all->count; ++i) {
        v4l2_ext_control& one = all->controls[i];
        const ControlSpec* c = FindControl(model, one.id);
        int error = c ? 0 : EINVAL;
        if (c && request == VIDIOC_G_EXT_CTRLS && c->type == V4L2_CTRL_TYPE_CTRL_CLASS) error = EACCES;
        if (c && request != VIDIOC_G_EXT_CTRLS) error = Check(model, *c, d, one.value);
        if (error) {
            all->error_idx = request == VIDIOC_S_EXT_CTRLS ? all->count : i;
            return Fail(error);
        }
    }
    for (uint32_t i = 0; i < all->count; ++i) {
        v4l2_ext_control& one = all->controls[i];
        const ControlSpec& c = *FindControl(model, one.id);
        if (request == VIDIOC_G_EXT_CTRLS) one.value = d.values[c.id];
        else if (request == VIDIOC_S_EXT_CTRLS) d.values[c.id] = one.value = Stepped(c, one.value);
    }
    return 0;
}

int ControlIoctl(Stream& s, unsigned long request, void* arg) {
    const Model& model = s.Device();
    DeviceState& d = StateOf(s.model);
    switch (request) {
    case VIDIOC_QUERY_EXT_CTRL: {
        auto* q = static_cast<v4l2_query_ext_ctrl*>(arg);
        const ControlSpec* c = QueryControl(model, q->id);
        if (!c) return Fail(EINVAL);
        std::memset(q, 0, sizeof *q);
        q->id = c->id;
        q->type = c->type;
        std::snprintf(q->name, sizeof q->name, "%s", c->name);
        q->minimum = c->minimum;
        q->maximum = c->maximum;
        q->step = uint64_t(c->step);
        q->default_value = c->defaultValue;
        q->flags = FlagsOf(model, *c, d);
        q->elem_size = 4;
        q->elems = 1;
        return 0;
    }
    case VIDIOC_QUERYCTRL: {
        auto* q = static_cast<v4l2_queryctrl*>(arg);
        const ControlSpec* c = QueryControl(model, q->id);
        if (!c) return Fail(EINVAL);
        std::memset(q, 0, sizeof *q);
        q->id = c->id;
        q->type = c->type;
        std::snprintf(reinterpret_cast<char*>(q->name), sizeof q->name, "%s", c->name);
        q->minimum = c->minimum;
        q->maximum = c->maximum;
        q->step = c->step;
        q->default_value = c->defaultValue;
        q->flags = FlagsOf(model, *c, d);
        return 0;
    }
    case VIDIOC_QUERYMENU: {
        auto* m = static_cast<v4l2_querymenu*>(arg);
        const ControlSpec* c = FindControl(model, m->id);
        if (!c || c->type != V4L2_CTRL_TYPE_MENU || m->index >= c->menu.size() || !c->menu[m->index])
            return Fail(EINVAL);
        std::memset(m->name, 0, sizeof m->name);
        std::snprintf(reinterpret_cast<char*>(m->name), sizeof m->name, "%s", c->menu[m->index]);
        return 0;
    }
    case VIDIOC_G_CTRL:
    case VIDIOC_S_CTRL: {
        auto* c = static_cast<v4l2_control*>(arg);
        v4l2_ext_control one{};
        one.id = c->id;
        one.value = c->value;
        v4l2_ext_controls all{};
        all.count = 1;
        all.controls = &one;
        if (ExtControls(s, request == VIDIOC_G_CTRL ? VIDIOC_G_EXT_CTRLS : VIDIOC_S_EXT_CTRLS, &all) != 0)
            return -1;
        c->value = one.value;
        return 0;
    }
    case VIDIOC_G_EXT_CTRLS:
    case VIDIOC_S_EXT_CTRLS:
    case VIDIOC_TRY_EXT_CTRLS: return ExtControls(s, request, static_cast<v4l2_ext_controls*>(arg));
    default: return Fail(ENOTTY);
    }
}

int StandardIoctl(Stream& s, unsigned long request, void* arg) {
    const auto& standards = s.Device().standards;
    if (standards.empty()) return Fail(ENODATA);  // what drivers without standards answer
    DeviceState& d = StateOf(s.model);
    switch (request) {
    case VIDIOC_ENUMSTD: {
        auto* st = static_cast<v4l2_standard*>(arg);
        if (st->index >= standards.size()) return Fail(EINVAL);
        const Standard& one = standards[st->index];
        const uint32_t index = st->index;
        std::memset(st, 0, sizeof *st);
        st->index = index;
        st->id = one.id;
        std::snprintf(reinterpret_cast<char*>(st->name), sizeof st->name, "%s", one.name);
        st->frameperiod = one.modes[0].periods[0];
        st->framelines = one.modes[0].height == 576 ? 625 : 525;
        return 0;
    }
    case VIDIOC_G_STD:
    case VIDIOC_QUERYSTD: *static_cast<v4l2_std_id*>(arg) = standards[d.standard].id; return 0;
    case VIDIOC_S_STD: {
        const v4l2_std_id want = *static_cast<v4l2_std_id*>(arg);
        for (size_t i = 0; i < standards.size(); ++i) {
            if (!(standards[i].id & want)) continue;
            if (i != d.standard && !s.queued.empty()) return Fail(EBUSY);
            d.standard = i;
            s.mode = 0;
            s.period = s.CurrentMode().periods[0];
            return 0;
        }
        return Fail(EINVAL);
    }
    default: return Fail(ENOTTY);
    }
}

int Ioctl(int fd, unsigned long request, void* arg) {
    std::unique_lock lock(g_mutex);
    Stream* sp = Find(fd);
    if (!sp) return Fail(EBADF);
    Stream& s = *sp;
    if (Unplugged(s)) return Fail(ENODEV);
    const Model& model = Models()[s.model];
    switch (unsigned(request)) {
    case VIDIOC_QUERY_EXT_CTRL:
    case VIDIOC_QUERYCTRL:
    case VIDIOC_QUERYMENU:
    case VIDIOC_G_CTRL:
    case VIDIOC_S_CTRL:
    case VIDIOC_G_EXT_CTRLS:
    case VIDIOC_S_EXT_CTRLS:
    case VIDIOC_TRY_EXT_CTRLS: return ControlIoctl(s, unsigned(request), arg);
    case VIDIOC_ENUMSTD:
    case VIDIOC_G_STD:
    case VIDIOC_S_STD:
    case VIDIOC_QUERYSTD: return StandardIoctl(s, unsigned(request), arg);
    case VIDIOC_QUERYCAP: {
        auto* c = static_cast<v4l2_capability*>(arg);
        std::memset(c, 0, sizeof *c);
        std::snprintf(reinterpret_cast<char*>(c->driver), sizeof c->driver, "cs_vcam");
        std::snprintf(reinterpret_cast<char*>(c->card), sizeof c->card, "%s", model.card);
        std::snprintf(reinterpret_cast<char*>(c->bus_info), sizeof c->bus_info, "platform:cs_vcam-%zu", s.model);
        c->version = (6u << 16) | (1u << 8);
        c->device_caps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
        c->capabilities = c->device_caps | V4L2_CAP_DEVICE_CAPS;
        return 0;
    }
    case VIDIOC_ENUM_FMT: {
        auto* d = static_cast<v4l2_fmtdesc*>(arg);
        if (d->type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return Fail(EINVAL);
        std::vector<uint32_t> seen;
        for (const Mode& m : s.Modes())
            if (std::find(seen.begin(), seen.end(), m.fourcc) == seen.end()) seen.push_back(m.fourcc);
        if (d->index >= seen.size()) return Fail(EINVAL);
        const uint32_t index = d->index;
        std::memset(d, 0, sizeof *d);
        d->index = index;
        d->type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        d->pixelformat = seen[index];
        const bool jpeg = seen[index] == V4L2_PIX_FMT_MJPEG;
        d->flags = jpeg ? V4L2_FMT_FLAG_COMPRESSED : 0;
        std::snprintf(reinterpret_cast<char*>(d->description), sizeof d->description, "%s",
                      jpeg ? "Motion-JPEG" : "YUYV 4:2:2");
        return 0;
    }
    case VIDIOC_ENUM_FRAMESIZES: {
        auto* f = static_cast<v4l2_frmsizeenum*>(arg);
        uint32_t n = 0;
        for (const Mode& m : s.Modes()) {
            if (m.fourcc != f->pixel_format) continue;
            if (n++ != f->index) continue;
            f->type = V4L2_FRMSIZE_TYPE_DISCRETE;
            f->discrete.width = uint32_t(m.width);
            f->discrete.height = uint32_t(m.height);
            return 0;
        }
        return Fail(EINVAL);
    }
    case VIDIOC_ENUM_FRAMEINTERVALS: {
        auto* f = static_cast<v4l2_frmivalenum*>(arg);
        for (const Mode& m : s.Modes()) {
            if (m.fourcc != f->pixel_format || uint32_t(m.width) != f->width ||
                uint32_t(m.height) != f->height || f->index >= m.periods.size())
                continue;
            f->type = V4L2_FRMIVAL_TYPE_DISCRETE;
            f->discrete = m.periods[f->index];
            return 0;
        }
        return Fail(EINVAL);
    }
    case VIDIOC_G_FMT:
    case VIDIOC_S_FMT:
    case VIDIOC_TRY_FMT: {
        auto* f = static_cast<v4l2_format*>(arg);
        if (f->type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return Fail(EINVAL);
        if (unsigned(request) == VIDIOC_G_FMT) {
            DescribeFormat(s, f);
            return 0;
        }
        Stream probe = s;
        probe.mode = size_t(SelectMode(probe, f->fmt.pix.pixelformat, f->fmt.pix.width, f->fmt.pix.height));
        if (unsigned(request) == VIDIOC_S_FMT) {
            if (!s.queued.empty() && probe.mode != s.mode) return Fail(EBUSY);
            s.mode = probe.mode;
            s.period = NearestPeriod(s.CurrentMode(), s.period);
        }
        DescribeFormat(probe, f);
        return 0;
    }
    case VIDIOC_G_PARM:
    case VIDIOC_S_PARM: {
        auto* p = static_cast<v4l2_streamparm*>(arg);
        if (p->type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return Fail(EINVAL);
        if (unsigned(request) == VIDIOC_S_PARM) {
            if (s.streaming) return Fail(EBUSY);
            s.period = NearestPeriod(s.CurrentMode(), p->parm.capture.timeperframe);
        }
        std::memset(&p->parm, 0, sizeof p->parm);
        p->parm.capture.capability = V4L2_CAP_TIMEPERFRAME;
        p->parm.capture.timeperframe = s.period;
        p->parm.capture.readbuffers = 2;
        return 0;
    }
    case VIDIOC_ENUMINPUT: {
        auto* in = static_cast<v4l2_input*>(arg);
        if (in->index >= model.inputs.size()) return Fail(EINVAL);
        const uint32_t index = in->index;
        std::memset(in, 0, sizeof *in);
        in->index = index;
        in->type = V4L2_INPUT_TYPE_CAMERA;
        for (const Standard& st : model.standards) in->std |= st.id;
        if (in->std) in->capabilities = V4L2_IN_CAP_STD;
        std::snprintf(reinterpret_cast<char*>(in->name), sizeof in->name, "%s", model.inputs[index]);
        return 0;
    }
    case VIDIOC_G_INPUT: *static_cast<int*>(arg) = s.input; return 0;
    case VIDIOC_S_INPUT: {
        const int want = *static_cast<int*>(arg);
        if (want < 0 || size_t(want) >= model.inputs.size()) return Fail(EINVAL);
        if (s.streaming && want != s.input) return Fail(EBUSY);
        s.input = want;
        return 0;
    }
    case VIDIOC_REQBUFS: {
        auto* r = static_cast<v4l2_requestbuffers*>(arg);
        if (r->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || r->memory != V4L2_MEMORY_MMAP) return Fail(EINVAL);
        if (s.streaming || s.mappings) return Fail(EBUSY);
        FreeBuffers(s);
        if (r->count == 0) return 0;
        r->count = std::clamp<uint32_t>(r->count, 2, 32);
        const size_t page = size_t(sysconf(_SC_PAGESIZE));
        s.bufLen = (s.ImageSize() + page - 1) / page * page;
        s.memfd = memfd_create("cs_vcam", MFD_CLOEXEC);
        const size_t total = s.bufLen * r->count;
        if (s.memfd < 0 || ftruncate(s.memfd, off_t(total)) != 0) {
            FreeBuffers(s);
            return Fail(ENOMEM);
        }
        void* mem = R().mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_SHARED, s.memfd, 0);
        if (mem == MAP_FAILED) {
            FreeBuffers(s);
            return Fail(ENOMEM);
        }
        s.mem = static_cast<uint8_t*>(mem);
        s.queued.assign(r->count, false);
        return 0;
    }
    case VIDIOC_QUERYBUF: {
        auto* b = static_cast<v4l2_buffer*>(arg);
        if (b->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || b->index >= s.queued.size()) return Fail(EINVAL);
        const size_t index = b->index;
        std::memset(b, 0, sizeof *b);
        FillBuffer(s, index, b);
        return 0;
    }
    case VIDIOC_QBUF: {
        auto* b = static_cast<v4l2_buffer*>(arg);
        if (b->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || b->memory != V4L2_MEMORY_MMAP ||
            b->index >= s.queued.size() || s.queued[b->index])
            return Fail(EINVAL);
        s.queued[b->index] = true;
        s.order.push_back(int(b->index));
        FillBuffer(s, b->index, b);
        return 0;
    }
    case VIDIOC_DQBUF: return Dequeue(lock, fd, static_cast<v4l2_buffer*>(arg));
    case VIDIOC_STREAMON:
        if (*static_cast<int*>(arg) != V4L2_BUF_TYPE_VIDEO_CAPTURE || s.queued.empty()) return Fail(EINVAL);
        if (!s.streaming) s.lastIndex = s.IndexAt(MonotonicNs());
        s.streaming = true;
        return 0;
    case VIDIOC_STREAMOFF:
        if (*static_cast<int*>(arg) != V4L2_BUF_TYPE_VIDEO_CAPTURE) return Fail(EINVAL);
        s.streaming = false;  // every buffer goes back to the program
        s.order.clear();
        std::fill(s.queued.begin(), s.queued.end(), false);
        return 0;
    default: return Fail(ENOTTY);
    }
}

// What poll would say of one of our descriptors now, and how long until that may change.
short Readiness(Stream& s, int64_t* wakeNs) {
    if (Unplugged(s)) return POLLERR | POLLHUP;
    if (!s.streaming) return POLLERR;
    if (s.order.empty()) return 0;
    const int64_t due = s.FrameNs(s.NextIndex());
    const int64_t now = MonotonicNs();
    if (now >= due) return POLLIN | POLLRDNORM;
    *wakeNs = std::min(*wakeNs, due - now);
    return 0;
}

int Poll(pollfd* fds, nfds_t n, int timeoutMs) {
    const int64_t deadline = timeoutMs < 0 ? INT64_MAX : MonotonicNs() + int64_t(timeoutMs) * 1000000;
    std::vector<pollfd> others(fds, fds + n);
    for (;;) {
        int ready = 0;
        int64_t wake = 100000000;  // look at the fault file now and then
        {
            std::lock_guard lock(g_mutex);
            for (nfds_t i = 0; i < n; ++i) {
                others[i] = fds[i];
                Stream* s = Find(fds[i].fd);
                if (!s) continue;
                others[i].fd = -1;  // the real poll skips it
                fds[i].revents = short(Readiness(*s, &wake) & (fds[i].events | POLLERR | POLLHUP));
                if (fds[i].revents) ++ready;
            }
        }
        const int64_t now = MonotonicNs();
        int wait = 0;
        if (!ready && now < deadline)
            wait = int((std::min(wake, deadline - now) + 999999) / 1000000);
        const int r = R().poll(others.data(), n, wait);
        if (r < 0) return r;
        for (nfds_t i = 0; i < n; ++i)
            if (others[i].fd >= 0) fds[i].revents = others[i].revents;
        ready += r;
        if (ready || MonotonicNs() >= deadline) return ready;
    }
}

bool Ours(int fd) {
    std::lock_guard lock(g_mutex);
    return Find(fd) != nullptr;
}

bool AnyOurs(const pollfd* fds, nfds_t n) {
    std::lock_guard lock(g_mutex);
    for (nfds_t i = 0; i < n; ++i)
        if (Find(fds[i].fd)) return true;
    return false;
}

template <typename Entry>
Entry* NextVirtualEntry(DIR* dir, Entry* real) {
    std::lock_guard lock(g_mutex);
    auto it = g_devDirs.find(dir);
    if (real || it == g_devDirs.end()) return real;
    const Faults f = CurrentFaults();
    static thread_local Entry entry;
    while (it->second < Models().size()) {
        const size_t m = it->second++;
        if (f.unplugged[m]) continue;
        std::memset(&entry, 0, sizeof entry);
        entry.d_type = DT_CHR;
        entry.d_reclen = sizeof entry;
        std::snprintf(entry.d_name, sizeof entry.d_name, "%s", NodePath(m).c_str() + 5);
        return &entry;
    }
    return nullptr;
}

int OpenAny(const char* path, int flags, mode_t mode, int dirfd, bool at) {
    if (ModelOfPath(path) >= 0) return OpenDevice(path, flags);
    return at ? R().openat(dirfd, path, flags, mode) : R().open(path, flags, mode);
}

mode_t ModeArg(int flags, va_list ap) {
    return (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(ap, int)) : 0;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeArg(flags, ap);
    va_end(ap);
    return OpenAny(path, flags, mode, AT_FDCWD, false);
}

int open64(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeArg(flags, ap);
    va_end(ap);
    return OpenAny(path, flags, mode, AT_FDCWD, false);
}

int __open_2(const char* path, int flags) {
    return OpenAny(path, flags, 0, AT_FDCWD, false);
}

int __open64_2(const char* path, int flags) {
    return OpenAny(path, flags, 0, AT_FDCWD, false);
}

int openat(int dirfd, const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeArg(flags, ap);
    va_end(ap);
    return OpenAny(path, flags, mode, dirfd, true);
}

int openat64(int dirfd, const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = ModeArg(flags, ap);
    va_end(ap);
    return OpenAny(path, flags, mode, dirfd, true);
}

int __openat_2(int dirfd, const char* path, int flags) {
    return OpenAny(path, flags, 0, dirfd, true);
}

int __openat64_2(int dirfd, const char* path, int flags) {
    return OpenAny(path, flags, 0, dirfd, true);
}

int close(int fd) {
    {
        std::lock_guard lock(g_mutex);
        if (Stream* s = Find(fd)) {
            FreeBuffers(*s);
            for (auto it = g_mappings.begin(); it != g_mappings.end();)
                it = it->second == fd ? g_mappings.erase(it) : std::next(it);
            g_streams.erase(fd);
        }
    }
    return R().close(fd);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list ap;
    va_start(ap, request);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    if (!Ours(fd)) return R().ioctl(fd, request, arg);
    return Ioctl(fd, request, arg);
}

void* mmap(void* addr, size_t len, int prot, int flags, int fd,
                                                  off_t offset) {
    {
        std::lock_guard lock(g_mutex);
        if (Stream* s = Find(fd)) {
            if (!s->mem || offset < 0 || size_t(offset) % s->bufLen != 0 ||
                size_t(offset) + len > s->bufLen * s->queued.size()) {
                errno = EINVAL;
                return MAP_FAILED;
            }
            void* p = R().mmap(addr, len, prot, flags, s->memfd, offset);
            if (p != MAP_FAILED) {
                ++s->mappings;
                g_mappings[p] = fd;
            }
            return p;
        }
    }
    return R().mmap(addr, len, prot, flags, fd, offset);
}

void* mmap64(void* addr, size_t len, int prot, int flags, int fd,
                                                    off_t offset) {
    return mmap(addr, len, prot, flags, fd, offset);
}

int munmap(void* addr, size_t len) {
    {
        std::lock_guard lock(g_mutex);
        auto it = g_mappings.find(addr);
        if (it != g_mappings.end()) {
            if (Stream* s = Find(it->second)) --s->mappings;
            g_mappings.erase(it);
        }
    }
    return R().munmap(addr, len);
}

int poll(pollfd* fds, nfds_t n, int timeout) {
    if (!AnyOurs(fds, n)) return R().poll(fds, n, timeout);
    return Poll(fds, n, timeout);
}

int __poll_chk(pollfd* fds, nfds_t n, int timeout, size_t) {
    return poll(fds, n, timeout);
}

int select(int nfds, fd_set* rd, fd_set* wr, fd_set* ex,
                                                  timeval* timeout) {
    static const auto realSelect = Next<int (*)(int, fd_set*, fd_set*, fd_set*, timeval*)>("select");
    bool ours = false;
    for (int fd = 0; fd < nfds && !ours; ++fd)
        if ((rd && FD_ISSET(fd, rd)) || (wr && FD_ISSET(fd, wr)) || (ex && FD_ISSET(fd, ex))) ours = Ours(fd);
    if (!ours) return realSelect(nfds, rd, wr, ex, timeout);
    std::vector<pollfd> fds;
    for (int fd = 0; fd < nfds; ++fd) {
        short events = 0;
        if (rd && FD_ISSET(fd, rd)) events |= POLLIN;
        if (wr && FD_ISSET(fd, wr)) events |= POLLOUT;
        if (ex && FD_ISSET(fd, ex)) events |= POLLPRI;
        if (events) fds.push_back({fd, events, 0});
    }
    const int ms = timeout ? int(timeout->tv_sec * 1000 + (timeout->tv_usec + 999) / 1000) : -1;
    const int r = Poll(fds.data(), fds.size(), ms);
    if (r < 0) return r;
    if (rd) FD_ZERO(rd);
    if (wr) FD_ZERO(wr);
    if (ex) FD_ZERO(ex);
    int count = 0;
    for (const pollfd& p : fds) {
        // An error counts as readable, as the kernel's select has it.
        if (rd && (p.events & POLLIN) && (p.revents & (POLLIN | POLLERR | POLLHUP))) FD_SET(p.fd, rd), ++count;
        if (wr && (p.events & POLLOUT) && (p.revents & (POLLOUT | POLLERR))) FD_SET(p.fd, wr), ++count;
        if (ex && (p.events & POLLPRI) && (p.revents & POLLPRI)) FD_SET(p.fd, ex), ++count;
    }
    return count;
}

DIR* opendir(const char* path) {
    DIR* dir = R().opendir(path);
    if (dir && (std::strcmp(path, "/dev") == 0 || std::strcmp(path, "/dev/") == 0)) {
        std::lock_guard lock(g_mutex);
        g_devDirs[dir] = 0;
    }
    return dir;
}

dirent* readdir(DIR* dir) {
    return NextVirtualEntry(dir, R().readdir(dir));
}

dirent64* readdir64(DIR* dir) {
    return NextVirtualEntry(dir, R().readdir64(dir));
}

int closedir(DIR* dir) {
    {
        std::lock_guard lock(g_mutex);
        g_devDirs.erase(dir);
    }
    return R().closedir(dir);
}

}  // extern "C"
