// A device's pictures as the pipeline's 4:2:0 planes: decoded frames of any pixel format, and
// Motion-JPEG straight from the camera's bytes.
#pragma once

#include "component/media/FfmpegHandles.h"
#include "component/media/YuvImage.h"

#include <cstddef>
#include <cstdint>

namespace component {

// A decoded frame; the common camera formats are converted directly, any other through
// libswscale (`sws` keeps its context between pictures). Null when it cannot be converted.
YuvImage PictureOf(const AVFrame* frame, SwsPtr& sws);

// One Motion-JPEG picture decoded by libjpeg-turbo into planes, without the upsampling and
// RGB conversion a general decoder does, and in studio range. Null when it cannot be
// decoded (then FFmpeg's decoder is asked).
YuvImage PictureOfJpeg(const uint8_t* data, size_t size);

}  // namespace component
