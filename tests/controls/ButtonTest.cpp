// Push buttons driven with the mouse and the clock: the press animation in every phase, clicks,
// auto-repeat, handlers that free their own button, own frames, icons, drawing and theme changes.
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "controls/UButtons.h"
#include "controls/UControlImages.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "platform/Sound.h"
#include "tests/controls/ControlFixture.h"
#include "tests/support/TempFolder.h"

namespace qj::test {
namespace {

// Counts what a button reports.
struct TButtonLog {
  int MouseDowns = 0, Clicks = 0, Pressed = 0, MouseUps = 0;

  void Watch(TDXButton& button) {
    button.OnMouseDown = [this](TDXControl*) { ++MouseDowns; };
    button.OnClick = [this](TDXControl*) { ++Clicks; };
    button.OnPressed = [this](TDXControl*) { ++Pressed; };
    button.OnMouseUp = [this](TDXControl*) { ++MouseUps; };
  }
};

class Buttons : public TControlTest {
 protected:
  // A theme-framed button at its frames' own size.
  TDXButton& MakeButton(int left, int top, const std::string& caption = "") {
    TDXButton& button = Screen.AddOwnedControl<TDXButton>();
    button.SetButton(caption, left, top, 0, 0, 0);
    return button;
  }
  static int CentreX(const TDXButton& b) { return b.FLeft + b.FWidth / 2; }
  static int CentreY(const TDXButton& b) { return b.FTop + b.FHeight / 2; }
  void ClickOn(const TDXButton& b) { Click(CentreX(b), CentreY(b)); }
  void PressOn(const TDXButton& b) { Press(CentreX(b), CentreY(b)); }
  void ReleaseOn(const TDXButton& b) { Release(CentreX(b), CentreY(b)); }

  // Frames until the button shows `frame` (at most `limit` frames); the frames it took.
  int FramesUntil(const TDXButton& b, int frame, int limit = 50) {
    int n = 0;
    while (b.FFrame != frame && n < limit) {
      Frames(1);
      ++n;
    }
    return n;
  }

  std::string WriteBitmap(const TTempFolder& folder, const std::string& name, int w, int h, TPixel colour) {
    TMyDib bitmap(w, h);
    bitmap.Fill(colour);
    const std::string path = folder.File(name);
    EXPECT_TRUE(bitmap.SaveToFile(path));
    return path;
  }

  TButtonLog Log;
};

// ---- The press animation -----------------------------------------------------------------------

TEST_F(Buttons, TakeTheThemeFramesAndTheirSize) {
  TDXButton& b = MakeButton(100, 100);
  const auto images = CurrentControlImages();
  EXPECT_EQ(b.FLastFrame, int(images->ButtonFrames.size()) - 1);
  EXPECT_EQ(b.FWidth, images->ButtonFrames[0]->Width());
  EXPECT_EQ(b.FHeight, images->ButtonFrames[0]->Height());
  EXPECT_EQ(b.FTextRect, images->ButtonLayout);
  EXPECT_EQ(b.Right(), 100 + b.FWidth);
  EXPECT_EQ(b.Bottom(), 100 + b.FHeight);
}

TEST_F(Buttons, AQuickClickStillShowsTheWholePressThenReturns) {
  TDXButton& b = MakeButton(100, 100);
  Log.Watch(b);
  ClickOn(b);
  EXPECT_EQ(Log.MouseDowns, 1);
  EXPECT_EQ(Log.Clicks, 1);
  EXPECT_EQ(Log.MouseUps, 1);
  std::vector<int> shown;
  for (int i = 0; i < 30; ++i) {
    Frames(1);
    shown.push_back(b.FFrame);
  }
  EXPECT_EQ(*std::max_element(shown.begin(), shown.end()), b.FLastFrame);
  EXPECT_EQ(shown.back(), 0);
  EXPECT_EQ(Log.Pressed, 1);
  EXPECT_EQ(Log.Clicks, 1);
}

TEST_F(Buttons, ThePressTakesAnimationMsWhateverTheFrameCount) {
  Options.AnimationMs = 300;
  TDXButton& b = MakeButton(100, 100);
  PressOn(b);
  EXPECT_EQ(b.FFrameInterval, uint32_t(300 / b.FLastFrame));
  const int frames = FramesUntil(b, b.FLastFrame, 100);
  // The first step comes with the first frame, each further one an interval later.
  EXPECT_EQ(frames * 20, 20 + (b.FLastFrame - 1) * 100);
}

// Releasing at any frame of the press, the frame the last one was reached included: one click,
// one OnPressed, and the button ends at rest.
TEST_F(Buttons, AReleaseInAnyPhaseEndsAtRestWithOneClickAndOnePressed) {
  for (int held = 0; held <= 12; ++held) {
    SCOPED_TRACE("released after " + std::to_string(held) + " frames");
    TDXButton& b = MakeButton(100, 100);
    TButtonLog log;
    log.Watch(b);
    PressOn(b);
    Frames(held);
    ReleaseOn(b);
    Frames(30);
    EXPECT_EQ(b.FFrame, 0);
    EXPECT_EQ(b.FTargetFrame, 0);
    EXPECT_EQ(log.Clicks, 1);
    EXPECT_EQ(log.Pressed, 1);
    Screen.FreeOwnedControls();
  }
}

TEST_F(Buttons, ReleasedInTheFrameAfterTheLastFrameWasReachedReturnsToRest) {
  TDXButton& b = MakeButton(100, 100);
  Log.Watch(b);
  PressOn(b);
  FramesUntil(b, b.FLastFrame);
  ASSERT_EQ(b.FFrame, b.FLastFrame);
  EXPECT_EQ(Log.Pressed, 0);  // reported in the next frame
  ReleaseOn(b);
  Frames(1);
  EXPECT_EQ(Log.Pressed, 1);
  Frames(20);
  EXPECT_EQ(b.FFrame, 0);
}

TEST_F(Buttons, AHeldButtonStaysPressedUntilReleased) {
  TDXButton& b = MakeButton(100, 100);
  Log.Watch(b);
  PressOn(b);
  Frames(40);
  EXPECT_EQ(b.FFrame, b.FLastFrame);
  EXPECT_TRUE(b.FDown);
  EXPECT_TRUE(b.FPressComplete);
  EXPECT_EQ(Log.Pressed, 1);
  EXPECT_EQ(Log.Clicks, 0);
  ReleaseOn(b);
  EXPECT_EQ(Log.Clicks, 1);
  Frames(20);
  EXPECT_EQ(b.FFrame, 0);
}

TEST_F(Buttons, AutoRepeatClicksEveryFrameWhileHeldAndOnceOnRelease) {
  TDXButton& b = MakeButton(100, 100);
  b.FAutoRepeat = true;
  Log.Watch(b);
  PressOn(b);
  Frames(10);
  EXPECT_EQ(Log.Clicks, 10);
  ReleaseOn(b);
  EXPECT_EQ(Log.Clicks, 11);
  Frames(10);
  EXPECT_EQ(Log.Clicks, 11);
}

TEST_F(Buttons, EveryPressPlaysTheClickFromItsStart) {
  struct TCountingSound : ISoundBuffer {
    int* Plays;
    explicit TCountingSound(int* plays) : Plays(plays) {}
    bool LoadFromFile(const std::string&) override { return true; }
    void Play() override { ++*Plays; }
    void Stop() override {}
    void SetVolume(int) override {}
    int Volume() const override { return 0; }
  };
  int plays = 0;
  std::unique_ptr<ISoundBuffer> sound = std::make_unique<TCountingSound>(&plays);
  std::swap(ClickSound, sound);
  TDXButton& b = MakeButton(100, 100);
  ClickOn(b);
  b.Click();
  std::swap(ClickSound, sound);
  EXPECT_EQ(plays, 2);
}

// ---- Which release clicks ----------------------------------------------------------------------

TEST_F(Buttons, APressedButtonClicksWhereverItIsReleased) {
  TDXButton& b = MakeButton(100, 100);
  Log.Watch(b);
  PressOn(b);
  Move(600, 500);
  Release(600, 500);
  EXPECT_EQ(Log.Clicks, 1);
  EXPECT_FALSE(b.FCapture);
}

TEST_F(Buttons, AReleaseOverAnotherButtonClicksOnlyThePressedOne) {
  TDXButton& pressed = MakeButton(100, 100);
  TDXButton& other = MakeButton(100, 200);
  TButtonLog otherLog;
  Log.Watch(pressed);
  otherLog.Watch(other);
  PressOn(pressed);
  Frames(3);
  Move(CentreX(other), CentreY(other));
  ReleaseOn(other);
  EXPECT_EQ(Log.Clicks, 1);
  EXPECT_EQ(otherLog.Clicks, 0);
  EXPECT_EQ(otherLog.MouseUps, 0);
  Frames(20);
  EXPECT_EQ(pressed.FFrame, 0);
  EXPECT_EQ(other.FFrame, 0);
}

TEST_F(Buttons, AReleaseAfterAPressOnEmptySpaceClicksNothing) {
  TDXButton& b = MakeButton(100, 100);
  Log.Watch(b);
  Press(600, 500);
  ReleaseOn(b);
  b.Release();
  EXPECT_EQ(Log.Clicks, 0);
  EXPECT_EQ(Log.MouseUps, 0);
}

TEST_F(Buttons, ProgramClicksActLikeTheLeftButton) {
  TDXButton& b = MakeButton(100, 100);
  Log.Watch(b);
  b.Press();
  EXPECT_TRUE(b.FDown);
  b.Release();
  b.Click();
  EXPECT_EQ(Log.MouseDowns, 2);
  EXPECT_EQ(Log.Clicks, 2);
  EXPECT_EQ(Log.MouseUps, 2);
}

// ---- Handlers that free their own button -------------------------------------------------------

TEST_F(Buttons, AHandlerMayFreeItsOwnButton) {
  const int before = TDXControl::LiveCount();
  auto freeIn = [](TControlEvent TDXButton::*event) {
    return [event](TDXButton& b) { b.*event = [](TDXControl* self) { delete self; }; };
  };
  struct TCase {
    const char* Name;
    TControlEvent TDXButton::*Event;
  };
  for (const TCase& c : {TCase{"OnMouseDown", &TDXButton::OnMouseDown}, TCase{"OnClick", &TDXButton::OnClick},
                         TCase{"OnMouseUp", &TDXButton::OnMouseUp}, TCase{"OnPressed", &TDXButton::OnPressed}}) {
    SCOPED_TRACE(c.Name);
    auto* b = new TDXButton(&Screen);
    b->SetButton("Bye", 100, 100, 0, 0, 0);
    freeIn(c.Event)(*b);
    TDXButton& next = MakeButton(100, 200);
    TButtonLog log;
    log.Watch(next);
    Click(150, 113);
    Frames(20);
    EXPECT_EQ(TDXControl::LiveCount(), before + 3);  // the next button and its two hints
    ClickOn(next);  // the screen still dispatches to what is left
    EXPECT_EQ(log.Clicks, 1);
    Screen.FreeOwnedControls();
  }
  EXPECT_EQ(TDXControl::LiveCount(), before);
}

TEST_F(Buttons, AProgramClickWhosePressFreesTheButtonStopsThere) {
  const int before = TDXControl::LiveCount();
  auto* b = new TDXButton(&Screen);
  b->OnMouseDown = [](TDXControl* self) { delete self; };
  b->Click();
  EXPECT_EQ(TDXControl::LiveCount(), before);
}

TEST_F(Buttons, AClickThatLeavesTheScreenFreesItsButtonsAfterTheDispatch) {
  const int before = TDXControl::LiveCount();
  TDXButton& b = MakeButton(100, 100);
  MakeButton(100, 200);
  int ups = 0;
  b.OnClick = [this](TDXControl*) { Screen.Leave(); };
  b.OnMouseUp = [&ups](TDXControl*) { ++ups; };
  ClickOn(b);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(TDXControl::LiveCount(), before);
  Frames(2);
}

// ---- Own frames and the icon -------------------------------------------------------------------

TEST_F(Buttons, OneOwnFrameClicksWithoutAnimationOrDivisionByZero) {
  TTempFolder folder;
  TDXButton& b = MakeButton(100, 100);
  Log.Watch(b);
  ASSERT_TRUE(b.SetImages({WriteBitmap(folder, "one.bmp", 40, 30, MakePixel(200, 40, 40))}));
  EXPECT_EQ(b.FImageSource, EImageSource::Own);
  EXPECT_EQ(b.FLastFrame, 0);
  EXPECT_EQ(b.FWidth, 40);
  EXPECT_EQ(b.FHeight, 30);
  EXPECT_EQ(b.FTextRect, (TLayoutRect{0, 0, 40, 30}));
  Frames(5);
  EXPECT_EQ(Log.Pressed, 0);  // nothing is reported at rest
  ClickOn(b);
  EXPECT_EQ(b.FFrameInterval, uint32_t(Options.AnimationMs));
  Frames(5);
  EXPECT_EQ(Log.Pressed, 1);
  EXPECT_EQ(Log.Clicks, 1);
  EXPECT_EQ(b.FFrame, 0);
}

TEST_F(Buttons, OwnFramesStayWhenNewOnesCannotBeRead) {
  TTempFolder folder;
  TDXButton& b = MakeButton(100, 100);
  const std::vector<std::string> two = {WriteBitmap(folder, "a.bmp", 40, 30, MakePixel(200, 40, 40)),
                                        WriteBitmap(folder, "b.bmp", 40, 30, MakePixel(40, 200, 40))};
  ASSERT_TRUE(b.SetImages(two));
  EXPECT_FALSE(b.SetImages({two[0], folder.File("missing.bmp")}));
  EXPECT_FALSE(b.SetImages({}));
  EXPECT_EQ(b.FLastFrame, 1);
  Draw();
  EXPECT_EQ(PixelAt(120, 115), MakePixel(200, 40, 40));
}

TEST_F(Buttons, ALoadedIconSitsThreePixelsUpOverTheFrame) {
  TTempFolder folder;
  TDXButton& b = MakeButton(100, 100);
  const TPixel red = MakePixel(250, 0, 0);
  ASSERT_TRUE(b.LoadImage(WriteBitmap(folder, "icon.bmp", 20, 12, red)));
  EXPECT_TRUE(b.FHasImage);
  Draw();
  EXPECT_EQ(PixelAt(110, 108), red);
  EXPECT_NE(PixelAt(110, 109), red);
  EXPECT_NE(PixelAt(125, 105), red);
}

TEST_F(Buttons, AnIconThatCannotBeReadKeepsTheOneShown) {
  TTempFolder folder;
  TDXButton& b = MakeButton(100, 100);
  const TPixel green = MakePixel(0, 250, 0);
  TMyDib icon(8, 8);
  icon.Fill(green);
  b.SetImage(icon);
  EXPECT_FALSE(b.LoadImage(folder.File("missing.bmp")));
  EXPECT_TRUE(b.FHasImage);
  ASSERT_TRUE(b.FImage);
  EXPECT_EQ(b.FImage->Width(), 8);
  b.Restore();
  Draw();
  EXPECT_EQ(PixelAt(104, 104), green);
  b.ClearImage();
  EXPECT_FALSE(b.FHasImage);
  Draw();
  EXPECT_NE(PixelAt(104, 104), green);
}

// ---- Drawing -----------------------------------------------------------------------------------

TEST_F(Buttons, TheFrameIsStretchedOverTheButtonInsideATransparentBorder) {
  TDXButton& b = Screen.AddOwnedControl<TDXButton>();
  const TMyDib& rest = *CurrentControlImages()->ButtonFrames[0];
  b.SetButton("", 100, 100, rest.Width() * 2, rest.Height() * 2, 0);
  Draw();
  EXPECT_EQ(PixelAt(100 + rest.Width(), 100 + rest.Height()), rest.At(rest.Width() / 2, rest.Height() / 2) & kRgbMask);
  EXPECT_EQ(PixelAt(100 + rest.Width(), 100), 0u);
  EXPECT_EQ(PixelAt(100, 100 + rest.Height()), 0u);
  EXPECT_EQ(PixelAt(99 + 2 * rest.Width(), 100 + rest.Height()), 0u);
  // Only the drawn pixels are hit.
  EXPECT_EQ(Engine.SpriteAt(100 + rest.Width(), 100 + rest.Height()), b.FSprite.Index());
  EXPECT_EQ(Engine.SpriteAt(100 + rest.Width(), 99 + 2 * rest.Height()), -1);
}

TEST_F(Buttons, TheCaptionIsCentredInTheThemeColour) {
  TDXButton& b = MakeButton(100, 100, "Play");
  Draw();
  const TPixel ink = CurrentTheme().SayColor.ToPixel();
  int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;
  for (int y = b.FTop; y < b.Bottom(); ++y)
    for (int x = b.FLeft; x < b.Right(); ++x)
      if (PixelAt(x, y) == ink) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, left) << "no caption drawn";
  EXPECT_NEAR((left + right) / 2.0, CentreX(b), 3);
  EXPECT_LT((top + bottom) / 2.0, CentreY(b) + 1);
}

TEST_F(Buttons, AThemeChangeReachesALiveButton) {
  TDXButton& b = MakeButton(100, 100);
  const TPixel before = CurrentControlImages()->ButtonFrames[0]->At(b.FWidth / 2, b.FHeight / 2) & kRgbMask;
  Draw();
  EXPECT_EQ(PixelAt(CentreX(b), CentreY(b)), before);
  UseTheme(1);
  const TPixel after = CurrentControlImages()->ButtonFrames[0]->At(b.FWidth / 2, b.FHeight / 2) & kRgbMask;
  ASSERT_NE(before, after);
  Screen.RestoreControls();
  Draw();
  EXPECT_EQ(PixelAt(CentreX(b), CentreY(b)), after);
}

TEST_F(Buttons, AThemeWithFewerFramesPullsAPressedButtonIntoItsSet) {
  TDXButton& b = MakeButton(100, 100);
  PressOn(b);
  Frames(40);
  ASSERT_EQ(b.FFrame, b.FLastFrame);
  auto fewer = std::make_shared<TControlImages>(*CurrentControlImages());
  fewer->ButtonFrames.resize(2);
  SetControlImages(fewer);
  Screen.RestoreControls();
  Draw();
  EXPECT_EQ(b.FLastFrame, 1);
  EXPECT_EQ(b.FFrame, 1);
  ReleaseOn(b);
  Frames(10);
  EXPECT_EQ(b.FFrame, 0);
}

TEST_F(Buttons, SetBoundsPutsBackTheUpdatingFlagWhenAHandlerThrows) {
  TDXButton& b = MakeButton(100, 100);
  b.OnMove = [](TDXControl*) { throw std::runtime_error("moved"); };
  EXPECT_THROW(b.SetBounds(50, 60, 0, 0), std::runtime_error);
  EXPECT_FALSE(b.FUpdating);
  b.OnMove = nullptr;
  b.SetBounds(50, 60, 0, 0);
  Draw();
  EXPECT_EQ(Engine.SpriteAt(CentreX(b), CentreY(b)), b.FSprite.Index());
}

}  // namespace
}  // namespace qj::test
