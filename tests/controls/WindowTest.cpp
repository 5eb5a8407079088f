// Windows driven with the mouse and the clock: moving, sizing, client size, activation, double
// clicks, the full-size content view, what the frame looks like, and how often it is drawn.
#include <cmath>
#include <memory>
#include <stdexcept>

#include "controls/UControlImages.h"
#include "controls/UWindows.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Input.h"
#include "tests/controls/ControlFixture.h"

namespace qj::test {
namespace {

class Windows : public TControlTest {
 protected:
  // A large-style window, drawn once.
  TDXWindow& MakeWindow(TRect bounds, bool resizable = false, bool activatable = true) {
    auto& window = Screen.AddOwnedControl<TDXWindow>();
    TWindowSetup setup;
    setup.Resizable = resizable;
    setup.Activatable = activatable;
    window.Setup("Title", bounds.Left, bounds.Top, bounds.Width(), bounds.Height(), setup);
    Frames(1);
    return window;
  }
  const TWindowStyle& Large() { return CurrentControlImages()->WindowStyles[0]; }
  int Minimum(int size) { return int(std::lround(size / 1.85)); }
  void Drag(TPoint from, TPoint to) {
    Press(from.X, from.Y);
    Move(to.X, to.Y);
    Release(to.X, to.Y);
  }
};

TEST_F(Windows, TheTitleBandMovesTheWindowDownToItsLastRow) {
  TDXWindow& window = MakeWindow(MakeRect(100, 100, 300, 200));
  Press(150, 110);
  EXPECT_EQ(Display.CursorKind, TCursorKind::Hand);
  Move(200, 150);
  EXPECT_EQ(window.BoundsRect(), MakeRect(150, 140, 300, 200));
  Release(200, 150);
  EXPECT_EQ(Display.CursorKind, TCursorKind::Arrow);

  const int lastRow = window.FTop + window.TitleHeight();
  Drag({250, lastRow}, {260, lastRow + 5});
  EXPECT_EQ(window.BoundsRect(), MakeRect(160, 145, 300, 200));
  EXPECT_EQ(window.FDragMode, EWindowDrag::None);
}

TEST_F(Windows, BelowTheTitleAWindowThatCannotResizeKeepsSizeAndCursor) {
  TDXWindow& window = MakeWindow(MakeRect(100, 100, 300, 200));
  Display.CursorKind = TCursorKind::Hourglass;
  for (TPoint p : {TPoint{103, 200}, TPoint{395, 200}, TPoint{395, 296}, TPoint{200, 200}}) {
    Drag(p, {p.X + 30, p.Y + 30});
    EXPECT_EQ(window.BoundsRect(), MakeRect(100, 100, 300, 200));
    EXPECT_EQ(Display.CursorKind, TCursorKind::Hourglass);
  }
}

TEST_F(Windows, EdgesAndCornersResizeWithTheirCursor) {
  // Large frame: right band at x 392, bottom band at y 292, left grip up to x 108.
  struct TCase {
    TPoint From;
    TCursorKind Cursor;
    TRect After;
  };
  const TCase cases[] = {
      {{395, 200}, TCursorKind::SizeWE, MakeRect(100, 100, 330, 200)},
      {{103, 200}, TCursorKind::SizeWE, MakeRect(130, 100, 270, 200)},
      {{200, 296}, TCursorKind::SizeNS, MakeRect(100, 100, 300, 230)},
      {{103, 296}, TCursorKind::SizeNESW, MakeRect(130, 100, 270, 230)},
      {{395, 296}, TCursorKind::SizeNWSE, MakeRect(100, 100, 330, 230)},
  };
  for (const TCase& c : cases) {
    TDXWindow& window = MakeWindow(MakeRect(100, 100, 300, 200), true);
    ASSERT_EQ(window.RightBandX(), 392);
    ASSERT_EQ(window.BottomBandY(), 292);
    Press(c.From.X, c.From.Y);
    EXPECT_EQ(Display.CursorKind, c.Cursor);
    Move(c.From.X + 30, c.From.Y + 30);
    Release(c.From.X + 30, c.From.Y + 30);
    EXPECT_EQ(window.BoundsRect(), c.After) << c.From.X << "," << c.From.Y;
    EXPECT_EQ(Display.CursorKind, TCursorKind::Arrow);
    window.SetLeft(-1000);  // out of the way of the next case
  }
}

TEST_F(Windows, SizeStopsAtTheFrameMinimumAndTheRightEdgeStaysPut) {
  TDXWindow& window = MakeWindow(MakeRect(100, 100, 300, 200), true);
  const int minWidth = Minimum(Large().FrameInactive->Width());
  const int minHeight = Minimum(Large().FrameInactive->Height());
  window.SetWidth(10);
  EXPECT_EQ(window.FWidth, minWidth);
  window.SetHeight(10);
  EXPECT_EQ(window.FHeight, minHeight);

  window.SetBounds(100, 100, 300, 200);
  Drag({103, 200}, {390, 200});
  EXPECT_EQ(window.FWidth, minWidth);
  EXPECT_EQ(window.FLeft + window.FWidth, 400);
}

TEST_F(Windows, ClientSizeIsTakenOnlyWhenItFitsAndTheWindowPaintsAfterwards) {
  TDXWindow& window = MakeWindow(MakeRect(100, 100, 300, 200));
  int repaints = window.RepaintCount();
  auto paintsAgain = [&] {
    Frames(1);
    const bool painted = window.RepaintCount() > repaints;
    repaints = window.RepaintCount();
    return painted && !window.FUpdating;
  };
  EXPECT_TRUE(window.SetClientSize(200, 100));
  EXPECT_EQ(window.ClientWidth(), 200);
  EXPECT_EQ(window.ClientHeight(), 100);
  EXPECT_TRUE(paintsAgain());
  const TRect before = window.BoundsRect();
  EXPECT_FALSE(window.SetClientSize(5, 100));  // too narrow
  EXPECT_EQ(window.BoundsRect(), before);
  EXPECT_TRUE(paintsAgain());
  EXPECT_FALSE(window.SetClientSize(200, 5));  // too low
  EXPECT_EQ(window.BoundsRect(), before);
  EXPECT_TRUE(paintsAgain());
  window.SetCaption("Again");
  EXPECT_TRUE(paintsAgain());
}

TEST_F(Windows, AThrowingResizeHandlerLeavesTheWindowPaintable) {
  TDXWindow& window = MakeWindow(MakeRect(100, 100, 300, 200));
  window.OnResize = [](TDXControl*, int) { throw std::runtime_error("owner failed"); };
  EXPECT_THROW((void)window.SetClientSize(200, 100), std::runtime_error);
  EXPECT_FALSE(window.FUpdating);
  window.OnResize = nullptr;
  const int repaints = window.RepaintCount();
  window.SetCaption("Still painting");
  Frames(1);
  EXPECT_EQ(window.RepaintCount(), repaints + 1);
}

TEST_F(Windows, OneWindowIsActiveAndAWindowOutsideActivationNeverChanges) {
  TDXWindow& a = MakeWindow(MakeRect(10, 10, 200, 150));
  TDXWindow& b = MakeWindow(MakeRect(300, 10, 200, 150));
  TDXWindow& fixed = MakeWindow(MakeRect(10, 300, 200, 150), false, false);
  Click(100, 100);
  EXPECT_EQ(ActiveWindow, &a);
  EXPECT_TRUE(a.FActive);
  Click(400, 100);
  EXPECT_EQ(ActiveWindow, &b);
  EXPECT_FALSE(a.FActive);
  EXPECT_TRUE(b.FActive);
  Click(100, 400);
  fixed.SetActive(true);
  EXPECT_EQ(ActiveWindow, &b);
  EXPECT_FALSE(fixed.FActive);

  auto gone = std::make_unique<TDXWindow>(&Screen);
  gone->SetBounds(10, 300, 200, 150);
  gone->SetActive(true);
  EXPECT_EQ(ActiveWindow, gone.get());
  EXPECT_FALSE(b.FActive);
  gone.reset();
  EXPECT_EQ(ActiveWindow, nullptr);
}

TEST_F(Windows, ASecondPressWithin200msIsADoubleClick) {
  TDXWindow& window = MakeWindow(MakeRect(100, 100, 300, 200));
  int downs = 0, doubles = 0;
  window.OnMouseDown = [&](TDXControl*) { ++downs; };
  window.OnDblClick = [&](TDXControl*) { ++doubles; };
  Click(200, 200);
  EXPECT_EQ(doubles, 0);
  Clock.Advance(150);
  Click(200, 200);
  EXPECT_EQ(doubles, 1);
  Clock.Advance(150);
  Click(200, 200);
  EXPECT_EQ(doubles, 2);
  Clock.Advance(250);
  Click(200, 200);
  EXPECT_EQ(doubles, 2);
  EXPECT_EQ(downs, 4);
}

TEST_F(Windows, FullSizeContentStartsRightOfTheClientEdgeForANegativeOrigin) {
  TDXWindow& window = MakeWindow(MakeRect(50, 50, 300, 200));
  window.FFullSizeContents = true;
  TMyDib picture(100, 80);
  picture.Fill(MakePixel(200, 30, 30));
  window.SetImage(picture);
  window.SetScrollOrigin({-20, 0});
  const TSpritePart& part = window.FSprite.Get()->Parts[WindowLayer::Image];
  EXPECT_EQ(part.Mode, EPartMode::CopySource);
  EXPECT_EQ(part.Dest, MakeRect(window.FInsetLeft + 20, window.FInsetTop, 100, 80));
  EXPECT_EQ(part.Source, MakeRect(0, 0, 100, 80));
  Frames(1);
  Draw();
  const int clientX = 50 + window.FInsetLeft, clientY = 50 + window.FInsetTop;
  EXPECT_NE(PixelAt(clientX + 10, clientY + 10), MakePixel(200, 30, 30));
  EXPECT_EQ(PixelAt(clientX + 25, clientY + 10), MakePixel(200, 30, 30));

  // Scrolled past the picture: nothing of it shows, and the frame is still drawn.
  window.SetScrollOrigin({1000, 0});
  EXPECT_TRUE(window.FSprite.Get()->Parts[WindowLayer::Image].Hidden);
  Draw();
  EXPECT_EQ(PixelAt(50 + 5, 50 + 5), Large().FrameInactive->At(5, 5) & kRgbMask);
}

TEST_F(Windows, ContentIsCentredOrStretchedIntoTheClientArea) {
  TDXWindow& window = MakeWindow(MakeRect(50, 50, 300, 200));
  TMyDib image(40, 20);
  image.Fill(MakePixel(20, 200, 20));
  window.SetImage(image);
  Frames(1);
  Draw();
  const int x = (300 - 40) / 2, y = window.TitleHeight() + (window.ClientHeight() - 20) / 2;
  EXPECT_EQ(PixelAt(50 + x + 1, 50 + y + 1), MakePixel(20, 200, 20));
  EXPECT_NE(PixelAt(50 + x - 1, 50 + y + 1), MakePixel(20, 200, 20));

  window.FStretchContents = true;
  window.FKeepAspect = true;
  window.SetPicture(image);
  const TSpritePart& part = window.FSprite.Get()->Parts[WindowLayer::Picture];
  EXPECT_EQ(part.Mode, EPartMode::Stretch);
  EXPECT_EQ(part.Dest, window.ClientRect());
  EXPECT_TRUE(part.KeepAspect);
  EXPECT_FALSE(part.Hidden);
  window.ClearPicture();
  EXPECT_TRUE(window.FSprite.Get()->Parts[WindowLayer::Picture].Hidden);
}

TEST_F(Windows, TheFrameCornersAndClientBackgroundAreDrawn) {
  TDXWindow& window = MakeWindow(MakeRect(40, 60, 300, 200));
  Draw();
  const TMyDib& frame = *Large().FrameInactive;
  const int w = frame.Width(), h = frame.Height();
  EXPECT_EQ(PixelAt(40 + 5, 60 + 5), frame.At(5, 5) & kRgbMask);
  EXPECT_EQ(PixelAt(40 + 300 - 4, 60 + 200 - 4), frame.At(w - 4, h - 4) & kRgbMask);
  const TMyDib& client = *Large().ClientBackground;
  EXPECT_EQ(PixelAt(40 + window.FInsetLeft, 60 + window.FInsetTop), client.At(0, 0) & kRgbMask);

  window.SetActive(true);
  Frames(1);
  Draw();
  EXPECT_EQ(PixelAt(40 + 5, 60 + 5), Large().FrameActive->At(5, 5) & kRgbMask);
}

TEST_F(Windows, ManyChangesInOneFrameRepaintOnce) {
  TDXWindow& window = MakeWindow(MakeRect(100, 100, 300, 200), true);
  Click(150, 110);  // activation draws the active frame once
  Frames(1);
  const int repaints = window.RepaintCount();
  Press(150, 110);
  for (int i = 1; i <= 50; ++i) Move(150 + i, 110 + i);  // moving alone redraws nothing
  Release(200, 160);
  Frames(1);
  EXPECT_EQ(window.RepaintCount(), repaints);
  const int right = window.RightBandX() + 3, row = window.FTop + 100;
  Press(right, row);
  for (int i = 1; i <= 50; ++i) Move(right + i, row);
  Release(right + 50, row);
  Frames(3);
  EXPECT_EQ(window.RepaintCount(), repaints + 1);
  EXPECT_EQ(window.FWidth, 350);
}

}  // namespace
}  // namespace qj::test
