// Every blit between surfaces: plain and keyed copies, stretches, alpha blends and rotated draws.
// Each clips first and then runs over whole rows with pointer loops.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/Surface.h"

namespace qj {
namespace {

using TVec8 = uint32_t __attribute__((vector_size(32)));

// A clipped copy: `Width` x `Height` pixels from (SrcX, SrcY) to (DstX, DstY).
struct TSpan {
  int DstX = 0, DstY = 0, SrcX = 0, SrcY = 0, Width = 0, Height = 0;
};

// Clips the source rectangle to the source and the destination at (x, y) to `area`, moving
// both together. False when nothing is left.
bool ClipSpan(const TRect& area, int x, int y, const TPixelBuffer& src, const TRect& srcRect, TSpan& s) {
  const TRect from = Intersect(srcRect, src.Bounds());
  if (from.IsEmpty()) return false;
  x += from.Left - srcRect.Left;
  y += from.Top - srcRect.Top;
  const TRect to = Intersect(MakeRect(x, y, from.Width(), from.Height()), area);
  if (to.IsEmpty()) return false;
  s = {to.Left, to.Top, from.Left + to.Left - x, from.Top + to.Top - y, to.Width(), to.Height()};
  return true;
}

// The choice between clones runs while the program is being loaded, before ThreadSanitizer's
// runtime is up, and crashes there: that build keeps the one default version.
#if defined(__SANITIZE_THREAD__)
#define QJ_ROW_CLONES
#else
#define QJ_ROW_CLONES __attribute__((target_clones("avx2", "default")))
#endif

// Colour-keyed row copy, the key tested on the colour bytes only: eight pixels a step, which on
// processors with AVX2 (chosen when the program loads) is one instruction, elsewhere two.
QJ_ROW_CLONES void KeyedRow(TPixel* __restrict d, const TPixel* __restrict s, int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    TVec8 sv, dv;
    std::memcpy(&sv, s + i, sizeof sv);
    std::memcpy(&dv, d + i, sizeof dv);
    const TVec8 solid = (TVec8)((sv & kRgbMask) != 0);
    dv = (sv & solid) | (dv & ~solid);
    std::memcpy(d + i, &dv, sizeof dv);
  }
  for (; i < n; ++i)
    if (s[i] & kRgbMask) d[i] = s[i];
}

// Rows of a small sprite lie a whole target row apart, too far for the hardware to guess: the
// target's next rows are fetched while this one is drawn.
void PrefetchRow(const TPixel* p, int n) {
  for (int i = 0; i < n; i += 16) __builtin_prefetch(p + i, 1);
  __builtin_prefetch(p + n - 1, 1);
}

void CopySpan(TSurface& dst, const TPixelBuffer& src, const TSpan& s, bool keyed) {
  constexpr int kAhead = 4;
  for (int row = 0; row < std::min(kAhead, s.Height); ++row) PrefetchRow(dst.Row(s.DstY + row) + s.DstX, s.Width);
  for (int row = 0; row < s.Height; ++row) {
    TPixel* d = dst.Row(s.DstY + row) + s.DstX;
    const TPixel* from = src.Row(s.SrcY + row) + s.SrcX;
    if (row + kAhead < s.Height) PrefetchRow(dst.Row(s.DstY + row + kAhead) + s.DstX, s.Width);
    if (keyed)
      KeyedRow(d, from, s.Width);
    else
      std::memmove(d, from, size_t(s.Width) * sizeof(TPixel));
  }
  dst.MarkChanged();
}

// Same-size copy of srcRect to (x, y). A blit of a surface onto itself goes through a copy,
// so overlapping areas come out as if read before written.
void CopyBlt(TSurface& dst, int x, int y, const TPixelBuffer& src, const TRect& srcRect, bool keyed) {
  if (&src == &dst) {
    const TPixelBuffer copy = src;
    CopyBlt(dst, x, y, copy, srcRect, keyed);
    return;
  }
  TSpan span;
  if (ClipSpan(dst.DrawArea(), x, y, src, srcRect, span)) CopySpan(dst, src, span, keyed);
}

// Fixed-point (16.16) position of the centre of output cell `cell` of `outSize` cells mapped
// onto `inSize` input cells; always below inSize.
int64_t CellCentre(int64_t cell, int64_t inSize, int64_t outSize) {
  return (((2 * cell + 1) * inSize) << 16) / (2 * outSize);
}

// Nearest-neighbour stretch of `from` (inside the source) onto `to`, clipped to the target.
void StretchBlt(TSurface& dst, const TRect& to, const TPixelBuffer& src, const TRect& from, bool keyed) {
  const TRect area = Intersect(to, dst.DrawArea());
  if (area.IsEmpty()) return;
  const int64_t stepX = (int64_t(from.Width()) << 16) / to.Width();
  const int64_t startX = CellCentre(area.Left - to.Left, from.Width(), to.Width());
  for (int y = area.Top; y < area.Bottom; ++y) {
    const int sy = from.Top + int(CellCentre(y - to.Top, from.Height(), to.Height()) >> 16);
    const TPixel* s = src.Row(sy) + from.Left;
    TPixel* d = dst.Row(y);
    int64_t fx = startX;
    for (int x = area.Left; x < area.Right; ++x, fx += stepX) {
      const TPixel p = s[fx >> 16];
      if (!keyed || (p & kRgbMask)) d[x] = p;
    }
  }
  dst.MarkChanged();
}

// out = (s * a + d * (255 - a)) / 255 per byte, rounded, two bytes per multiply.
inline TPixel Blend(TPixel s, TPixel d, uint32_t a) {
  constexpr uint32_t kLanes = 0x00FF00FF;
  const uint32_t na = 255 - a;
  uint32_t rb = (s & kLanes) * a + (d & kLanes) * na + 0x00800080;
  rb = ((rb + ((rb >> 8) & kLanes)) >> 8) & kLanes;
  uint32_t ag = ((s >> 8) & kLanes) * a + ((d >> 8) & kLanes) * na + 0x00800080;
  ag = (ag + ((ag >> 8) & kLanes)) & ~kLanes;
  return rb | ag;
}

using TBytes8 = uint8_t __attribute__((vector_size(8)));
using TWords8 = uint16_t __attribute__((vector_size(16)));
using TPixels2 = uint32_t __attribute__((vector_size(8)));

// Two pixels at a time in 16-bit lanes, the same rounding as Blend.
void AlphaRow(TPixel* __restrict d, const TPixel* __restrict s, int n, uint32_t a, bool keyed) {
  const TWords8 weight = TWords8{} + uint16_t(a), rest = TWords8{} + uint16_t(255 - a);
  const TPixels2 always = keyed ? TPixels2{} : ~TPixels2{};  // unkeyed: every pixel is solid
  int i = 0;
  for (; i + 2 <= n; i += 2) {
    TBytes8 sb, db;
    std::memcpy(&sb, s + i, sizeof sb);
    std::memcpy(&db, d + i, sizeof db);
    TWords8 x = __builtin_convertvector(sb, TWords8) * weight + __builtin_convertvector(db, TWords8) * rest + 128;
    x = (x + (x >> 8)) >> 8;
    TPixels2 out, sp, dp;
    const TBytes8 blended = __builtin_convertvector(x, TBytes8);
    std::memcpy(&out, &blended, sizeof out);
    std::memcpy(&sp, &sb, sizeof sp);
    std::memcpy(&dp, &db, sizeof dp);
    const TPixels2 solid = (TPixels2)((sp & kRgbMask) != 0) | always;
    out = (out & solid) | (dp & ~solid);
    std::memcpy(d + i, &out, sizeof out);
  }
  for (; i < n; ++i) {
    const TPixel p = s[i];
    if (!keyed || (p & kRgbMask)) d[i] = Blend(p, d[i], a);
  }
}

// Rotation set-up: where the pivot sits in the source and on the target, and the turn.
struct TTurn {
  double Cos = 1, Sin = 0;
  double PivotX = 0, PivotY = 0;  // in the source
  double CentreX = 0, CentreY = 0;  // on the target
};

TTurn MakeTurn(int x, int y, const TPixelBuffer& src, int angle, double centreX, double centreY) {
  TTurn t;
  // Quarter turns exactly, so a piece turned by whole quarters lands on whole pixels.
  static constexpr double kQuarterCos[4] = {1, 0, -1, 0}, kQuarterSin[4] = {0, 1, 0, -1};
  const int units = angle & 255;
  if (units % 64 == 0) {
    t.Cos = kQuarterCos[units / 64];
    t.Sin = kQuarterSin[units / 64];
  } else {
    const double theta = units * (2.0 * M_PI / 256.0);
    t.Cos = std::cos(theta);
    t.Sin = std::sin(theta);
  }
  if (!std::isfinite(centreX)) centreX = 0;
  if (!std::isfinite(centreY)) centreY = 0;
  t.PivotX = centreX * src.Width();
  t.PivotY = centreY * src.Height();
  t.CentreX = x + t.PivotX;
  t.CentreY = y + t.PivotY;
  return t;
}

// The target rectangle covered by the turned source.
TRect TurnedBounds(const TTurn& t, const TPixelBuffer& src) {
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  for (int corner = 0; corner < 4; ++corner) {
    const double rx = (corner & 1 ? src.Width() : 0) - t.PivotX;
    const double ry = (corner & 2 ? src.Height() : 0) - t.PivotY;
    const double px = t.CentreX + rx * t.Cos - ry * t.Sin;
    const double py = t.CentreY + rx * t.Sin + ry * t.Cos;
    minX = std::min(minX, px), maxX = std::max(maxX, px);
    minY = std::min(minY, py), maxY = std::max(maxY, py);
  }
  // Far-off centres must not overflow the conversion; such a draw misses every target anyway.
  const auto whole = [](double v) { return int(std::clamp(v, -1e9, 1e9)); };
  return {whole(std::floor(minX)), whole(std::floor(minY)), whole(std::ceil(maxX)), whole(std::ceil(maxY))};
}

// One target row of a rotated draw: each pixel centre is turned back into the source.
void RotatedRow(TPixel* d, int left, int right, int y, const TTurn& t, const TPixelBuffer& src) {
  const double u = left + 0.5 - t.CentreX, v = y + 0.5 - t.CentreY;
  int64_t fx = std::llround((t.PivotX + u * t.Cos + v * t.Sin) * 65536.0);
  int64_t fy = std::llround((t.PivotY - u * t.Sin + v * t.Cos) * 65536.0);
  const int64_t stepX = std::llround(t.Cos * 65536.0), stepY = std::llround(-t.Sin * 65536.0);
  const uint64_t w = uint64_t(src.Width()), h = uint64_t(src.Height());
  const TPixel* bits = src.Bits();
  for (int x = left; x < right; ++x, fx += stepX, fy += stepY) {
    const uint64_t sx = uint64_t(fx >> 16), sy = uint64_t(fy >> 16);
    if (sx >= w || sy >= h) continue;
    const TPixel p = bits[sy * w + sx];
    if (p & kRgbMask) d[x] = p;
  }
}

}  // namespace

void Blt(TSurface& dst, const TRect& dstRect, const TPixelBuffer& src, const TRect& srcRect, bool keyed) {
  if (dstRect.IsEmpty() || srcRect.IsEmpty()) return;
  if (dstRect.Width() == srcRect.Width() && dstRect.Height() == srcRect.Height()) {
    CopyBlt(dst, dstRect.Left, dstRect.Top, src, srcRect, keyed);
    return;
  }
  // A stretch reads only inside the source; a rectangle reaching outside it is cut to fit.
  const TRect from = Intersect(srcRect, src.Bounds());
  if (from.IsEmpty()) return;
  if (&src == &dst) {
    const TPixelBuffer copy = src;
    StretchBlt(dst, dstRect, copy, from, keyed);
    return;
  }
  StretchBlt(dst, dstRect, src, from, keyed);
}

void BltFast(TSurface& dst, int x, int y, const TPixelBuffer& src, bool keyed) {
  CopyBlt(dst, x, y, src, src.Bounds(), keyed);
}

void BltAlpha(TSurface& dst, int x, int y, const TPixelBuffer& src, int opacity, bool keyed) {
  if (opacity <= 0) return;
  if (opacity >= 255) {
    BltFast(dst, x, y, src, keyed);
    return;
  }
  if (&src == &dst) {
    const TPixelBuffer copy = src;
    BltAlpha(dst, x, y, copy, opacity, keyed);
    return;
  }
  TSpan s;
  if (!ClipSpan(dst.DrawArea(), x, y, src, src.Bounds(), s)) return;
  for (int row = 0; row < s.Height; ++row)
    AlphaRow(dst.Row(s.DstY + row) + s.DstX, src.Row(s.SrcY + row) + s.SrcX, s.Width, uint32_t(opacity), keyed);
  dst.MarkChanged();
}

void DrawRotated(TSurface& dst, int x, int y, const TPixelBuffer& src, int angle, double centreX,
                 double centreY) {
  if (src.Empty()) return;
  if ((angle & 255) == 0) {
    BltFast(dst, x, y, src, true);
    return;
  }
  if (&src == &dst) {
    const TPixelBuffer copy = src;
    DrawRotated(dst, x, y, copy, angle, centreX, centreY);
    return;
  }
  const TTurn turn = MakeTurn(x, y, src, angle, centreX, centreY);
  const TRect area = Intersect(TurnedBounds(turn, src), dst.DrawArea());
  for (int row = area.Top; row < area.Bottom; ++row) RotatedRow(dst.Row(row), area.Left, area.Right, row, turn, src);
  dst.MarkChanged();
}

}  // namespace qj
