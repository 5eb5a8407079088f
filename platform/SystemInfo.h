// What the operating system says about itself, for the statistics overlay.
#pragma once

#include <string>

namespace qj {

// The kernel's name and release, e.g. "Linux 6.1.0"; empty when it cannot be read.
std::string OperatingSystemVersion();

}  // namespace qj
