// The component reports failures as platform::Result, under its own namespace's names.
#pragma once

#include "platform/Result.h"

namespace component {
using platform::Fail;
using platform::Failure;
using platform::Ok;
using platform::Result;
}  // namespace component
