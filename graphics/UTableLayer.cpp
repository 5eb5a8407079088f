// The table layer's bookkeeping: looks per sprite, the merged list of areas to redraw, the grid.
#include "graphics/UTableLayer.h"

#include <algorithm>

namespace qj {
namespace {

constexpr int kCell = 64;
// Areas this close are merged: redrawing a thin strip twice costs more than the strip between.
constexpr int kNear = 16;
// Beyond this many separate areas one redraw of the whole table is about as cheap.
constexpr size_t kMaxDirty = 32;

bool Meets(const TRect& a, const TRect& b) {
  return a.Left < b.Right + kNear && b.Left < a.Right + kNear && a.Top < b.Bottom + kNear && b.Top < a.Bottom + kNear;
}

}  // namespace

TRect Bounding(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

void MergeRect(std::vector<TRect>& list, TRect r) {
  // A merged rectangle may now meet one it did not before: start over until nothing meets it.
  for (size_t i = 0; i < list.size();) {
    if (Meets(list[i], r)) {
      r = Bounding(r, list[i]);
      list[i] = list.back();
      list.pop_back();
      i = 0;
    } else {
      ++i;
    }
  }
  list.push_back(r);
}

void TTableLayer::Prepare(int width, int height, uint64_t key) {
  if (FSurface.Width() == width && FSurface.Height() == height && FKey == key) return;
  FKey = key;
  if (FSurface.Width() != width || FSurface.Height() != height) FSurface.SetSize(width, height);
  FColumns = (FSurface.Width() + kCell - 1) / kCell;
  FRows = (FSurface.Height() + kCell - 1) / kCell;
  FCells.assign(size_t(FColumns) * size_t(FRows), {});
  InvalidateAll();
}

void TTableLayer::InvalidateAll() {
  FAllDirty = true;
  FDirty.clear();
  FGridStale = true;
}

bool TTableLayer::Observe(int index, const TLayerLook& look) {
  const size_t i = size_t(index);
  if (i >= FLooks.size()) {
    FLooks.resize(i + 1);
    FOrderPos.resize(i + 1);
    FSeen.resize(i + 1);
  }
  TLayerLook& old = FLooks[i];
  if (old == look) return false;
  const bool moved = old.Member != look.Member || (look.Member && old.Reach != look.Reach);
  if (old.Member) AddDirty(old.Reach);
  if (look.Member) AddDirty(look.Reach);
  old = look;
  FGridStale = FGridStale || moved;
  return moved;
}

void TTableLayer::Forget(int index) {
  if (size_t(index) >= FLooks.size() || !FLooks[size_t(index)].Member) return;
  AddDirty(FLooks[size_t(index)].Reach);
  FLooks[size_t(index)] = {};
  FGridStale = true;
}

void TTableLayer::AddDirty(TRect r) {
  r = Intersect(r, FSurface.Bounds());
  if (FAllDirty || r.IsEmpty()) return;
  MergeRect(FDirty, r);
  if (FDirty.size() > kMaxDirty) InvalidateAll();
}

std::vector<TRect> TTableLayer::TakeDirty() {
  std::vector<TRect> dirty;
  if (FAllDirty)
    dirty.push_back(FSurface.Bounds());
  else
    dirty.swap(FDirty);
  FAllDirty = false;
  FDirty.clear();
  return dirty;
}

void TTableLayer::RebuildGrid() {
  for (auto& cell : FCells) cell.clear();
  for (size_t i = 0; i < FLooks.size(); ++i) {
    if (!FLooks[i].Member) continue;
    const TRect r = Intersect(FLooks[i].Reach, FSurface.Bounds());
    if (r.IsEmpty()) continue;
    for (int row = r.Top / kCell; row <= (r.Bottom - 1) / kCell; ++row)
      for (int column = r.Left / kCell; column <= (r.Right - 1) / kCell; ++column)
        FCells[size_t(row) * size_t(FColumns) + size_t(column)].push_back(int(i));
  }
  FGridStale = false;
}

std::vector<int> TTableLayer::MembersIn(const TRect& area) {
  if (FGridStale) RebuildGrid();
  std::vector<int> found;
  const TRect r = Intersect(area, FSurface.Bounds());
  if (r.IsEmpty()) return found;
  if (++FQuery == 0) {  // the stamps wrapped: start them again
    std::fill(FSeen.begin(), FSeen.end(), 0u);
    FQuery = 1;
  }
  for (int row = r.Top / kCell; row <= (r.Bottom - 1) / kCell; ++row)
    for (int column = r.Left / kCell; column <= (r.Right - 1) / kCell; ++column)
      for (const int index : FCells[size_t(row) * size_t(FColumns) + size_t(column)]) {
        if (FSeen[size_t(index)] == FQuery) continue;
        FSeen[size_t(index)] = FQuery;
        if (!Intersect(FLooks[size_t(index)].Reach, r).IsEmpty()) found.push_back(FOrderPos[size_t(index)]);
      }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace qj
