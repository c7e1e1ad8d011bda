#include "platform/CameraControls.h"

#include <linux/videodev2.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {

namespace {

int Ioctl(int fd, unsigned long request, void* arg) {
    int r;
    do r = ::ioctl(fd, request, arg);
    while (r < 0 && errno == EINTR);
    return r;
}

CameraControl::Kind KindOf(uint32_t type) {
    using K = CameraControl::Kind;
    switch (type) {
    case V4L2_CTRL_TYPE_CTRL_CLASS: return K::Class;
    case V4L2_CTRL_TYPE_INTEGER:
    case V4L2_CTRL_TYPE_INTEGER64: return K::Integer;
    case V4L2_CTRL_TYPE_BOOLEAN: return K::Boolean;
    case V4L2_CTRL_TYPE_MENU: return K::Menu;
    case V4L2_CTRL_TYPE_INTEGER_MENU: return K::IntegerMenu;
    case V4L2_CTRL_TYPE_BUTTON: return K::Button;
    default: return K::Other;
    }
}

void ReadMenu(int fd, CameraControl& c) {
    for (int64_t i = c.minimum; i <= c.maximum && i - c.minimum < 256; ++i) {
        v4l2_querymenu m{};
        m.id = c.id;
        m.index = uint32_t(i);
        if (Ioctl(fd, VIDIOC_QUERYMENU, &m) != 0) continue;  // a value the driver skips
        c.menu.emplace_back(i, c.kind == CameraControl::Kind::IntegerMenu
                                   ? std::to_string(m.value)
                                   : std::string(reinterpret_cast<const char*>(m.name)));
    }
}

// The value now; a control that cannot be read (write-only, a button) keeps its default.
void ReadValue(int fd, CameraControl& c) {
    if (c.kind == CameraControl::Kind::Class || c.kind == CameraControl::Kind::Button) return;
    v4l2_ext_control one{};
    one.id = c.id;
    v4l2_ext_controls all{};
    all.which = V4L2_CTRL_WHICH_CUR_VAL;
    all.count = 1;
    all.controls = &one;
    if (Ioctl(fd, VIDIOC_G_EXT_CTRLS, &all) == 0) c.value = c.is64 ? one.value64 : one.value;
    else c.value = c.defaultValue;
}

std::string Refusal(const CameraControl& c, int64_t value, int error) {
    const std::string what = "\"" + c.name + "\" cannot be set to " + std::to_string(value) + ": ";
    switch (error) {
    case ERANGE:
        return what + "the camera takes " + std::to_string(c.minimum) + " to " +
               std::to_string(c.maximum) + " only";
    case EBUSY: return what + "the camera is busy with it now; try again later";
    case EACCES:
        return what + (c.readOnly ? std::string("it is read-only")
                                  : std::string("it has no effect in the camera's present mode"));
    case EINVAL: return what + "the camera does not take that value";
    default: return what + std::strerror(error);
    }
}

}  // namespace

Result<CameraDevice> CameraDevice::Open(const std::string& node) {
    const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Fail("cannot open " + node + ": " + std::strerror(errno));
    return CameraDevice(fd);
}

CameraDevice::CameraDevice(CameraDevice&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

CameraDevice& CameraDevice::operator=(CameraDevice&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

CameraDevice::~CameraDevice() {
    if (m_fd >= 0) ::close(m_fd);
}

Result<std::vector<CameraControl>> CameraDevice::Controls() const {
    std::vector<CameraControl> out;
    v4l2_query_ext_ctrl q{};
    q.id = V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND;
    while (Ioctl(m_fd, VIDIOC_QUERY_EXT_CTRL, &q) == 0) {
        CameraControl c;
        c.id = q.id;
        c.controlClass = V4L2_CTRL_ID2CLASS(q.id);
        c.name = reinterpret_cast<const char*>(q.name);
        c.kind = KindOf(q.type);
        c.is64 = q.type == V4L2_CTRL_TYPE_INTEGER64;
        c.minimum = q.minimum;
        c.maximum = q.maximum;
        c.step = q.step ? int64_t(q.step) : 1;
        c.defaultValue = q.default_value;
        c.readOnly = q.flags & V4L2_CTRL_FLAG_READ_ONLY;
        c.disabled = q.flags & V4L2_CTRL_FLAG_DISABLED;
        c.inactive = q.flags & V4L2_CTRL_FLAG_INACTIVE;
        if (c.kind == CameraControl::Kind::Menu || c.kind == CameraControl::Kind::IntegerMenu)
            ReadMenu(m_fd, c);
        ReadValue(m_fd, c);
        out.push_back(std::move(c));
        q.id |= V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND;
    }
    if (errno != EINVAL && out.empty())
        return Fail(std::string("the camera's controls cannot be read: ") + std::strerror(errno));
    return out;
}

Result<> CameraDevice::Set(const CameraControl& c, int64_t value) {
    v4l2_ext_control one{};
    one.id = c.id;
    if (c.is64) one.value64 = value;
    else one.value = int32_t(value);
    v4l2_ext_controls all{};
    all.which = V4L2_CTRL_WHICH_CUR_VAL;
    all.count = 1;
    all.controls = &one;
    if (Ioctl(m_fd, VIDIOC_S_EXT_CTRLS, &all) != 0) return Fail(Refusal(c, value, errno));
    return Ok();
}

}  // namespace platform
