// What a screen needs around it without a window: the driven clock and the windowless display
// stand in for the platform's, the settings are the defaults, and the data set's themes and
// control images are loaded. All of it is put back when the setup ends.
#pragma once

#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/headless/HeadlessDisplay.h"
#include "tests/support/TempFolder.h"

namespace qj::test {

class TScreenSetup {
 public:
  TScreenSetup(TManualClock& clock, THeadlessDisplay& display);
  ~TScreenSetup();
  TScreenSetup(const TScreenSetup&) = delete;
  TScreenSetup& operator=(const TScreenSetup&) = delete;
};

// Everything a screen test needs before its screen: the clock, a 1024 x 768 windowless display,
// the graphics engine on it, a temporary home and the setup above.
struct TScreenWorld {
  TManualClock Clock;
  THeadlessDisplay Display{1024, 768};
  TGraphicsEngine Engine{Display};
  TTempFolder Home;
  TScreenSetup Setup{Clock, Display};
};

}  // namespace qj::test
