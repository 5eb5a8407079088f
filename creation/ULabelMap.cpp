#include "creation/ULabelMap.h"

#include <algorithm>
#include <stdexcept>

namespace qj {

namespace {

// The first pixel of a region in column order (x, then y), counting only x >= 1, y >= 1.
struct TRegionKey {
  int X = INT32_MAX;
  int Y = INT32_MAX;
  bool Valid() const { return X != INT32_MAX; }
  void Offer(int x, int y) {
    if (x < X || (x == X && y < Y)) *this = {x, y};
  }
};

// The zero runs of the map, row by row, joined into regions where runs of neighbouring rows
// share a column.
class TZeroRuns {
 public:
  explicit TZeroRuns(const TMyDib& map) {
    size_t above = 0;  // first run of the row above
    for (int y = 0; y < map.Height(); ++y) {
      const size_t here = FRuns.size();
      FindRuns(map.Row(y), map.Width(), y);
      for (size_t k = here, j = above; k < FRuns.size(); ++k) {
        while (j < here && FRuns[j].X1 < FRuns[k].X0) ++j;
        for (size_t i = j; i < here && FRuns[i].X0 <= FRuns[k].X1; ++i) Join(i, k);
      }
      above = here;
    }
  }

  size_t Count() const { return FRuns.size(); }
  // The region of run k, named by its first run: regions are joined under their smaller root.
  size_t Root(size_t k) {
    while (FParent[k] != k) k = FParent[k] = FParent[FParent[k]];
    return k;
  }
  // The first pixel of run k in column order, counting only x >= 1, y >= 1.
  TRegionKey Key(size_t k) const {
    TRegionKey key;
    const TRun& r = FRuns[k];
    if (r.Y >= 1 && r.X1 >= 1) key.Offer(std::max(r.X0, 1), r.Y);
    return key;
  }
  void Fill(TMyDib& map, size_t k, TPixel value) const {
    const TRun& r = FRuns[k];
    std::fill(map.Row(r.Y) + r.X0, map.Row(r.Y) + r.X1 + 1, value);
  }

 private:
  struct TRun {
    int X0, X1, Y;
  };
  void FindRuns(const TPixel* row, int w, int y) {
    for (int x = 0; x < w; ++x) {
      if (row[x] != 0) continue;
      const int x0 = x;
      while (x + 1 < w && row[x + 1] == 0) ++x;
      FParent.push_back(FRuns.size());
      FRuns.push_back({x0, x, y});
    }
  }
  void Join(size_t a, size_t b) {
    a = Root(a), b = Root(b);
    if (a != b) FParent[std::max(a, b)] = std::min(a, b);
  }

  std::vector<TRun> FRuns;
  std::vector<size_t> FParent;
};

// Gives every black region its label, numbered in the column order the labels are defined by;
// regions found from runs are numbered as they start in reading order, then sorted by key.
std::vector<TRegionKey> NumberRegions(TMyDib& map) {
  TZeroRuns runs(map);
  std::vector<uint32_t> regionOf(runs.Count());
  std::vector<TRegionKey> keys;
  for (size_t k = 0; k < runs.Count(); ++k) {
    const size_t root = runs.Root(k);
    if (root != k) {
      regionOf[k] = regionOf[root];
    } else {
      if (keys.size() + 1 >= kCutLine) throw std::runtime_error("Too many regions in the cut");
      regionOf[k] = uint32_t(keys.size());
      keys.emplace_back();
    }
    const TRegionKey key = runs.Key(k);
    if (key.Valid()) keys[regionOf[k]].Offer(key.X, key.Y);
  }
  std::vector<uint32_t> order;
  for (uint32_t k = 0; k < keys.size(); ++k)
    if (keys[k].Valid()) order.push_back(k);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return keys[a].X != keys[b].X ? keys[a].X < keys[b].X : keys[a].Y < keys[b].Y;
  });
  std::vector<TPixel> final(keys.size(), 0);
  std::vector<TRegionKey> sorted;
  for (uint32_t k : order) {
    sorted.push_back(keys[k]);
    final[k] = TPixel(sorted.size());
  }
  for (size_t k = 0; k < runs.Count(); ++k) runs.Fill(map, k, final[regionOf[k]]);
  return sorted;
}

// The label a line pixel takes: the most frequent among its eight neighbours, the first met
// on a tie; 0 without any.
TPixel AbsorbedLabel(const TMyDib& map, int x, int y) {
  static constexpr int kOrder[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
  TPixel labels[8];
  int counts[8];
  int distinct = 0;
  for (const auto& d : kOrder) {
    const int nx = x + d[0], ny = y + d[1];
    if (!map.InBounds(nx, ny)) continue;
    const TPixel v = map.At(nx, ny);
    if (v == 0 || v == kCutLine) continue;
    int k = 0;
    while (k < distinct && labels[k] != v) ++k;
    if (k == distinct) {
      labels[distinct] = v;
      counts[distinct++] = 0;
    }
    ++counts[k];
  }
  int best = -1;
  for (int k = 0; k < distinct; ++k)
    if (best < 0 || counts[k] > counts[best]) best = k;
  return best < 0 ? 0 : labels[best];
}

}  // namespace

int LabelPieces(TMyDib& map, TPieceList& pieces) {
  pieces.clear();
  const std::vector<TRegionKey> keys = NumberRegions(map);
  pieces.resize(keys.size());
  for (size_t k = 0; k < keys.size(); ++k) {
    pieces[k].Label = int32_t(k + 1);
    pieces[k].Seed[0] = pieces[k].Home[0] = pieces[k].Far[0] = {keys[k].X, keys[k].Y};
  }
  // Absorb the lines in reading order (absorbed pixels count with their new label) and grow
  // each piece's box over its pixels, a run of one label at a time.
  for (int y = 0; y < map.Height(); ++y) {
    TPixel* row = map.Row(y);
    const int w = map.Width();
    for (int x = 0; x < w; ++x)
      if (row[x] == kCutLine) row[x] = AbsorbedLabel(map, x, y);
    for (int x = 0, end; x < w; x = end) {
      const TPixel v = row[x];
      for (end = x + 1; end < w && row[end] == v;) ++end;
      if (v == 0 || v > pieces.size()) continue;
      TPiece& p = pieces[v - 1];
      p.Home[0].X = std::min(p.Home[0].X, x);
      p.Home[0].Y = std::min(p.Home[0].Y, y);
      p.Far[0].X = std::max(p.Far[0].X, end - 1);
      p.Far[0].Y = std::max(p.Far[0].Y, y);
    }
  }
  const int maxLabel = int(pieces.size());
  std::erase_if(pieces, [](const TPiece& p) { return p.Home[0] == p.Far[0]; });
  return maxLabel;
}

namespace {

// Contact counts per pair of labels, kept under the smaller label: few pairs per label.
class TContactTable {
 public:
  explicit TContactTable(size_t labels) : FLists(labels) {}
  void Add(TPixel a, TPixel b, int weight) {
    if (a > b) std::swap(a, b);
    auto& list = FLists[a];
    for (auto& entry : list)
      if (entry.first == b) {
        entry.second += weight;
        return;
      }
    list.push_back({b, weight});
  }
  const std::vector<std::pair<TPixel, int>>& Of(TPixel a) const { return FLists[a]; }

 private:
  std::vector<std::vector<std::pair<TPixel, int>>> FLists;
};

}  // namespace

void FindNeighbours(const TMyDib& map, TPieceList& pieces) {
  TPixel maxLabel = 0;
  for (const TPiece& p : pieces) maxLabel = std::max(maxLabel, TPixel(p.Label));
  std::vector<int32_t> indexOf(size_t(maxLabel) + 1, -1);
  for (size_t k = 0; k < pieces.size(); ++k) indexOf[pieces[k].Label] = int32_t(k);
  auto piece = [&](TPixel v) { return v <= maxLabel ? indexOf[v] : -1; };
  // Every interior pixel counts each of its four contacts, so a contact between two pixels
  // weighs one for each of them that is interior.
  const int w = map.Width(), h = map.Height();
  auto inner = [&](int x, int y) { return int(x >= 1 && x <= w - 2 && y >= 1 && y <= h - 2); };
  TContactTable table(size_t(maxLabel) + 1);
  for (int y = 0; y < h; ++y) {
    const TPixel* row = map.Row(y);
    const TPixel* below = y + 1 < h ? map.Row(y + 1) : nullptr;
    for (int x = 0; x < w; ++x) {
      const TPixel a = row[x];
      if (x + 1 < w && row[x + 1] != a && piece(a) >= 0 && piece(row[x + 1]) >= 0)
        table.Add(a, row[x + 1], inner(x, y) + inner(x + 1, y));
      if (below && below[x] != a && piece(a) >= 0 && piece(below[x]) >= 0)
        table.Add(a, below[x], inner(x, y) + inner(x, y + 1));
    }
  }
  for (TPiece& p : pieces) p.Neighbours.clear();
  for (TPixel a = 1; a <= maxLabel; ++a)
    for (const auto& [b, count] : table.Of(a)) {
      if (count <= 6 || piece(a) < 0) continue;
      pieces[piece(a)].Neighbours.push_back(piece(b));
      pieces[piece(b)].Neighbours.push_back(piece(a));
    }
  for (TPiece& p : pieces) std::sort(p.Neighbours.begin(), p.Neighbours.end());
}

}  // namespace qj
