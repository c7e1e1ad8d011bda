#include "component/media/Diagnostics.h"

#include <cstdio>

namespace component {

void Diagnose(const std::string& message) {
    std::fprintf(stderr, "capture component: %s\n", message.c_str());
}

}  // namespace component
