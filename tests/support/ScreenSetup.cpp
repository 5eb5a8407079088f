#include "tests/support/ScreenSetup.h"

#include <gtest/gtest.h>

#include "controls/UControlImages.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "platform/Display.h"

namespace qj::test {

TScreenSetup::TScreenSetup(TManualClock& clock, THeadlessDisplay& display) {
  SetClock(&clock);
  SetDXDraw(&display);
  Options = TOptions();
  LoadThemes();
  std::string error;
  EXPECT_TRUE(ReloadControlImages(error)) << error;
}

TScreenSetup::~TScreenSetup() {
  SetControlImages(nullptr);
  Options = TOptions();
  SetDXDraw(nullptr);
  SetClock(nullptr);
}

}  // namespace qj::test
