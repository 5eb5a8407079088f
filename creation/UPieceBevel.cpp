// The bevel light of a piece: only the inner edge is lit, so everything here works on the edge
// pixels and their small neighbourhoods, never on the whole bitmap.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "creation/UPieceImages.h"
#include "creation/USplineDraw.h"

namespace qj {

namespace {

constexpr double kHalfPi = std::numbers::pi / 2;
constexpr int kEdgeBlur = 3;

// A pixel of the piece's inner edge with the grey level it gets per orientation: positive in
// the light map, negative in the dark map.
struct TEdgePixel {
  int X, Y;
  int Grey[kOrientations];
};

// Grey level of an edge pixel whose outward direction is `out`, for one orientation.
int EdgeGrey(const TVec2& out, int r) {
  double theta = EdgeAngle(out) - std::numbers::pi / 4 + r * kHalfPi;
  while (theta > std::numbers::pi) theta -= 2 * std::numbers::pi;
  while (theta < -std::numbers::pi) theta += 2 * std::numbers::pi;
  const double a = std::fabs(theta);
  return a < kHalfPi ? int(std::nearbyint(255 * (kHalfPi - a) / kHalfPi))
                     : -int(std::nearbyint(255 * (a - kHalfPi) / kHalfPi));
}

// The inner edge of the mask: inside pixels with a four-neighbour outside, in reading order.
// Each is lit by the angle of its outward direction (the mean offset to its outside
// eight-neighbours).
std::vector<TEdgePixel> InnerEdge(const TGreyMap& mask, int maxOrientation) {
  std::vector<TEdgePixel> edge;
  const int w = mask.Width, h = mask.Height;
  auto outside = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && mask.At(x, y) == 0; };
  for (int y = 0; y < h; ++y) {
    const uint8_t* m = mask.Row(y);
    const uint8_t* up = y > 0 ? mask.Row(y - 1) : nullptr;
    const uint8_t* down = y + 1 < h ? mask.Row(y + 1) : nullptr;
    for (int x = 0; x < w; ++x) {
      if (!m[x]) continue;
      const bool inner = x > 0 && x + 1 < w && up && down && m[x - 1] && m[x + 1] && up[x] && down[x];
      if (inner) continue;
      int sx = 0, sy = 0, n = 0;
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
          if ((dx || dy) && outside(x + dx, y + dy)) sx += dx, sy += dy, ++n;
      if (n == 0) continue;  // only the bitmap's border is next to it: no outside neighbour
      const TVec2 out{float(double(sx) / n), float(double(sy) / n)};
      TEdgePixel e{x, y, {}};
      for (int r = 0; r <= maxOrientation; ++r) e.Grey[r] = EdgeGrey(out, r);
      edge.push_back(e);
    }
  }
  return edge;
}

// For every edge pixel, the edge pixels within kEdgeBlur columns and rows of it: the only
// pixels that add to its blurred level. The edge comes in reading order, so each row's pixels
// are one run of the list.
std::vector<std::vector<uint32_t>> EdgeWindows(const std::vector<TEdgePixel>& edge, int h) {
  std::vector<uint32_t> rowStart(size_t(h) + 1, 0);
  for (const TEdgePixel& e : edge) ++rowStart[size_t(e.Y) + 1];
  for (int y = 0; y < h; ++y) rowStart[y + 1] += rowStart[y];
  std::vector<std::vector<uint32_t>> near(edge.size());
  for (size_t k = 0; k < edge.size(); ++k) {
    const int y0 = std::max(edge[k].Y - kEdgeBlur, 0), y1 = std::min(edge[k].Y + kEdgeBlur, h - 1);
    for (uint32_t j = rowStart[y0]; j < rowStart[y1 + 1]; ++j)
      if (std::abs(edge[j].X - edge[k].X) <= kEdgeBlur) near[k].push_back(j);
  }
  return near;
}

struct TEdgeLevels {
  std::vector<uint32_t> Light, Dark;
};

// One orientation's levels blurred with radius 3, kept on the inner edge, scaled to a peak of
// 255 shared by light and dark.
TEdgeLevels BlurredLevels(const std::vector<TEdgePixel>& edge, const std::vector<std::vector<uint32_t>>& near,
                          int r, int w, int h) {
  TEdgeLevels levels{std::vector<uint32_t>(edge.size()), std::vector<uint32_t>(edge.size())};
  uint32_t peak = 0;
  for (size_t k = 0; k < edge.size(); ++k) {
    uint32_t light = 0, dark = 0;
    for (uint32_t j : near[k]) (edge[j].Grey[r] >= 0 ? light : dark) += uint32_t(std::abs(edge[j].Grey[r]));
    const uint32_t n = WindowSpan(edge[k].X, kEdgeBlur, w) * WindowSpan(edge[k].Y, kEdgeBlur, h);
    levels.Light[k] = BoxMean(light, n);
    levels.Dark[k] = BoxMean(dark, n);
    peak = std::max({peak, levels.Light[k], levels.Dark[k]});
  }
  if (peak == 0) return levels;
  for (auto* list : {&levels.Light, &levels.Dark})
    for (uint32_t& v : *list) v = uint32_t(std::nearbyint(v * 255.0 / peak));
  return levels;
}

// Where orientation-0 pixel (x, y) of a w x h bitmap lies after the given quarter turns.
size_t TurnedIndex(int x, int y, int w, int h, int turns) {
  switch (turns) {
    case 1: return size_t(x) * h + (h - 1 - y);
    case 2: return size_t(h - 1 - y) * w + (w - 1 - x);
    case 3: return size_t(w - 1 - x) * h + y;
    default: return size_t(y) * w + x;
  }
}

// Light adds (strength + 1) / 2 times its level to every channel, capped at 255; then shade
// takes strength + 1 times its level away, floored at 0. Pixels are addressed unturned.
class TBevelShader {
 public:
  TBevelShader(TMyDib& image, int w, int h, int turns, int strength) : FImage(image), FW(w), FH(h), FTurns(turns) {
    for (int v = 0; v < 256; ++v) {
      FAdd[v] = int(std::nearbyint(v * (0.5 * strength + 0.5)));
      FSub[v] = int(std::nearbyint(v * double(strength + 1)));
    }
  }
  void Apply(int x, int y, uint32_t light, uint32_t dark) {
    if (light == 0 && dark == 0) return;
    const int l = FAdd[std::min(light, 255u)], d = FSub[std::min(dark, 255u)];
    TPixel& p = FImage.Bits()[TurnedIndex(x, y, FW, FH, FTurns)];
    auto channel = [&](unsigned c) { return unsigned(std::max(std::min(int(c) + l, 255) - d, 0)); };
    p = MakePixel(channel(PixelR(p)), channel(PixelG(p)), channel(PixelB(p)), PixelA(p));
  }

 private:
  TMyDib& FImage;
  int FW, FH, FTurns;
  int FAdd[256], FSub[256];
};

// Softens the edge levels with `radius` (a box blur of maps that are zero off the edge) and
// shades every pixel of the piece they reach. The sums live in buffers kept between pieces,
// all zero between uses.
void ShadeSoftened(const std::vector<TEdgePixel>& edge, const TEdgeLevels& levels, const TGreyMap& mask,
                   int radius, TBevelShader& shader) {
  thread_local std::vector<uint64_t> sums;  // light in the low half, dark in the high half
  thread_local std::vector<uint8_t> reached;
  thread_local std::vector<uint32_t> touched;
  const int w = mask.Width, h = mask.Height;
  if (sums.size() < size_t(w) * h) sums.resize(size_t(w) * h, 0), reached.resize(size_t(w) * h, 0);
  touched.clear();
  for (size_t k = 0; k < edge.size(); ++k) {
    const uint64_t packed = uint64_t(levels.Light[k]) | (uint64_t(levels.Dark[k]) << 32);
    for (int y = std::max(edge[k].Y - radius, 0); y <= std::min(edge[k].Y + radius, h - 1); ++y)
      for (int x = std::max(edge[k].X - radius, 0); x <= std::min(edge[k].X + radius, w - 1); ++x) {
        const size_t i = size_t(y) * w + x;
        sums[i] += packed;
        if (!reached[i]) reached[i] = 1, touched.push_back(uint32_t(i));
      }
  }
  for (uint32_t i : touched) {
    const uint64_t sum = sums[i];
    sums[i] = 0;
    reached[i] = 0;
    if (!mask.Data[i]) continue;
    const int x = int(i % w), y = int(i / w);
    const uint32_t n = WindowSpan(x, radius, w) * WindowSpan(y, radius, h);
    shader.Apply(x, y, BoxMean(sum & 0xFFFFFFFFu, n), BoxMean(sum >> 32, n));
  }
}

}  // namespace

void MakeBevel(TPiece& piece, int strength, int maxOrientation) {
  const TGreyMap& mask = piece.Masks[0];
  const int w = mask.Width, h = mask.Height;
  const std::vector<TEdgePixel> edge = InnerEdge(mask, maxOrientation);
  const std::vector<std::vector<uint32_t>> near = EdgeWindows(edge, h);
  for (int r = 0; r <= maxOrientation; ++r) {
    const TEdgeLevels levels = BlurredLevels(edge, near, r, w, h);
    piece.Images[r] = std::move(piece.Pictures[r]);
    piece.Images[r].SetBitCount(32);
    piece.Pictures[r] = TMyDib();
    TBevelShader shader(piece.Images[r], w, h, r, strength);
    if (strength >= 2) {
      ShadeSoftened(edge, levels, mask, strength - 1, shader);
      continue;
    }
    for (size_t k = 0; k < edge.size(); ++k) shader.Apply(edge[k].X, edge[k].Y, levels.Light[k], levels.Dark[k]);
  }
}

}  // namespace qj
