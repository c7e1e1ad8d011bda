// A finished fragmented MP4 made into a plain one (a single moov, at the front), which every
// player and editor opens and seeks. The plain file is written beside the original and put in
// its place only when whole, so the user always has one whole file.
#pragma once

#include "component/media/Result.h"

#include <string>

namespace component {

Result<> RewriteAsPlainMp4(const std::string& path);

}  // namespace component
