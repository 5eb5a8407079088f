// Check boxes driven with the mouse and the clock: the frame animation, its reversal, sets of
// other lengths after a theme change, and where a click counts.
#include <memory>

#include "controls/UCheckBox.h"
#include "controls/UControlImages.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "tests/controls/ControlFixture.h"

namespace qj::test {
namespace {

constexpr int kLeft = 200;
constexpr int kTop = 150;
constexpr int kWidth = 160;
constexpr int kHeight = 24;

class CheckBox : public TControlTest {
 protected:
  TDXCheckBox& Make(const std::string& caption = "Sound") {
    Box = &Screen.AddOwnedControl<TDXCheckBox>();
    Box->Setup(caption, kLeft, kTop, kWidth, kHeight, 0, true, false, [this](TDXControl*) { ++Clicks; });
    return *Box;
  }

  // Puts in use the theme's set with only its first `count` check box frames; live controls
  // repaint as after a theme change.
  void UseFrames(size_t count) {
    auto images = std::make_shared<TControlImages>(*CurrentControlImages());
    images->CheckBoxFrames.resize(count);
    SetControlImages(images);
    Screen.RestoreControls();
  }

  // The middle of the box's frame, as drawn, and as the frame image holds it.
  TPixel DrawnFrameMiddle() {
    Draw();
    const TMyDib& first = *CurrentControlImages()->CheckBoxFrames[0];
    return PixelAt(kLeft + first.Width() / 2, kTop + kHeight / 2);
  }
  static TPixel MiddleOf(const TImageList& frames, size_t frame) {
    const TMyDib& image = *frames[frame];
    return image.At(image.Width() / 2, image.Height() / 2) & kRgbMask;
  }

  void ClickBox() { Click(kLeft + 5, kTop + kHeight / 2); }

  TDXCheckBox* Box = nullptr;
  int Clicks = 0;
};

TEST_F(CheckBox, ThreeFramesInAHundredMillisecondsStepEveryFifty) {
  Options.AnimationMs = 100;
  UseFrames(3);
  TDXCheckBox& box = Make();
  ClickBox();
  EXPECT_TRUE(box.FChecked);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(box.FFrameInterval, 50u);
  Frames(1, 10);
  EXPECT_EQ(box.FFrame, 1);
  Frames(4, 10);
  EXPECT_EQ(box.FFrame, 1);
  Frames(1, 10);
  EXPECT_EQ(box.FFrame, 2);
  Frames(10, 10);
  EXPECT_EQ(box.FFrame, 2);
  EXPECT_EQ(DrawnFrameMiddle(), MiddleOf(CurrentControlImages()->CheckBoxFrames, 2));
}

TEST_F(CheckBox, UncheckingWhileTheCheckPlaysTurnsBackFromTheShownFrame) {
  TDXCheckBox& box = Make();
  ASSERT_GE(box.FLastFrame, 4);
  ClickBox();
  Frames(3, 25);
  EXPECT_EQ(box.FFrame, 3);
  ClickBox();
  EXPECT_FALSE(box.FChecked);
  Frames(1, 25);
  EXPECT_EQ(box.FFrame, 2);
  Frames(2, 25);
  EXPECT_EQ(box.FFrame, 0);
  EXPECT_EQ(Clicks, 2);
}

TEST_F(CheckBox, AOneFrameSetTakesTheWholeAnimationForItsStep) {
  UseFrames(1);
  TDXCheckBox& box = Make();
  EXPECT_EQ(box.FLastFrame, 0);
  ClickBox();
  EXPECT_TRUE(box.FChecked);
  EXPECT_EQ(box.FFrameInterval, uint32_t(Options.AnimationMs));
  Frames(5);
  EXPECT_EQ(box.FFrame, 0);
  EXPECT_EQ(DrawnFrameMiddle(), MiddleOf(CurrentControlImages()->CheckBoxFrames, 0));
}

TEST_F(CheckBox, AThemeWithOtherFrameCountsShowsItsOwnEndFrames) {
  const TImageList full = CurrentControlImages()->CheckBoxFrames;
  ASSERT_NE(MiddleOf(full, 2), MiddleOf(full, full.size() - 1));
  UseFrames(3);
  TDXCheckBox& box = Make();
  ClickBox();
  Frames(10);
  UseTheme(0);
  Screen.RestoreControls();
  EXPECT_EQ(DrawnFrameMiddle(), MiddleOf(full, full.size() - 1)) << "checked is the last frame of the longer set";

  ClickBox();
  Frames(1, 25);
  EXPECT_EQ(box.FFrame, int(full.size()) - 2) << "the uncheck starts from the frame on screen";
  Frames(10, 25);
  ClickBox();
  Frames(4, 25);
  ASSERT_EQ(box.FFrame, 4);
  UseFrames(2);
  EXPECT_EQ(DrawnFrameMiddle(), MiddleOf(CurrentControlImages()->CheckBoxFrames, 1))
      << "a frame past the end of the shorter set shows its last";
}

TEST_F(CheckBox, AReleaseOverTheBoxTogglesItWhereverThePressWas) {
  TDXCheckBox& box = Make();
  Press(kLeft - 50, kTop - 50);
  Release(kLeft + 5, kTop + kHeight / 2);
  EXPECT_TRUE(box.FChecked);
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(box.FCapture);

  Press(kLeft + 5, kTop + kHeight / 2);
  Release(kLeft - 50, kTop - 50);
  EXPECT_TRUE(box.FChecked) << "a press on the box released elsewhere does nothing";
  EXPECT_EQ(Clicks, 1);

  Click(kLeft + kWidth - 3, kTop + 2);  // a blank corner: the whole rectangle answers
  EXPECT_FALSE(box.FChecked);
}

TEST_F(CheckBox, OnTheBareTableTheCaptionIsWrittenLightBesideTheFrame) {
  Make("Music and sound");
  Draw();
  const TMyDib& first = *CurrentControlImages()->CheckBoxFrames[0];
  const TPixel say = 0xFFFFFF;
  int written = 0;
  for (int y = kTop; y < kTop + kHeight; ++y)
    for (int x = kLeft + first.Width() + 3; x < kLeft + kWidth; ++x)
      if (PixelAt(x, y) == say) ++written;
  EXPECT_GT(written, 20);
  for (int y = kTop; y < kTop + kHeight; ++y) EXPECT_NE(PixelAt(kLeft + first.Width() + 1, y), say);
}

}  // namespace
}  // namespace qj::test
