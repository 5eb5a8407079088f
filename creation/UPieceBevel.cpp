// The bevel light of a piece: only the inner edge is lit, so everything here works on the edge
// pixels and their small neighbourhoods, never on the whole bitmap.
#include <algorithm>
#include <array>
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
  std::array<int, kOrientations> Grey;
};

// Grey level of an edge pixel whose outward direction has the angle `angle`, for one orientation.
int EdgeGrey(double angle, int r) {
  double theta = angle - std::numbers::pi / 4 + r * kHalfPi;
  while (theta > std::numbers::pi) theta -= 2 * std::numbers::pi;
  while (theta < -std::numbers::pi) theta += 2 * std::numbers::pi;
  const double a = std::fabs(theta);
  return a < kHalfPi ? int(std::nearbyint(255 * (kHalfPi - a) / kHalfPi))
                     : -int(std::nearbyint(255 * (a - kHalfPi) / kHalfPi));
}

// The grey levels of every outward direction an edge pixel can have: the mean offset (sx, sy)
// / n to its n outside eight-neighbours, so |sx|, |sy| <= 3 and n <= 8. Made once, as the
// arctangent is the dearest step of the edge.
class TEdgeGreys {
 public:
  TEdgeGreys() {
    for (int sx = -3; sx <= 3; ++sx)
      for (int sy = -3; sy <= 3; ++sy)
        for (int n = 1; n <= 8; ++n) {
          const double angle = EdgeAngle({float(double(sx) / n), float(double(sy) / n)});
          for (int r = 0; r < kOrientations; ++r) FGreys[Index(sx, sy, n)][r] = EdgeGrey(angle, r);
        }
  }
  const std::array<int, kOrientations>& Of(int sx, int sy, int n) const { return FGreys[Index(sx, sy, n)]; }

 private:
  static size_t Index(int sx, int sy, int n) { return size_t(((sx + 3) * 7 + sy + 3) * 9 + n); }
  std::array<std::array<int, kOrientations>, 7 * 7 * 9> FGreys{};
};

// The inner edge of the mask: inside pixels with a four-neighbour outside, in reading order.
// Each is lit by the angle of its outward direction (the mean offset to its outside
// eight-neighbours).
std::vector<TEdgePixel> InnerEdge(const TGreyMap& mask) {
  static const TEdgeGreys greys;
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
      edge.push_back({x, y, greys.Of(sx, sy, n)});
    }
  }
  return edge;
}

// The mean over the window of radius r around (x, y) on a w x h map: `full` unless the map's
// edge clips the window.
TBoxMean WindowMean(int x, int y, int r, int w, int h, const TBoxMean& full) {
  const uint32_t n = WindowSpan(x, r, w) * WindowSpan(y, r, h);
  return n == full.Pixels() ? full : TBoxMean(n);
}

// v * 255 / peak (v <= peak) to the nearest integer, halves to even as nearbyint rounds the
// quotient in doubles: its fraction is a multiple of 1 / peak, never within rounding of a half.
uint32_t ScaledToPeak(uint32_t v, uint32_t peak) {
  const uint32_t product = v * 255, quotient = product / peak, twiceRest = 2 * (product % peak);
  return quotient + uint32_t(twiceRest > peak || (twiceRest == peak && (quotient & 1)));
}

// One orientation's levels of the edge pixels.
struct TEdgeLevels {
  std::vector<uint32_t> Light, Dark;
};

// Every orientation's levels blurred with radius 3, kept on the inner edge, scaled to a peak of
// 255 shared by light and dark. Only edge pixels within kEdgeBlur columns and rows add to an
// edge pixel's level; the edge comes in reading order, so each row's pixels are one run of it.
std::array<TEdgeLevels, kOrientations> BlurredLevels(const std::vector<TEdgePixel>& edge, int w, int h) {
  std::vector<uint32_t> rowStart(size_t(h) + 1, 0);
  for (const TEdgePixel& e : edge) ++rowStart[size_t(e.Y) + 1];
  for (int y = 0; y < h; ++y) rowStart[y + 1] += rowStart[y];
  std::array<TEdgeLevels, kOrientations> levels;
  for (TEdgeLevels& l : levels) l.Light.resize(edge.size()), l.Dark.resize(edge.size());
  std::array<uint32_t, kOrientations> peak{};
  const TBoxMean fullWindow((2 * kEdgeBlur + 1) * (2 * kEdgeBlur + 1));
  for (size_t k = 0; k < edge.size(); ++k) {
    const int y0 = std::max(edge[k].Y - kEdgeBlur, 0), y1 = std::min(edge[k].Y + kEdgeBlur, h - 1);
    std::array<uint32_t, kOrientations> light{}, dark{};
    for (int y = y0; y <= y1; ++y) {
      const auto end = edge.begin() + rowStart[y + 1];
      auto j = std::partition_point(edge.begin() + rowStart[y], end,
                                    [&](const TEdgePixel& e) { return e.X < edge[k].X - kEdgeBlur; });
      for (; j != end && j->X <= edge[k].X + kEdgeBlur; ++j)
        for (int r = 0; r < kOrientations; ++r) {
          light[r] += uint32_t(std::max(j->Grey[r], 0));
          dark[r] += uint32_t(std::max(-j->Grey[r], 0));
        }
    }
    const TBoxMean mean = WindowMean(edge[k].X, edge[k].Y, kEdgeBlur, w, h, fullWindow);
    for (int r = 0; r < kOrientations; ++r) {
      levels[r].Light[k] = mean(light[r]);
      levels[r].Dark[k] = mean(dark[r]);
      peak[r] = std::max({peak[r], levels[r].Light[k], levels[r].Dark[k]});
    }
  }
  for (int r = 0; r < kOrientations; ++r) {
    if (peak[r] == 0) continue;
    for (auto* list : {&levels[r].Light, &levels[r].Dark})
      for (uint32_t& v : *list) v = ScaledToPeak(v, peak[r]);
  }
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
// takes strength + 1 times its level away, floored at 0. Pixels are addressed unturned; one
// shader serves every orientation.
class TBevelShader {
 public:
  TBevelShader(int w, int h, int strength) : FW(w), FH(h) {
    for (int v = 0; v < 256; ++v) {
      FAdd[v] = int(std::nearbyint(v * (0.5 * strength + 0.5)));
      FSub[v] = int(std::nearbyint(v * double(strength + 1)));
    }
  }
  void Apply(TMyDib& image, int turns, int x, int y, uint32_t light, uint32_t dark) const {
    if (light == 0 && dark == 0) return;
    const int l = FAdd[std::min(light, 255u)], d = FSub[std::min(dark, 255u)];
    TPixel& p = image.Bits()[TurnedIndex(x, y, FW, FH, turns)];
    auto channel = [&](unsigned c) { return unsigned(std::max(std::min(int(c) + l, 255) - d, 0)); };
    p = MakePixel(channel(PixelR(p)), channel(PixelG(p)), channel(PixelB(p)), PixelA(p));
  }

 private:
  int FW, FH;
  int FAdd[256], FSub[256];
};

// Softens every orientation's edge levels with `radius` (a box blur of maps that are zero off
// the edge) and shades every pixel of the piece they reach. The sums live in buffers kept
// between pieces, all zero between uses.
void ShadeSoftened(const std::vector<TEdgePixel>& edge, const std::array<TEdgeLevels, kOrientations>& levels,
                   const TGreyMap& mask, int radius, int maxOrientation, const TBevelShader& shader,
                   std::array<TMyDib, kOrientations>& images) {
  using TSums = std::array<uint32_t, 2 * kOrientations>;  // light of each orientation, then dark
  thread_local std::vector<TSums> sums;
  thread_local std::vector<uint8_t> reached;
  thread_local std::vector<uint32_t> touched;
  const int w = mask.Width, h = mask.Height;
  if (sums.size() < size_t(w) * h) sums.resize(size_t(w) * h, TSums{}), reached.resize(size_t(w) * h, 0);
  touched.clear();
  const TBoxMean fullWindow(uint32_t(2 * radius + 1) * uint32_t(2 * radius + 1));
  for (size_t k = 0; k < edge.size(); ++k) {
    TSums add;
    for (int r = 0; r < kOrientations; ++r) add[r] = levels[r].Light[k], add[kOrientations + r] = levels[r].Dark[k];
    for (int y = std::max(edge[k].Y - radius, 0); y <= std::min(edge[k].Y + radius, h - 1); ++y)
      for (int x = std::max(edge[k].X - radius, 0); x <= std::min(edge[k].X + radius, w - 1); ++x) {
        const size_t i = size_t(y) * w + x;
        for (int c = 0; c < 2 * kOrientations; ++c) sums[i][c] += add[c];
        if (!reached[i]) reached[i] = 1, touched.push_back(uint32_t(i));
      }
  }
  // The softened levels of the piece's pixels first, then each image shaded in one sweep.
  thread_local std::vector<std::pair<uint32_t, TSums>> shades;
  shades.clear();
  for (uint32_t i : touched) {
    const TSums sum = sums[i];
    sums[i] = TSums{};
    reached[i] = 0;
    if (!mask.Data[i]) continue;
    const TBoxMean mean = WindowMean(int(i % w), int(i / w), radius, w, h, fullWindow);
    TSums levels;
    for (int c = 0; c < 2 * kOrientations; ++c) levels[c] = mean(sum[c]);
    shades.push_back({i, levels});
  }
  for (int r = 0; r <= maxOrientation; ++r)
    for (const auto& [i, levels] : shades)
      shader.Apply(images[r], r, int(i % w), int(i / w), levels[r], levels[kOrientations + r]);
}

}  // namespace

void MakeBevel(TPiece& piece, int strength, int maxOrientation) {
  const TGreyMap& mask = piece.Masks[0];
  const int w = mask.Width, h = mask.Height;
  const std::vector<TEdgePixel> edge = InnerEdge(mask);
  const std::array<TEdgeLevels, kOrientations> levels = BlurredLevels(edge, w, h);
  for (int r = 0; r <= maxOrientation; ++r) {
    piece.Images[r] = std::move(piece.Pictures[r]);
    piece.Images[r].SetBitCount(32);
    piece.Pictures[r] = TMyDib();
  }
  const TBevelShader shader(w, h, strength);
  if (strength >= 2) {
    ShadeSoftened(edge, levels, mask, strength - 1, maxOrientation, shader, piece.Images);
    return;
  }
  for (int r = 0; r <= maxOrientation; ++r)
    for (size_t k = 0; k < edge.size(); ++k)
      shader.Apply(piece.Images[r], r, edge[k].X, edge[k].Y, levels[r].Light[k], levels[r].Dark[k]);
}

}  // namespace qj
