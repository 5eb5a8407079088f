// Hints: offered by the screen when the mouse rests on a button, placed above it to the left and
// to the right, faded in and out by the clock, and the settings that make them come later.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "controls/UButtons.h"
#include "controls/UControlImages.h"
#include "controls/UHints.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "tests/controls/ControlFixture.h"

namespace qj::test {
namespace {

class Hints : public TControlTest {
 protected:
  Hints() : Button(Screen.AddOwnedControl<TDXButton>()) { Button.SetButton("", 300, 200, 0, 0, 0); }

  // The mouse comes to rest on the button and stays there for `ms`.
  void RestOnButton(int ms) {
    Move(Button.FLeft + Button.FWidth / 2, Button.FTop + Button.FHeight / 2);
    Frames(1);
    Frames(ms / 20);
  }
  // The opacity of a hint after each frame, for as long as it is shown.
  std::vector<int> FadeOf(TDXHint& hint, uint32_t frameMs) {
    std::vector<int> alphas;
    while (hint.Shown() && alphas.size() < 1000) {
      alphas.push_back(hint.FSprite.Get()->Alpha);
      Frames(1, frameMs);
    }
    return alphas;
  }
  const TImageList& Backgrounds() { return CurrentControlImages()->HintBackgrounds; }
  // A hint of its own for the button, placed to its left.
  TDXHint& MakeHint(const std::string& caption) {
    TDXHint& hint = Screen.AddOwnedControl<TDXHint>();
    hint.AttachTo(Button);
    hint.SetCaption(caption);
    hint.PlaceBeside(true);
    return hint;
  }

  TDXButton& Button;
};

// The fade as the player sees it: `in` steps up from 1 by 25, `full` steps at 255, then the
// same steps down to 1.
std::vector<int> Fade(int full) {
  std::vector<int> alphas;
  for (int i = 0; i < 10; ++i) alphas.push_back(25 * i + 1);
  alphas.insert(alphas.end(), size_t(full), 255);
  for (int i = 9; i >= 0; --i) alphas.push_back(25 * i + 1);
  return alphas;
}

// ---- Offered by the screen ---------------------------------------------------------------------

TEST_F(Hints, AMouseRestingOnAButtonShowsBothOfItsHints) {
  Button.FHintText = "Play the puzzle";
  Button.FHintText2 = "F5";
  RestOnButton(Options.HintResponseMs - 40);
  EXPECT_FALSE(Button.FHint->Shown());
  Frames(3);
  EXPECT_TRUE(Button.FHint->Shown());
  EXPECT_TRUE(Button.FHint2->Shown());
  EXPECT_EQ(Button.FHint->FSprite.Get()->Depth, kHintDepth);
  EXPECT_EQ(Button.FHint->GetCaption(), "Play the puzzle");
}

TEST_F(Hints, AButtonWithoutHintTextsShowsNone) {
  RestOnButton(Options.HintResponseMs + 100);
  EXPECT_FALSE(Button.FHint->Shown());
  EXPECT_FALSE(Button.FHint2->Shown());
}

TEST_F(Hints, OnlyTheUpperLeftHintWhenThereIsNoSecondText) {
  Button.FHintText = "Play";
  RestOnButton(Options.HintResponseMs + 100);
  EXPECT_TRUE(Button.FHint->Shown());
  EXPECT_FALSE(Button.FHint2->Shown());
}

// ---- Placement ---------------------------------------------------------------------------------

TEST_F(Hints, TheBoxesSitOnTopOfTheButtonStandingOutLeftAndRight) {
  Button.FHintText = "Play";
  Button.FHintText2 = "F5";
  RestOnButton(Options.HintResponseMs + 100);
  const TDXHint& left = *Button.FHint;
  const TDXHint& right = *Button.FHint2;
  EXPECT_EQ(left.FBackground, Backgrounds()[0]);
  EXPECT_EQ(right.FBackground, Backgrounds()[3]);
  EXPECT_EQ(left.FTop, 200 - left.FHeight);
  EXPECT_EQ(left.FLeft, int(std::lround(300 - left.FWidth * 0.9)));
  EXPECT_EQ(right.FTop, 200 - right.FHeight);
  EXPECT_EQ(right.FLeft, int(std::lround(300 + Button.FWidth * 0.9)));
  EXPECT_EQ(left.FSprite.Get()->X, left.FLeft);
  EXPECT_EQ(left.FSprite.Get()->Y, left.FTop);
}

TEST_F(Hints, AMovedButtonTakesItsHintsAlong) {
  Button.FHintText = "Play";
  Button.SetLeft(500);
  Button.SetTop(400);
  RestOnButton(Options.HintResponseMs + 100);
  ASSERT_TRUE(Button.FHint->Shown());
  EXPECT_EQ(Button.FHint->FTop, 400 - Button.FHint->FHeight);
}

TEST_F(Hints, LongerTextsGetWiderBackgrounds) {
  TDXHint& hint = MakeHint("Go");
  EXPECT_EQ(hint.FWidth, Backgrounds()[0]->Width());
  const std::string longest = "A hint long enough to need the widest of the three boxes there are";
  hint.SetCaption(longest);
  hint.PlaceBeside(false);
  EXPECT_EQ(hint.FBackground, Backgrounds()[5]);
  EXPECT_EQ(hint.FWidth, Backgrounds()[5]->Width());
  // The longer of two lines decides.
  hint.SetCaption("Go|" + longest);
  hint.PlaceBeside(true);
  EXPECT_EQ(hint.FBackground, Backgrounds()[2]);
}

// A control at the screen's edge keeps both its boxes on the screen, one above the other.
TEST_F(Hints, BoxesAtTheScreensEdgeStayOnIt) {
  Button.SetLeft(0);
  TDXHint& left = MakeHint("Left side");
  TDXHint& right = MakeHint("Right side");
  right.PlaceBeside(false);
  EXPECT_EQ(left.FLeft, 0);
  EXPECT_EQ(left.FTop, right.FTop - left.FHeight);
  Button.SetLeft(Display.Width() - Button.FWidth);
  TDXHint& far = MakeHint("Far right");
  far.PlaceBeside(false);
  EXPECT_EQ(far.FLeft + far.FWidth, Display.Width());
}

TEST_F(Hints, ABarSplitsTheCaptionIntoTwoLines) {
  TDXHint& hint = MakeHint("First|Second");
  EXPECT_EQ(hint.Lines(), (std::pair<std::string, std::string>{"First", "Second"}));
  hint.SetCaption("Only");
  EXPECT_EQ(hint.Lines(), (std::pair<std::string, std::string>{"Only", ""}));
}

// Rows of the shown box that hold text ink, as runs of consecutive rows.
int TextBands(const TDXHint& hint) {
  const TSurface& box = *hint.FSprite.Get()->Surfaces[0];
  const TMyDib& background = *hint.FBackground;
  int bands = 0;
  bool inBand = false;
  for (int y = 0; y < box.Height(); ++y) {
    bool ink = false;
    for (int x = 0; x < box.Width() && !ink; ++x) ink = box.At(x, y) != background.At(x, y);
    if (ink && !inBand) ++bands;
    inBand = ink;
  }
  return bands;
}

TEST_F(Hints, TwoLinesAreDrawnAsTwoAndTheBoxIsRedrawnWhenTheTextChanges) {
  TDXHint& hint = MakeHint("First|Second");
  ASSERT_TRUE(hint.ShowHint());
  EXPECT_EQ(TextBands(hint), 2);
  hint.SetCaption("Just one");
  EXPECT_EQ(TextBands(hint), 1);
}

// ---- The fade ----------------------------------------------------------------------------------

TEST_F(Hints, AHintFadesInHoldsAndFadesOutWithinHintMs) {
  TDXHint& hint = MakeHint("Play");
  int hidden = 0;
  hint.OnHide = [&hidden](TDXControl*) { ++hidden; };
  ASSERT_TRUE(hint.ShowHint());
  EXPECT_EQ(hint.FFrameInterval, 49u);  // 2500 ms over the steps
  EXPECT_EQ(FadeOf(hint, 49), Fade(30));
  EXPECT_EQ(hidden, 1);
  EXPECT_EQ(hint.FFrame, 0);
}

TEST_F(Hints, HoldStepsLengthenTheFullOpacity) {
  TDXHint& hint = MakeHint("Play");
  hint.SetHoldSteps(5);
  ASSERT_TRUE(hint.ShowHint());
  EXPECT_EQ(FadeOf(hint, 100), Fade(35));
  hint.SetHoldSteps(-4);
  EXPECT_EQ(hint.FHoldSteps, 0);
}

TEST_F(Hints, HideHintEndsTheHintAtOnce) {
  TDXHint& hint = MakeHint("Play");
  int hidden = 0;
  hint.OnHide = [&hidden](TDXControl*) { ++hidden; };
  const int sprites = Engine.LiveSpriteCount();
  ASSERT_TRUE(hint.ShowHint());
  EXPECT_FALSE(hint.ShowHint());  // shown already
  Frames(3);
  hint.HideHint();
  hint.HideHint();
  EXPECT_FALSE(hint.Shown());
  EXPECT_EQ(hidden, 1);
  EXPECT_EQ(Engine.LiveSpriteCount(), sprites);
}

TEST_F(Hints, HintsWithoutTextOrDisabledAreNeverShown) {
  TDXHint& hint = MakeHint("");
  EXPECT_FALSE(hint.ShowHint());
  hint.SetCaption("Play");
  hint.SetEnabled(false);
  EXPECT_FALSE(hint.ShowHint());
  EXPECT_FALSE(hint.Shown());
  EXPECT_EQ(Options.HintMs, TOptions().HintMs);
}

// ---- Hints that come later and go sooner -------------------------------------------------------

TEST_F(Hints, AfterAHundredHintsTheyComeAndGoAfterOneAndAHalfSeconds) {
  TDXHint& hint = MakeHint("Play");
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(hint.ShowHint());
    hint.HideHint();
  }
  EXPECT_EQ(Options.HintResponseMs, 1500);
  EXPECT_EQ(Options.HintMs, 1500);
}

TEST_F(Hints, WithoutHintDecreasesTheSettingsStay) {
  Options.HintDecreases = false;
  TDXHint& hint = MakeHint("Play");
  ASSERT_TRUE(hint.ShowHint());
  EXPECT_EQ(Options.HintResponseMs, TOptions().HintResponseMs);
  EXPECT_EQ(Options.HintMs, TOptions().HintMs);
}

}  // namespace
}  // namespace qj::test
