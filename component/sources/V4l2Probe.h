// Video4Linux2 capture devices that exist and open, with their formats and inputs.
#pragma once

#include "component/sources/DeviceCatalog.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace component {

std::vector<VideoDevice> ProbeV4l2Devices();

// The four characters of a V4L2 pixel format code ("YUYV").
std::string FourccText(uint32_t fourcc);
// FFmpeg's input_format name for a V4L2 pixel format; empty when FFmpeg cannot read it.
std::string FfmpegInputFormat(uint32_t fourcc);
// Common frame sizes inside a device's stepwise range, largest first.
std::vector<std::pair<int, int>> SizesInRange(int minW, int maxW, int stepW, int minH, int maxH,
                                              int stepH);

}  // namespace component
