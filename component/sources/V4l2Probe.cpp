#include "component/sources/V4l2Probe.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <dirent.h>
#include <map>
#include <optional>
#include <string>
#include <fcntl.h>
#include <set>
#include <sys/ioctl.h>
#include <unistd.h>

namespace component {

namespace {

constexpr std::pair<int, int> kCommonSizes[] = {
    {1920, 1080}, {1280, 720}, {1024, 768}, {800, 600}, {640, 480}, {352, 288}, {320, 240}, {176, 144}, {160, 120}};

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

int Ioctl(int fd, unsigned long request, void* arg) {
    int r;
    do r = ::ioctl(fd, request, arg);
    while (r < 0 && errno == EINTR);
    return r;
}

std::vector<std::pair<int, int>> FrameSizes(int fd, uint32_t pixelFormat) {
    std::vector<std::pair<int, int>> sizes;
    v4l2_frmsizeenum fs{};
    fs.pixel_format = pixelFormat;
    for (fs.index = 0; Ioctl(fd, VIDIOC_ENUM_FRAMESIZES, &fs) == 0; ++fs.index) {
        if (fs.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
            sizes.emplace_back(int(fs.discrete.width), int(fs.discrete.height));
        } else {
            const auto& s = fs.stepwise;
            sizes = SizesInRange(int(s.min_width), int(s.max_width), int(s.step_width),
                                 int(s.min_height), int(s.max_height), int(s.step_height));
            break;
        }
    }
    return sizes;
}

// Frame rates, fastest first, as exact as the driver gives them (29.97 stays 29.97).
std::vector<double> FrameRates(int fd, uint32_t pixelFormat, int w, int h) {
    std::map<long, double> rates;  // by hundredths, so that one rate is listed once
    auto add = [&](double r) {
        if (r > 0) rates.emplace(std::lround(r * 100), r);
    };
    v4l2_frmivalenum iv{};
    iv.pixel_format = pixelFormat;
    iv.width = uint32_t(w);
    iv.height = uint32_t(h);
    for (iv.index = 0; Ioctl(fd, VIDIOC_ENUM_FRAMEINTERVALS, &iv) == 0; ++iv.index) {
        if (iv.type == V4L2_FRMIVAL_TYPE_DISCRETE) {
            if (iv.discrete.numerator > 0) add(double(iv.discrete.denominator) / iv.discrete.numerator);
        } else {
            const auto& sw = iv.stepwise;
            if (sw.min.numerator == 0 || sw.max.numerator == 0) break;
            const double fastest = double(sw.min.denominator) / sw.min.numerator;
            const double slowest = double(sw.max.denominator) / sw.max.numerator;
            for (int r : {60, 30, 25, 15})
                if (r <= fastest + 0.5 && r >= slowest - 0.5) add(r);
            break;
        }
    }
    if (rates.empty()) add(30);  // drivers without interval lists run at their default
    std::vector<double> out;
    for (auto it = rates.rbegin(); it != rates.rend(); ++it) out.push_back(it->second);
    return out;
}

// How the driver's frames of this format hold their fields.
Fields FieldsOf(int fd, uint32_t pixelFormat, int w, int h) {
    v4l2_format f{};
    f.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    f.fmt.pix.pixelformat = pixelFormat;
    f.fmt.pix.width = uint32_t(w);
    f.fmt.pix.height = uint32_t(h);
    f.fmt.pix.field = V4L2_FIELD_ANY;
    if (Ioctl(fd, VIDIOC_TRY_FMT, &f) != 0) return Fields::Progressive;
    switch (f.fmt.pix.field) {
    case V4L2_FIELD_INTERLACED: {
        // The standard decides: 525-line video (NTSC) sends the bottom field first.
        v4l2_std_id std = 0;
        const bool lines525 = Ioctl(fd, VIDIOC_G_STD, &std) == 0 && (std & V4L2_STD_525_60) &&
                              !(std & V4L2_STD_625_50);
        return lines525 ? Fields::BottomFirst : Fields::TopFirst;
    }
    case V4L2_FIELD_INTERLACED_TB: return Fields::TopFirst;
    case V4L2_FIELD_INTERLACED_BT: return Fields::BottomFirst;
    default: return Fields::Progressive;
    }
}

// Every format of the device as it stands (under its current standard, if it has any).
void AddFormats(int fd, int standard, std::vector<VideoFormat>& formats) {
    v4l2_fmtdesc desc{};
    desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    for (desc.index = 0; Ioctl(fd, VIDIOC_ENUM_FMT, &desc) == 0; ++desc.index) {
        const std::string ffmpegName = FfmpegInputFormat(desc.pixelformat);
        if (ffmpegName.empty()) continue;
        for (auto [w, h] : FrameSizes(fd, desc.pixelformat)) {
            const Fields fields = FieldsOf(fd, desc.pixelformat, w, h);
            for (double rate : FrameRates(fd, desc.pixelformat, w, h))
                formats.push_back({FormatName(w, h, FourccText(desc.pixelformat), rate), w, h,
                                   int(std::lround(rate)), ffmpegName, standard, fields, false});
        }
    }
}

// The standards the driver offers; each is set in turn to read the formats it brings, and
// the one that was set is set again at the end.
std::vector<VideoStandard> AddStandardFormats(int fd, std::vector<VideoFormat>& formats) {
    std::vector<VideoStandard> standards;
    v4l2_standard st{};
    for (st.index = 0; Ioctl(fd, VIDIOC_ENUMSTD, &st) == 0; ++st.index)
        standards.push_back({reinterpret_cast<const char*>(st.name), uint64_t(st.id)});
    if (standards.empty()) return standards;
    v4l2_std_id was = 0;
    const bool known = Ioctl(fd, VIDIOC_G_STD, &was) == 0;
    for (size_t i = 0; i < standards.size(); ++i) {
        v4l2_std_id id = standards[i].id;
        if (Ioctl(fd, VIDIOC_S_STD, &id) == 0) AddFormats(fd, int(i), formats);
    }
    if (known) Ioctl(fd, VIDIOC_S_STD, &was);
    return standards;
}

std::optional<VideoDevice> ProbeNode(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return std::nullopt;
    v4l2_capability cap{};
    if (Ioctl(fd.get(), VIDIOC_QUERYCAP, &cap) != 0) return std::nullopt;
    const uint32_t caps = (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
    if (!(caps & V4L2_CAP_VIDEO_CAPTURE) || !(caps & (V4L2_CAP_STREAMING | V4L2_CAP_READWRITE)))
        return std::nullopt;

    VideoDevice d;
    d.kind = VideoKind::V4l2;
    d.path = path;
    d.name = reinterpret_cast<const char*>(cap.card);
    if (d.name.empty()) d.name = path;
    d.identity = d.name + "|" + reinterpret_cast<const char*>(cap.bus_info);

    d.standards = AddStandardFormats(fd.get(), d.formats);
    if (d.standards.empty()) AddFormats(fd.get(), -1, d.formats);
    if (d.formats.empty()) return std::nullopt;  // nothing we could read from it

    v4l2_input input{};
    for (input.index = 0; Ioctl(fd.get(), VIDIOC_ENUMINPUT, &input) == 0; ++input.index)
        d.inputs.emplace_back(reinterpret_cast<const char*>(input.name));
    if (d.inputs.empty()) d.inputs.emplace_back("Default");
    return d;
}

}  // namespace

std::string FourccText(uint32_t fourcc) {
    std::string s;
    for (int i = 0; i < 4; ++i) {
        const char c = char((fourcc >> (8 * i)) & 0xff);
        if (c != ' ' && c != '\0') s += c;
    }
    return s;
}

std::string FfmpegInputFormat(uint32_t fourcc) {
    switch (fourcc) {
    case V4L2_PIX_FMT_YUYV: return "yuyv422";
    case V4L2_PIX_FMT_UYVY: return "uyvy422";
    case V4L2_PIX_FMT_NV12: return "nv12";
    case V4L2_PIX_FMT_YUV420: return "yuv420p";
    case V4L2_PIX_FMT_RGB24: return "rgb24";
    case V4L2_PIX_FMT_BGR24: return "bgr24";
    case V4L2_PIX_FMT_GREY: return "gray";
    case V4L2_PIX_FMT_MJPEG: return "mjpeg";
    case V4L2_PIX_FMT_JPEG: return "mjpeg";
    case V4L2_PIX_FMT_H264: return "h264";
    default: return {};
    }
}

std::vector<std::pair<int, int>> SizesInRange(int minW, int maxW, int stepW, int minH, int maxH,
                                              int stepH) {
    std::vector<std::pair<int, int>> out;
    stepW = std::max(1, stepW);
    stepH = std::max(1, stepH);
    for (auto [w, h] : kCommonSizes)
        if (w >= minW && w <= maxW && (w - minW) % stepW == 0 && h >= minH && h <= maxH &&
            (h - minH) % stepH == 0)
            out.emplace_back(w, h);
    if (out.empty() && maxW > 0 && maxH > 0) out.emplace_back(maxW, maxH);
    return out;
}

Result<> SetV4l2Standard(const std::string& node, uint64_t standard) {
    Fd fd(::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    v4l2_std_id id = standard;
    if (fd.get() < 0 || Ioctl(fd.get(), VIDIOC_S_STD, &id) != 0)
        return Fail("cannot set the video standard of " + node + ": " + std::strerror(errno));
    return Ok();
}

std::vector<int> VideoNodeNumbers() {
    std::vector<int> numbers;
    if (DIR* dir = ::opendir("/dev")) {
        while (dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name.rfind("video", 0) == 0 && name.size() > 5 &&
                std::all_of(name.begin() + 5, name.end(), [](char c) { return c >= '0' && c <= '9'; }))
                numbers.push_back(std::stoi(name.substr(5)));
        }
        ::closedir(dir);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::vector<VideoDevice> ProbeV4l2Devices() {
    const std::vector<int> numbers = VideoNodeNumbers();
    std::vector<VideoDevice> devices;
    std::set<std::string> names;
    for (int n : numbers) {
        auto d = ProbeNode("/dev/video" + std::to_string(n));
        if (!d) continue;
        if (!names.insert(d->name).second) d->name += " (" + d->path + ")";
        devices.push_back(std::move(*d));
    }
    return devices;
}

}  // namespace component
