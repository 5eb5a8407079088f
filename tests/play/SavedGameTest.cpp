// The saved game's stream: every field comes back as written, and damaged streams are refused.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <limits>

#include "platform/BmpCodec.h"
#include "play/USavedGame.h"

namespace qj {
namespace {

constexpr int kRotating = 3;
constexpr size_t kPieceCountAt = kGameRecordSize + kTrayCount * 18;
constexpr size_t kMenuSize = 9 * 4 + 2 * kMenuToggleButtons;

TMyDib Bitmap(int width, int height, int seed) {
  TMyDib b(width, height, 32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.At(x, y) = MakePixel(seed * 7 + x, y * 13, x * y + seed, seed * 31 + x + y * 5);
  return b;
}

TSavedPiece MakePiece(int index, int pieces, int high) {
  TSavedPiece p;
  p.State = uint8_t(index % 3);
  p.Tray = uint32_t(index % 6);
  for (int i = 0; i <= high; ++i) {
    p.Slots[size_t(i)] = {index * 100 + i, -index * 10 - i};
    p.BoxTopLeft[size_t(i)] = {i, 2 * i};
    p.BoxBottomRight[size_t(i)] = {i + 10 + index, 2 * i + 20};
    p.Bitmaps[size_t(i)] = Bitmap(3 + i + index, 2 + (2 * i + index) % 5, index * 4 + i);
  }
  p.TrayOrigin = {index + 5, -index - 6};
  p.Orientation = (index + 1) % (high + 1);
  p.MergeDepth = 2 * index + 1;
  p.Index = index;
  for (int j = 0; j < pieces; ++j)
    if (j != index) p.Neighbours.push_back(j);
  p.Depth = 0.5 + index * 0.125;
  return p;
}

TSavedGame MakeGame(int pieces, int high) {
  TSavedGame g;
  g.Record.InitialPieces = pieces + 2;
  g.Record.Joins = 2;
  g.Record.Elapsed = 0.015625;
  g.Record.TimeBonus = 0.5;
  g.Record.Score = 42.25;
  g.Record.MaxPictureSize = 3;
  for (int i = 0; i < kTrayCount; ++i)
    g.Trays[size_t(i)] = {uint8_t(i % 2), uint8_t((i + 1) % 2), 10 * i, -i, 100 + i, 50 + i};
  for (int i = 0; i < pieces; ++i) g.Pieces.push_back(MakePiece(i, pieces, high));
  g.Menu = {-3, 4, 5, -6, 7, 8, 90, 60, 5, {}, {}};
  for (int i = 0; i < kMenuToggleButtons; ++i) {
    g.Menu.LeftOn[size_t(i)] = uint8_t(i % 2);
    g.Menu.RightOn[size_t(i)] = uint8_t((i / 2) % 2);
  }
  return g;
}

TSavedGameLimits Limits(int high) { return {high, 4, 16}; }

void ExpectSameBitmap(const TMyDib& a, const TMyDib& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  EXPECT_EQ(std::memcmp(a.Bits(), b.Bits(), a.ByteSize()), 0) << "pixels differ";
}

void ExpectSamePiece(const TSavedPiece& a, const TSavedPiece& b, int high) {
  EXPECT_EQ(a.State, b.State);
  EXPECT_EQ(a.Tray, b.Tray);
  for (size_t i = 0; i <= size_t(high); ++i) {
    EXPECT_EQ(a.Slots[i], b.Slots[i]) << i;
    EXPECT_EQ(a.BoxTopLeft[i], b.BoxTopLeft[i]) << i;
    EXPECT_EQ(a.BoxBottomRight[i], b.BoxBottomRight[i]) << i;
    ExpectSameBitmap(a.Bitmaps[i], b.Bitmaps[i]);
    EXPECT_EQ(b.Bitmaps[i].BitCount(), 32);
  }
  for (size_t i = size_t(high) + 1; i < 4; ++i) {
    EXPECT_EQ(b.Slots[i], TPoint{}) << i;
    EXPECT_TRUE(b.Bitmaps[i].Empty()) << i;
  }
  EXPECT_EQ(a.TrayOrigin, b.TrayOrigin);
  EXPECT_EQ(a.Orientation, b.Orientation);
  EXPECT_EQ(a.MergeDepth, b.MergeDepth);
  EXPECT_EQ(a.Index, b.Index);
  EXPECT_EQ(a.Neighbours, b.Neighbours);
  EXPECT_EQ(a.Depth, b.Depth);
}

void ExpectSameGame(const TSavedGame& a, const TSavedGame& b, int high) {
  EXPECT_EQ(a.Record, b.Record);
  EXPECT_EQ(a.Trays, b.Trays);
  EXPECT_EQ(a.Menu, b.Menu);
  ASSERT_EQ(a.Pieces.size(), b.Pieces.size());
  for (size_t i = 0; i < a.Pieces.size(); ++i) {
    SCOPED_TRACE("piece " + std::to_string(i));
    ExpectSamePiece(a.Pieces[i], b.Pieces[i], high);
  }
}

size_t BitmapBytes(const TMyDib& b) { return 54 + size_t(b.Width()) * size_t(b.Height()) * 4; }

// Where a piece's fields lie in the stream of its game.
struct TPieceLayout {
  size_t Start = 0, Orientation = 0, Index = 0, Bitmaps = 0, NeighbourCount = 0, Depth = 0, End = 0;
};

TPieceLayout LayoutOf(const TSavedGame& g, int high, size_t piece) {
  TPieceLayout l;
  l.End = kPieceCountAt + 4;
  for (size_t j = 0; j <= piece; ++j) {
    const TSavedPiece& p = g.Pieces[j];
    l.Start = l.End;
    l.Orientation = l.Start + 5 + size_t(high + 1) * 24 + 8;
    l.Index = l.Orientation + 8;
    l.Bitmaps = l.Index + 4;
    l.NeighbourCount = l.Bitmaps;
    for (int i = 0; i <= high; ++i) l.NeighbourCount += BitmapBytes(p.Bitmaps[size_t(i)]);
    l.Depth = l.NeighbourCount + 4 + 4 * p.Neighbours.size();
    l.End = l.Depth + 8;
  }
  return l;
}

TEST(SavedGameTest, ARotatingGameComesBackAsItWas) {
  const TSavedGame game = MakeGame(3, kRotating);
  const std::vector<uint8_t> bytes = EncodeSavedGame(game, kRotating);
  EXPECT_EQ(bytes.size(), LayoutOf(game, kRotating, 2).End + kMenuSize);
  TSavedGame back;
  std::string error;
  ASSERT_TRUE(DecodeSavedGame(bytes.data(), bytes.size(), Limits(kRotating), back, error)) << error;
  ExpectSameGame(game, back, kRotating);
  EXPECT_EQ(EncodeSavedGame(back, kRotating), bytes);
}

// A stream read once gives up its pages as the pieces are read: nothing decoded may come from
// a part already given up.
TEST(SavedGameTest, AStreamReadOnceComesBackAsItWas) {
  TSavedGame game = MakeGame(4, kRotating);
  for (TSavedPiece& p : game.Pieces)
    for (int i = 0; i <= kRotating; ++i) p.Bitmaps[size_t(i)] = Bitmap(90 + i, 70 + p.Index, p.Index * 4 + i);
  std::vector<uint8_t> bytes = EncodeSavedGame(game, kRotating);
  TSavedGame back;
  std::string error;
  ASSERT_TRUE(DecodeSavedGameOnce(bytes, {kRotating, 4, 100}, back, error)) << error;
  ExpectSameGame(game, back, kRotating);
}

// The bitmaps in the stream are BMP files as any other part of the game writes them.
TEST(SavedGameTest, BitmapsAreWrittenAsThirtyTwoBitFiles) {
  const TSavedGame game = MakeGame(2, kRotating);
  const std::vector<uint8_t> bytes = EncodeSavedGame(game, kRotating);
  size_t at = LayoutOf(game, kRotating, 1).Bitmaps;
  for (const TMyDib& b : game.Pieces[1].Bitmaps) {
    const std::vector<uint8_t> file = EncodeBmp(b, 32);
    ASSERT_LE(at + file.size(), bytes.size());
    EXPECT_TRUE(std::equal(file.begin(), file.end(), bytes.begin() + long(at)));
    at += file.size();
  }
}

TEST(SavedGameTest, WithoutRotationEachPieceHasOnePlaceAndOneBitmap) {
  const TSavedGame game = MakeGame(3, 0);
  const std::vector<uint8_t> bytes = EncodeSavedGame(game, 0);
  size_t expected = kPieceCountAt + 4 + kMenuSize;
  for (const TSavedPiece& p : game.Pieces)
    expected += 1 + 4 + 3 * 8 + 8 + 3 * 4 + BitmapBytes(p.Bitmaps[0]) + 4 + 4 * p.Neighbours.size() + 8;
  EXPECT_EQ(bytes.size(), expected);
  TSavedGame back;
  std::string error;
  ASSERT_TRUE(DecodeSavedGame(bytes.data(), bytes.size(), Limits(0), back, error)) << error;
  ExpectSameGame(game, back, 0);
  EXPECT_EQ(EncodeSavedGame(back, 0), bytes);
}

TEST(SavedGameTest, TwentyFourBitBitmapsAreRead) {
  const TSavedGame game = MakeGame(2, 0);
  std::vector<uint8_t> bytes = EncodeSavedGame(game, 0);
  const TMyDib& original = game.Pieces[0].Bitmaps[0];
  ASSERT_EQ(original.Width() * 3 % 4, 1);  // the rows carry padding
  const size_t at = LayoutOf(game, 0, 0).Bitmaps;
  const std::vector<uint8_t> file = EncodeBmp(original, 24);
  bytes.erase(bytes.begin() + long(at), bytes.begin() + long(at + BitmapBytes(original)));
  bytes.insert(bytes.begin() + long(at), file.begin(), file.end());
  TSavedGame back;
  std::string error;
  ASSERT_TRUE(DecodeSavedGame(bytes.data(), bytes.size(), Limits(0), back, error)) << error;
  const TMyDib& read = back.Pieces[0].Bitmaps[0];
  EXPECT_EQ(read.BitCount(), 24);
  ASSERT_EQ(read.Width(), original.Width());
  ASSERT_EQ(read.Height(), original.Height());
  for (int y = 0; y < read.Height(); ++y)
    for (int x = 0; x < read.Width(); ++x) EXPECT_EQ(read.At(x, y), original.At(x, y) & kRgbMask) << x << "," << y;
  ExpectSameBitmap(back.Pieces[1].Bitmaps[0], game.Pieces[1].Bitmaps[0]);
}

TEST(SavedGameTest, EveryTruncationIsRefused) {
  const std::vector<uint8_t> bytes = EncodeSavedGame(MakeGame(2, kRotating), kRotating);
  TSavedGame back;
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::string error;
    EXPECT_FALSE(DecodeSavedGame(bytes.data(), n, Limits(kRotating), back, error)) << n << " bytes";
    EXPECT_FALSE(error.empty()) << n << " bytes";
  }
  std::string error;
  EXPECT_FALSE(DecodeSavedGame(nullptr, 0, Limits(kRotating), back, error));
  EXPECT_FALSE(error.empty());
}

using TSpoil = std::function<void(std::vector<uint8_t>&)>;

template <class T>
TSpoil Set(size_t offset, T value) {
  return [=](std::vector<uint8_t>& bytes) { std::memcpy(bytes.data() + offset, &value, sizeof value); };
}

struct THostileCase {
  std::string Name;
  TSpoil Spoil;
  std::string Fault;  // a part of the error text
};

std::vector<THostileCase> HostileCases(const TSavedGame& game, size_t size) {
  const TPieceLayout p0 = LayoutOf(game, kRotating, 0), p1 = LayoutOf(game, kRotating, 1);
  const size_t bmp = p1.Bitmaps + BitmapBytes(game.Pieces[1].Bitmaps[0]);  // piece 1, orientation 1
  const size_t menu = size - kMenuSize;
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  return {
      {"no pieces", Set<int32_t>(kPieceCountAt, 0), "piece count 0"},
      {"more pieces than the cut", Set<int32_t>(kPieceCountAt, 5), "piece count 5"},
      {"negative piece count", Set<int32_t>(kPieceCountAt, -1), "piece count -1"},
      {"more pieces than the stream", Set<int32_t>(kPieceCountAt, 3), ""},
      {"more pieces than the game began with", Set<int32_t>(20, 1), "initial"},
      {"index of another piece", Set<int32_t>(p1.Index, 0), "piece 1: index 0"},
      {"state 3", Set<uint8_t>(p0.Start, 3), "piece 0: state 3"},
      {"tray 6", Set<uint32_t>(p0.Start + 1, 6), "piece 0: tray 6"},
      {"orientation 4", Set<int32_t>(p1.Orientation, 4), "piece 1: orientation 4"},
      {"orientation -1", Set<int32_t>(p1.Orientation, -1), "piece 1: orientation -1"},
      {"upright box turned over", Set<int32_t>(p0.Start + 5 + 8, 1000), "piece 0: the box has its corners"},
      {"neighbour past the last piece", Set<int32_t>(p0.NeighbourCount + 4, 2), "piece 0: neighbour 2 out of range"},
      {"neighbour far out", Set<int32_t>(p1.NeighbourCount + 4, 9000), "piece 1: neighbour 9000 out of range"},
      {"negative neighbour", Set<int32_t>(p0.NeighbourCount + 4, -1), "neighbour -1 out of range"},
      {"negative neighbour count", Set<int32_t>(p0.NeighbourCount, -1), "neighbour count -1"},
      {"huge neighbour count", Set<int32_t>(p0.NeighbourCount, INT_MAX), "neighbour count"},
      {"huge bitmap width", Set<int32_t>(bmp + 18, 100000), "piece 1: a bitmap of 100000 x"},
      {"huge bitmap height", Set<int32_t>(bmp + 22, INT_MIN), "a bitmap of"},
      {"bitmap just over the side limit", Set<int32_t>(bmp + 18, 17), "a bitmap of 17 x"},
      {"bitmap without width", Set<int32_t>(bmp + 18, 0), "a bitmap of 0 x"},
      {"16-bit bitmap", Set<uint16_t>(bmp + 28, 16), "16 bits"},
      {"1-bit bitmap", Set<uint16_t>(bmp + 28, 1), "1 bits"},
      {"RLE bitmap", Set<uint32_t>(bmp + 30, 1), "compressed"},
      {"bit-field bitmap", Set<uint32_t>(bmp + 30, 3), "compressed"},
      {"bitmap of the wrong file size", Set<uint32_t>(bmp + 2, 12345), "file size"},
      {"bitmap pixels far away", Set<uint32_t>(bmp + 10, 0xFFFFFF00u), "past the end"},
      {"bitmap pixels inside its header", Set<uint32_t>(bmp + 10, 20), ""},
      {"not a bitmap", Set<uint8_t>(bmp, 'X'), "BM"},
      {"depth not a number", Set<double>(p1.Depth, nan), "piece 1: depth"},
      {"infinite depth", Set<double>(p0.Depth, -inf), "piece 0: depth"},
      {"score not a number", Set<double>(64, nan), "record: score"},
      {"elapsed not a number", Set<double>(32, nan), "record: elapsed"},
      {"infinite time bonus", Set<double>(40, inf), "record: time bonus"},
      {"tray of negative width", Set<int32_t>(kGameRecordSize + 10, -1), "tray 1: negative"},
      {"tray of negative height", Set<int32_t>(kGameRecordSize + 18 + 14, -5), "tray 2: negative"},
      {"tray visibility 2", Set<uint8_t>(kGameRecordSize + 4 * 18, 2), "tray 5"},
      {"small picture step 0", Set<int32_t>(menu + 32, 0), "menu: small picture size step 0"},
      {"small picture step 9", Set<int32_t>(menu + 32, 9), "menu: small picture size step 9"},
      {"toggle 2", Set<uint8_t>(menu + 36, 2), "menu: a left toggle is 2"},
      {"trailing byte", [](std::vector<uint8_t>& b) { b.push_back(0); }, "1 bytes left over"},
  };
}

TEST(SavedGameTest, DamagedStreamsAreRefused) {
  const TSavedGame game = MakeGame(2, kRotating);
  const std::vector<uint8_t> good = EncodeSavedGame(game, kRotating);
  TSavedGame back;
  std::string error;
  ASSERT_TRUE(DecodeSavedGame(good.data(), good.size(), Limits(kRotating), back, error)) << error;
  for (const THostileCase& c : HostileCases(game, good.size())) {
    std::vector<uint8_t> bad = good;
    c.Spoil(bad);
    TSavedGame out;
    out.Menu.ScrollX = 777;
    error.clear();
    EXPECT_FALSE(DecodeSavedGame(bad.data(), bad.size(), Limits(kRotating), out, error)) << c.Name;
    EXPECT_FALSE(error.empty()) << c.Name;
    EXPECT_NE(error.find(c.Fault), std::string::npos) << c.Name << ": " << error;
    EXPECT_EQ(out.Menu.ScrollX, 777) << c.Name << ": the game was touched";
  }
}

TEST(SavedGameTest, StreamsOfAnotherCutAreRefused) {
  const std::vector<uint8_t> rotating = EncodeSavedGame(MakeGame(2, kRotating), kRotating);
  TSavedGame back;
  std::string error;
  EXPECT_FALSE(DecodeSavedGame(rotating.data(), rotating.size(), Limits(0), back, error));
  TSavedGameLimits fewer = Limits(kRotating);
  fewer.MaxPieces = 1;
  EXPECT_FALSE(DecodeSavedGame(rotating.data(), rotating.size(), fewer, back, error));
  TSavedGameLimits smaller = Limits(kRotating);
  smaller.MaxBitmapSide = 5;
  EXPECT_FALSE(DecodeSavedGame(rotating.data(), rotating.size(), smaller, back, error));
  EXPECT_NE(error.find("a bitmap of"), std::string::npos) << error;
}

}  // namespace
}  // namespace qj
