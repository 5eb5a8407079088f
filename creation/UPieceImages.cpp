#include "creation/UPieceImages.h"

#include <algorithm>

namespace qj {

namespace {

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

// For every pixel of the mask's area, how many piece pixels of the shadow map (the mask moved
// s - 1 right and down on a white map s * 2 larger) lie within s columns and rows of it.
// Sliding sums along the rows, then down the columns.
std::vector<uint16_t> HoleCounts(const TGreyMap& mask, int s) {
  const int w = mask.Width, h = mask.Height, shift = s - 1;
  std::vector<uint16_t> rows(size_t(w) * h), counts(size_t(w) * h);
  for (int y = 0; y < h; ++y) {
    const uint8_t* m = mask.Row(y);
    uint16_t* out = rows.data() + size_t(y) * w;
    // window over mask columns x - s - shift .. x + s - shift
    int sum = 0;
    for (int i = std::max(-s - shift, 0); i <= std::min(s - shift - 1, w - 1); ++i) sum += m[i] != 0;
    for (int x = 0; x < w; ++x) {
      const int add = x + s - shift, drop = x - s - shift - 1;
      if (add >= 0 && add < w) sum += m[add] != 0;
      if (drop >= 0 && drop < w) sum -= m[drop] != 0;
      out[x] = uint16_t(sum);
    }
  }
  std::vector<uint16_t> column(w, 0);
  for (int j = std::max(-s - shift, 0); j <= std::min(s - shift - 1, h - 1); ++j)
    for (int x = 0; x < w; ++x) column[x] += rows[size_t(j) * w + x];
  for (int y = 0; y < h; ++y) {
    const int add = y + s - shift, drop = y - s - shift - 1;
    if (add >= 0 && add < h)
      for (int x = 0; x < w; ++x) column[x] += rows[size_t(add) * w + x];
    if (drop >= 0 && drop < h)
      for (int x = 0; x < w; ++x) column[x] -= rows[size_t(drop) * w + x];
    std::copy(column.begin(), column.end(), counts.begin() + std::ptrdiff_t(y) * w);
  }
  return counts;
}

}  // namespace

// The turned position of a point of the orientation-0 box (w x h bitmap, W x H map).
TPoint TurnedCorner(TPoint p, int turn, int w, int h, int mapW, int mapH) {
  switch (turn) {
    case 1: return {mapH - p.Y - h, p.X};
    case 2: return {mapW - p.X - w, mapH - p.Y - h};
    default: return {p.Y, mapW - p.X - w};
  }
}

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
  const uint32_t full = uint32_t(2 * s + 1) * uint32_t(2 * s + 1);
  std::vector<uint8_t> fullWindow(full + 1);
  for (uint32_t holes = 0; holes <= full; ++holes)
    fullWindow[holes] = uint8_t(255 - BoxMean(255 * (full - holes), full));
  for (int r = 0; r <= maxOrientation; ++r) {
    const TGreyMap& mask = piece.Masks[r];
    const int w = mask.Width, h = mask.Height;
    const std::vector<uint16_t> counts = HoleCounts(mask, s);
    TGreyMap shadow(w, h);
    for (int y = 0; y < h; ++y) {
      const uint8_t* m = mask.Row(y);
      const uint16_t* c = counts.data() + size_t(y) * w;
      uint8_t* d = shadow.Row(y);
      for (int x = 0; x < w; ++x) {
        if (m[x] || c[x] == 0) continue;
        const uint32_t n = WindowSpan(x, s, w + 2 * s) * WindowSpan(y, s, h + 2 * s);
        d[x] = n == full ? fullWindow[c[x]] : uint8_t(255 - BoxMean(255 * (n - c[x]), n));
      }
    }
    piece.Shadows[r] = std::move(shadow);
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
