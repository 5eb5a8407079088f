#include "creation/UPieceImages.h"

#include <algorithm>

namespace qj {

namespace {

// The four-neighbour region of `label` around the seed, as a mask placed at `offset`; only
// `area` of the label map (inside the mask's window and the map) is looked at.
void FillPieceMask(const TMyDib& labels, TPoint seed, TPixel label, const TRect& area, TPoint offset,
                   TGreyMap& mask) {
  auto open = [&](const TPixel* labelRow, const uint8_t* maskRow, int x) {
    return x >= area.Left && x < area.Right && labelRow[x] == label && maskRow[x] == 0;
  };
  thread_local std::vector<TPoint> stack;
  stack.assign(1, seed);
  while (!stack.empty()) {
    const TPoint p = stack.back();
    stack.pop_back();
    if (p.Y < area.Top || p.Y >= area.Bottom) continue;
    const TPixel* labelRow = labels.Row(p.Y);
    uint8_t* maskRow = mask.Row(p.Y + offset.Y) + offset.X;
    if (!open(labelRow, maskRow, p.X)) continue;
    int lo = p.X, hi = p.X;
    while (open(labelRow, maskRow, lo - 1)) --lo;
    while (open(labelRow, maskRow, hi + 1)) ++hi;
    std::fill(maskRow + lo, maskRow + hi + 1, uint8_t(255));
    for (int ny : {p.Y - 1, p.Y + 1}) {
      if (ny < area.Top || ny >= area.Bottom) continue;
      const TPixel* nextLabels = labels.Row(ny);
      const uint8_t* nextMask = mask.Row(ny + offset.Y) + offset.X;
      bool before = false;
      for (int px = lo; px <= hi; ++px) {
        const bool here = nextLabels[px] == label && nextMask[px] == 0;
        if (here && !before) stack.push_back({px, ny});
        before = here;
      }
    }
  }
}

// Shadow density per count of piece pixels in a full window of (2s + 1)^2: 255 less the mean
// of the white left in it.
std::vector<uint8_t> FullWindowShadow(int s) {
  const uint32_t full = uint32_t(2 * s + 1) * uint32_t(2 * s + 1);
  std::vector<uint8_t> levels(full + 1);
  for (uint32_t holes = 0; holes <= full; ++holes) levels[holes] = uint8_t(255 - BoxMean(255 * (full - holes), full));
  return levels;
}

// The shadow of one mask: for every pixel outside the piece, the piece pixels of the shadow
// map (the mask moved s - 1 right and down on a white map s * 2 larger) within s columns and
// rows of it, which are mask rows and columns c - 2s + 1 .. c + 1. Column counts slide down
// the rows; each row's windows are differences of its running sums, kept 2s zeros ahead.
// Windows clipped by the map's left and top edge (x or y under s) hold fewer pixels.
TGreyMap ShadowOf(const TGreyMap& mask, int s, const std::vector<uint8_t>& fullWindow) {
  const int w = mask.Width, h = mask.Height, pad = 2 * s;
  TGreyMap shadow(w, h);
  std::vector<uint16_t> column(w, 0), running(size_t(w) + pad + 2, 0), count(w);
  auto slide = [&](int row, bool add) {
    if (row < 0 || row >= h) return;
    const uint8_t* m = mask.Row(row);
    if (add) for (int x = 0; x < w; ++x) column[x] += m[x] != 0;
    else for (int x = 0; x < w; ++x) column[x] -= m[x] != 0;
  };
  slide(0, true);
  for (int y = 0; y < h; ++y) {
    slide(y + 1, true);
    slide(y - pad, false);
    for (int x = 0; x < w; ++x) running[pad + 1 + x] = uint16_t(running[pad + x] + column[x]);
    std::fill(running.begin() + pad + 1 + w, running.end(), running[pad + w]);
    for (int x = 0; x < w; ++x) count[x] = uint16_t(running[x + pad + 2] - running[x + 1]);
    const uint8_t* m = mask.Row(y);
    uint8_t* d = shadow.Row(y);
    for (int x = 0; x < w; ++x) d[x] = uint8_t(fullWindow[count[x]] & -int(m[x] == 0));
    for (int x = 0, clipped = y < s ? w : std::min(s, w); x < clipped; ++x) {
      if (m[x] || count[x] == 0) continue;
      const uint32_t n = WindowSpan(x, s, w + 2 * s) * WindowSpan(y, s, h + 2 * s);
      d[x] = uint8_t(255 - BoxMean(255 * (n - count[x]), n));
    }
  }
  return shadow;
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
  // The region lies inside its box, and the box inside the mask's window.
  const TRect area = Intersect({p1.X, p1.Y, p2.X + 1, p2.Y + 1}, labelMap.Bounds());
  FillPieceMask(labelMap, piece.Seed[0], TPixel(piece.Label), area, offset, piece.Masks[0]);
  TMyDib& picture = piece.Pictures[0];
  picture = TMyDib(w, h, 24);
  for (int y = p1.Y; y <= p2.Y; ++y) {
    if (y < 0 || y >= cutPicture.Height()) continue;
    const TPixel* src = cutPicture.Row(y);
    const uint8_t* mask = piece.Masks[0].Row(y + offset.Y) + offset.X;
    TPixel* dst = picture.Row(y + offset.Y) + offset.X;
    for (int x = std::max(p1.X, 0); x <= std::min(p2.X, cutPicture.Width() - 1); ++x)
      dst[x] = src[x] & kRgbMask & -TPixel(mask[x] != 0);
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
  const std::vector<uint8_t> fullWindow = FullWindowShadow(s);
  for (int r = 0; r <= maxOrientation; ++r) piece.Shadows[r] = ShadowOf(piece.Masks[r], s, fullWindow);
}

void FinishImages(TPiece& piece, int maxOrientation) {
  constexpr TPixel kHighBits = 0xF8F8F8, kLifted = MakePixel(8, 8, 8);
  for (int r = 0; r <= maxOrientation; ++r) {
    TPixel* p = piece.Images[r].Bits();
    const uint8_t* mask = piece.Masks[r].Data.data();
    const uint8_t* shadow = piece.Shadows[r].Data.data();
    const size_t n = piece.Masks[r].Data.size();
    for (size_t k = 0; k < n; ++k) {
      const TPixel c = p[k] & kRgbMask;
      const bool nearBlack = mask[k] != 0 && (c & kHighBits) == 0;  // every channel under 8
      p[k] = (nearBlack ? kLifted : c) | (TPixel(shadow[k]) << 24);
    }
    piece.Shadows[r] = TGreyMap();
    piece.Masks[r] = TGreyMap();
  }
}

}  // namespace qj
