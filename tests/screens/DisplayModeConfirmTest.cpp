// The display-mode question without the options screen, on the test clock and the windowless
// display: an applied mode is stored only when kept, and the stored mode comes back when the
// countdown ends or the question is abandoned.
#include <gtest/gtest.h>

#include <string>

#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/headless/HeadlessDisplay.h"
#include "screens/UDisplayModeConfirm.h"
#include "tests/support/ScreenSetup.h"

namespace qj::test {
namespace {

class DisplayModeConfirmTest : public ::testing::Test {
 protected:
  DisplayModeConfirmTest() {
    Display.Modes = {{800, 600, 32, 60}, {800, 600, 32, 75}, {1024, 768, 32, 60}};
    Confirm.OnSecond = [this] { ++Seconds; };
    Confirm.OnWaitEnded = [this] { Events += "ended "; };
    Confirm.OnReverted = [this] { Events += "reverted "; };
  }

  // Full screen at 1024 x 768, 60 Hz.
  void ApplyFullScreen() {
    BuildRefreshRates(2);
    TDisplaySetting mode = ParseDisplayMode(2);
    mode.Refresh = 1;
    mode.FullScreen = true;
    Confirm.Apply(mode);
    ASSERT_EQ(Confirm.Countdown(), TDisplayModeConfirm::kCountdownSeconds);
    ASSERT_TRUE(Display.FullScreenOption());
    ASSERT_FALSE(Options.FullScreen) << "stored only when kept";
  }
  void Later(uint32_t ms) {
    Clock.Advance(ms);
    Confirm.Update();
  }

  TManualClock Clock;
  THeadlessDisplay Display{800, 600};
  TGraphicsEngine Engine{Display};
  TScreenSetup Setup{Clock, Display};
  TDisplayModeConfirm Confirm{Engine};
  int Seconds = 0;
  std::string Events;
};

TEST_F(DisplayModeConfirmTest, KeepStoresTheAppliedMode) {
  ApplyFullScreen();
  Confirm.Keep();
  EXPECT_EQ(Confirm.Countdown(), -1);
  EXPECT_TRUE(Options.FullScreen);
  EXPECT_EQ(Options.DisplayResolution, 2);
  EXPECT_EQ(Options.DisplayRefresh, 1);
  Later(60000);
  EXPECT_TRUE(Display.FullScreenOption());
  EXPECT_EQ(Events, "ended ");
}

TEST_F(DisplayModeConfirmTest, TheCountdownRunsOnTheClockNotOnFramesAndItsEndReverts) {
  ApplyFullScreen();
  Later(5500);
  EXPECT_EQ(Confirm.Countdown(), 5);
  Later(60000);  // no frames while the window was inactive
  EXPECT_EQ(Confirm.Countdown(), -1);
  EXPECT_EQ(Seconds, 10);
  EXPECT_FALSE(Display.FullScreenOption());
  EXPECT_FALSE(Options.FullScreen);
  EXPECT_EQ(Events, "ended reverted ");
}

TEST_F(DisplayModeConfirmTest, AbandoningTheQuestionRevertsWithoutAWord) {
  ApplyFullScreen();
  Confirm.Abandon();
  EXPECT_EQ(Confirm.Countdown(), -1);
  EXPECT_FALSE(Display.FullScreenOption());
  EXPECT_FALSE(Options.FullScreen);
  EXPECT_TRUE(Events.empty());
}

}  // namespace
}  // namespace qj::test
