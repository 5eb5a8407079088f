// How the surface is fitted into a window or onto the desktop, and how output pixels map back:
// a click must land on the surface pixel that is shown under it at every scale.
#include <gtest/gtest.h>

#include "platform/Viewport.h"

namespace qj::test {
namespace {

TEST(Viewport, FullScreen800By600OnA2560By1440DesktopFillsTheHeightBetweenBars) {
  const TViewport v = FitViewport(800, 600, 2560, 1440);
  EXPECT_EQ(v.Picture, MakeRect(320, 0, 1920, 1440));
  EXPECT_FALSE(v.WholeFactor());
}

TEST(Viewport, AWholeFactorIsRecognised) {
  const TViewport v = FitViewport(800, 600, 1600, 1200);
  EXPECT_EQ(v.Picture, MakeRect(0, 0, 1600, 1200));
  EXPECT_TRUE(v.WholeFactor());
  EXPECT_TRUE(FitViewport(1280, 720, 3840, 2160).WholeFactor());
  EXPECT_TRUE(FitViewport(790, 570, 790, 570).WholeFactor());
}

TEST(Viewport, AWideSurfaceGetsBarsAboveAndBelow) {
  const TViewport v = FitViewport(1600, 900, 1600, 1200);
  EXPECT_EQ(v.Picture, MakeRect(0, 150, 1600, 900));
}

TEST(Viewport, TheLimitingSideIsFilledAndTheOtherRounded) {
  // 1280 x 768 on 1366 x 768: the height limits, the width stays 1280, centred.
  EXPECT_EQ(FitViewport(1280, 768, 1366, 768).Picture, MakeRect(43, 0, 1280, 768));
  // 1152 x 864 on 2560 x 1440: 1440 / 864 = 1.666..., width 1920.
  EXPECT_EQ(FitViewport(1152, 864, 2560, 1440).Picture, MakeRect(320, 0, 1920, 1440));
  // 1600 x 1200 in 1000 x 1001: width limits, 750 rows.
  EXPECT_EQ(FitViewport(1600, 1200, 1000, 1001).Picture, MakeRect(0, 125, 1000, 750));
}

TEST(Viewport, EmptySizesGiveNoPicture) {
  EXPECT_TRUE(FitViewport(0, 600, 800, 600).Picture.IsEmpty());
  EXPECT_TRUE(FitViewport(800, 600, 0, 0).Picture.IsEmpty());
  const TViewport none = FitViewport(800, 600, 0, 0);
  EXPECT_EQ(none.ToSurface({5, 7}), (TPoint{5, 7}));
}

TEST(Viewport, OutputPixelsMapOntoTheSurfacePixelTheyShow) {
  const TViewport v = FitViewport(800, 600, 2560, 1440);  // 2.4 output pixels a surface pixel
  EXPECT_EQ(v.ToSurface({320, 0}), (TPoint{0, 0}));
  EXPECT_EQ(v.ToSurface({321, 1}), (TPoint{0, 0}));  // its centre 1.5 / 2.4 = 0.625
  EXPECT_EQ(v.ToSurface({322, 2}), (TPoint{1, 1}));  // its centre 2.5 / 2.4 = 1.04
  EXPECT_EQ(v.ToSurface({2239, 1439}), (TPoint{799, 599}));  // the last output pixel of the picture
}

TEST(Viewport, PointsInTheBarsLieOutsideTheSurface) {
  const TViewport v = FitViewport(800, 600, 2560, 1440);
  EXPECT_LT(v.ToSurface({319, 700}).X, 0);
  EXPECT_LT(v.ToSurface({0, 700}).X, 0);
  EXPECT_GE(v.ToSurface({2240, 700}).X, 800);
  EXPECT_GE(v.ToSurface({2559, 700}).X, 800);
}

// Every surface pixel has an output pixel that maps back onto it, at every scale the game uses,
// from below one to well above it.
TEST(Viewport, EverySurfacePixelRoundTripsWhenScaledUp) {
  const struct {
    int sw, sh, ow, oh;
  } cases[] = {{800, 600, 2560, 1440},  {1280, 960, 2560, 1440}, {1600, 1200, 2400, 1350},
               {1152, 864, 1920, 1080}, {800, 600, 800, 600},    {1280, 768, 3840, 2160},
               {790, 570, 1581, 1141}};
  for (const auto& c : cases) {
    const TViewport v = FitViewport(c.sw, c.sh, c.ow, c.oh);
    for (int x = 0; x < c.sw; ++x)
      ASSERT_EQ(v.ToSurface(v.ToOutput({x, 0})).X, x) << c.sw << "x" << c.sh << " in " << c.ow << "x" << c.oh;
    for (int y = 0; y < c.sh; ++y)
      ASSERT_EQ(v.ToSurface(v.ToOutput({0, y})).Y, y) << c.sw << "x" << c.sh << " in " << c.ow << "x" << c.oh;
  }
}

// Scaled down (a mode larger than the desktop), every output pixel of the picture still maps
// inside the surface, and the first and last ones onto its edges.
TEST(Viewport, ScaledDownEveryOutputPixelMapsInsideTheSurface) {
  const TViewport v = FitViewport(1280, 960, 1280, 800);
  EXPECT_EQ(v.Picture, MakeRect(106, 0, 1067, 800));
  for (int x = v.Picture.Left; x < v.Picture.Right; ++x) {
    const int s = v.ToSurface({x, 0}).X;
    ASSERT_GE(s, 0);
    ASSERT_LT(s, 1280);
  }
  EXPECT_EQ(v.ToSurface({v.Picture.Left, 0}).X, 0);
  EXPECT_EQ(v.ToSurface({v.Picture.Right - 1, 799}), (TPoint{1279, 959}));
}

TEST(Viewport, AWindowsSurfaceFollowsItUpToThePlayTable) {
  EXPECT_EQ(WindowedSurfaceSize(790, 570), (TPoint{790, 570}));
  EXPECT_EQ(WindowedSurfaceSize(1600, 1200), (TPoint{1600, 1200}));
  EXPECT_EQ(WindowedSurfaceSize(2400, 1350), (TPoint{1600, 1200}));
  EXPECT_EQ(WindowedSurfaceSize(2000, 1000), (TPoint{1600, 1000}));
  EXPECT_EQ(WindowedSurfaceSize(0, 0), (TPoint{1, 1}));
}

// Client rectangles inside a work area with a 1-pixel frame, a 20-pixel title and a 5-pixel foot.
TEST(Viewport, TheFirstWindowIsTheLargestTheGameUsesThatFitsCentred) {
  const TFrameExtents frame{1, 20, 1, 5};
  EXPECT_EQ(FirstClientRect(MakeRect(0, 0, 1920, 1080), frame), MakeRect(160, 20, 1600, 1055));
  EXPECT_EQ(FirstClientRect(MakeRect(0, 0, 3840, 2160), frame), MakeRect(1120, 487, 1600, 1200));
  EXPECT_EQ(FirstClientRect(MakeRect(0, 30, 1280, 994), frame), MakeRect(1, 50, 1278, 969));
  EXPECT_EQ(FirstClientRect(MakeRect(0, 0, 640, 480), frame), MakeRect(1, 20, 790, 570));
}

TEST(Viewport, AKeptWindowComesBackInsideTheWorkArea) {
  const TRect hd = MakeRect(0, 0, 1920, 1080);
  const TFrameExtents frame{1, 20, 1, 5};
  EXPECT_EQ(FitClientRect(MakeRect(300, 200, 1000, 700), hd, frame), MakeRect(300, 200, 1000, 700));
  EXPECT_EQ(FitClientRect(MakeRect(1500, 900, 1000, 700), hd, frame), MakeRect(919, 375, 1000, 700));
  EXPECT_EQ(FitClientRect(MakeRect(-5000, -10, 2400, 1800), hd, frame), MakeRect(1, 20, 1918, 1055));
  EXPECT_EQ(FitClientRect(MakeRect(3000, 0, 1000, 700), MakeRect(1920, 0, 1280, 1024), {}), MakeRect(2200, 0, 1000, 700));
}

// Full screen's own screen: the desktop scaled down to fit 1600 x 1200 with its aspect kept.
TEST(Viewport, FullScreenShowsTheDesktopsSizeFittedToThePlayTable) {
  const struct {
    int W, H;
    TPoint Surface;
  } cases[] = {{1920, 1080, {1600, 900}}, {1280, 1024, {1280, 1024}}, {2560, 1440, {1600, 900}},
               {2560, 1600, {1600, 1000}}, {3840, 2160, {1600, 900}}, {1600, 1200, {1600, 1200}},
               {1366, 768, {1366, 768}},   {1024, 768, {1024, 768}},   {0, 0, {790, 570}}};
  for (const auto& c : cases) EXPECT_EQ(DesktopSurfaceSize(c.W, c.H), c.Surface) << c.W << "x" << c.H;
}

TEST(Viewport, FullScreenWaitsForTheBlankAtTheDefaultOrTheDesktopsOwnRate) {
  EXPECT_TRUE(FullScreenVSync(0, 60));
  EXPECT_TRUE(FullScreenVSync(60, 60));
  EXPECT_FALSE(FullScreenVSync(75, 60));
  EXPECT_TRUE(FullScreenVSync(0, 0));
}

}  // namespace
}  // namespace qj::test
