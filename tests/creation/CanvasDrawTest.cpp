// The canvas geometry the cut map is drawn with: exact pixels, no gaps a fill could leak through.
#include <gtest/gtest.h>

#include "platform/Canvas.h"

namespace qj {
namespace {

constexpr TPixel kWhite = 0xFFFFFF;

int CountColour(const TPixelBuffer& b, TPixel c) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.At(x, y) == c;
  return n;
}

TEST(CanvasLines, ThinLineLeavesOutItsLastPixel) {
  TPixelBuffer b(10, 10);
  TCanvas c(b);
  c.MoveTo(1, 1);
  c.LineTo(6, 1);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(b.At(x, 1), kWhite) << x;
  EXPECT_EQ(b.At(6, 1), 0u);
  EXPECT_EQ(CountColour(b, kWhite), 5);
  EXPECT_EQ(c.PenPos(), (TPoint{6, 1}));
}

TEST(CanvasLines, DiagonalStepsAndSteepLines) {
  TPixelBuffer b(10, 10);
  TCanvas c(b);
  c.MoveTo(0, 0);
  c.LineTo(4, 4);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(b.At(k, k), kWhite);
  b.Fill(0);
  c.MoveTo(2, 8);
  c.LineTo(3, 0);  // steep, upwards: eight pixels, one column step half way
  EXPECT_EQ(CountColour(b, kWhite), 8);
  for (int y = 1; y <= 8; ++y) EXPECT_TRUE(b.At(2, y) == kWhite || b.At(3, y) == kWhite) << y;
}

TEST(CanvasLines, LinesFarOutsideAreClippedWithoutWalkingThem) {
  TPixelBuffer b(8, 8);
  TCanvas c(b);
  c.MoveTo(-(1 << 24), 4);
  c.LineTo(1 << 24, 4);
  EXPECT_EQ(CountColour(b, kWhite), 8);
}

TEST(CanvasLines, WidePenIsRoundAndPaintsEachPixelOnceUnderXor) {
  TPixelBuffer b(20, 20);
  TCanvas c(b);
  c.PenWidth = 3;
  c.XorPen = true;
  c.MoveTo(5, 10);
  c.LineTo(15, 10);
  for (int x = 4; x <= 16; ++x) {
    EXPECT_EQ(b.At(x, 9), kWhite) << x;
    EXPECT_EQ(b.At(x, 11), kWhite) << x;
  }
  EXPECT_EQ(b.At(10, 8), 0u);
  EXPECT_EQ(b.At(17, 10), 0u);
  // Drawing the same line again under XOR takes every pixel back out.
  c.MoveTo(5, 10);
  c.LineTo(15, 10);
  EXPECT_EQ(CountColour(b, 0), 400);
}

TEST(CanvasShapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  TPixelBuffer b(10, 10);
  TCanvas c(b);
  c.BrushColor = 0x123456;
  c.Rectangle(2, 2, 7, 6);  // right and bottom exclusive
  EXPECT_EQ(b.At(2, 2), kWhite);
  EXPECT_EQ(b.At(6, 5), kWhite);
  EXPECT_EQ(b.At(7, 5), 0u);
  EXPECT_EQ(b.At(6, 6), 0u);
  EXPECT_EQ(b.At(4, 3), 0x123456u);
  EXPECT_EQ(CountColour(b, kWhite), 14);
}

TEST(CanvasShapes, EllipseIsSymmetricAndItsOutlineClosesItsInside) {
  TPixelBuffer b(40, 30);
  TCanvas c(b);
  c.BrushColor = 0x0000FF;
  c.Ellipse(5, 3, 35, 27);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(b.At(x, y), b.At(39 - x, y)) << x << "," << y;
      ASSERT_EQ(b.At(x, y), b.At(x, 29 - y)) << x << "," << y;
    }
  EXPECT_EQ(b.At(20, 15), 0x0000FFu);
  EXPECT_EQ(b.At(5, 15), kWhite);
  EXPECT_EQ(b.At(34, 15), kWhite);
  EXPECT_EQ(b.At(35, 15), 0u);
  // Filling the inside never leaks out through the outline.
  c.FloodFill(20, 15, 0x00FF00);
  EXPECT_EQ(b.At(0, 0), 0u);
  EXPECT_EQ(CountColour(b, 0x0000FF), 0);
}

TEST(CanvasFill, FourNeighbourFillStopsAtDiagonalLines) {
  TPixelBuffer b(10, 10);
  TCanvas c(b);
  c.MoveTo(0, 9);
  c.LineTo(10, -1);  // a one-pixel diagonal from corner to corner
  c.FloodFill(0, 0, 0x00FF00);
  EXPECT_EQ(b.At(0, 0), 0x00FF00u);
  EXPECT_EQ(b.At(9, 9), 0u);
  EXPECT_EQ(CountColour(b, 0x00FF00), 45);
}

TEST(CanvasFill, DarkenScalesEachChannelInsideTheClippedRectangleAndKeepsAlpha) {
  TPixelBuffer b(4, 2);
  for (int x = 0; x < 4; ++x) b.At(x, 0) = b.At(x, 1) = 0x80FF8040;
  TCanvas c(b);
  c.Darken(MakeRect(2, -5, 10, 6), 128);  // the right half of the top row, and the clipped rest
  EXPECT_EQ(b.At(2, 0), 0x807F4020u);
  EXPECT_EQ(b.At(3, 0), 0x807F4020u);
  EXPECT_EQ(b.At(1, 0), 0x80FF8040u);
  EXPECT_EQ(b.At(2, 1), 0x80FF8040u);
}

}  // namespace
}  // namespace qj
