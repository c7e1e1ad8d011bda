// Diagnostics for whoever runs the program: one line on stderr with the reason.
#pragma once

#include <string>

namespace component {

void Diagnose(const std::string& message);

}  // namespace component
