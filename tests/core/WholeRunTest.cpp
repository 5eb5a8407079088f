// The whole program under scripted keys: from the main menu through every screen and back. Each
// step ends in a line of the digest (the active screen, live sprites, controls and bitmaps), and
// the digest is compared with the stored one in WholeRun.expected. Screens must free what they
// make: no sprite may be left behind at a switch, and no stale sprite handle may be used.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "controls/UControls.h"
#include "app/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Dib.h"
#include "platform/Input.h"
#include "play/UBoardPlayInterface.h"
#include "tests/support/GameRun.h"

namespace qj::test {
namespace {

class WholeRunTest : public TEngineFixture {
 protected:
  // Presses the keys, runs two frames, and writes the step's digest line; a program that has
  // stopped writes only that.
  void Step(const std::string& name, std::initializer_list<uint16_t> keys) {
    FDigest << name << ": " << TGameRun::Step(keys);
    if (TGameEngine* engine = Running())
      FDigest << " sprites=" << engine->Graphics().LiveSpriteCount()
              << " controls=" << TDXControl::LiveCount() - FControlsAtStart
              << " bitmaps=" << int64_t(TMyDib::LiveCount()) - FBitmapsAtStart;
    FDigest << "\n";
  }

  static std::string Expected() {
    std::ifstream in(std::string(QJ_SOURCE_DIR) + "/tests/core/WholeRun.expected");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::stringstream FDigest;
  int FControlsAtStart = 0;
  int64_t FBitmapsAtStart = 0;
};

TEST_F(WholeRunTest, EveryScreenAndBackLeavesNothingBehind) {
  CopyShapeFile();
  MakeJigsaw("Other", false);
  const std::string jigsaw = MakeJigsaw("Test", true);
  FControlsAtStart = TDXControl::LiveCount();
  FBitmapsAtStart = int64_t(TMyDib::LiveCount());
  Start();
  Options.LastJigsaw = jigsaw;

  Step("start", {});
  Step("selector", {'1'});
  Step("next picture", {VK_RIGHT});
  Step("back", {VK_ESCAPE});
  Step("options", {'2'});
  Step("back", {VK_ESCAPE});
  Step("maker of the last", {'4'});
  Step("back to the selector", {VK_ESCAPE});
  Step("play", {VK_RETURN});
  Step("options over the game", {VK_F2});
  Step("back to the game", {VK_ESCAPE});
  Step("leave the game", {VK_ESCAPE});
  Step("continue the saved game", {'3'});
  Step("leave it again", {VK_ESCAPE});
  if (TGameEngine* engine = Running())
    FDigest << "pieces=" << engine->BoardPlay().PieceCount() << " leaked=" << engine->LeakedSprites()
            << " stale=" << engine->Graphics().StaleHandleUses() << " messages=" << messages.size() << "\n";

  EXPECT_EQ(FDigest.str(), Expected()) << "the run's digest:\n" << FDigest.str();
}

}  // namespace
}  // namespace qj::test
