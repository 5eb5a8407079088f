#include "creation/UPieceImages.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "creation/USplineDraw.h"

namespace qj {

namespace {

constexpr double kHalfPi = std::numbers::pi / 2;

// The four-neighbour region of `label` around the seed, as a mask placed at `offset`.
void FillPieceMask(const TMyDib& labels, TPoint seed, TPixel label, TPoint offset, TGreyMap& mask) {
  const TRect window{-offset.X, -offset.Y, mask.Width - offset.X, mask.Height - offset.Y};
  auto free = [&](int x, int y) {
    return window.Contains(x, y) && labels.InBounds(x, y) && labels.At(x, y) == label &&
           mask.At(x + offset.X, y + offset.Y) == 0;
  };
  std::vector<TPoint> stack{seed};
  while (!stack.empty()) {
    const TPoint p = stack.back();
    stack.pop_back();
    if (!free(p.X, p.Y)) continue;
    int lo = p.X, hi = p.X;
    while (free(lo - 1, p.Y)) --lo;
    while (free(hi + 1, p.Y)) ++hi;
    uint8_t* row = mask.Row(p.Y + offset.Y) + offset.X;
    std::fill(row + lo, row + hi + 1, uint8_t(255));
    for (int ny : {p.Y - 1, p.Y + 1})
      for (int px = lo; px <= hi; ++px)
        if (free(px, ny) && (px == lo || !free(px - 1, ny))) stack.push_back({px, ny});
  }
}

// The turned position of a point of the orientation-0 box (w x h bitmap, W x H map).
TPoint TurnedCorner(TPoint p, int turn, int w, int h, int mapW, int mapH) {
  switch (turn) {
    case 1: return {mapH - p.Y - h, p.X};
    case 2: return {mapW - p.X - w, mapH - p.Y - h};
    default: return {p.Y, mapW - p.X - w};
  }
}


// A pixel of the piece's inner edge with the grey level it gets per orientation: positive in
// the light map, negative in the dark map.
struct TEdgePixel {
  size_t Index;
  int Grey[kOrientations];
};

// The inner edge of the mask: inside pixels with a four-neighbour outside. Each is lit by the
// angle of its outward direction (the mean offset to its outside eight-neighbours).
std::vector<TEdgePixel> InnerEdge(const TGreyMap& mask, int maxOrientation) {
  std::vector<TEdgePixel> edge;
  const int w = mask.Width, h = mask.Height;
  auto outside = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && mask.At(x, y) == 0; };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!mask.At(x, y)) continue;
      if (!outside(x - 1, y) && !outside(x + 1, y) && !outside(x, y - 1) && !outside(x, y + 1)) continue;
      int sx = 0, sy = 0, n = 0;
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
          if ((dx || dy) && outside(x + dx, y + dy)) sx += dx, sy += dy, ++n;
      const TVec2 out{float(double(sx) / n), float(double(sy) / n)};
      TEdgePixel e{size_t(y) * w + x, {}};
      for (int r = 0; r <= maxOrientation; ++r) {
        double theta = EdgeAngle(out) - std::numbers::pi / 4 + r * kHalfPi;
        while (theta > std::numbers::pi) theta -= 2 * std::numbers::pi;
        while (theta < -std::numbers::pi) theta += 2 * std::numbers::pi;
        const double a = std::fabs(theta);
        e.Grey[r] = a < kHalfPi ? int(std::nearbyint(255 * (kHalfPi - a) / kHalfPi))
                                : -int(std::nearbyint(255 * (a - kHalfPi) / kHalfPi));
      }
      edge.push_back(e);
    }
  return edge;
}

// Steps 3 to 6 of one orientation's light or dark map: blurred, kept on the inner edge, scaled
// to a peak of 255 (shared by both maps), softened by the strength, turned.
void ScaleToPeak(TGreyMap& light, TGreyMap& dark) {
  int peak = 0;
  for (uint8_t v : light.Data) peak = std::max(peak, int(v));
  for (uint8_t v : dark.Data) peak = std::max(peak, int(v));
  if (peak == 0) return;
  uint8_t scale[256];
  for (int v = 0; v < 256; ++v) scale[v] = uint8_t(std::min(255.0, std::nearbyint(v * 255.0 / peak)));
  for (uint8_t& v : light.Data) v = scale[v];
  for (uint8_t& v : dark.Data) v = scale[v];
}

TGreyMap KeepEdge(const TGreyMap& map, const std::vector<TEdgePixel>& edge) {
  TGreyMap kept(map.Width, map.Height);
  for (const TEdgePixel& e : edge) kept.Data[e.Index] = map.Data[e.Index];
  return kept;
}

// Picture plus light times (strength + 1) / 2, minus dark times (strength + 1), per channel.
void ShadeImage(const TMyDib& picture, const TGreyMap& light, const TGreyMap& dark,
                const TGreyMap& mask, int strength, TMyDib& image) {
  int add[256], sub[256];
  for (int v = 0; v < 256; ++v) {
    add[v] = int(std::nearbyint(v * (0.5 * strength + 0.5)));
    sub[v] = int(std::nearbyint(v * double(strength + 1)));
  }
  image = TMyDib(picture.Width(), picture.Height(), 32);
  const TPixel* src = picture.Bits();
  TPixel* dst = image.Bits();
  for (size_t k = 0; k < light.Data.size(); ++k) {
    const int l = mask.Data[k] ? add[light.Data[k]] : 0;
    const int d = mask.Data[k] ? sub[dark.Data[k]] : 0;
    auto channel = [&](unsigned c) { return unsigned(std::max(std::min(int(c) + l, 255) - d, 0)); };
    dst[k] = MakePixel(channel(PixelR(src[k])), channel(PixelG(src[k])), channel(PixelB(src[k])));
  }
}

}  // namespace

void ExtractPiece(TPiece& piece, const TMyDib& labelMap, const TMyDib& cutPicture, int shadowSize) {
  const int m = 2 * shadowSize;
  const TPoint p1 = piece.Home[0], p2 = piece.Far[0];
  const int w = p2.X - p1.X + 2 * m + 5, h = p2.Y - p1.Y + 2 * m + 5;
  const TPoint offset{m + 2 - p1.X, m + 2 - p1.Y};
  piece.Masks[0] = TGreyMap(w, h);
  FillPieceMask(labelMap, piece.Seed[0], TPixel(piece.Label), offset, piece.Masks[0]);
  TMyDib& picture = piece.Pictures[0];
  picture = TMyDib(w, h, 24);
  for (int y = p1.Y; y <= p2.Y; ++y) {
    if (y < 0 || y >= cutPicture.Height()) continue;
    const TPixel* src = cutPicture.Row(y);
    const uint8_t* mask = piece.Masks[0].Row(y + offset.Y) + offset.X;
    TPixel* dst = picture.Row(y + offset.Y) + offset.X;
    for (int x = std::max(p1.X, 0); x <= std::min(p2.X, cutPicture.Width() - 1); ++x)
      dst[x] = mask[x] ? (src[x] & kRgbMask) : 0;
  }
  piece.Home[0] = {p1.X - 1, p1.Y - 1};
  piece.Far[0] = {p2.X + 3, p2.Y + 3};
}

void TurnPiece(TPiece& piece, int mapWidth, int mapHeight) {
  const int w = piece.Pictures[0].Width(), h = piece.Pictures[0].Height();
  for (int r = 1; r < kOrientations; ++r) {
    piece.Pictures[r].SetBitCount(24);
    TurnInto(piece.Pictures[0], r, piece.Pictures[r]);
    piece.Masks[r] = Turn(piece.Masks[0], r);
    piece.Home[r] = TurnedCorner(piece.Home[0], r, w, h, mapWidth, mapHeight);
    piece.Far[r] = TurnedCorner(piece.Far[0], r, w, h, mapWidth, mapHeight);
  }
}

void MakeShadows(TPiece& piece, int s, int maxOrientation) {
  for (int r = 0; r <= maxOrientation; ++r) {
    const TGreyMap& mask = piece.Masks[r];
    TGreyMap light(mask.Width + 2 * s, mask.Height + 2 * s, 255);
    for (int y = 0; y < mask.Height; ++y) {
      const int ty = y + s - 1;
      if (ty < 0) continue;
      const uint8_t* m = mask.Row(y);
      uint8_t* d = light.Row(ty) + (s - 1);
      for (int x = std::max(0, 1 - s); x < mask.Width; ++x)
        if (m[x]) d[x] = 0;
    }
    TGreyMap shadow = BoxBlur(light, s, mask.Width, mask.Height);
    for (size_t k = 0; k < shadow.Data.size(); ++k)
      shadow.Data[k] = mask.Data[k] ? 0 : uint8_t(255 - shadow.Data[k]);
    piece.Shadows[r] = std::move(shadow);
  }
}

void MakeBevel(TPiece& piece, int strength, int maxOrientation) {
  const std::vector<TEdgePixel> edge = InnerEdge(piece.Masks[0], maxOrientation);
  const int w = piece.Masks[0].Width, h = piece.Masks[0].Height;
  for (int r = 0; r <= maxOrientation; ++r) {
    TGreyMap light(w, h), dark(w, h);
    for (const TEdgePixel& e : edge) (e.Grey[r] >= 0 ? light : dark).Data[e.Index] = uint8_t(std::abs(e.Grey[r]));
    light = KeepEdge(BoxBlur(light, 3), edge);
    dark = KeepEdge(BoxBlur(dark, 3), edge);
    ScaleToPeak(light, dark);
    if (strength >= 2) {
      light = BoxBlur(light, strength - 1);
      dark = BoxBlur(dark, strength - 1);
    }
    ShadeImage(piece.Pictures[r], Turn(light, r), Turn(dark, r), piece.Masks[r], strength, piece.Images[r]);
    piece.Pictures[r] = TMyDib();
  }
}

void FinishImages(TPiece& piece, int maxOrientation) {
  for (int r = 0; r <= maxOrientation; ++r) {
    TPixel* p = piece.Images[r].Bits();
    const uint8_t* mask = piece.Masks[r].Data.data();
    const uint8_t* shadow = piece.Shadows[r].Data.data();
    const size_t n = piece.Masks[r].Data.size();
    for (size_t k = 0; k < n; ++k) {
      TPixel c = p[k] & kRgbMask;
      if (mask[k] && PixelR(c) < 8 && PixelG(c) < 8 && PixelB(c) < 8) c = MakePixel(8, 8, 8);
      p[k] = c | (TPixel(shadow[k]) << 24);
    }
    piece.Shadows[r] = TGreyMap();
    piece.Masks[r] = TGreyMap();
  }
}

}  // namespace qj
