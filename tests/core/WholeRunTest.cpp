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
#include "screens/UMainInterface.h"
#include "screens/UOptionsInterface.h"
#include "screens/UPuzzleMakerInterface.h"
#include "screens/UPuzzleSelectorInterface.h"
#include "tests/core/EngineFixture.h"

namespace qj::test {
namespace {

class WholeRunTest : public TEngineFixture {
 protected:
  std::string ScreenName() {
    const TInterface* active = Engine().Active();
    TGameEngine& e = Engine();
    if (!active) return "none";
    if (active == &e.MainMenu()) return "main-menu";
    if (active == &e.Selector()) return "selector";
    if (active == &e.OptionsScreen()) return "options";
    if (active == &e.Maker()) return "maker";
    if (active == &e.BoardPlay()) return "play";
    return "unknown";
  }

  // Presses the keys, runs a frame, and writes the step's digest line.
  void Step(const std::string& name, std::initializer_list<uint16_t> keys) {
    for (const uint16_t key : keys) Key(key);
    Frame();
    Frame();
    FDigest << name << ": " << ScreenName() << " sprites=" << Engine().Graphics().LiveSpriteCount()
            << " controls=" << TDXControl::LiveCount() - FControlsAtStart
            << " bitmaps=" << int64_t(TMyDib::LiveCount()) - FBitmapsAtStart << "\n";
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
  FDigest << "pieces=" << Engine().BoardPlay().PieceCount() << " leaked=" << Engine().LeakedSprites()
          << " stale=" << Engine().Graphics().StaleHandleUses() << " messages=" << messages.size() << "\n";

  EXPECT_EQ(FDigest.str(), Expected()) << "the run's digest:\n" << FDigest.str();
}

}  // namespace
}  // namespace qj::test
