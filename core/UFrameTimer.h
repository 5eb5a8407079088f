// The frame timer: fires from the message loop's idle processing once at least its interval
// has passed, only while the program is the active application, and measures its own rate.
// Between frames that change nothing it rests: it fires again only when the rest is over or
// input has woken it.
#pragma once

#include <cstdint>
#include <functional>

namespace qj {

// The timer interval for a frame-rate limit: none (0) for 0 or less and for the top setting 250,
// which stands for "as fast as possible".
uint32_t FrameIntervalFor(int maxFps);

class TFrameTimer {
 public:
  static constexpr uint32_t kForever = UINT32_MAX;

  bool Enabled = false;
  uint32_t Interval = 0;  // ms; 0 fires at every idle pass
  int Tag = 0;            // the engine keeps its redraw counter here
  std::function<void()> OnTimer;

  // Called by the message loop whenever it is idle; true when the timer fired.
  bool Idle(bool applicationActive);
  // Ticks a second while ticking at its pace: the time spent resting does not lower it, so
  // what moves a step a tick can rely on it.
  int FrameRate() const { return FRate; }
  // Frames shown in the last whole second.
  int PresentedRate() const { return FShownRate; }
  void FramePresented();
  // Milliseconds until the next tick is due (0 when due now; kForever while resting until input),
  // for the loop's wait.
  uint32_t DueIn() const;
  // No tick for `ms` after the last one (kForever: until Wake), unless the interval is longer;
  // rounded up to whole intervals.
  void Rest(uint32_t ms);
  void Wake() {
    FRested = FRested || FResting;
    FResting = false;
  }
  bool Resting() const { return FResting; }

 private:
  uint32_t FLastFire = 0;
  bool FFired = false;
  bool FResting = false;
  bool FRested = false;  // the gap before the next tick holds a rest
  uint32_t FRestMs = 0;
  uint32_t FBusyMs = 0;
  int FRateCount = 0;
  int FRate = 0;
  uint32_t FShownStart = 0;
  int FShownCount = 0;
  int FShownRate = 0;
};

}  // namespace qj
