// Scroll bars driven with the mouse and the clock, each case along both axes: the vertical bar
// must behave exactly as the horizontal one turned by a quarter.
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "controls/UControlImages.h"
#include "controls/UScrollBar.h"
#include "core/UMiscelaneous.h"
#include "platform/Input.h"
#include "tests/controls/ControlFixture.h"

namespace qj::test {
namespace {

constexpr int kLeft = 100;
constexpr int kTop = 120;
constexpr int kLength = 300;

class ScrollBar : public TControlTest, public ::testing::WithParamInterface<EScrollAxis> {
 protected:
  bool Horizontal() const { return GetParam() == EScrollAxis::Horizontal; }

  // A large-style bar of kLength along its axis whose two events are counted.
  TDXScrollBar& Make(int min, int max, int position) {
    Bar = Horizontal() ? static_cast<TDXScrollBar*>(&Screen.AddOwnedControl<TDXHScrollBar>())
                       : &Screen.AddOwnedControl<TDXVScrollBar>();
    const int width = Horizontal() ? kLength : 0;
    const int height = Horizontal() ? 0 : kLength;
    Bar->Setup(kLeft, kTop, width, height, min, max, position, ScrollBarStyle::Large, [this](TDXControl*) {
      Values.push_back(Bar->FPosition);
    });
    Bar->OnChanged = [this](TDXControl*) { ++Changed; };
    return *Bar;
  }

  const TImageList& Set() const {
    return Images->ScrollBar(Horizontal() ? EScrollBarSet::HorizontalLarge : EScrollBarSet::VerticalLarge);
  }
  int Along(int image) const {
    const TMyDib& i = *Set()[size_t(image)];
    return Horizontal() ? i.Width() : i.Height();
  }
  int BackSize() const { return Along(ScrollBarImage::Back); }
  int ForwardSize() const { return Along(ScrollBarImage::Forward); }
  int ThumbSize() const { return Along(ScrollBarImage::Thumb); }
  int Run() const { return kLength - BackSize() - ForwardSize() - ThumbSize(); }
  int ThumbAt(int64_t position, int64_t min, int64_t max) const {
    return BackSize() + int(std::lround(double(position - min) / double(max - min) * Run()));
  }
  // The centre pixel of one image of the set, as the screen shows it.
  TPixel CentreOf(int image) const {
    const TMyDib& i = *Set()[size_t(image)];
    return i.At(i.Width() / 2, i.Height() / 2) & kRgbMask;
  }

  // The screen point `along` pixels from the bar's start, across its middle.
  TPoint At(int along) const {
    const int middle = 11;  // both large sets are 22 pixels thick
    return Horizontal() ? TPoint{kLeft + along, kTop + middle} : TPoint{kLeft + middle, kTop + along};
  }
  void PressAt(int along) { Press(At(along).X, At(along).Y); }
  void MoveTo(int along) { Move(At(along).X, At(along).Y); }
  void ReleaseAt(int along) { Release(At(along).X, At(along).Y); }
  void ClickAt(int along) {
    PressAt(along);
    ReleaseAt(along);
  }
  TPixel DrawnAt(int along) {
    Draw();
    return PixelAt(At(along).X, At(along).Y);
  }

  std::shared_ptr<const TControlImages> Images = CurrentControlImages();
  TDXScrollBar* Bar = nullptr;
  std::vector<int> Values;  // FPosition at every OnChange
  int Changed = 0;          // OnChanged calls
};

TEST_P(ScrollBar, SettingTheValueFiresOnlyForARealChange) {
  TDXScrollBar& bar = Make(0, 10, 0);
  EXPECT_TRUE(Values.empty()) << "the setup never calls its own handler";
  bar.SetPosition(0);
  EXPECT_TRUE(Values.empty());
  EXPECT_EQ(Changed, 0);
  bar.SetPosition(99);
  EXPECT_EQ(bar.FPosition, 10);
  EXPECT_EQ(Values, std::vector<int>{10});
  EXPECT_EQ(Changed, 1);
  bar.SetPosition(50);  // clamps back onto the value it has
  EXPECT_EQ(Changed, 1);
  bar.SetPosition(-5);
  EXPECT_EQ(bar.FPosition, 0);
  EXPECT_EQ(Changed, 2);
}

TEST_P(ScrollBar, NewBoundsClampTheValueQuietly) {
  TDXScrollBar& bar = Make(0, 10, 8);
  bar.SetMax(4);
  EXPECT_EQ(bar.FPosition, 4);
  bar.SetMin(6);
  EXPECT_EQ(bar.FPosition, 6);
  EXPECT_TRUE(Values.empty());
  EXPECT_EQ(Changed, 0);
}

TEST_P(ScrollBar, TrackPressesPageByAnEighthOfTheRangeAtLeastOne) {
  TDXScrollBar& bar = Make(0, 5, 0);
  const int beforeForwardArrow = kLength - ForwardSize() - 3;
  ClickAt(beforeForwardArrow);
  EXPECT_EQ(bar.FPosition, 1);
  EXPECT_EQ(Values.size(), 1u);
  EXPECT_EQ(Changed, 2) << "the change and the release";

  bar.SetMax(100);
  bar.SetPosition(0);
  ClickAt(beforeForwardArrow);
  EXPECT_EQ(bar.FPosition, 12);
  ClickAt(BackSize() + 2);
  EXPECT_EQ(bar.FPosition, 0);
}

// The hit test never reports a sprite's outermost column, so the press arrives as a capturing
// control would get it.
TEST_P(ScrollBar, APressOnTheOuterPixelOnlyTakesTheCapture) {
  TDXScrollBar& bar = Make(0, 10, 5);
  bar.MouseDown(mbLeft, ssLeft, At(0).X, At(0).Y);
  EXPECT_TRUE(bar.FCapture);
  EXPECT_EQ(bar.FPosition, 5);
  EXPECT_FALSE(bar.FDragging || bar.FBackHeld || bar.FForwardHeld || bar.FFlash);
  EXPECT_TRUE(Values.empty());
  ReleaseAt(0);
  EXPECT_FALSE(bar.FCapture);
  EXPECT_EQ(Changed, 1) << "every release";
}

TEST_P(ScrollBar, AnEmptyRangeDrawsNoThumbAndADragKeepsItsValue) {
  TDXScrollBar& bar = Make(3, 3, 3);
  const int thumbMiddle = BackSize() + ThumbSize() / 2;
  EXPECT_EQ(DrawnAt(thumbMiddle), CentreOf(ScrollBarImage::Track));
  PressAt(thumbMiddle);
  EXPECT_TRUE(bar.FDragging);
  MoveTo(thumbMiddle + 100);
  MoveTo(thumbMiddle - 100);
  ReleaseAt(thumbMiddle);
  EXPECT_EQ(bar.FPosition, 3);
  EXPECT_TRUE(Values.empty());
  EXPECT_EQ(Changed, 1);
}

TEST_P(ScrollBar, ADragReportsEveryNewValueAndItsEndOnce) {
  TDXScrollBar& bar = Make(0, 100, 0);
  const int grab = 5;
  PressAt(BackSize() + grab);
  EXPECT_TRUE(bar.FDragging);
  std::vector<int> expected;
  for (int shift : {10, 10, 20, 100, 101, 400}) {
    MoveTo(BackSize() + grab + shift);
    const int value = std::min(100, int(std::lround(shift * 100.0 / Run())));
    if (expected.empty() || expected.back() != value) expected.push_back(value);
    EXPECT_EQ(bar.FPosition, value);
  }
  MoveTo(-50);
  expected.push_back(0);
  EXPECT_EQ(Values, expected);
  EXPECT_EQ(Changed, 0) << "not while the thumb is dragged";
  MoveTo(BackSize() + grab + 30);
  ReleaseAt(BackSize() + grab + 30);
  EXPECT_FALSE(bar.FDragging);
  EXPECT_EQ(Changed, 1);
  bar.SetPosition(70);
  EXPECT_EQ(Changed, 2) << "the handler is back after the drag";
}

TEST_P(ScrollBar, ADragWhoseReleaseWasLostEndsAtTheNextMove) {
  TDXScrollBar& bar = Make(0, 100, 0);
  PressAt(BackSize() + 5);
  MoveTo(BackSize() + 50);
  Screen.MouseMove(0, At(60).X, At(60).Y);  // the button is up, its release went elsewhere
  EXPECT_FALSE(bar.FDragging);
  EXPECT_FALSE(bar.FCapture);
  EXPECT_EQ(Changed, 1);
}

TEST_P(ScrollBar, AHeldArrowRepeatsWhileHeldAndStopsAtTheEnd) {
  TDXScrollBar& bar = Make(0, 100, 50);
  const int forwardArrow = kLength - ForwardSize() / 2;
  PressAt(forwardArrow);
  EXPECT_EQ(bar.FPosition, 51);
  Frames(30, 7);  // a step whenever more than 100 div 5 ms have passed: every third frame
  EXPECT_EQ(bar.FPosition, 61);
  ReleaseAt(forwardArrow);
  Frames(10, 7);
  EXPECT_EQ(bar.FPosition, 61);
  ASSERT_NE(CentreOf(ScrollBarImage::Forward), CentreOf(ScrollBarImage::ForwardDown));
  EXPECT_EQ(DrawnAt(forwardArrow), CentreOf(ScrollBarImage::Forward)) << "the released arrow is drawn up";

  PressAt(BackSize() / 2);
  EXPECT_EQ(DrawnAt(BackSize() / 2), CentreOf(ScrollBarImage::BackDown));
  Frames(9, 7);
  EXPECT_EQ(bar.FPosition, 57);
  ReleaseAt(BackSize() / 2);

  bar.SetPosition(98);
  Values.clear();
  PressAt(forwardArrow);
  Frames(30, 7);
  ReleaseAt(forwardArrow);
  EXPECT_EQ(bar.FPosition, 100);
  EXPECT_EQ(Values, (std::vector<int>{99, 100})) << "nothing more is reported at the end";
}

TEST_P(ScrollBar, TheThumbIsDrawnAtItsValueAndFlashesAfterAClick) {
  Make(0, 20, 4);
  const int thumbAt = ThumbAt(4, 0, 20);
  EXPECT_EQ(DrawnAt(thumbAt + ThumbSize() / 2), CentreOf(ScrollBarImage::Thumb));
  EXPECT_EQ(DrawnAt(thumbAt - 3), CentreOf(ScrollBarImage::Track));

  ClickAt(kLength - ForwardSize() - 3);  // pages by 20 div 8 = 2
  const int movedAt = ThumbAt(6, 0, 20);
  ASSERT_NE(CentreOf(ScrollBarImage::Thumb), CentreOf(ScrollBarImage::ThumbHeld));
  EXPECT_EQ(DrawnAt(movedAt + ThumbSize() / 2), CentreOf(ScrollBarImage::ThumbHeld));
  Frames(2, 20);
  EXPECT_EQ(DrawnAt(movedAt + ThumbSize() / 2), CentreOf(ScrollBarImage::Thumb));
}

// The thumb's place along the run counts from the range's minimum, wherever that lies.
TEST_P(ScrollBar, ADragOverARangeNotStartingAtZeroCountsFromItsMinimum) {
  TDXScrollBar& bar = Make(20, 60, 30);
  const int grab = ThumbAt(30, 20, 60) + 3;
  PressAt(grab);
  ASSERT_TRUE(bar.FDragging);
  MoveTo(grab + 25);
  EXPECT_EQ(bar.FPosition, 20 + std::lround((ThumbAt(30, 20, 60) - BackSize() + 25) * 40.0 / Run()));
  MoveTo(-50);
  EXPECT_EQ(bar.FPosition, 20);
  MoveTo(kLength + 50);
  EXPECT_EQ(bar.FPosition, 60);
  ReleaseAt(kLength + 50);
}

TEST_P(ScrollBar, HugeRangesPlaceAndDragTheThumbWithoutOverflow) {
  TDXScrollBar& bar = Make(-2000000000, 2000000000, 1000000000);
  const int thumbAt = ThumbAt(1000000000, -2000000000, 2000000000);
  EXPECT_EQ(DrawnAt(thumbAt + ThumbSize() / 2), CentreOf(ScrollBarImage::Thumb));
  ClickAt(BackSize() + 2);
  EXPECT_EQ(bar.FPosition, 500000000) << "a page of the 4e9 wide range";

  PressAt(ThumbAt(500000000, -2000000000, 2000000000) + 1);
  MoveTo(BackSize() + 1 + 100);
  const int64_t expected = -2000000000 + std::llround(100.0 * 4000000000.0 / Run());
  EXPECT_EQ(bar.FPosition, expected);
  MoveTo(kLength + 500);
  EXPECT_EQ(bar.FPosition, 2000000000);
  ReleaseAt(kLength);

  bar.SetMin(0);
  bar.SetPosition(2000000000);
  Frames(2);  // the page click's flash is over
  EXPECT_EQ(DrawnAt(BackSize() + Run() + ThumbSize() / 2), CentreOf(ScrollBarImage::Thumb));
}

TEST_P(ScrollBar, ABarOnTheTableTakesPressesInTableCoordinates) {
  TDXScrollBar& bar = Make(0, 100, 50);
  bar.FSprite.Get()->Fixed = false;
  Engine.FScrollX = 40;
  Engine.FScrollY = 30;
  const TPoint arrow = At(BackSize() / 2);
  Press(arrow.X - 40, arrow.Y - 30);
  EXPECT_EQ(bar.FPosition, 49);
  EXPECT_TRUE(bar.FBackHeld);
  Release(arrow.X - 40, arrow.Y - 30);
}

TEST_P(ScrollBar, AThrowingHandlerLeavesTheBarWorking) {
  TDXScrollBar& bar = Make(0, 100, 0);
  bar.OnChange = [](TDXControl*) { throw std::runtime_error("handler failed"); };
  PressAt(BackSize() + 5);
  EXPECT_THROW(MoveTo(BackSize() + 60), std::runtime_error);
  EXPECT_FALSE(bar.FPainting);
  bar.OnChange = nullptr;
  MoveTo(BackSize() + 90);
  ReleaseAt(BackSize() + 90);
  EXPECT_EQ(Changed, 1) << "OnChanged is heard again although the handler threw";
}

TEST_P(ScrollBar, TheSmallStyleFallsBackToTheLargeSetWhereThereIsNoSmallOne) {
  TDXScrollBar& bar = Make(0, 10, 0);
  bar.SetStyle(ScrollBarStyle::Small);
  EXPECT_EQ(bar.FStyle, ScrollBarStyle::Small);
  const EScrollBarSet expected = Horizontal() ? EScrollBarSet::HorizontalSmall : EScrollBarSet::VerticalLarge;
  const TImageList& set = Images->ScrollBar(expected);
  EXPECT_EQ(bar.FImages, set);
  EXPECT_EQ(Horizontal() ? bar.FHeight : bar.FWidth,
            Horizontal() ? set[ScrollBarImage::Forward]->Height() : set[ScrollBarImage::Forward]->Width());
  bar.SetStyle(7);
  EXPECT_EQ(bar.FStyle, ScrollBarStyle::Small);
}

TEST_P(ScrollBar, AShortBarGrowsToHoldItsPartsAndAThumbWithoutRoomStays) {
  TDXScrollBar& bar = Make(0, 10, 5);
  bar.SetBounds(kLeft, kTop, 10, 10);
  const int minimum = BackSize() + ForwardSize() + ThumbSize();
  EXPECT_EQ(Horizontal() ? bar.FWidth : bar.FHeight, minimum);
  PressAt(BackSize() + ThumbSize() / 2);
  EXPECT_TRUE(bar.FDragging);
  MoveTo(minimum + 50);
  ReleaseAt(minimum + 50);
  EXPECT_EQ(bar.FPosition, 5);
}

INSTANTIATE_TEST_SUITE_P(BothAxes, ScrollBar, ::testing::Values(EScrollAxis::Horizontal, EScrollAxis::Vertical),
                         [](const ::testing::TestParamInfo<EScrollAxis>& info) {
                           return info.param == EScrollAxis::Horizontal ? "Horizontal" : "Vertical";
                         });

}  // namespace
}  // namespace qj::test
