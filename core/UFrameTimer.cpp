#include "core/UFrameTimer.h"

#include <algorithm>

#include "platform/Clock.h"

namespace qj {

uint32_t FrameIntervalFor(int maxFps) {
  constexpr int kUnlimited = 250;
  if (maxFps <= 0 || maxFps == kUnlimited) return 0;
  return uint32_t(1000 / maxFps);
}

bool TFrameTimer::Idle(bool applicationActive) {
  if (!Enabled || !applicationActive || !OnTimer) return false;
  if (DueIn() != 0) return false;
  const uint32_t now = GetTickCount();
  const bool paced = FFired && !FRested && !FResting;
  FRested = false;
  FResting = false;
  if (paced) {
    FBusyMs += now - FLastFire;
    ++FRateCount;
    if (FBusyMs >= 1000) {
      FRate = int((uint64_t(FRateCount) * 1000 + FBusyMs / 2) / FBusyMs);
      FRateCount = 0;
      FBusyMs = 0;
    }
  }
  FFired = true;
  FLastFire = now;
  OnTimer();
  return true;
}

void TFrameTimer::FramePresented() {
  const uint32_t now = GetTickCount();
  if (now - FShownStart >= 1000) {
    FShownRate = FShownCount;
    FShownCount = 0;
    FShownStart = now;
  }
  ++FShownCount;
}

uint32_t TFrameTimer::DueIn() const {
  if (!FFired) return 0;
  const uint32_t elapsed = GetTickCount() - FLastFire;
  const uint32_t wait = FResting ? std::max(FRestMs, Interval) : Interval;
  if (wait == kForever) return kForever;
  return elapsed >= wait ? 0 : wait - elapsed;
}

// A rest ends on a tick of the interval's pace, as when the timer ticked all along: a step that
// waits for "more than N ms" comes at the same tick as it did then, not sooner.
void TFrameTimer::Rest(uint32_t ms) {
  FResting = ms > Interval;
  FRestMs = Interval == 0 || ms > kForever - Interval ? ms : (ms + Interval - 1) / Interval * Interval;
}

}  // namespace qj
