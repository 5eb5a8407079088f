// The resident-memory peak per phase, from /proc/self/status and /proc/self/clear_refs.
#include "tools/autoplay/PeakMemory.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qj::autoplay {
namespace {

// VmHWM in kilobytes, or -1 when the status file has none.
long HighWaterKb() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return -1;
  char line[256];
  long kb = -1;
  while (kb < 0 && std::fgets(line, sizeof line, status))
    if (std::strncmp(line, "VmHWM:", 6) == 0) std::sscanf(line + 6, "%ld", &kb);
  std::fclose(status);
  return kb;
}

// "5" sets the high-water mark back to the present resident size.
void LowerHighWater() {
  if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", refs);
    std::fclose(refs);
  }
}

}  // namespace

double PeakResidentMegabytes() {
  const long kb = HighWaterKb();
  if (kb >= 0) return kb / 1024.0;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

TPeakMeter::TPeakMeter(bool separatePhases) : FSeparate(separatePhases) {
  if (FSeparate) LowerHighWater();
}

double TPeakMeter::EndPhase() {
  const double peak = PeakResidentMegabytes();
  FWhole = std::max(FWhole, peak);
  if (FSeparate) LowerHighWater();
  return peak;
}

}  // namespace qj::autoplay
