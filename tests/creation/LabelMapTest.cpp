// Labelling the cut map: regions, line absorption, specks and neighbours.
#include <gtest/gtest.h>

#include <map>

#include "creation/ULabelMap.h"
#include "tests/creation/CutterTestSupport.h"

namespace qj {
namespace {

constexpr TPixel W = kCutLine;

TMyDib MapFrom(const std::vector<std::vector<TPixel>>& rows) {
  TMyDib m(int(rows[0].size()), int(rows.size()), 24);
  for (int y = 0; y < m.Height(); ++y)
    for (int x = 0; x < m.Width(); ++x) m.At(x, y) = rows[y][x];
  return m;
}

TEST(Labelling, LinesGoToTheMostFrequentNeighbourAndTiesToTheFirstMet) {
  TMyDib map = MapFrom({{W, W, W, W, W}, {W, 0, W, 0, W}, {W, 0, W, 0, W}, {W, W, W, W, W}});
  TPieceList pieces;
  EXPECT_EQ(LabelPieces(map, pieces), 2);
  const std::vector<std::vector<TPixel>> expected = {{1, 1, 1, 1, 1}, {1, 1, 1, 2, 1}, {1, 1, 1, 2, 2}, {1, 1, 1, 1, 2}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(map.At(x, y), expected[y][x]) << x << "," << y;
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].Seed[0], (TPoint{1, 1}));
  EXPECT_EQ(pieces[0].Home[0], (TPoint{0, 0}));
  EXPECT_EQ(pieces[0].Far[0], (TPoint{4, 3}));
  EXPECT_EQ(pieces[1].Label, 2);
  EXPECT_EQ(pieces[1].Home[0], (TPoint{3, 1}));
  EXPECT_EQ(pieces[1].Far[0], (TPoint{4, 3}));
}

TEST(Labelling, RegionsAreNumberedColumnByColumnAndSpecksDropped) {
  TMyDib map = MapFrom({{W, W, W, W, W, W, W},
                        {W, W, W, W, 0, 0, W},
                        {W, 0, W, W, W, W, W},
                        {W, 0, W, 0, W, W, W},
                        {W, W, W, W, W, W, W}});
  TPieceList pieces;
  EXPECT_EQ(LabelPieces(map, pieces), 3);
  ASSERT_EQ(pieces.size(), 2u);  // the one-pixel region at (3, 3) is not a piece
  EXPECT_EQ(pieces[0].Label, 1);
  EXPECT_EQ(pieces[0].Seed[0], (TPoint{1, 2}));
  EXPECT_EQ(pieces[1].Label, 3);  // found after the speck, in column 4
  EXPECT_EQ(pieces[1].Seed[0], (TPoint{4, 1}));
  EXPECT_EQ(map.At(3, 3), 2u);  // the speck keeps its label in the map
}

TEST(Neighbours, NeedMoreThanSixContactsBetweenInnerPixels) {
  for (int height : {5, 6}) {
    TMyDib map(12, height, 24);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < 12; ++x) map.At(x, y) = x < 6 ? 1 : 2;
    TPieceList pieces(2);
    pieces[0].Label = 1;
    pieces[1].Label = 2;
    FindNeighbours(map, pieces);
    // Inner rows 1..height-2 each give two contacts: 6 with five rows, 8 with six.
    EXPECT_EQ(pieces[0].Neighbours.size(), height == 6 ? 1u : 0u) << height;
    EXPECT_EQ(pieces[1].Neighbours.size(), height == 6 ? 1u : 0u) << height;
  }
}

TEST(Neighbours, CornersDoNotTouchAndListsAscend) {
  TMyDib map(20, 20, 24);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) map.At(x, y) = 1 + (x >= 10) + 2 * (y >= 10);
  TPieceList pieces(4);
  for (int k = 0; k < 4; ++k) pieces[k].Label = 4 - k;  // piece order differs from label order
  FindNeighbours(map, pieces);
  // Labels 1 2 / 3 4: piece 3 (label 1) touches labels 2 and 3 = pieces 2 and 1.
  EXPECT_EQ(pieces[3].Neighbours, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(pieces[0].Neighbours, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(pieces[1].Neighbours, (std::vector<int32_t>{0, 3}));
}

// The labelling written out the long way: a scan in column order with a plain fill, then the
// absorption scan and the boxes, as the cut is defined.
int ReferenceLabels(TMyDib& map, std::vector<std::array<int, 6>>& pieces) {
  const int w = map.Width(), h = map.Height();
  int label = 0;
  for (int x = 1; x < w; ++x)
    for (int y = 1; y < h; ++y) {
      if (map.At(x, y) != 0) continue;
      ++label;
      std::vector<TPoint> todo{{x, y}};
      map.At(x, y) = TPixel(label);
      while (!todo.empty()) {
        const TPoint p = todo.back();
        todo.pop_back();
        const TPoint next[] = {{p.X - 1, p.Y}, {p.X + 1, p.Y}, {p.X, p.Y - 1}, {p.X, p.Y + 1}};
        for (TPoint q : next)
          if (map.InBounds(q.X, q.Y) && map.At(q.X, q.Y) == 0) map.At(q.X, q.Y) = TPixel(label), todo.push_back(q);
      }
      pieces.push_back({label, x, y, x, y, 0});
    }
  const int d[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (map.At(x, y) == kCutLine) {
        std::vector<std::pair<TPixel, int>> counts;
        for (const auto& o : d) {
          if (!map.InBounds(x + o[0], y + o[1])) continue;
          const TPixel v = map.At(x + o[0], y + o[1]);
          if (v == 0 || v == kCutLine) continue;
          auto it = std::find_if(counts.begin(), counts.end(), [&](auto& c) { return c.first == v; });
          if (it == counts.end()) counts.push_back({v, 1});
          else ++it->second;
        }
        TPixel best = 0;
        int most = 0;
        for (auto& c : counts)
          if (c.second > most) best = c.first, most = c.second;
        map.At(x, y) = best;
      }
      for (auto& p : pieces)
        if (TPixel(p[0]) == map.At(x, y))
          p[1] = std::min(p[1], x), p[2] = std::min(p[2], y), p[3] = std::max(p[3], x), p[4] = std::max(p[4], y);
    }
  std::erase_if(pieces, [](auto& p) { return p[1] == p[3] && p[2] == p[4]; });
  return label;
}

TEST(Labelling, AgreesWithTheLongWayOnShapedCutsWithSpecks) {
  test::TShapeFolder shapes;
  const TMyDib picture = test::MakeTestPicture(150, 110);
  for (int style : {0, 2, 5, 8}) {
    TPuzzleCutter cutter;
    test::TCutSetup setup;
    setup.Style = style;
    setup.PieceW = setup.PieceH = 13;
    setup.DistortX = setup.DistortY = 3;
    setup.SpreadX = setup.SpreadY = 2;  // crossing cuts: specks and odd regions
    test::SetUpCutter(cutter, picture, setup);
    cutter.DrawCutMap();
    cutter.CropToGrid();
    TMyDib mine = cutter.LabelMap(), theirs = cutter.LabelMap();
    TPieceList pieces;
    std::vector<std::array<int, 6>> reference;
    EXPECT_EQ(LabelPieces(mine, pieces), ReferenceLabels(theirs, reference));
    ASSERT_EQ(pieces.size(), reference.size()) << "style " << style;
    for (size_t k = 0; k < pieces.size(); ++k) {
      EXPECT_EQ(pieces[k].Label, reference[k][0]);
      EXPECT_EQ(pieces[k].Home[0], (TPoint{reference[k][1], reference[k][2]}));
      EXPECT_EQ(pieces[k].Far[0], (TPoint{reference[k][3], reference[k][4]}));
    }
    EXPECT_TRUE(std::equal(mine.Bits(), mine.Bits() + mine.Width() * mine.Height(), theirs.Bits())) << style;
  }
}

}  // namespace
}  // namespace qj
