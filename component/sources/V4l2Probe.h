// Video4Linux2 capture devices that exist and open, with their formats and inputs.
#pragma once

#include "component/media/Result.h"
#include "component/sources/DeviceCatalog.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace component {

std::vector<VideoDevice> ProbeV4l2Devices();
// The N of every /dev/videoN, in order.
std::vector<int> VideoNodeNumbers();

// Sets the video standard of an analogue device. Done before FFmpeg opens it: FFmpeg sets the
// frame size first and the standard after, and a standard brings its own size.
Result<> SetV4l2Standard(const std::string& node, uint64_t standard);

// The four characters of a V4L2 pixel format code ("YUYV").
std::string FourccText(uint32_t fourcc);
// FFmpeg's input_format name for a V4L2 pixel format; empty when FFmpeg cannot read it.
std::string FfmpegInputFormat(uint32_t fourcc);
// Common frame sizes inside a device's stepwise range, largest first.
std::vector<std::pair<int, int>> SizesInRange(int minW, int maxW, int stepW, int minH, int maxH,
                                              int stepH);

}  // namespace component
