#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace qj {
namespace {

class TSystemClock : public IClock {
 public:
  uint32_t TickCount() override {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
  void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

TSystemClock gSystemClock;
IClock* gClock = &gSystemClock;

}  // namespace

IClock& Clock() { return *gClock; }
void SetClock(IClock* clock) { gClock = clock ? clock : &gSystemClock; }

}  // namespace qj
