// Index: bit masks and the table's plane; the grid of cells; the search; the overlap measure.
#include "play/USpreadLayout.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "creation/URandom.h"
#include "platform/PixelBuffer.h"

namespace qj {
namespace {

// ---- Bit masks and the table's plane -----------------------------------------------------------

constexpr int kPadBits = 64;  // plane columns left of the table: margins may reach past its edge
constexpr int kMaxMargin = 16;
constexpr int kMaxRadius = 32;  // how far a piece looks for room around its cell

bool Opaque(TPixel p) { return (p & kRgbMask) != 0; }

void SetBits(uint64_t* row, int from, int to) {
  for (int x = from; x < to;) {
    const int word = x >> 6, bit = x & 63, n = std::min(64 - bit, to - x);
    row[word] |= (n == 64 ? ~uint64_t(0) : ((uint64_t(1) << n) - 1)) << bit;
    x += n;
  }
}

// A piece's opaque pixels as bit rows, grown by `grow` pixels on every side: pixel (x, y) is
// bit x + grow of row y + grow.
struct TBitMask {
  int Width = 0, Height = 0, Words = 0;
  std::vector<uint64_t> Bits;

  TBitMask(const TPixelBuffer& image, int grow) {
    Width = image.Width() + 2 * grow;
    Height = image.Height() + 2 * grow;
    Words = (Width + 63) / 64;
    Bits.assign(size_t(Words) * size_t(std::max(0, Height)), 0);
    std::vector<uint64_t> line(size_t(Words), 0);
    for (int y = 0; y < image.Height(); ++y) {
      std::fill(line.begin(), line.end(), 0);
      const TPixel* px = image.Row(y);
      for (int x = 0; x < image.Width();) {
        if (!Opaque(px[x])) {
          ++x;
          continue;
        }
        const int start = x;
        while (x < image.Width() && Opaque(px[x])) ++x;
        SetBits(line.data(), start, x + 2 * grow);
      }
      for (int r = y; r <= y + 2 * grow; ++r)
        for (int k = 0; k < Words; ++k) Bits[size_t(r) * size_t(Words) + size_t(k)] |= line[size_t(k)];
    }
  }
  const uint64_t* Row(int y) const { return Bits.data() + size_t(y) * size_t(Words); }
};

// The table as bits, with room around it for margins that reach past its edges.
class TBitPlane {
 public:
  explicit TBitPlane(const TRect& table)
      : FTable(table), FWords((table.Width() + 2 * kPadBits + 63) / 64 + 1), FRows(table.Height() + 2 * kMaxMargin),
        FBits(size_t(FWords) * size_t(FRows), 0) {}

  // Covered pixels of the mask with its top-left at table point (x, y), counting up to `limit`.
  int Cost(const TBitMask& m, int x, int y, int limit) const {
    int count = 0;
    const int col = x - FTable.Left + kPadBits, row = y - FTable.Top + kMaxMargin, s = col & 63;
    const int words = std::min(m.Words, FWords - 1 - (col >> 6));
    for (int r = 0; r < m.Height && count < limit; ++r) {
      const int pr = row + r;
      if (pr < 0 || pr >= FRows) continue;
      const uint64_t* mine = m.Row(r);
      const uint64_t* here = Row(pr) + (col >> 6);
      for (int k = 0; k < words; ++k) {
        const uint64_t w = mine[k];
        if (w == 0) continue;
        count += std::popcount(here[k] & (w << s));
        if (s != 0) count += std::popcount(here[k + 1] & (w >> (64 - s)));
      }
    }
    return count;
  }

  void Mark(const TBitMask& m, int x, int y) {
    const int col = x - FTable.Left + kPadBits, row = y - FTable.Top + kMaxMargin, s = col & 63;
    const int words = std::min(m.Words, FWords - 1 - (col >> 6));
    for (int r = 0; r < m.Height; ++r) {
      const int pr = row + r;
      if (pr < 0 || pr >= FRows) continue;
      uint64_t* here = Row(pr) + (col >> 6);
      for (int k = 0; k < words; ++k) {
        here[k] |= m.Row(r)[k] << s;
        if (s != 0) here[k + 1] |= m.Row(r)[k] >> (64 - s);
      }
    }
  }

  void Fill(const TRect& r) {
    const TRect c = Intersect(r, FTable);
    for (int y = c.Top; y < c.Bottom; ++y)
      SetBits(Row(y - FTable.Top + kMaxMargin), c.Left - FTable.Left + kPadBits, c.Right - FTable.Left + kPadBits);
  }

 private:
  uint64_t* Row(int r) { return FBits.data() + size_t(r) * size_t(FWords); }
  const uint64_t* Row(int r) const { return FBits.data() + size_t(r) * size_t(FWords); }

  TRect FTable;
  int FWords, FRows;
  std::vector<uint64_t> FBits;
};

// ---- The grid of cells -------------------------------------------------------------------------

// The free stretches of one band of rows: the table's width less what is kept clear there.
std::vector<std::pair<int, int>> FreeStretches(const TSpreadArea& area, int top, int bottom) {
  std::vector<std::pair<int, int>> free{{area.Table.Left, area.Table.Right}};
  for (const TRect& r : area.KeepClear) {
    if (r.Top >= bottom || r.Bottom <= top) continue;
    std::vector<std::pair<int, int>> next;
    for (const auto& [a, b] : free) {
      if (r.Left > a) next.emplace_back(a, std::min(b, r.Left));
      if (r.Right < b) next.emplace_back(std::max(a, r.Right), b);
    }
    free.swap(next);
  }
  return free;
}

// Cell centres of height h and width h * aspect, rows and columns spread evenly over the free
// part of the table.
std::vector<TPoint> Cells(const TSpreadArea& area, double h, double aspect) {
  std::vector<TPoint> cells;
  const int rows = int(area.Table.Height() / h);
  if (rows <= 0) return cells;
  const double pitch = double(area.Table.Height()) / rows, w = h * aspect;
  for (int k = 0; k < rows; ++k) {
    const int top = area.Table.Top + int(k * pitch), bottom = area.Table.Top + int((k + 1) * pitch);
    for (const auto& [a, b] : FreeStretches(area, top, bottom)) {
      const int n = int((b - a) / w);
      for (int i = 0; i < n; ++i) cells.push_back({a + int((i + 0.5) * (b - a) / n), (top + bottom) / 2});
    }
  }
  return cells;
}

// The largest cells of which there are enough for every piece; the spare ones are left out at
// random.
std::vector<TPoint> ChooseCells(const TSpreadArea& area, size_t count, double aspect, double& cellHeight) {
  double low = 1, high = area.Table.Height();
  for (int step = 0; step < 30; ++step) {
    const double mid = (low + high) / 2;
    (Cells(area, mid, aspect).size() >= count ? low : high) = mid;
  }
  cellHeight = low;
  std::vector<TPoint> cells = Cells(area, low, aspect);
  while (cells.size() > count) cells.erase(cells.begin() + Random(int32_t(cells.size())));
  while (cells.size() < count) cells.push_back(cells.empty() ? TPoint{} : cells[size_t(Random(int32_t(cells.size())))]);
  return cells;
}

// ---- The search --------------------------------------------------------------------------------

// Offsets within the radius, nearest first.
std::vector<TPoint> SearchOffsets(int radius, int step) {
  std::vector<TPoint> offsets;
  for (int dy = -radius; dy <= radius; dy += step)
    for (int dx = -radius; dx <= radius; dx += step)
      if (dx * dx + dy * dy <= radius * radius) offsets.push_back({dx, dy});
  std::stable_sort(offsets.begin(), offsets.end(),
                   [](TPoint a, TPoint b) { return a.X * a.X + a.Y * a.Y < b.X * b.X + b.Y * b.Y; });
  return offsets;
}

TPoint Clamped(const TRect& table, const TPixelBuffer& image, TPoint p) {
  return {std::clamp(p.X, table.Left, std::max(table.Left, table.Right - image.Width())),
          std::clamp(p.Y, table.Top, std::max(table.Top, table.Bottom - image.Height()))};
}

// The spot nearest the goal where the grown mask covers least.
TPoint BestSpot(const TBitPlane& plane, const TBitMask& grown, const TPixelBuffer& image, const TSpreadArea& area,
                TPoint goal, const std::vector<TPoint>& offsets, int grow) {
  TPoint best = Clamped(area.Table, image, goal);
  int bestCost = std::numeric_limits<int>::max();
  for (const TPoint& d : offsets) {
    const TPoint p = Clamped(area.Table, image, {goal.X + d.X, goal.Y + d.Y});
    const int cost = plane.Cost(grown, p.X - grow, p.Y - grow, bestCost);
    if (cost < bestCost) {
      bestCost = cost;
      best = p;
      if (cost == 0) break;
    }
  }
  return best;
}

}  // namespace

std::vector<TPoint> SpreadLayout(const std::vector<TLayoutPiece>& moving, const std::vector<TLayoutPiece>& fixed,
                                 const TSpreadArea& area) {
  const size_t n = moving.size();
  std::vector<TPoint> places(n);
  if (n == 0 || area.Table.IsEmpty()) return places;
  const int grow = std::clamp(area.Margin, 0, kMaxMargin);
  TBitPlane plane(area.Table);
  for (const TRect& r : area.KeepClear) plane.Fill(r);
  for (const TLayoutPiece& f : fixed)
    if (f.Image) plane.Mark(TBitMask(*f.Image, 0), f.At.X, f.At.Y);

  double widths = 0, heights = 0;
  for (const TLayoutPiece& m : moving) widths += m.Image->Width(), heights += m.Image->Height();
  double cellHeight = 0;
  const std::vector<TPoint> cells = ChooseCells(area, n, std::max(0.1, widths / std::max(1.0, heights)), cellHeight);
  std::vector<size_t> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = i;
  for (size_t i = n - 1; i > 0; --i) std::swap(order[i], order[size_t(Random(int32_t(i + 1)))]);

  // Large pieces first, so that the small ones find room around them; then cell by cell.
  std::vector<size_t> byCell(n);
  for (size_t c = 0; c < n; ++c) byCell[c] = c;
  const double typical = widths * heights / double(n * n);
  std::stable_partition(byCell.begin(), byCell.end(), [&](size_t c) {
    const TPixelBuffer& im = *moving[order[c]].Image;
    return double(im.Width()) * im.Height() > 4 * typical;
  });
  const int radius = std::clamp(int(std::lround(cellHeight * std::max(1.0, widths / std::max(1.0, heights)) * 0.6)), 4, kMaxRadius);
  const std::vector<TPoint> offsets = SearchOffsets(radius, std::clamp(radius / 8, 1, 2));
  for (const size_t c : byCell) {
    const TLayoutPiece& piece = moving[order[c]];
    const TPixelBuffer& im = *piece.Image;
    const TPoint goal{cells[c].X - im.Width() / 2, cells[c].Y - im.Height() / 2};
    const TBitMask grown(im, grow);
    const TPoint at = BestSpot(plane, grown, im, area, goal, offsets, grow);
    plane.Mark(TBitMask(im, 0), at.X, at.Y);
    places[order[c]] = at;
  }
  return places;
}

// ---- The overlap measure -----------------------------------------------------------------------

double LayoutOverlap(const std::vector<TLayoutPiece>& pieces, const TRect& table) {
  std::vector<uint8_t> count(size_t(std::max(0, table.Width())) * size_t(std::max(0, table.Height())), 0);
  const auto visit = [&](const TLayoutPiece& p, auto&& onPixel) {
    const TPixelBuffer& im = *p.Image;
    for (int y = 0; y < im.Height(); ++y) {
      const int ty = p.At.Y + y;
      if (ty < table.Top || ty >= table.Bottom) continue;
      const TPixel* px = im.Row(y);
      uint8_t* row = count.data() + size_t(ty - table.Top) * size_t(table.Width());
      const int from = std::max(0, table.Left - p.At.X), to = std::min(im.Width(), table.Right - p.At.X);
      for (int x = from; x < to; ++x)
        if (Opaque(px[x])) onPixel(row[p.At.X + x - table.Left]);
    }
  };
  for (const TLayoutPiece& p : pieces)
    if (p.Image) visit(p, [](uint8_t& c) { c = uint8_t(std::min(255, c + 1)); });
  int64_t total = 0, covered = 0;
  for (const TLayoutPiece& p : pieces)
    if (p.Image) visit(p, [&](uint8_t& c) { ++total, covered += c > 1; });
  return total == 0 ? 0.0 : double(covered) / double(total);
}

}  // namespace qj
