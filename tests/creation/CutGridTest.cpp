// The cut grid: its size per style, the order of its random draws, and where cuts may go.
#include <gtest/gtest.h>

#include "creation/UCutGrid.h"
#include "creation/URandom.h"
#include "platform/Canvas.h"

namespace qj {
namespace {

TCutParameters Params(int style, double pw, double ph) {
  TCutParameters p;
  p.CutStyle = style;
  p.PieceWidth = pw;
  p.PieceHeight = ph;
  p.DistortXSpread = p.DistortYSpread = 1;
  return p;
}

TEST(CutGridSize, ColumnsAndRowsPerStyle) {
  TCutGrid g;
  SizeGrid(g, Params(0, 20, 20), 200, 150);  // c = 10, r = 7
  EXPECT_EQ(g.NI(), 10);
  EXPECT_EQ(g.NJ(), 7);
  SizeGrid(g, Params(4, 20, 20), 180, 150);  // c = 9: 10 columns, even, so 9 points (8 cells)
  EXPECT_EQ(g.NI(), 8);
  EXPECT_EQ(g.NJ(), 6);  // r = 7: 8 rows, even, so 7
  SizeGrid(g, Params(4, 20, 20), 200, 160);  // c = 10: 11 columns; r = 8: 9 rows
  EXPECT_EQ(g.NI(), 10);
  EXPECT_EQ(g.NJ(), 8);
  SizeGrid(g, Params(3, 20, 20), 100, 100);  // c = 5 leaves 2 by 3: 5 columns of points
  EXPECT_EQ(g.NI(), 4);
  SizeGrid(g, Params(3, 20, 20), 120, 100);  // c = 6: 7 columns
  EXPECT_EQ(g.NI(), 6);
  SizeGrid(g, Params(0, 0.5, 20), 100, 100);  // below one pixel: no grid
  EXPECT_EQ(g.NI(), -1);
}

// Fitted sizes make whole pieces cover the whole picture in every style, near the size wanted.
TEST(CutGridSize, FittedPieceSizesCoverTheWholePicture) {
  struct TCase {
    int Width, Height;
    double Wanted;
  };
  for (const TCase& c : {TCase{1200, 900, 262}, TCase{1500, 1100, 21}, TCase{1000, 750, 96}, TCase{173, 131, 20},
                         TCase{200, 150, 200.0 / 7}, TCase{1499, 997, 37}}) {
    for (int style = 0; style <= 8; ++style) {
      TCutParameters p = Params(style, FittingPieceSize(c.Width, c.Wanted, style, true),
                                FittingPieceSize(c.Height, c.Wanted, style, false));
      EXPECT_NEAR(p.PieceWidth, c.Wanted, c.Wanted * 0.5) << c.Width << " style " << style;
      EXPECT_TRUE(CoversPicture(p, c.Width, c.Height)) << c.Width << " style " << style;
      TCutGrid g;
      SizeGrid(g, p, c.Width, c.Height);
      Randomize(7);
      FillGridBanded(g, p, c.Width, c.Height);
      EXPECT_EQ(g.Rect, (TRect{0, 0, c.Width, c.Height})) << c.Width << " style " << style;
    }
  }
  EXPECT_FALSE(CoversPicture(Params(0, 262, 290), 1200, 900));  // 1,048 x 870 of it
}

TEST(CutGridFill, CentresTheGridAndDrawsColumnByColumnXBeforeY) {
  TCutParameters p = Params(0, 20, 20);
  p.DistortX = p.DistortY = 3;
  p.DistortXSpread = p.DistortYSpread = 2;
  TCutGrid g;
  SizeGrid(g, p, 215, 167);  // c = 10, r = 8: X0 = round(7.5) = 8, Y0 = round(3.5) = 4
  Randomize(99);
  FillGridCheckered(g, p, 215, 167);
  EXPECT_EQ(g.Rect, (TRect{8, 4, 208, 164}));
  EXPECT_EQ(g.Points[0][0], (TVec2{8, 4}));
  // Column 0 draws only y, for its inner rows, first of all; then (1, 0) only x.
  Randomize(99);
  const double y01 = RandomFactor(2);
  for (int j = 2; j < 8; ++j) RandomFactor(2);
  const double x10 = RandomFactor(2);
  const double x11 = RandomFactor(2), y11 = RandomFactor(2);
  EXPECT_FLOAT_EQ(g.Points[0][1].Y, float(24 + 3 * y01));  // sy = -(-1)(+1)
  EXPECT_FLOAT_EQ(g.Points[0][1].X, 8.0f);
  EXPECT_FLOAT_EQ(g.Points[1][0].X, float(28 + (1.0 * -1.0) * 3 * x10));
  EXPECT_FLOAT_EQ(g.Points[1][0].Y, 4.0f);
  EXPECT_FLOAT_EQ(g.Points[1][1].X, float(28 + 3 * x11));
  EXPECT_FLOAT_EQ(g.Points[1][1].Y, float(24 - 3 * y11));
}

TEST(CutGridFill, SpreadsOfOneGiveAnExactZigzagAndStillDrawEveryCoordinate) {
  for (int style : {0, 1}) {
    TCutParameters p = Params(style, 20, 20);
    p.DistortX = 2;
    p.DistortY = 3;
    TCutGrid g;
    SizeGrid(g, p, 200, 160);
    Randomize(7);
    style == 0 ? FillGridCheckered(g, p, 200, 160) : FillGridBanded(g, p, 200, 160);
    for (int i = 1; i < g.NI(); ++i)
      for (int j = 1; j < g.NJ(); ++j) {
        const double sx = style == 0 ? ParitySign(i) * ParitySign(j) : ParitySign(i);
        const double sy = style == 0 ? -ParitySign(i) * ParitySign(j) : -ParitySign(j);
        ASSERT_EQ(g.Points[i][j].X, float(20 * i + 2 * sx));
        ASSERT_EQ(g.Points[i][j].Y, float(20 * j + 3 * sy));
      }
    uint32_t expected = 7;
    const int draws = (g.NI() - 1) * (g.NJ() + 1) + (g.NI() + 1) * (g.NJ() - 1);
    for (int k = 0; k < draws; ++k) expected = expected * 134775813u + 1u;
    EXPECT_EQ(RandomSeed, expected);
  }
}

// A shape with a tab on either side, so a cut along the border would show outside the grid.
TSplineDraw TwoSidedShape() {
  TSplineDraw s;
  s.SetShape({{0, 0}, {25, -12}, {74, 12}, {99, 0}}, {{0, 0}, {25, -12}, {74, 12}, {99, 0}});
  return s;
}

TEST(CutLines, NoStyleEverCutsAlongTheOuterRectangle) {
  const TSplineDraw shape = TwoSidedShape();
  for (int style = 0; style <= 8; ++style) {
    TCutParameters p = Params(style, 20, 20);
    TCutGrid g;
    TPixelBuffer map(215, 167);
    SizeGrid(g, p, map.Width(), map.Height());
    Randomize(1);
    style == 0 || style >= 7 ? FillGridCheckered(g, p, 215, 167) : FillGridBanded(g, p, 215, 167);
    TCanvas c(map);
    TCutLineDrawer(c, g, shape, false).DrawCutLines(p);
    int inside = 0;
    for (int y = 0; y < map.Height(); ++y)
      for (int x = 0; x < map.Width(); ++x) {
        const bool white = map.At(x, y) == 0xFFFFFF;
        // The right and bottom grid points lie on Right and Bottom, one past the outline:
        // their end pixels may show there, a cut along the border would reach further.
        const TRect around{g.Rect.Left, g.Rect.Top, g.Rect.Right + 1, g.Rect.Bottom + 1};
        if (!around.Contains(x, y)) ASSERT_FALSE(white) << "style " << style << " at " << x << "," << y;
        else if (x > g.Rect.Left && y > g.Rect.Top && x < g.Rect.Right - 1 && y < g.Rect.Bottom - 1) inside += white;
      }
    EXPECT_GT(inside, 200) << "style " << style;
  }
}

TEST(CutLines, DrawEdgeDropsBorderCutsAndPointsOutsideTheGrid) {
  TCutParameters p = Params(0, 20, 20);
  TCutGrid g;
  SizeGrid(g, p, 100, 100);
  FillGridCheckered(g, p, 100, 100);
  TSplineDraw straight;
  TPixelBuffer map(100, 100);
  TCanvas c(map);
  TCutLineDrawer d(c, g, straight, true);
  d.DrawEdge(0, 0, 0, 1);
  d.DrawEdge(2, 5, 3, 5);
  d.DrawEdge(5, 1, 5, 2);
  d.DrawEdge(1, 0, 2, 0);
  d.DrawEdge(-1, 1, 0, 1);
  d.DrawEdge(4, 5, 4, 6);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(map.At(x, y), 0u);
  d.DrawEdge(1, 1, 2, 1);  // an inner cut: straight line and both end pixels
  for (int x = 20; x <= 40; ++x) EXPECT_EQ(map.At(x, 20), 0xFFFFFFu) << x;
}

}  // namespace
}  // namespace qj
