// Area scaling: every new pixel is the average of what it covers, shares of pixels cut by its
// edges included; flat colour stays exactly flat either way; heights keep the aspect ratio.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "platform/PictureScale.h"

namespace qj {
namespace {

TPixelBuffer Grey(std::initializer_list<std::initializer_list<unsigned>> rows) {
  TPixelBuffer p(int(rows.begin()->size()), int(rows.size()));
  int y = 0;
  for (const auto& row : rows) {
    int x = 0;
    for (const unsigned v : row) p.At(x++, y) = MakePixel(v, v, 255 - v, 77);
    ++y;
  }
  return p;
}

TEST(ScaleByArea, ANewPixelIsTheAverageOfTheAreaItCovers) {
  const TPixelBuffer halved = ScaleByArea(Grey({{0, 100, 10, 10}, {200, 100, 50, 30}}), 2, 1);
  ASSERT_EQ(halved.Width(), 2);
  ASSERT_EQ(halved.Height(), 1);
  EXPECT_EQ(halved.At(0, 0), MakePixel(100, 100, 155));  // alpha is not carried over
  EXPECT_EQ(halved.At(1, 0), MakePixel(25, 25, 230));
  // Three into two: the middle pixel gives half of itself to each side.
  const TPixelBuffer thirds = ScaleByArea(Grey({{0, 90, 180}}), 2, 1);
  EXPECT_EQ(PixelR(thirds.At(0, 0)), 30u);
  EXPECT_EQ(PixelR(thirds.At(1, 0)), 150u);
}

TEST(ScaleByArea, FlatColourStaysFlatAtAnyRatioUpOrDown) {
  TPixelBuffer flat(37, 23);
  flat.Fill(MakePixel(13, 200, 97));
  const std::pair<int, int> sizes[] = {{11, 7}, {36, 22}, {1, 1}, {80, 51}, {37, 23}};
  for (const auto& [w, h] : sizes) {
    const TPixelBuffer scaled = ScaleByArea(flat, w, h);
    ASSERT_EQ(scaled.Width(), w);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(scaled.At(x, y), MakePixel(13, 200, 97)) << w << "x" << h << " at " << x;
  }
  EXPECT_TRUE(ScaleByArea(flat, 0, 5).Empty());
  EXPECT_TRUE(ScaleByArea(TPixelBuffer(), 5, 5).Empty());
}

TEST(ScaleByArea, HeightsKeepTheAspectRatio) {
  EXPECT_EQ(HeightAtWidth(TPixelBuffer(1000, 700), 200), 140);
  EXPECT_EQ(HeightAtWidth(TPixelBuffer(150, 100), 200), 133);
  EXPECT_EQ(HeightAtWidth(TPixelBuffer(300, 400), 200), 267);
  EXPECT_EQ(HeightAtWidth(TPixelBuffer(1000, 1), 200), 1);
  EXPECT_EQ(HeightAtWidth(TPixelBuffer(1, 5000), 200), 1000000);
  EXPECT_EQ(HeightAtWidth(TPixelBuffer(), 200), 0);
  EXPECT_EQ(HeightAtWidth(TPixelBuffer(10, 10), 0), 0);
}

// The frame enlarged for the screen follows the same rule as area scaling (to rounding), and a
// whole factor or 1:1 repeats the frame's pixels exactly.
TEST(SharpScaler, EnlargesByAreaAndRepeatsPixelsAtWholeFactors) {
  TPixelBuffer frame(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) frame.At(x, y) = MakePixel(37 * x + 11 * y, 255 - 29 * x, (97 * x * y) % 256);
  TSharpScaler scaler;
  const std::pair<int, int> sizes[] = {{7, 5}, {14, 10}, {9, 6}, {8, 7}, {20, 13}, {7, 5}};
  for (const auto& [w, h] : sizes) {
    const TPixelBuffer& sharp = scaler.Enlarge(frame, w, h);
    const TPixelBuffer area = ScaleByArea(frame, w, h);
    ASSERT_EQ(sharp.Width(), w);
    const bool whole = w % 7 == 0 && h % 5 == 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const TPixel s = sharp.At(x, y), a = area.At(x, y);
        if (whole) {
          EXPECT_EQ(s, frame.At(x * 7 / w, y * 5 / h)) << w << "x" << h << " at " << x << "," << y;
        }
        for (const unsigned shift : {0u, 8u, 16u})
          EXPECT_LE(std::abs(int((s >> shift) & 255) - int((a >> shift) & 255)), 1) << w << "x" << h << " at " << x << "," << y;
      }
  }
  EXPECT_TRUE(scaler.Enlarge(frame, 6, 5).Empty());
}

}  // namespace
}  // namespace qj
