// Screens hand mouse events to the control under the cursor and to capturing controls, animate
// their controls, and offer hints once the cursor has rested.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/UControls.h"
#include "controls/UEngines.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj {
namespace {

class TTestScreen : public TInterface {
 public:
  using TInterface::TInterface;
  void Restore() override {}
};

// A solid square control that records what reaches it.
class TProbe : public TDXControl {
 public:
  TProbe(TInterface* owner, int x, int y, int size = 20) : TDXControl(owner) {
    FSprite = TSpriteHandle(*FEngine, FEngine->AddEmptySprite(x, y, FDepth, 0));
    TSurface& s = FEngine->AddSurface(FSprite.Index(), nullptr);
    s.SetSize(size, size);
    s.Fill(0xFFFFFF);
    FSprite.Get()->SolidHit = true;
    FLeft = x;
    FTop = y;
    FWidth = FHeight = size;
  }

  void MouseDown(int, int, int, int) override {
    ++Downs;
    if (OnDown) OnDown();
  }
  void MouseUp(int, int, int, int) override {
    ++Ups;
    if (ReleaseOnUp) FCapture = false;
  }
  bool ShowHint() override {
    ++HintsAsked;
    return true;
  }
  void Paint() override {
    if (!FUpdating) ++Paints;
  }
  void Restore() override {}

  int Downs = 0, Ups = 0, HintsAsked = 0, Paints = 0;
  bool ReleaseOnUp = false;
  std::function<void()> OnDown;
};

class DispatchTest : public ::testing::Test {
 protected:
  DispatchTest() : engine(display), screen(&engine) {
    SetClock(&clock);
    SetDXDraw(&display);
    screen.SetDepthRange(130000, 139990);
    screen.Enter();
  }
  ~DispatchTest() override {
    SetDXDraw(nullptr);
    SetClock(nullptr);
  }

  TManualClock clock;
  THeadlessDisplay display;
  TGraphicsEngine engine;
  TTestScreen screen;
};

TEST_F(DispatchTest, PressOnEmptySpaceReachesOnlyCapturingControls) {
  TProbe hit(&screen, 10, 10), idle(&screen, 100, 10), capturing(&screen, 200, 10);
  capturing.FCapture = true;
  screen.MouseDown(0, 0, 400, 300);
  EXPECT_EQ(screen.FSprite, -1);
  EXPECT_EQ(hit.Downs, 0);
  EXPECT_EQ(idle.Downs, 0);
  EXPECT_EQ(capturing.Downs, 1);
  EXPECT_EQ(engine.FStatText, "SpriteClick = -1");
}

TEST_F(DispatchTest, CapturingControlUnderCursorGetsOneDownAndUpTwiceOnlyWhileStillCapturing) {
  TProbe probe(&screen, 10, 10);
  probe.FCapture = true;
  screen.MouseDown(0, 0, 15, 15);
  EXPECT_EQ(probe.Downs, 1);
  screen.MouseUp(0, 0, 15, 15);
  EXPECT_EQ(probe.Ups, 2);

  probe.ReleaseOnUp = true;
  probe.Ups = 0;
  screen.MouseUp(0, 0, 15, 15);
  EXPECT_EQ(probe.Ups, 1);
}

TEST_F(DispatchTest, ControlFreeingItselfDoesNotStopTheLoop) {
  auto first = std::make_unique<TProbe>(&screen, 10, 10);
  TProbe second(&screen, 100, 10), third(&screen, 200, 10);
  first->FCapture = second.FCapture = third.FCapture = true;
  first->OnDown = [&] { first.reset(); };
  screen.MouseDown(0, 0, 400, 400);
  EXPECT_FALSE(first);
  EXPECT_EQ(second.Downs, 1);
  EXPECT_EQ(third.Downs, 1);
  EXPECT_EQ(screen.FControls.size(), 2u);
}

TEST_F(DispatchTest, ControlsAddThemselvesInOrderAndTakeTheScreensNextDepth) {
  EXPECT_DOUBLE_EQ(screen.NextDepth(), 130001);
  TProbe a(&screen, 0, 0), b(&screen, 0, 0);
  EXPECT_DOUBLE_EQ(a.FDepth, 130002);
  EXPECT_DOUBLE_EQ(b.FDepth, 130003);
  ASSERT_EQ(screen.FControls.size(), 2u);
  EXPECT_EQ(screen.FControls[0], &a);
  EXPECT_EQ(screen.FControls[1], &b);
}

TEST_F(DispatchTest, HintIsOfferedOnceAfterTheCursorRestsAndAgainAfterAMove) {
  TProbe probe(&screen, 10, 10);
  probe.FHintZone = true;
  probe.FHintRect = {10, 10, 30, 30};
  display.Cursor = {15, 15};
  screen.Update();  // the cursor moved here: the rest begins
  clock.Advance(uint32_t(Options.HintResponseMs) - 1);
  screen.Update();
  EXPECT_EQ(probe.HintsAsked, 0);
  clock.Advance(1);
  screen.Update();
  EXPECT_EQ(probe.HintsAsked, 1);
  clock.Advance(uint32_t(Options.HintResponseMs) * 3);
  screen.Update();
  EXPECT_EQ(probe.HintsAsked, 1) << "not asked again at the same point";

  display.Cursor = {16, 15};
  screen.Update();
  clock.Advance(uint32_t(Options.HintResponseMs));
  screen.Update();
  EXPECT_EQ(probe.HintsAsked, 2);
}

TEST_F(DispatchTest, UpdateAnimatesControlsAndReportsTheFinishedScreenOnce) {
  TProbe probe(&screen, 10, 10);
  probe.FLastFrame = 3;
  probe.FTargetFrame = 3;
  int done = 0;
  screen.OnDone = [&](TInterface*) { ++done; };
  clock.Advance(100);
  screen.Update();
  EXPECT_EQ(probe.FFrame, 1);
  EXPECT_EQ(done, 0);
  screen.Finish(7);
  screen.Update();
  EXPECT_EQ(done, 1);
  EXPECT_EQ(screen.Result(), 7);
}

TEST(ControlAnimation, StopsAtTheLastFrameAndKeepsPainting) {
  TManualClock clock;
  SetClock(&clock);
  THeadlessDisplay display;
  TGraphicsEngine engine(display);
  TTestScreen screen(&engine);
  TProbe probe(&screen, 0, 0);
  probe.FLastFrame = 2;
  probe.FTargetFrame = 5;
  for (int i = 0; i < 6; ++i) {
    clock.Advance(20);
    probe.Animate();
  }
  EXPECT_EQ(probe.FFrame, 2);
  EXPECT_EQ(probe.Paints, 6);
  SetClock(nullptr);
}

TEST(ControlBounds, SetBoundsMovesThreeTimesAndPaintsOnceAtTheEnd) {
  THeadlessDisplay display;
  TGraphicsEngine engine(display);
  TTestScreen screen(&engine);
  TProbe probe(&screen, 0, 0);
  int moves = 0;
  probe.OnMove = [&](TDXControl*) { ++moves; };
  probe.Paints = 0;
  probe.SetBounds(5, 6, 70, 80);
  EXPECT_EQ(moves, 3);
  EXPECT_EQ(probe.Paints, 1);
  EXPECT_FALSE(probe.FUpdating);
  EXPECT_EQ(probe.FSprite.Get()->X, 5);
  EXPECT_EQ(probe.FSprite.Get()->Y, 6);
}

// A button that leaves its screen from its own click, as the controls to come do.
class TLeaveButton : public TProbe {
 public:
  TLeaveButton(TInterface* owner, int x, int y) : TProbe(owner, x, y) {}
  void MouseUp(int button, int shift, int x, int y) override {
    FOwner->Leave();
    ++Ups;  // still running after the screen let go of it
  }
};

TEST_F(DispatchTest, AScreenFreesItsOwnedControlsAndTheirSpritesWhenLeft) {
  TLeaveButton& button = screen.AddOwnedControl<TLeaveButton>(10, 10);
  screen.AddOwnedControl<TProbe>(100, 10);
  const int liveControls = TDXControl::LiveCount();
  EXPECT_EQ(engine.LiveSpriteCount(), 2);
  screen.MouseDown(0, 0, 15, 15);
  screen.MouseUp(0, 0, 15, 15);  // the click frees every owned control, the clicked one too
  EXPECT_TRUE(screen.Done());
  EXPECT_EQ(TDXControl::LiveCount(), liveControls - 2);
  EXPECT_EQ(engine.LiveSpriteCount(), 0);
  EXPECT_TRUE(screen.FControls.empty());
  (void)button;
}

TEST_F(DispatchTest, AControlWhoseSpriteWasTakenReachesNothing) {
  TProbe probe(&screen, 10, 10);
  engine.FreeAllSprites();
  const int stranger = engine.AddEmptySprite(10, 10, 1, 0);
  TSurface& image = engine.AddSurface(stranger, nullptr);
  image.SetSize(20, 20);
  image.Fill(0xFFFFFF);
  ASSERT_FALSE(probe.FSprite);
  probe.SetLeft(300);
  EXPECT_EQ(engine.Sprite(stranger).X, 10) << "nobody else's sprite is moved";
  screen.MouseDown(0, 0, 15, 15);
  EXPECT_EQ(screen.FSprite, stranger);
  EXPECT_EQ(probe.Downs, 0) << "a click on the stranger is not the probe's";
}

TEST_F(DispatchTest, RaisingForeverStaysBelowTheOverlayAndControlsFollowTheirSprites) {
  for (int i = 0; i < 4; ++i) screen.NextDepth();
  TProbe bottom(&screen, 0, 0);
  ASSERT_EQ(bottom.FDepth, 130005);
  TProbe overlay(&screen, 0, 0);
  overlay.FSprite.Get()->Depth = screen.NextOverlayDepth();
  const double overlayDepth = overlay.FSprite.Get()->Depth;
  EXPECT_GT(overlayDepth, screen.FOverlayLow);
  TProbe raised(&screen, 0, 0);
  for (int i = 0; i < 25000; ++i) engine.SetSpriteDepth(raised.FSprite.Index(), screen.NextDepth());
  EXPECT_LT(screen.FDepth, overlayDepth);
  EXPECT_LT(raised.FSprite.Get()->Depth, overlayDepth);
  EXPECT_LT(bottom.FSprite.Get()->Depth, raised.FSprite.Get()->Depth) << "the order is kept";
  EXPECT_EQ(overlay.FSprite.Get()->Depth, overlayDepth) << "the overlay is not renumbered";
  EXPECT_EQ(bottom.FSprite.Get()->Depth, 130001) << "renumbered from the bottom of the band";
  EXPECT_EQ(bottom.FDepth, 130001) << "the control follows its sprite";
}

TEST_F(DispatchTest, EnteringAScreenStartsItsDepthsAgain) {
  screen.NextDepth();
  screen.NextOverlayDepth();
  screen.Leave();
  screen.Enter();
  EXPECT_DOUBLE_EQ(screen.NextDepth(), 130001);
  EXPECT_DOUBLE_EQ(screen.NextOverlayDepth(), screen.FOverlayLow + 1);
}

}  // namespace
}  // namespace qj
