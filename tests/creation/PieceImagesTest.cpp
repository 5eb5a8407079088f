// The piece images against the cut written out the long way: dense maps and box blurs that
// sum every pixel of their square, where the cutter works on edges and sliding sums.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "creation/ULabelMap.h"
#include "creation/UPieceImages.h"
#include "creation/USplineDraw.h"
#include "tests/creation/CutterTestSupport.h"

namespace qj {
namespace {

using TPlane = std::vector<int>;

TPlane Blur(const TPlane& src, int w, int h, int r) {
  TPlane out(src.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int sum = 0, n = 0;
      for (int j = std::max(y - r, 0); j <= std::min(y + r, h - 1); ++j)
        for (int i = std::max(x - r, 0); i <= std::min(x + r, w - 1); ++i) sum += src[j * w + i], ++n;
      out[y * w + x] = (2 * sum + n) / (2 * n);
    }
  return out;
}

TPlane TurnPlaneOf(const TPlane& src, int w, int h, int turns) {
  TPlane out(src.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int v = src[y * w + x];
      if (turns == 0) out[y * w + x] = v;
      if (turns == 1) out[x * h + (h - 1 - y)] = v;
      if (turns == 2) out[(h - 1 - y) * w + (w - 1 - x)] = v;
      if (turns == 3) out[(w - 1 - x) * h + y] = v;
    }
  return out;
}

TPlane ReferenceShadow(const TGreyMap& mask, int s) {
  const int w = mask.Width, h = mask.Height, mw = w + 2 * s, mh = h + 2 * s;
  TPlane map(size_t(mw) * mh, 255);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (mask.At(x, y) && x + s - 1 >= 0 && y + s - 1 >= 0) map[(y + s - 1) * mw + x + s - 1] = 0;
  const TPlane blurred = Blur(map, mw, mh, s);
  TPlane out(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out[y * w + x] = mask.At(x, y) ? 0 : 255 - blurred[y * mw + x];
  return out;
}

// Light (positive) and dark (negative) levels of every pixel of the mask for orientation r.
TPlane EdgeLevels(const TGreyMap& mask, int r) {
  const int w = mask.Width, h = mask.Height;
  auto out = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && !mask.At(x, y); };
  TPlane levels(size_t(w) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!mask.At(x, y) || !(out(x - 1, y) || out(x + 1, y) || out(x, y - 1) || out(x, y + 1))) continue;
      int sx = 0, sy = 0, n = 0;
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
          if ((dx || dy) && out(x + dx, y + dy)) sx += dx, sy += dy, ++n;
      double t = EdgeAngle({float(double(sx) / n), float(double(sy) / n)}) - std::numbers::pi / 4 + r * std::numbers::pi / 2;
      while (t > std::numbers::pi) t -= 2 * std::numbers::pi;
      while (t < -std::numbers::pi) t += 2 * std::numbers::pi;
      const double a = std::fabs(t), q = std::numbers::pi / 2;
      levels[y * w + x] = a < q ? int(std::nearbyint(255 * (q - a) / q)) : -int(std::nearbyint(255 * (a - q) / q));
    }
  return levels;
}

// Orientation r's image: picture, bevel, near-black lift and shadow, the long way.
std::vector<TPixel> ReferenceImage(const TMyDib& picture, const TGreyMap& mask0, const TGreyMap& maskR, int r,
                                   int strength, int s) {
  const int w = mask0.Width, h = mask0.Height;
  const TPlane levels = EdgeLevels(mask0, r);
  TPlane light(levels.size()), dark(levels.size());
  for (size_t k = 0; k < levels.size(); ++k) light[k] = std::max(levels[k], 0), dark[k] = std::max(-levels[k], 0);
  light = Blur(light, w, h, 3);
  dark = Blur(dark, w, h, 3);
  int peak = 0;
  for (size_t k = 0; k < levels.size(); ++k) {
    // pixels of the inner edge: inside with an outside four-neighbour (levels were set there)
    const int x = int(k % w), y = int(k / w);
    auto out = [&](int i, int j) { return i >= 0 && j >= 0 && i < w && j < h && !mask0.At(i, j); };
    const bool inner = mask0.Data[k] && (out(x - 1, y) || out(x + 1, y) || out(x, y - 1) || out(x, y + 1));
    if (!inner) light[k] = dark[k] = 0;
    peak = std::max({peak, light[k], dark[k]});
  }
  if (peak)
    for (size_t k = 0; k < levels.size(); ++k)
      light[k] = int(std::nearbyint(light[k] * 255.0 / peak)), dark[k] = int(std::nearbyint(dark[k] * 255.0 / peak));
  if (strength >= 2) light = Blur(light, w, h, strength - 1), dark = Blur(dark, w, h, strength - 1);
  light = TurnPlaneOf(light, w, h, r);
  dark = TurnPlaneOf(dark, w, h, r);
  const TPlane shadow = ReferenceShadow(maskR, s);
  std::vector<TPixel> image(levels.size());
  for (size_t k = 0; k < image.size(); ++k) {
    const int l = maskR.Data[k] ? int(std::nearbyint(light[k] * (0.5 * strength + 0.5))) : 0;
    const int d = maskR.Data[k] ? int(std::nearbyint(dark[k] * double(strength + 1))) : 0;
    const TPixel p = picture.Bits()[k];
    int c[3] = {int(PixelR(p)), int(PixelG(p)), int(PixelB(p))};
    for (int& v : c) v = std::max(std::min(v + l, 255) - d, 0);
    if (maskR.Data[k] && c[0] < 8 && c[1] < 8 && c[2] < 8) c[0] = c[1] = c[2] = 8;
    image[k] = MakePixel(c[0], c[1], c[2], shadow[k]);
  }
  return image;
}

TEST(PieceImages, MatchTheLongWayForEveryOrientationShadowAndStrength) {
  test::TShapeFolder shapes;
  TMyDib picture = test::MakeTestPicture(130, 100);
  for (int k = 0; k < 400; ++k) picture.At(k % 130, (k * 7) % 100) = MakePixel(3, 3, 3);
  for (auto [shadow, strength] : {std::pair{7, 2}, {0, 0}, {1, 1}, {3, 5}}) {
    TPuzzleCutter cutter;
    test::TCutSetup setup;
    setup.Style = 1;
    setup.PieceW = 27;
    setup.PieceH = 23;
    setup.DistortX = setup.DistortY = 3;
    test::SetUpCutter(cutter, picture, setup);
    cutter.DrawCutMap();
    cutter.CropToGrid();
    TMyDib labels = cutter.LabelMap();
    TPieceList pieces;
    LabelPieces(labels, pieces);
    ASSERT_GT(pieces.size(), 8u);
    for (size_t n = 0; n < pieces.size(); n += 3) {
      TPiece& p = pieces[n];
      ExtractPiece(p, labels, cutter.CutPicture(), shadow);
      TurnPiece(p, labels.Width(), labels.Height());
      const std::array<TMyDib, 4> pictures = p.Pictures;
      const std::array<TGreyMap, 4> masks = p.Masks;
      MakeShadows(p, shadow, 3);
      MakeBevel(p, strength, 3);
      FinishImages(p, 3);
      for (int r = 0; r < 4; ++r) {
        const std::vector<TPixel> expected = ReferenceImage(pictures[r], masks[0], masks[r], r, strength, shadow);
        ASSERT_EQ(p.Images[r].Width(), masks[r].Width);
        for (size_t k = 0; k < expected.size(); ++k)
          ASSERT_EQ(p.Images[r].Bits()[k], expected[k]) << "piece " << n << " r " << r << " pixel " << k << " shadow "
                                                        << shadow << " strength " << strength;
      }
    }
  }
}

}  // namespace
}  // namespace qj
