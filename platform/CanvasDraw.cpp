// The geometric half of TCanvas: exact integer rasterisation of lines, rectangles, ellipses
// and fills. The cutter relies on every pixel being the same in every run and build, so the
// rules below are integer-only and fixed:
//  - Lines: n = max(|dx|, |dy|) steps along the major axis; step i sets the major coordinate
//    start + i and the minor one start + floor((2 i dminor + n) / 2n) in its direction (the
//    exact line rounded, halves away from the start). A pen of width 1 leaves the last pixel
//    out, as GDI does. A wider pen stamps a disc at every step, the end included (round caps):
//    the disc of width w covers the cells (i, j) of a w x w box with
//    (2i - (w-1))^2 + (2j - (w-1))^2 <= w^2, the box starting (w-1)/2 left of and above the
//    centre pixel. Each row of a wide line is painted once, as one span, so XOR stays clean.
//  - Rectangles: the brush fills left..right-1 x top..bottom-1, then the pen draws a frame of
//    its width centred on the outermost pixel ring as with the line discs.
//  - Ellipses: a pixel is inside the box's ellipse when its centre is:
//    (2x - (l+r-1))^2 (b-t)^2 + (2y - (t+b-1))^2 (r-l)^2 <= (r-l)^2 (b-t)^2. The brush fills the
//    inside; the outline is the inside minus the four-neighbour interior of the ellipse whose
//    box is shrunk by (pen width - 1) on every side, so outlines grow inwards.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/Canvas.h"

namespace qj {

namespace {

struct TSpan {
  int Lo = 0;
  int Hi = -1;  // inclusive; Hi < Lo is empty
  bool Empty() const { return Hi < Lo; }
};

void PaintSpan(TPixelBuffer& target, int y, int lo, int hi, TPixel colour, bool xorPen) {
  if (y < 0 || y >= target.Height()) return;
  lo = std::max(lo, 0);
  hi = std::min(hi, target.Width() - 1);
  if (hi < lo) return;
  TPixel* p = target.Row(y) + lo;
  TPixel* end = target.Row(y) + hi + 1;
  if (xorPen) {
    for (; p != end; ++p) *p ^= colour;
  } else {
    std::fill(p, end, colour);
  }
}

// Per-row extent of the pen disc of width w: offsets from the top-left of its w x w box.
std::vector<TSpan> DiscRows(int w) {
  std::vector<TSpan> rows(w);
  const int64_t limit = int64_t(w) * w;
  for (int j = 0; j < w; ++j) {
    const int64_t dj = 2 * j - (w - 1);
    for (int i = 0; i < w; ++i) {
      const int64_t di = 2 * i - (w - 1);
      if (di * di + dj * dj > limit) continue;
      if (rows[j].Empty()) rows[j] = {i, i};
      rows[j].Hi = i;
    }
  }
  return rows;
}

// The steps of a line in closed form, so long lines can start where they enter the target.
struct TLineWalk {
  int X0, Y0, Sx, Sy, N, DMinor;
  bool XMajor;
  TLineWalk(int x0, int y0, int x1, int y1) : X0(x0), Y0(y0) {
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    Sx = x1 >= x0 ? 1 : -1;
    Sy = y1 >= y0 ? 1 : -1;
    XMajor = dx >= dy;
    N = XMajor ? dx : dy;
    DMinor = XMajor ? dy : dx;
  }
  // Steps whose major coordinate lies in [lo, hi), clamped to 0..last.
  void Range(int lo, int hi, int last, int& first, int& stop) const {
    const int start = XMajor ? X0 : Y0;
    const int s = XMajor ? Sx : Sy;
    int64_t a = s > 0 ? int64_t(lo) - start : int64_t(start) - (hi - 1);
    int64_t b = s > 0 ? int64_t(hi - 1) - start : int64_t(start) - lo;
    first = int(std::max<int64_t>(a, 0));
    stop = int(std::min<int64_t>(b, last) + 1);
  }
  // Calls visit(x, y) for steps first..stop-1.
  template <class F>
  void Walk(int first, int stop, F&& visit) const {
    if (stop <= first) return;
    const int64_t twoN = 2 * int64_t(N);
    int64_t num = 2 * int64_t(first) * DMinor + N;
    int64_t q = twoN ? num / twoN : 0;
    int64_t r = twoN ? num % twoN : 0;
    for (int i = first; i < stop; ++i) {
      if (XMajor) visit(X0 + Sx * i, int(Y0 + Sy * q));
      else visit(int(X0 + Sx * q), Y0 + Sy * i);
      r += 2 * int64_t(DMinor);
      if (r >= twoN) {
        r -= twoN;
        ++q;
      }
    }
  }
};

void ThinLine(TPixelBuffer& t, int x0, int y0, int x1, int y1, TPixel colour, bool xorPen) {
  const TLineWalk walk(x0, y0, x1, y1);
  int first, stop;
  walk.Range(0, walk.XMajor ? t.Width() : t.Height(), walk.N - 1, first, stop);
  walk.Walk(first, stop, [&](int x, int y) {
    if (!t.InBounds(x, y)) return;
    TPixel& p = t.At(x, y);
    p = xorPen ? (p ^ colour) : colour;
  });
}

void WideLine(TPixelBuffer& t, int x0, int y0, int x1, int y1, int w, TPixel colour, bool xorPen) {
  const TLineWalk walk(x0, y0, x1, y1);
  const std::vector<TSpan> disc = DiscRows(w);
  const int o = (w - 1) / 2;
  const int extent = walk.XMajor ? t.Width() : t.Height();
  int first, stop;
  walk.Range(-w, extent + w, walk.N, first, stop);
  // The rows the line can touch (within the target and a pen width around it), each the
  // union of the disc rows stamped on it.
  const int top = std::max(std::min(y0, y1) - w, -w);
  const int bottom = std::min(std::max(y0, y1) + w, t.Height() + w);
  if (bottom <= top) return;
  std::vector<TSpan> rows(size_t(bottom - top));
  walk.Walk(first, stop, [&](int x, int y) {
    for (int j = 0; j < w; ++j) {
      const int row = y - o + j - top;
      if (row < 0 || row >= int(rows.size()) || disc[j].Empty()) continue;
      TSpan& s = rows[row];
      const int lo = x - o + disc[j].Lo, hi = x - o + disc[j].Hi;
      if (s.Empty()) s = {lo, hi};
      else s = {std::min(s.Lo, lo), std::max(s.Hi, hi)};
    }
  });
  for (size_t row = 0; row < rows.size(); ++row)
    if (!rows[row].Empty()) PaintSpan(t, int(row) + top, rows[row].Lo, rows[row].Hi, colour, xorPen);
}

// The inside of the ellipse in the box (l, t, r, b) on row y.
TSpan EllipseRow(int l, int t, int r, int b, int y) {
  const __int128 a = r - l, h = b - t;
  if (a <= 0 || h <= 0 || y < t || y >= b) return {};
  const __int128 dy = 2 * int64_t(y) - (int64_t(t) + b - 1);
  const __int128 k = a * a * h * h - dy * dy * a * a;
  if (k < 0) return {};
  // Largest d with d^2 h^2 <= k.
  const __int128 h2 = h * h;
  int64_t d = int64_t(std::sqrt(double(k) / double(h2)));
  while (d > 0 && __int128(d) * d * h2 > k) --d;
  while (__int128(d + 1) * (d + 1) * h2 <= k) ++d;
  const int64_t c = int64_t(l) + r - 1;  // twice the centre
  // 2x in [c - d, c + d]
  auto floorDiv2 = [](int64_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); };
  const int64_t lo = -floorDiv2(-(c - d));
  const int64_t hi = floorDiv2(c + d);
  if (hi < lo) return {};
  return {int(lo), int(hi)};
}

// Pixels of the ellipse whose four neighbours are all inside it.
TSpan EllipseInterior(int l, int t, int r, int b, int y) {
  const TSpan mid = EllipseRow(l, t, r, b, y);
  const TSpan up = EllipseRow(l, t, r, b, y - 1);
  const TSpan down = EllipseRow(l, t, r, b, y + 1);
  if (mid.Empty() || up.Empty() || down.Empty()) return {};
  return {std::max({mid.Lo + 1, up.Lo, down.Lo}), std::min({mid.Hi - 1, up.Hi, down.Hi})};
}

}  // namespace

void TCanvas::MoveTo(int x, int y) { FPen = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  const TPoint from = FPen;
  FPen = {x, y};
  if (from == FPen) return;
  if (PenWidth <= 1) ThinLine(FTarget, from.X, from.Y, x, y, PenColor, XorPen);
  else WideLine(FTarget, from.X, from.Y, x, y, PenWidth, PenColor, XorPen);
}

void TCanvas::SetPixel(int x, int y, TPixel colour) {
  if (FTarget.InBounds(x, y)) FTarget.At(x, y) = colour;
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right == left || bottom == top) return;
  if (!BrushClear) FTarget.FillRect({left, top, right, bottom}, BrushColor);
  const int w = std::max(PenWidth, 1), o = (w - 1) / 2;
  const TRect outer{left - o, top - o, right - 1 - o + w, bottom - 1 - o + w};
  const TRect inner{left - o + w, top - o + w, right - 1 - o, bottom - 1 - o};
  for (int y = outer.Top; y < outer.Bottom; ++y) {
    if (y < inner.Top || y >= inner.Bottom || inner.IsEmpty()) {
      PaintSpan(FTarget, y, outer.Left, outer.Right - 1, PenColor, XorPen);
    } else {
      PaintSpan(FTarget, y, outer.Left, inner.Left - 1, PenColor, XorPen);
      PaintSpan(FTarget, y, inner.Right, outer.Right - 1, PenColor, XorPen);
    }
  }
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  const int shrink = std::max(PenWidth, 1) - 1;
  const int y0 = std::max(top, 0), y1 = std::min(bottom, FTarget.Height());
  for (int y = y0; y < y1; ++y) {
    const TSpan row = EllipseRow(left, top, right, bottom, y);
    if (row.Empty()) continue;
    if (!BrushClear) PaintSpan(FTarget, y, row.Lo, row.Hi, BrushColor, false);
    const TSpan hole = EllipseInterior(left + shrink, top + shrink, right - shrink, bottom - shrink, y);
    if (hole.Empty()) {
      PaintSpan(FTarget, y, row.Lo, row.Hi, PenColor, XorPen);
    } else {
      PaintSpan(FTarget, y, row.Lo, hole.Lo - 1, PenColor, XorPen);
      PaintSpan(FTarget, y, hole.Hi + 1, row.Hi, PenColor, XorPen);
    }
  }
}

void TCanvas::FillRect(const TRect& r, TPixel colour) { FTarget.FillRect(r, colour); }

void TCanvas::Darken(const TRect& r, int keep) {
  const TRect c = Intersect(r, FTarget.Bounds());
  for (int y = c.Top; y < c.Bottom; ++y)
    for (TPixel *p = FTarget.Row(y) + c.Left, *end = FTarget.Row(y) + c.Right; p != end; ++p)
      *p = (*p & ~kRgbMask) | ((((*p & 0xFF00FF) * uint32_t(keep)) >> 8) & 0xFF00FF) | ((((*p & 0x00FF00) * uint32_t(keep)) >> 8) & 0x00FF00);
  FTarget.MarkChanged();
}

void TCanvas::FloodFill(int x, int y, TPixel with) {
  if (!FTarget.InBounds(x, y)) return;
  const TPixel old = FTarget.At(x, y) & kRgbMask;
  if ((with & kRgbMask) == old) {
    FTarget.At(x, y) = with;  // nothing to spread into; only the alpha byte may change
    return;
  }
  const int w = FTarget.Width(), h = FTarget.Height();
  auto matches = [&](int px, int py) { return (FTarget.At(px, py) & kRgbMask) == old; };
  std::vector<TPoint> stack{{x, y}};
  while (!stack.empty()) {
    const TPoint p = stack.back();
    stack.pop_back();
    if (!matches(p.X, p.Y)) continue;
    int lo = p.X, hi = p.X;
    while (lo > 0 && matches(lo - 1, p.Y)) --lo;
    while (hi + 1 < w && matches(hi + 1, p.Y)) ++hi;
    std::fill(FTarget.Row(p.Y) + lo, FTarget.Row(p.Y) + hi + 1, with);
    for (int ny : {p.Y - 1, p.Y + 1}) {
      if (ny < 0 || ny >= h) continue;
      bool inRun = false;
      for (int px = lo; px <= hi; ++px) {
        const bool m = matches(px, ny);
        if (m && !inRun) stack.push_back({px, ny});
        inRun = m;
      }
    }
  }
}

}  // namespace qj
