// The X11 screen as a video device, when a display is present and answers.
#pragma once

#include "component/sources/DeviceCatalog.h"

#include <optional>

namespace component {

std::optional<VideoDevice> ProbeScreen();

}  // namespace component
