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

// Four-neighbour scanline fill of the zero region at (x, y) with `id`; returns its key.
TRegionKey FillZeroRegion(TMyDib& map, int x, int y, TPixel id, std::vector<TPoint>& stack) {
  const int w = map.Width(), h = map.Height();
  TRegionKey key;
  stack.assign(1, {x, y});
  while (!stack.empty()) {
    const TPoint p = stack.back();
    stack.pop_back();
    TPixel* row = map.Row(p.Y);
    if (row[p.X] != 0) continue;
    int lo = p.X, hi = p.X;
    while (lo > 0 && row[lo - 1] == 0) --lo;
    while (hi + 1 < w && row[hi + 1] == 0) ++hi;
    std::fill(row + lo, row + hi + 1, id);
    if (p.Y >= 1 && hi >= 1) key.Offer(std::max(lo, 1), p.Y);
    for (int ny : {p.Y - 1, p.Y + 1}) {
      if (ny < 0 || ny >= h) continue;
      const TPixel* next = map.Row(ny);
      for (int px = lo; px <= hi; ++px)
        if (next[px] == 0 && (px == lo || next[px - 1] != 0)) stack.push_back({px, ny});
    }
  }
  return key;
}

// Gives every black region its label: regions are found row by row with provisional numbers,
// then numbered in the column order the labels are defined by.
std::vector<TRegionKey> NumberRegions(TMyDib& map) {
  std::vector<TRegionKey> keys(1);  // provisional number 0 is unused
  std::vector<TPoint> stack;
  for (int y = 0; y < map.Height(); ++y) {
    const TPixel* row = map.Row(y);
    for (int x = 0; x < map.Width(); ++x) {
      if (row[x] != 0) continue;
      if (keys.size() >= kCutLine) throw std::runtime_error("Too many regions in the cut");
      keys.push_back(FillZeroRegion(map, x, y, TPixel(keys.size()), stack));
    }
  }
  std::vector<uint32_t> order;
  for (uint32_t k = 1; k < keys.size(); ++k)
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
  for (int y = 0; y < map.Height(); ++y) {
    TPixel* row = map.Row(y);
    for (int x = 0; x < map.Width(); ++x)
      if (row[x] != kCutLine && row[x] != 0) row[x] = final[row[x]];
  }
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
