// Spline outlines: a shape is scaled, turned and moved onto its cut and drawn as Hermite curves.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "creation/USplineDraw.h"
#include "platform/Canvas.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

constexpr TPixel kWhite = 0xFFFFFF;

TSplineDraw StraightShape() {
  TSplineDraw s;
  s.SetShape({{0, 0}, {99, 0}}, {{99, 0}, {198, 0}});
  return s;
}

// A tab to the left of the cut's direction (negative y), as the classic shape has it.
TSplineDraw TabShape() {
  TSplineDraw s;
  s.SetShape({{0, 0}, {40, 0}, {49.5f, -30}, {59, 0}, {99, 0}}, {{30, 0}, {40, -10}, {69.5f, -30}, {59, 10}, {129, 0}});
  return s;
}

TEST(Splines, EdgeAngleIsTheDirectionFromAToB) {
  const TVec2 vs[] = {{3, 4}, {-3, 4}, {3, -4}, {-3, -4}, {5, 0}, {-5, 0}, {0, 2}, {0, -2}};
  for (const TVec2& v : vs) EXPECT_NEAR(EdgeAngle(v), std::atan2(0.0 - v.Y, 0.0 - v.X), 1e-12) << v.X << "," << v.Y;
  EXPECT_DOUBLE_EQ(EdgeAngle({5, 0}), std::numbers::pi);  // pointing left: pi, not -pi
}

TEST(Splines, AStraightShapeRunsExactlyFromAToBForAnyPoints) {
  const TSplineDraw shape = StraightShape();
  const TVec2 ends[][2] = {{{5, 5}, {90, 70}}, {{90, 10}, {3, 60}}, {{40, 80}, {41, 2}}, {{10.4f, 50.6f}, {88.5f, 50.5f}}};
  for (const auto& e : ends) {
    TPixelBuffer b(100, 100);
    TCanvas c(b);
    shape.DrawShapeEdge(c, e[0], e[1]);
    const TPoint a{RoundCoord(e[0].X), RoundCoord(e[0].Y)}, z{RoundCoord(e[1].X), RoundCoord(e[1].Y)};
    EXPECT_EQ(b.At(a.X, a.Y), kWhite);
    EXPECT_EQ(b.At(z.X, z.Y), kWhite);
    // Every pixel lies on the segment (within rounding), and the pixels next to B are reached.
    const double dx = z.X - a.X, dy = z.Y - a.Y, len = std::hypot(dx, dy);
    int nearB = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) {
        if (b.At(x, y) != kWhite) continue;
        EXPECT_LE(std::fabs((x - a.X) * dy - (y - a.Y) * dx) / len, 1.5) << x << "," << y;
        nearB += std::abs(x - z.X) <= 1 && std::abs(y - z.Y) <= 1 && !(x == z.X && y == z.Y);
      }
    EXPECT_GE(nearB, 1);
  }
}

// Which side of the line through A and B the drawn tab lies on: > 0 left of the direction.
int TabSide(const TSplineDraw& shape, TVec2 a, TVec2 b) {
  TPixelBuffer px(100, 100);
  TCanvas c(px);
  shape.DrawShapeEdge(c, a, b);
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  int left = 0, right = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      if (px.At(x, y) != kWhite) continue;
      const double cross = dx * (y - a.Y) - dy * (x - a.X);  // screen: negative = left of direction
      left += cross < -4 * std::hypot(dx, dy);
      right += cross > 4 * std::hypot(dx, dy);
    }
  return left > 0 && right == 0 ? 1 : (right > 0 && left == 0 ? -1 : 0);
}

TEST(Splines, TabsLieLeftOfTheCutsDirectionWhateverItsHeading) {
  const TSplineDraw tab = TabShape();
  EXPECT_EQ(TabSide(tab, {10, 50}, {90, 50}), 1);  // left to right: tab upwards
  EXPECT_EQ(TabSide(tab, {90, 50}, {10, 50}), 1);  // right to left: turned by pi, tab downwards
  EXPECT_EQ(TabSide(tab, {50, 10}, {50, 90}), 1);  // vertical: turned upright
  EXPECT_EQ(TabSide(tab, {50, 90}, {50, 10}), 1);
  // Screen check of the first two: the tab of a left-to-right cut is above the line.
  TPixelBuffer px(100, 100);
  TCanvas c(px);
  tab.DrawShapeEdge(c, {10, 50}, {90, 50});
  bool above = false;
  for (int x = 0; x < 100; ++x) above |= px.At(x, 40) == kWhite;
  EXPECT_TRUE(above);
}

TEST(Splines, OnePointAndEmptyShapesDrawOnlyTheEndPixels) {
  for (int points = 0; points <= 1; ++points) {
    TSplineDraw shape;
    if (points) shape.SetShape({{10, 10}}, {{20, 20}});
    TPixelBuffer b(50, 50);
    TCanvas c(b);
    shape.DrawShapeEdge(c, {5, 5}, {40, 30});
    int white = 0;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 50; ++x) white += b.At(x, y) == kWhite;
    EXPECT_EQ(white, 2);
    EXPECT_EQ(b.At(5, 5), kWhite);
    EXPECT_EQ(b.At(40, 30), kWhite);
  }
}

TEST(Splines, CoincidingPointsDrawWithoutFailing) {
  const TSplineDraw tab = TabShape();
  TPixelBuffer b(20, 20);
  TCanvas c(b);
  tab.DrawShapeEdge(c, {7, 7}, {7, 7});
  EXPECT_EQ(b.At(7, 7), kWhite);
  TSplineDraw repeated;
  repeated.SetShape({{0, 0}, {0, 0}, {99, 0}}, {{0, 0}, {0, 0}, {99, 0}});
  repeated.DrawShapeEdge(c, {1, 15}, {18, 15});
  EXPECT_EQ(b.At(10, 15), kWhite);
}

TEST(ShapeFiles, ReadsFourNumbersALineWithTheHandleAsAPoint) {
  test::TTempFolder dir;
  const std::string path = dir.Write("shape7.txt", "0 0 30 0\r\n49.5  -20 60 -20\n\n99 0 130 0   \n");
  TSplineDraw shape;
  shape.LoadShape(path);
  ASSERT_EQ(shape.Points().size(), 3u);
  EXPECT_EQ(shape.Points()[1], (TVec2{49.5f, -20}));
  EXPECT_EQ(shape.Handles()[1], (TVec2{60, -20}));
  EXPECT_EQ(shape.Handles()[2], (TVec2{130, 0}));
}

TEST(ShapeFiles, BrokenLinesAndMissingFilesAreClearErrors) {
  test::TTempFolder dir;
  const char* broken[] = {"0 0 30 x\n", "0 0 30\n", "0 0 30 0 5\n", "a b c d\n", "0 nan 1 1\n", "0 1e9 1 1\n"};
  for (const char* text : broken) {
    TSplineDraw shape;
    shape.SetShape({{1, 1}}, {{2, 2}});
    const std::string path = dir.Write("bad.txt", std::string("0 0 1 0\n") + text);
    try {
      shape.LoadShape(path);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
    EXPECT_EQ(shape.Points().size(), 1u);  // the shape in force is kept
  }
  TSplineDraw shape;
  EXPECT_THROW(shape.LoadShape(dir.File("missing.txt")), std::runtime_error);
  shape.LoadShape(dir.Write("empty.txt", ""));
  EXPECT_TRUE(shape.Points().empty());
}

}  // namespace
}  // namespace qj
