// The whole program under a long random play: no crash, no escaping exception, no unexpected
// message box, no leaked sprite, control or bitmap, a consistent piece set, joined pieces that
// get fused, and a heap that stays flat. QJ_SOAK_SEED and QJ_SOAK_EVENTS replay a run or
// lengthen it (QJ_SOAK_EVENTS=100000 is the full soak).
#include <gtest/gtest.h>

#include "controls/UButtons.h"
#include "app/UGameEngine.h"
#include "play/UBoardPlayInterface.h"
#include "platform/Dib.h"
#include "platform/Input.h"
#include "screens/UMainInterface.h"
#include "tests/soak/SoakFixture.h"

namespace qj::test {
namespace {

// The test run plays the same events every time, so a change that breaks the program fails
// its own run; other seeds are for runs of their own.
constexpr uint64_t kSuiteSeed = 20261208;
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSuiteEvents = 3000;  // the sanitizers make each event five times as slow
#else
constexpr int kSuiteEvents = 10000;
#endif

TEST_F(TSoakTest, ALongRandomPlayLeavesNothingBehind) {
  Soak(SeedFromEnvironment(kSuiteSeed), EventsFromEnvironment(kSuiteEvents));
  EXPECT_GT(figures.NewGames + figures.Continues, 0) << "the run never reached a game";
}

// Found by the soak: after a game was left the play screen still held the theme's pin and star
// images, and its menu the bar's, the loupe's and the buttons' images.
TEST_F(TSoakTest, LeavingAGameLetsGoOfEveryImageItsScreenLoaded) {
  Frame();
  const size_t atMainMenu = TMyDib::LiveCount();
  Key('1');
  Frame();
  Key(VK_RETURN);
  Frame();
  ASSERT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().BoardPlay()));
  ASSERT_TRUE(Engine().BoardPlay().Menu().Built());
  Key(VK_ESCAPE);  // the exit button's hot key opens the exit dialog
  Frame();
  const TDXButton* save = Engine().BoardPlay().Menu().ExitButton(0);
  ASSERT_TRUE(Engine().BoardPlay().Menu().ModalOpen());
  MouseClick(save->FLeft + save->FWidth / 2, save->FTop + save->FHeight / 2);
  Frame();
  Frame();
  ASSERT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().MainMenu()));
  EXPECT_EQ(TMyDib::LiveCount(), atMainMenu);
}

}  // namespace
}  // namespace qj::test
