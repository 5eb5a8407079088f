// What a screen needs around it without a window: the driven clock and the windowless display
// stand in for the platform's, the settings are the defaults, and the data set's themes and
// control images are loaded. All of it is put back when the setup ends.
#pragma once

#include "platform/Clock.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj::test {

class TScreenSetup {
 public:
  TScreenSetup(TManualClock& clock, THeadlessDisplay& display);
  ~TScreenSetup();
  TScreenSetup(const TScreenSetup&) = delete;
  TScreenSetup& operator=(const TScreenSetup&) = delete;
};

}  // namespace qj::test
