// The whole table reduced onto the screen, kept between frames and reduced again where it changed.
#include "graphics/UOverviewComposer.h"

#include <algorithm>
#include <array>

#include "graphics/UGraphicsEngine.h"
#include "graphics/UTableComposer.h"

namespace qj {
namespace {

// Boxes hold at most this many pixels: sums of 255s stay within 16 bits a channel.
constexpr int kMaxBox = 256;
constexpr int kMarginShade = 45;  // percent of the table's mean colour around the reduced table
constexpr int kMarginSample = 7;  // every 7th pixel of every 7th row makes the mean

// ceil(65536 / n): (sum of n bytes) * this >> 16 is their mean, exact when they are equal.
const std::array<uint32_t, kMaxBox + 1>& Reciprocals() {
  static const std::array<uint32_t, kMaxBox + 1> table = [] {
    std::array<uint32_t, kMaxBox + 1> t{};
    for (uint32_t n = 1; n <= kMaxBox; ++n) t[n] = (65536 + n - 1) / n;
    return t;
  }();
  return table;
}

TPixel MeanColour(const TPixelBuffer& picture, int percent) {
  uint64_t r = 0, g = 0, b = 0, n = 0;
  for (int y = 0; y < picture.Height(); y += kMarginSample) {
    const TPixel* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); x += kMarginSample, ++n) {
      r += PixelR(row[x]);
      g += PixelG(row[x]);
      b += PixelB(row[x]);
    }
  }
  if (n == 0) return 0;
  return MakePixel(unsigned(r * percent / (100 * n)), unsigned(g * percent / (100 * n)), unsigned(b * percent / (100 * n)));
}

}  // namespace

// Two running sums a column: red and blue in the halves of one word, green in another; then the
// columns of each box are added up and divided once. The first row of a box sets the sums.
void ReduceBoxes(const TPixelBuffer& source, TPoint origin, const TTableView& view, const TRect& reducedArea,
                 TPixelBuffer& target) {
  const TRect area = Intersect(reducedArea, target.Bounds());
  if (area.IsEmpty()) return;
  std::vector<int> columns(static_cast<size_t>(area.Width()) + 1);
  for (int dx = area.Left; dx <= area.Right; ++dx) columns[size_t(dx - area.Left)] = view.FirstColumn(dx) - origin.X;
  const int first = columns.front(), width = columns.back() - first;
  std::vector<uint32_t> redBlue(static_cast<size_t>(width)), green(static_cast<size_t>(width));
  const auto& reciprocal = Reciprocals();
  for (int dy = area.Top; dy < area.Bottom; ++dy) {
    const int top = view.FirstRow(dy) - origin.Y, bottom = view.FirstRow(dy + 1) - origin.Y;
    uint32_t* rb = redBlue.data();
    uint32_t* g = green.data();
    const TPixel* row = source.Row(top) + first;
    for (int i = 0; i < width; ++i) {
      rb[i] = row[i] & 0x00FF00FFu;
      g[i] = (row[i] >> 8) & 0xFFu;
    }
    for (int y = top + 1; y < bottom; ++y) {
      row = source.Row(y) + first;
      for (int i = 0; i < width; ++i) {
        rb[i] += row[i] & 0x00FF00FFu;
        g[i] += (row[i] >> 8) & 0xFFu;
      }
    }
    TPixel* out = target.Row(dy) + area.Left;
    const int rows = bottom - top;
    for (size_t c = 0; c + 1 < columns.size(); ++c) {
      const int from = columns[c] - first, to = columns[c + 1] - first;
      uint32_t sumRb = rb[from], sumG = g[from];
      for (int i = from + 1; i < to; ++i) {
        sumRb += rb[i];
        sumG += g[i];
      }
      const uint32_t k = reciprocal[size_t(std::min(kMaxBox, (to - from) * rows))];
      out[c] = (((sumRb >> 16) * k) >> 16) << 16 | ((sumG * k) >> 16) << 8 | (((sumRb & 0xFFFFu) * k) >> 16);
    }
  }
  target.MarkChanged();
}

TOverviewComposer::TOverviewComposer(TGraphicsEngine& engine, TTableComposer& table, TDrawSprites draw)
    : FEngine(engine), FTable(table), FDraw(std::move(draw)) {}

bool TOverviewComposer::Compose(TSurface& back, const TTableView& view) {
  std::vector<TRect> areas;
  if (!FTable.Refresh(areas)) return false;
  const TSurface& layer = FTable.LayerSurface();
  const TRect screen = view.ScreenRect();
  if (!(view == FView) || FReduced.Width() != screen.Width() || FReduced.Height() != screen.Height()) {
    FView = view;
    FReduced.ResizeUninitialised(screen.Width(), screen.Height());
    areas.assign(1, layer.Bounds());
  }
  const TSurface& picture = *FEngine.Background()->Surfaces[0];
  if (picture.ChangeStamp() != FPictureStamp) {
    FPictureStamp = picture.ChangeStamp();
    FMargin = MeanColour(picture, kMarginShade);
  }
  SortSprites();
  areas.insert(areas.end(), FTableReaches.begin(), FTableReaches.end());
  areas.insert(areas.end(), FLastReaches.begin(), FLastReaches.end());
  std::vector<TRect> merged;
  for (const TRect& area : areas) {
    const TRect a = Aligned(Intersect(area, layer.Bounds()));
    if (!a.IsEmpty()) MergeRect(merged, a);
  }
  for (const TRect& area : merged) Reduce(area);
  FLastReaches = FTableReaches;
  FillMargins(back);
  Blt(back, screen, FReduced, FReduced.Bounds(), false);
  return true;
}

// The sprites off the layer: the screen's for the caller, the table's with where they reach.
void TOverviewComposer::SortSprites() {
  FScreenSprites.clear();
  FTableSprites.clear();
  FTableReaches.clear();
  FUnderTop.clear();
  const TRect table = FTable.LayerSurface().Bounds();
  const auto take = [&](const std::vector<int>& positions, bool under) {
    for (const int pos : positions) {
      const TMySprite& s = FEngine.Sprite(FEngine.Order()[size_t(pos)]);
      if (s.Fixed) {
        FScreenSprites.push_back(pos);
        continue;
      }
      const TRect reach = Intersect(Offset(SpriteReach(s), {s.X, s.Y}), table);
      if (reach.IsEmpty()) continue;
      FTableSprites.push_back(pos);
      FTableReaches.push_back(reach);
      FUnderTop.push_back(under);
    }
  };
  take(FTable.UnderTop(), true);
  take(FTable.OverTop(), false);
}

// The table area grown to whole boxes of the reduction.
TRect TOverviewComposer::Aligned(const TRect& area) const {
  if (area.IsEmpty()) return {};
  return {FView.FirstColumn(FView.ColumnOf(area.Left)), FView.FirstRow(FView.RowOf(area.Top)),
          FView.FirstColumn(FView.ColumnOf(area.Right - 1) + 1), FView.FirstRow(FView.RowOf(area.Bottom - 1) + 1)};
}

// One area reduced again: straight from the layer, or from a patch where table sprites off the
// layer are drawn too (over a copy of the layer when they all lie above it).
void TOverviewComposer::Reduce(const TRect& area) {
  const TRect reduced{FView.ColumnOf(area.Left), FView.RowOf(area.Top), FView.ColumnOf(area.Right - 1) + 1,
                      FView.RowOf(area.Bottom - 1) + 1};
  std::vector<int> positions;
  bool under = false;
  for (size_t i = 0; i < FTableSprites.size(); ++i)
    if (!Intersect(FTableReaches[i], area).IsEmpty()) {
      positions.push_back(FTableSprites[i]);
      under = under || FUnderTop[i];
    }
  TSurface& layer = FTable.LayerSurface();
  if (positions.empty()) return ReduceBoxes(layer, {0, 0}, FView, reduced, FReduced);
  FPatch.ResizeUninitialised(area.Width(), area.Height());
  const TPoint origin{area.Left, area.Top};
  if (under) {
    const std::vector<int> members = FTable.MembersIn(area);
    positions.insert(positions.end(), members.begin(), members.end());
    std::sort(positions.begin(), positions.end());
  } else {
    Blt(FPatch, FPatch.Bounds(), layer, area, false);
  }
  FDraw(FPatch, positions, origin, under);
  ReduceBoxes(FPatch, origin, FView, reduced, FReduced);
}

void TOverviewComposer::FillMargins(TSurface& back) const {
  const TRect r = FView.ScreenRect();
  const int w = back.Width(), h = back.Height();
  back.FillRect({0, 0, w, r.Top}, FMargin);
  back.FillRect({0, r.Bottom, w, h}, FMargin);
  back.FillRect({0, r.Top, r.Left, r.Bottom}, FMargin);
  back.FillRect({r.Right, r.Top, w, r.Bottom}, FMargin);
}

}  // namespace qj
