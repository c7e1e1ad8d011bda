// A camera's own picture settings (brightness, exposure, focus, ...) read and written at the
// driver, as the V4L2 control interface gives them. Another descriptor on the same device
// node may be capturing meanwhile: controls are the device's, not the stream's.
#pragma once

#include "platform/Result.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace platform {

struct CameraControl {
    enum class Kind { Class, Integer, Boolean, Menu, IntegerMenu, Button, Other };

    uint32_t id = 0;
    uint32_t controlClass = 0;  // V4L2_CTRL_CLASS_USER, _CAMERA, ...
    std::string name;           // the driver's own
    Kind kind = Kind::Other;
    int64_t minimum = 0, maximum = 0, step = 1, defaultValue = 0;
    int64_t value = 0;
    bool is64 = false;  // an INTEGER64 control, whose value travels in value64
    bool readOnly = false;
    bool disabled = false;
    bool inactive = false;  // set, but without effect now (e.g. an exposure time under auto exposure)
    // Menu entries by value, in order; skipped values are left out, as the driver has it.
    std::vector<std::pair<int64_t, std::string>> menu;

    bool Settable() const { return !readOnly && !disabled && !inactive && kind != Kind::Class; }
};

class CameraDevice {
public:
    static Result<CameraDevice> Open(const std::string& node);
    CameraDevice(CameraDevice&& other) noexcept;
    CameraDevice& operator=(CameraDevice&& other) noexcept;
    ~CameraDevice();

    // Every control the driver reports, with its value now; a group's title comes first as
    // a Kind::Class entry where the driver names its classes.
    Result<std::vector<CameraControl>> Controls() const;
    // Writes one value (a button: any value presses it); a refusal in words.
    Result<> Set(const CameraControl& control, int64_t value);

private:
    explicit CameraDevice(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

}  // namespace platform
