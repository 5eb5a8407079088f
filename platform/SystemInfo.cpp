#include "platform/SystemInfo.h"

#include <sys/utsname.h>

namespace qj {

std::string OperatingSystemVersion() {
  utsname name{};
  if (uname(&name) != 0) return "";
  return std::string(name.sysname) + " " + name.release;
}

}  // namespace qj
