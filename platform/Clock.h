// The millisecond tick. The game reads time only through here, so tests can drive it.
#pragma once

#include <cstdint>

namespace qj {

class IClock {
 public:
  virtual ~IClock() = default;
  virtual uint32_t TickCount() = 0;  // milliseconds, wraps after 49.7 days like the system tick
  virtual void Sleep(uint32_t ms) = 0;
};

// A clock that tests move by hand; Sleep advances it.
class TManualClock : public IClock {
 public:
  explicit TManualClock(uint32_t start = 1000) : FNow(start) {}
  uint32_t TickCount() override { return FNow; }
  void Sleep(uint32_t ms) override { FNow += ms; }
  void Advance(uint32_t ms) { FNow += ms; }
  void Set(uint32_t now) { FNow = now; }

 private:
  uint32_t FNow;
};

// The process-wide clock: the system's steady clock unless a test installed another.
IClock& Clock();
void SetClock(IClock* clock);  // nullptr restores the system clock
inline uint32_t GetTickCount() { return Clock().TickCount(); }

}  // namespace qj
