// The frame loop at rest: a screen where nothing moves composes and shows no frames, and what
// moves by itself (a sprite a control carries, an animation, a hint) still gets its frames on time.
#include <gtest/gtest.h>

#include "app/UGameEngine.h"
#include "controls/UControls.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Input.h"
#include "screens/UMainInterface.h"
#include "screens/UOptionsInterface.h"
#include "tests/support/GameRun.h"

namespace qj::test {
namespace {

// Carries a sprite one pixel to the right each frame for as many frames as it is told.
class TDrifter : public TDXControl {
 public:
  explicit TDrifter(TInterface* owner) : TDXControl(owner) {
    TPixelBuffer square(8, 8);
    square.Fill(MakePixel(250, 20, 20));
    Index = FEngine->AddSpriteFromBitmap(square, 40, 40, 1e6, 0);
  }
  ~TDrifter() override { FEngine->FreeSprite(Index); }
  bool Animating() const override { return Steps > 0; }
  void Animate() override {
    if (Steps == 0) return;
    --Steps;
    ++FEngine->Sprite(Index).X;
  }
  void Paint() override {}
  void Restore() override {}
  int Index = -1;
  int Steps = 0;
};

class RestTest : public TEngineFixture {
 protected:
  void SetUp() override {
    Start();
    RunUntilRested();
  }
  // Frames until the menu's own motion (welcome line, credits) is over and nothing is shown
  // for a whole second.
  void RunUntilRested() {
    int quiet = 0;
    for (int frame = 0; frame < 5000 && quiet < 50; ++frame) {
      const int before = display.Flips;
      Frame();
      quiet = display.Flips == before ? quiet + 1 : 0;
    }
    ASSERT_EQ(quiet, 50) << "the main menu never came to rest";
  }
  // A 6 x 6 square at (100, 100) turning from green to blue and back every 100 ms, starting now.
  int AddAnimation() {
    TGraphicsEngine& graphics = Engine().Graphics();
    TPixelBuffer frame(6, 6);
    frame.Fill(MakePixel(10, 200, 10));
    const int index = graphics.AddSpriteFromBitmap(frame, 100, 100, 1e6, 0);
    frame.Fill(MakePixel(10, 10, 200));
    graphics.AddSurface(index, &frame);
    TMySprite& s = graphics.Sprite(index);
    s.Kind = ESpriteKind::Animation;
    s.FrameMs = 100;
    s.LastFrameTick = GetTickCount();
    Engine().Wake(false);
    return index;
  }
  // Runs frames of 20 ms for `ms` and returns how many frames were shown.
  int ShownIn(int ms) {
    const int before = display.Flips;
    for (int t = 0; t < ms; t += 20) Frame();
    return display.Flips - before;
  }
};

TEST_F(RestTest, AScreenAtRestComposesAndShowsNothing) {
  const int tag = Engine().Timer().Tag;
  EXPECT_EQ(ShownIn(10000), 0);
  EXPECT_EQ(Engine().Timer().Tag, tag) << "a frame was composed";
  EXPECT_EQ(Engine().Timer().DueIn(), TFrameTimer::kForever) << "with nothing due the loop sleeps until input";
}

TEST_F(RestTest, AScreenComesToRestAgainAfterASwitch) {
  Key('2');
  Frame();
  ASSERT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().OptionsScreen()));
  Key(VK_ESCAPE);
  Frame();
  ASSERT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().MainMenu()));
  RunUntilRested();
  EXPECT_EQ(Engine().Timer().DueIn(), TFrameTimer::kForever) << "the loop still ticks at its pace";
}

TEST_F(RestTest, ASpriteAControlMovesIsShownEveryFrame) {
  TDrifter drifter(&Engine().MainMenu());
  drifter.Steps = 30;
  Engine().Wake(false);  // what made it move (input, in the game) woke the loop
  EXPECT_EQ(ShownIn(600), 30);
  EXPECT_EQ(Engine().Graphics().Sprite(drifter.Index).X, 70);
  EXPECT_EQ(ShownIn(1000), 0);
}

TEST_F(RestTest, AnAnimationIsShownAtEachOfItsSteps) {
  TGraphicsEngine& graphics = Engine().Graphics();
  const int index = AddAnimation();
  int steps = 0, shown = 0;
  for (int t = 0; t < 2000; t += 20) {
    const unsigned before = graphics.Sprite(index).Frame;
    const int flips = display.Flips;
    Frame();
    steps += graphics.Sprite(index).Frame != before;
    shown += display.Flips - flips;
  }
  EXPECT_GE(steps, 2000 / 120 - 1);
  EXPECT_EQ(shown, steps + 1) << "a frame as it appears, one for each step, none between";
  graphics.FreeSprite(index);
}

TEST_F(RestTest, AStepOfAnAnimationComposesOnlyItsOwnPlace) {
  TGraphicsEngine& graphics = Engine().Graphics();
  const int index = AddAnimation();
  ShownIn(200);
  const uint64_t before = graphics.ComposedPixels();
  const int shown = ShownIn(1000);
  EXPECT_GE(shown, 7);
  EXPECT_EQ(graphics.ComposedPixels() - before, uint64_t(shown) * 36) << "each step composes the 6 x 6 square alone";
  EXPECT_EQ(display.Primary().At(102, 102), graphics.Sprite(index).Surfaces[graphics.Sprite(index).Frame]->At(2, 2));
  graphics.FreeSprite(index);
}

TEST_F(RestTest, AMovedSpriteLeavesNoTrail) {
  const TPixel under = display.Primary().At(42, 42);
  TDrifter drifter(&Engine().MainMenu());
  Engine().Wake(false);
  ShownIn(40);
  ASSERT_EQ(display.Primary().At(42, 42), MakePixel(250, 20, 20));
  drifter.Steps = 20;
  Engine().Wake(false);
  ShownIn(600);
  EXPECT_EQ(display.Primary().At(42, 42), under) << "its old place was composed again";
  EXPECT_EQ(display.Primary().At(62, 42), MakePixel(250, 20, 20));
}

TEST_F(RestTest, AnImageRedrawnInPlaceIsShownAgain) {
  TDrifter drifter(&Engine().MainMenu());
  Engine().Wake(false);
  ShownIn(40);
  ASSERT_EQ(display.Primary().At(42, 42), MakePixel(250, 20, 20));
  Engine().Graphics().Sprite(drifter.Index).Surfaces[0]->Fill(MakePixel(20, 20, 250));
  Engine().Wake(false);
  ShownIn(40);
  EXPECT_EQ(display.Primary().At(42, 42), MakePixel(20, 20, 250)) << "the old pixels stayed on screen";
}

// A frame that showed an animation's step alone lets the loop sleep until the next step; when
// anything else changed too, what moved may move again and the loop ticks again at its pace.
TEST_F(RestTest, OnlyAFrameOfTimedStepsLetsTheLoopSleep) {
  TGraphicsEngine& graphics = Engine().Graphics();
  const int index = AddAnimation();
  TDrifter drifter(&Engine().MainMenu());
  ShownIn(300);
  const uint32_t pace = Engine().Timer().Interval;
  struct TCase {
    bool Moved;
    bool Sleeps;
  };
  for (const TCase c : {TCase{false, true}, TCase{true, false}}) {
    const unsigned frame = graphics.Sprite(index).Frame;
    graphics.Sprite(index).LastFrameTick = GetTickCount() - 200;  // its step is due at the next tick
    if (c.Moved) ++graphics.Sprite(drifter.Index).X;
    Engine().Wake(false);
    const int flips = display.Flips;
    Frame();
    ASSERT_EQ(display.Flips, flips + 1);
    ASSERT_NE(graphics.Sprite(index).Frame, frame);
    EXPECT_EQ(Engine().Timer().DueIn() > pace, c.Sleeps) << (c.Moved ? "step and move" : "step alone");
  }
  graphics.FreeSprite(index);
}

TEST_F(RestTest, AHintIsOfferedWhenTheMouseHasRestedLongEnough) {
  TInterface& menu = Engine().MainMenu();
  MouseMove(300, 200);
  Frame();
  Frame();
  const uint32_t still = menu.FMouseStill, response = uint32_t(Options.HintResponseMs);
  ASSERT_NE(still, 0u);
  EXPECT_GT(Engine().Timer().DueIn(), 100u) << "the loop sleeps while the mouse rests";
  ShownIn(int(response) + 40);
  EXPECT_GE(menu.FMouseStill, still + response) << "the hint was offered, on time";
  EXPECT_LE(menu.FMouseStill, still + response + 40);
}

}  // namespace
}  // namespace qj::test
