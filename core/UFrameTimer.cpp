#include "core/UFrameTimer.h"

#include "platform/Clock.h"

namespace qj {

uint32_t FrameIntervalFor(int maxFps) {
  constexpr int kUnlimited = 250;
  if (maxFps <= 0 || maxFps == kUnlimited) return 0;
  return uint32_t(1000 / maxFps);
}

bool TFrameTimer::Idle(bool applicationActive) {
  if (!Enabled || !applicationActive || !OnTimer) return false;
  const uint32_t now = GetTickCount();
  if (FFired && now - FLastFire < Interval) return false;
  FFired = true;
  FLastFire = now;
  if (now - FRateStart >= 1000) {
    FRate = FRateCount;
    FRateCount = 0;
    FRateStart = now;
  }
  ++FRateCount;
  OnTimer();
  return true;
}

uint32_t TFrameTimer::DueIn() const {
  if (!FFired) return 0;
  const uint32_t elapsed = GetTickCount() - FLastFire;
  return elapsed >= Interval ? 0 : Interval - elapsed;
}

}  // namespace qj
