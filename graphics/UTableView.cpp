// The reduced view of the whole table: its place on the screen and the pixel mapping.
#include "graphics/UTableView.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qj {
namespace {

// Division rounding towards minus infinity, for points left of or above the table.
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

}  // namespace

TTableView TTableView::Fit(int tableW, int tableH, int screenW, int screenH) {
  TTableView v;
  v.FTableW = std::max(1, tableW);
  v.FTableH = std::max(1, tableH);
  const double scale = std::min({1.0, double(std::max(1, screenW)) / v.FTableW, double(std::max(1, screenH)) / v.FTableH});
  v.FWidth = std::clamp(int(std::lround(v.FTableW * scale)), 1, v.FTableW);
  v.FHeight = std::clamp(int(std::lround(v.FTableH * scale)), 1, v.FTableH);
  v.FLeft = (screenW - v.FWidth) / 2;
  v.FTop = (screenH - v.FHeight) / 2;
  return v;
}

// Table pixel t lies in reduced pixel floor(t * reduced / table); the first of a reduced pixel's
// table pixels is the smallest t that gets there.
int TTableView::First(int d, int reduced, int table) {
  return int(FloorDiv(int64_t(d) * table + reduced - 1, reduced));
}

int TTableView::Reduced(int t, int reduced, int table) { return int(FloorDiv(int64_t(t) * reduced, table)); }

TPoint TTableView::ToTable(TPoint screen) const {
  const int dx = screen.X - FLeft, dy = screen.Y - FTop;
  return {(First(dx, FWidth, FTableW) + First(dx + 1, FWidth, FTableW) - 1) >> 1,
          (First(dy, FHeight, FTableH) + First(dy + 1, FHeight, FTableH) - 1) >> 1};
}

TPoint TTableView::ToScreen(TPoint table) const {
  return {FLeft + Reduced(table.X, FWidth, FTableW), FTop + Reduced(table.Y, FHeight, FTableH)};
}

}  // namespace qj
