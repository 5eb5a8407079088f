// Surfaces and blits, checked pixel by pixel against what each blit must produce.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/Dib.h"
#include "platform/Surface.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

constexpr TPixel kRed = MakePixel(255, 0, 0), kGreen = MakePixel(0, 255, 0), kBlue = MakePixel(0, 0, 255);
constexpr TPixel kGrey = MakePixel(100, 100, 100);

TSurface Filled(int w, int h, TPixel colour) {
  TSurface s(w, h);
  s.Fill(colour);
  return s;
}

// Distinct, never-transparent pixels: the value tells where a pixel came from.
TSurface Numbered(int w, int h) {
  TSurface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.At(x, y) = MakePixel(10 + x, 10 + y, 7);
  return s;
}

TEST(Surface, LiveListFollowsCreationAndDestruction) {
  const size_t before = TSurface::LiveCount();
  auto a = std::make_unique<TSurface>(2, 2);
  auto b = std::make_unique<TSurface>(*a);
  EXPECT_EQ(TSurface::LiveCount(), before + 2);
  EXPECT_EQ(TSurface::LiveItem(before), a.get());
  EXPECT_EQ(TSurface::LiveItem(before + 1), b.get());
  a.reset();
  EXPECT_EQ(TSurface::LiveCount(), before + 1);
  EXPECT_EQ(TSurface::LiveItem(before), b.get());
  EXPECT_EQ(TSurface::LiveItem(before + 1), nullptr);
}

TEST(Surface, ReadPixelCopyAndDrawArea) {
  TSurface s = Numbered(3, 2);
  TPixel p = 0;
  EXPECT_TRUE(s.ReadPixel(2, 1, p));
  EXPECT_EQ(p, MakePixel(12, 11, 7));
  EXPECT_FALSE(s.ReadPixel(3, 0, p));
  EXPECT_FALSE(s.ReadPixel(0, -1, p));
  TSurface copy;
  copy.CopyFrom(s);
  EXPECT_EQ(copy.Width(), 3);
  EXPECT_EQ(copy.At(1, 1), s.At(1, 1));
  s.AttachClipper({-5, 1, 2, 9});
  EXPECT_EQ(s.DrawArea(), (TRect{0, 1, 2, 2}));
  s.DetachClipper();
  EXPECT_EQ(s.DrawArea(), s.Bounds());
}

TEST(Surface, LoadsBitmapsAndRefusesMissingFiles) {
  test::TTempFolder folder;
  TMyDib dib(3, 2, 32);
  dib.At(2, 1) = kGreen;
  ASSERT_TRUE(dib.SaveToFile(folder.File("p.bmp")));
  TSurface s = Filled(1, 1, kRed);
  EXPECT_FALSE(s.LoadFromFile(folder.File("missing.bmp")));
  EXPECT_EQ(s.Width(), 1);
  ASSERT_TRUE(s.LoadFromFile(folder.File("p.bmp")));
  EXPECT_EQ(s.Width(), 3);
  EXPECT_EQ(s.At(2, 1) & kRgbMask, kGreen);
}

TEST(KeyedBlit, KeyPixelsLeaveTheTargetUntouched) {
  TSurface dst = Filled(9, 3, kGrey);
  TSurface src = Filled(9, 1, kRed);
  src.At(1, 0) = 0xFF000000;  // alpha data, still the key colour
  src.At(6, 0) = 0;
  BltFast(dst, 0, 1, src, true);
  for (int x = 0; x < 9; ++x) EXPECT_EQ(dst.At(x, 1), x == 1 || x == 6 ? kGrey : kRed) << x;
  EXPECT_EQ(dst.At(3, 0), kGrey);
  BltFast(dst, 0, 1, src, false);
  EXPECT_EQ(dst.At(6, 1), 0u);
}

TEST(KeyedBlit, ClipsAtEveryEdgeAndToTheClipper) {
  const TSurface src = Numbered(4, 4);
  for (const TPoint at : {TPoint{-2, -3}, TPoint{8, 7}, TPoint{-1, 8}, TPoint{9, -2}}) {
    TSurface dst = Filled(10, 9, kGrey);
    BltFast(dst, at.X, at.Y, src, true);
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool inside = x >= at.X && x < at.X + 4 && y >= at.Y && y < at.Y + 4;
        EXPECT_EQ(dst.At(x, y), inside ? src.At(x - at.X, y - at.Y) : kGrey) << at.X << "," << at.Y;
      }
  }
  TSurface dst = Filled(10, 10, kGrey);
  dst.AttachClipper({3, 3, 5, 6});
  Blt(dst, MakeRect(2, 2, 4, 4), src, src.Bounds(), true);
  EXPECT_EQ(dst.At(2, 2), kGrey);
  EXPECT_EQ(dst.At(3, 3), src.At(1, 1));
  EXPECT_EQ(dst.At(4, 5), src.At(2, 3));
  EXPECT_EQ(dst.At(5, 5), kGrey);
  BltFast(dst, -100, -100, src, false);  // wholly outside: nothing
  EXPECT_EQ(dst.At(3, 3), src.At(1, 1));
}

TEST(KeyedBlit, SourceRectangleAndOverlappingSelfCopy) {
  const TSurface src = Numbered(6, 6);
  TSurface dst = Filled(4, 4, kGrey);
  Blt(dst, MakeRect(0, 0, 2, 2), src, {4, 4, 6, 6}, false);
  EXPECT_EQ(dst.At(1, 1), src.At(5, 5));
  TSurface self = Numbered(6, 1);
  BltFast(self, 2, 0, self, false);
  EXPECT_EQ(self.At(2, 0), MakePixel(10, 10, 7));
  EXPECT_EQ(self.At(5, 0), MakePixel(13, 10, 7));
}

TEST(Stretch, NearestNeighbourDoublesAndHalves) {
  TSurface src(2, 2);
  src.At(0, 0) = kRed, src.At(1, 0) = kGreen, src.At(0, 1) = kBlue, src.At(1, 1) = 0;
  TSurface big = Filled(4, 4, kGrey);
  Blt(big, big.Bounds(), src, src.Bounds(), true);
  EXPECT_EQ(big.At(1, 1), kRed);
  EXPECT_EQ(big.At(2, 0), kGreen);
  EXPECT_EQ(big.At(0, 3), kBlue);
  EXPECT_EQ(big.At(3, 3), kGrey);  // keyed
  TSurface small = Filled(1, 1, kGrey);
  const TSurface numbered = Numbered(4, 4);
  Blt(small, small.Bounds(), numbered, numbered.Bounds(), false);
  EXPECT_EQ(small.At(0, 0), numbered.At(2, 2));
}

TEST(Stretch, ClippedPartMatchesTheUnclippedStretch) {
  const TSurface src = Numbered(7, 5);
  TSurface whole = Filled(40, 30, kGrey);
  Blt(whole, MakeRect(0, 0, 23, 17), src, src.Bounds(), false);
  TSurface clipped = Filled(40, 30, kGrey);
  clipped.AttachClipper({5, 4, 40, 30});
  Blt(clipped, MakeRect(0, 0, 23, 17), src, src.Bounds(), false);
  TSurface shifted = Filled(20, 10, kGrey);  // the same stretch hanging off the top-left
  Blt(shifted, MakeRect(-6, -5, 23, 17), src, src.Bounds(), false);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 23; ++x) {
      EXPECT_EQ(clipped.At(x, y), x >= 5 && y >= 4 ? whole.At(x, y) : kGrey);
      if (x >= 6 && y >= 5 && x - 6 < 20 && y - 5 < 10) {
        EXPECT_EQ(shifted.At(x - 6, y - 5), whole.At(x, y));
      }
    }
}

TEST(AlphaBlend, MatchesTheRoundedFormulaOnEveryChannel) {
  std::mt19937 random(7);
  TSurface src(64, 16), dst(64, 16);
  for (int i = 0; i < 64 * 16; ++i) {
    src.Bits()[i] = random() | 1;  // never the key colour
    dst.Bits()[i] = random();
  }
  const TSurface before = dst;
  for (const int opacity : {1, 77, 128, 200, 254}) {
    dst = before;
    BltAlpha(dst, 0, 0, src, opacity, true);
    for (int i = 0; i < 64 * 16; ++i)
      for (int shift = 0; shift < 32; shift += 8) {
        const unsigned s = (src.Bits()[i] >> shift) & 255, d = (before.Bits()[i] >> shift) & 255;
        const long expected = std::lround((s * opacity + d * (255 - opacity)) / 255.0);
        ASSERT_EQ((dst.Bits()[i] >> shift) & 255, unsigned(expected)) << opacity;
      }
  }
}

TEST(AlphaBlend, FullOpacityCopiesAndKeyIsSkipped) {
  TSurface dst = Filled(3, 1, kGrey);
  TSurface src = Filled(3, 1, kRed);
  src.At(1, 0) = 0;
  BltAlpha(dst, 0, 0, src, 255, true);
  EXPECT_EQ(dst.At(0, 0), kRed);
  EXPECT_EQ(dst.At(1, 0), kGrey);
  TSurface other = Filled(3, 1, kGrey);
  BltAlpha(other, -1, 0, src, 128, true);
  EXPECT_EQ(other.At(0, 0), kGrey);  // the key pixel landed here
  EXPECT_EQ(other.At(1, 0), MakePixel(178, 50, 50));
  EXPECT_EQ(other.At(2, 0), kGrey);
  TSurface unkeyed = Filled(3, 1, kGrey);
  BltAlpha(unkeyed, 0, 0, src, 128, false);  // without the key, black blends in too
  EXPECT_EQ(unkeyed.At(1, 0), MakePixel(50, 50, 50));
  EXPECT_EQ(unkeyed.At(2, 0), MakePixel(178, 50, 50));
}

TEST(Rotation, QuarterTurnsAreExact) {
  // 4 x 2 turned about its centre: clockwise on screen, the top row becomes the right column.
  TSurface src(4, 2);
  for (int x = 0; x < 4; ++x) src.At(x, 0) = MakePixel(1 + x, 0, 0), src.At(x, 1) = MakePixel(0, 1 + x, 0);
  TSurface dst = Filled(8, 8, kGrey);
  DrawRotated(dst, 2, 3, src, 64, 0.5, 0.5);  // centre (4, 4)
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(dst.At(4, 2 + i), MakePixel(1 + i, 0, 0)) << i;
    EXPECT_EQ(dst.At(3, 2 + i), MakePixel(0, 1 + i, 0)) << i;
  }
  EXPECT_EQ(dst.At(2, 3), kGrey);
  EXPECT_EQ(dst.At(5, 3), kGrey);

  TSurface half = Filled(8, 8, kGrey);
  DrawRotated(half, 2, 3, src, 128, 0.5, 0.5);
  EXPECT_EQ(half.At(5, 4), MakePixel(1, 0, 0));
  EXPECT_EQ(half.At(2, 3), MakePixel(0, 4, 0));
  TSurface back = Filled(8, 8, kGrey);
  DrawRotated(back, 2, 3, src, -64, 0.5, 0.5);  // anticlockwise: top row on the left
  EXPECT_EQ(back.At(3, 5), MakePixel(1, 0, 0));
  EXPECT_EQ(back.At(3, 2), MakePixel(4, 0, 0));
}

TEST(Rotation, FullTurnCopiesAndKeyAndClipperHold) {
  TSurface src = Numbered(5, 3);
  src.At(2, 1) = 0;
  TSurface a = Filled(10, 10, kGrey), b = Filled(10, 10, kGrey);
  DrawRotated(a, 1, 2, src, 256, 0.3, 0.7);
  BltFast(b, 1, 2, src, true);
  EXPECT_EQ(a.At(3, 3), kGrey);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(a.Bits()[i], b.Bits()[i]) << i;

  TSurface clipped = Filled(10, 10, kGrey);
  clipped.AttachClipper({0, 0, 10, 4});
  DrawRotated(clipped, 3, 3, Filled(4, 4, kRed), 32, 0.5, 0.5);
  EXPECT_EQ(clipped.At(5, 3), kRed);
  EXPECT_EQ(clipped.At(5, 5), kGrey);

  TSurface far = Filled(10, 10, kGrey);  // absurd centres draw nothing and do not overflow
  DrawRotated(far, 3, 3, Filled(4, 4, kRed), 32, 1e12, -1e12);
  DrawRotated(far, 3, 3, Filled(4, 4, kRed), 32, std::nan(""), 0.5);
  EXPECT_EQ(far.At(1, 5), kGrey);
}

TEST(Rotation, EighthTurnCoversTheCentreNotTheCorners) {
  TSurface dst = Filled(40, 40, kGrey);
  DrawRotated(dst, 10, 10, Filled(20, 20, kRed), 32, 0.5, 0.5);
  EXPECT_EQ(dst.At(20, 20), kRed);
  EXPECT_EQ(dst.At(20, 6), kRed);   // a corner now points up, beyond the old top edge
  EXPECT_EQ(dst.At(10, 10), kGrey);  // the old corner is bare
}

}  // namespace
}  // namespace qj
