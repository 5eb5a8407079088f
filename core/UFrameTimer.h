// The frame timer: fires from the message loop's idle processing once at least its interval
// has passed, only while the program is the active application, and measures its own rate.
#pragma once

#include <cstdint>
#include <functional>

namespace qj {

// The timer interval for a frame-rate limit: none (0) for 0 or less and for the top setting 250,
// which stands for "as fast as possible".
uint32_t FrameIntervalFor(int maxFps);

class TFrameTimer {
 public:
  bool Enabled = false;
  uint32_t Interval = 0;  // ms; 0 fires at every idle pass
  int Tag = 0;            // the engine keeps its redraw counter here
  std::function<void()> OnTimer;

  // Called by the message loop whenever it is idle; true when the timer fired.
  bool Idle(bool applicationActive);
  // Ticks in the last whole second.
  int FrameRate() const { return FRate; }
  // Milliseconds until the next tick is due (0 when due now), for the loop's wait.
  uint32_t DueIn() const;

 private:
  uint32_t FLastFire = 0;
  bool FFired = false;
  uint32_t FRateStart = 0;
  int FRateCount = 0;
  int FRate = 0;
};

}  // namespace qj
