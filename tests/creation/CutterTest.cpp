// The cutter from picture to pieces: repeatable cuts, boxes per orientation, colours, counts,
// progress and bad input.
#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "creation/UCutDigest.h"
#include "tests/creation/CutterTestSupport.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

using test::TCutSetup;

// Pixels of the piece's region in the label map (four-neighbour region around its seed).
int RegionSize(const TMyDib& labels, const TPiece& p) {
  std::vector<uint8_t> seen(size_t(labels.Width()) * labels.Height(), 0);
  std::vector<TPoint> todo{p.Seed[0]};
  int n = 0;
  while (!todo.empty()) {
    const TPoint q = todo.back();
    todo.pop_back();
    if (!labels.InBounds(q.X, q.Y) || labels.At(q.X, q.Y) != TPixel(p.Label)) continue;
    uint8_t& s = seen[size_t(q.Y) * labels.Width() + q.X];
    if (s) continue;
    s = 1;
    ++n;
    todo.insert(todo.end(), {{q.X - 1, q.Y}, {q.X + 1, q.Y}, {q.X, q.Y - 1}, {q.X, q.Y + 1}});
  }
  return n;
}

TEST(Cutter, StoredDigestsGuardEveryStyleBitForBit) {
  test::TShapeFolder shapes;
  const TMyDib picture = test::MakeTestPicture(120, 96);
  const char* expected[9] = {"8bfdb2393c3ae5cf", "fdb3080f44c19f3f", "37a0974c0a0d7f50",
                            "2bc8efe6b99be8c8", "e42588ffa56a5150", "3be612d085e5ce11",
                            "1a973c30fb25ba85", "d29aed30899c91b1", "81afbc49c0ad9804"};
  for (int style = 0; style <= 8; ++style) {
    TPuzzleCutter cutter;
    TCutSetup s;
    s.Style = style;
    s.PieceW = 20;
    s.PieceH = 16;
    s.DistortX = s.DistortY = 2;
    s.SpreadX = s.SpreadY = 1.5;
    s.Shadow = 3;
    test::Cut(cutter, picture, s);
    EXPECT_GT(cutter.Pieces().size(), 3u) << style;
    EXPECT_EQ(DigestHex(CutDigest(cutter)), expected[style]) << "style " << style;
  }
}

TEST(Cutter, CuttingAgainFromTheStoredSeedGivesTheSamePieces) {
  test::TShapeFolder shapes;
  const TMyDib picture = test::MakeTestPicture(160, 120);
  TPuzzleCutter first, second;
  TCutSetup s;
  s.DistortX = s.DistortY = 2;
  s.SpreadX = 1.7;
  test::Cut(first, picture, s);
  // The second cutter starts from another seed and is set back by ScalePicture(0).
  test::SetUpCutter(second, picture, s);
  second.CutParameters().RandomSeed = first.CutParameters().RandomSeed;
  Randomize(1);
  second.ScalePicture(0);
  second.DrawCutMap();
  second.CutPieces();
  EXPECT_EQ(CutDigest(first), CutDigest(second));
  EXPECT_EQ(first.CutParameters().RandomSeed, 4242u);
}

TEST(Cutter, AnyNumberOfThreadsCutsTheSamePieces) {
  test::TShapeFolder shapes;
  const TMyDib picture = test::MakeTestPicture(180, 140);
  uint64_t digests[3];
  const unsigned threads[3] = {1, 2, 5};
  for (int k = 0; k < 3; ++k) {
    TPuzzleCutter cutter;
    cutter.Threads = threads[k];
    TCutSetup s;
    s.Style = 6;
    s.DistortX = s.DistortY = 2;
    test::Cut(cutter, picture, s);
    digests[k] = CutDigest(cutter);
  }
  EXPECT_EQ(digests[0], digests[1]);
  EXPECT_EQ(digests[0], digests[2]);
}

TEST(Cutter, BoxesPerOrientationFollowTheTurnedPicture) {
  test::TShapeFolder shapes;
  TPuzzleCutter cutter;
  test::Cut(cutter, test::MakeTestPicture(150, 110), TCutSetup{});
  const int W = cutter.LabelMap().Width(), H = cutter.LabelMap().Height();
  ASSERT_FALSE(cutter.Pieces().empty());
  for (const TPiece& p : cutter.Pieces()) {
    TPoint lo{W, H}, hi{-1, -1};
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        if (cutter.LabelMap().At(x, y) == TPixel(p.Label))
          lo = {std::min(lo.X, x), std::min(lo.Y, y)}, hi = {std::max(hi.X, x), std::max(hi.Y, y)};
    EXPECT_EQ(p.Home[0], (TPoint{lo.X - 1, lo.Y - 1}));
    EXPECT_EQ(p.Far[0], (TPoint{hi.X + 3, hi.Y + 3}));
    const int w = p.Images[0].Width(), h = p.Images[0].Height();
    EXPECT_EQ(w, hi.X - lo.X + 2 * 14 + 5);
    EXPECT_EQ(p.Images[1].Width(), h);
    EXPECT_EQ(p.Images[3].Height(), w);
    const TPoint a = p.Home[0], b = p.Far[0];
    EXPECT_EQ(p.Home[1], (TPoint{H - a.Y - h, a.X}));
    EXPECT_EQ(p.Home[2], (TPoint{W - a.X - w, H - a.Y - h}));
    EXPECT_EQ(p.Home[3], (TPoint{a.Y, W - a.X - w}));
    EXPECT_EQ(p.Far[1], (TPoint{H - b.Y - h, b.X}));
    EXPECT_EQ(p.Far[3], (TPoint{b.Y, W - b.X - w}));
    // Orientation 2 is orientation 0 turned by half a turn, pixel for pixel (colours only:
    // the shadow falls right and down in every orientation).
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(p.Images[0].At(x, y) & kRgbMask ? 1 : 0, p.Images[2].At(w - 1 - x, h - 1 - y) & kRgbMask ? 1 : 0);
  }
}

TEST(Cutter, OutsideIsBlackWithTheShadowInAlphaInsideNeverBlack) {
  test::TShapeFolder shapes;
  TMyDib picture(120, 100, 24);
  picture.Fill(MakePixel(7, 7, 7));  // lifted to (8, 8, 8) on loading
  for (bool rotation : {true, false}) {
    TPuzzleCutter cutter;
    TCutSetup s;
    s.Rotation = rotation;
    s.Bevel = 5;  // deep shade: dark edges reach 0 and are lifted back to 8
    test::Cut(cutter, picture, s);
    EXPECT_EQ(cutter.Picture().At(5, 5), MakePixel(8, 8, 8));
    ASSERT_FALSE(cutter.Pieces().empty());
    for (const TPiece& p : cutter.Pieces()) {
      int inside = 0, shadowed = 0;
      const TMyDib& image = p.Images[0];
      for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
          const TPixel v = image.At(x, y);
          if (v & kRgbMask) {
            ++inside;
            EXPECT_EQ(PixelA(v), 0u);
            EXPECT_TRUE(PixelR(v) >= 8 || PixelG(v) >= 8 || PixelB(v) >= 8);
          } else {
            shadowed += PixelA(v) > 0;
          }
        }
      EXPECT_EQ(inside, RegionSize(cutter.LabelMap(), p));
      EXPECT_GT(shadowed, 0);
      EXPECT_EQ(PixelA(image.At(0, 0)), 0u);  // the shadow falls right and down
      for (int r = 1; r < 4; ++r) {
        EXPECT_EQ(p.Images[r].Empty(), !rotation);
        if (!rotation) {
          EXPECT_EQ(p.Home[r], (TPoint{0, 0}));
          EXPECT_EQ(p.Far[r], (TPoint{0, 0}));
        }
      }
    }
  }
}

TEST(Cutter, ProgressIsReportedOncePerPieceBeforeIt) {
  test::TShapeFolder shapes;
  TPuzzleCutter cutter;
  test::SetUpCutter(cutter, test::MakeTestPicture(100, 80), TCutSetup{});
  cutter.DrawCutMap();
  size_t calls = 0;
  cutter.OnProgress = [&](TPuzzleCutter& sender) {
    // Piece `calls` and every later one are not started yet (earlier ones may be in hand).
    for (size_t k = calls; k < sender.Pieces().size(); ++k) EXPECT_TRUE(sender.Pieces()[k].Images[0].Empty()) << k;
    ++calls;
  };
  cutter.CutPieces();
  EXPECT_EQ(calls, cutter.Pieces().size());
}

TEST(Cutter, CountsAgreeForSoundCutsAndDifferForCrossingShapes) {
  test::TShapeFolder shapes;
  const TMyDib picture = test::MakeTestPicture(200, 160);
  for (int shape = 0; shape <= 6; ++shape) {
    TPuzzleCutter cutter;
    TCutSetup s;
    s.Shape = shape;
    test::SetUpCutter(cutter, picture, s);
    cutter.DrawCutMap();
    const int shaped = cutter.CountPieces();
    EXPECT_EQ(shaped, 80) << "shape " << shape;
    EXPECT_EQ(cutter.CountStraightPieces(), shaped) << "shape " << shape;
  }
  test::TTempFolder dir;
  // The outline runs past its tab and back across its own path, closing a loop on every cut.
  dir.Write("Shapes/shape9.txt", "0 0 0 0\n65 0 65 0\n50 -15 50 -15\n35 0 35 0\n99 0 99 0\n");
  test::TShapeFolder crossing(dir.Path());
  TPuzzleCutter cutter;
  TCutSetup s;
  s.Shape = 9;
  test::SetUpCutter(cutter, picture, s);
  cutter.DrawCutMap();
  const int shaped = cutter.CountPieces();  // first: the straight count redraws the map
  EXPECT_EQ(cutter.CountStraightPieces(), 80);
  EXPECT_GT(shaped, 80);
}

TEST(CutterBadInput, PicturesThatCannotBeCutAreRefusedOrLeftAlone) {
  test::TShapeFolder shapes;
  test::TTempFolder dir;
  TPuzzleCutter cutter;
  test::SetUpCutter(cutter, test::MakeTestPicture(64, 48), TCutSetup{});
  const std::string good = dir.File("good.bmp");
  ASSERT_TRUE(cutter.Picture().SaveToFile(good));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(good, bytes));
  const std::string truncated = dir.Write("truncated.bmp", std::string(bytes.begin(), bytes.begin() + 100));
  const std::string corrupt = dir.Write("corrupt.jpg", "\xFF\xD8\xFF\xE0 not really a jpeg at all");
  std::string huge(bytes.begin(), bytes.begin() + 54);
  for (int k : {18, 22}) huge[k] = 0x40, huge[k + 1] = 0x42, huge[k + 2] = 0x0F, huge[k + 3] = 0;  // 1 million square
  const std::string hugePath = dir.Write("huge.bmp", huge);
  for (const std::string& path : {truncated, corrupt, hugePath}) {
    EXPECT_FALSE(cutter.LoadPicture(path)) << path;
    EXPECT_FALSE(cutter.LastError().empty());
    EXPECT_EQ(cutter.Picture().Width(), 64) << "the picture in force stays";
  }
  EXPECT_TRUE(cutter.LoadPicture(dir.File("missing.jpg")));
  EXPECT_EQ(cutter.FileName(), "");
  // Nine pixels or less either way: no cut map, no pieces.
  for (auto [w, h] : {std::pair{9, 40}, {40, 9}}) {
    TPuzzleCutter small;
    test::SetUpCutter(small, test::MakeTestPicture(w, h), TCutSetup{});
    small.DrawCutMap();
    EXPECT_TRUE(small.CutMap().Empty());
    EXPECT_EQ(small.CountPieces(), 0);
    small.CutPieces();
    EXPECT_TRUE(small.Pieces().empty());
  }
  TPuzzleCutter tiny;
  TCutSetup s;
  s.PieceW = s.PieceH = 5;
  test::SetUpCutter(tiny, test::MakeTestPicture(10, 10), s);
  tiny.DrawCutMap();
  EXPECT_EQ(tiny.CountPieces(), 4);
  EXPECT_THROW(tiny.ScalePicture(1e9), std::runtime_error);
  EXPECT_THROW(tiny.ScalePicture(-1), std::runtime_error);
}

TEST(CutterBadInput, BrokenShapeFilesAreAClearError) {
  test::TTempFolder dir;
  dir.Write("Shapes/shape1.txt", "0 0 30 0\nforty 0 60 0\n99 0 130 0\n");
  test::TShapeFolder folder(dir.Path());
  TPuzzleCutter cutter;
  test::SetUpCutter(cutter, test::MakeTestPicture(80, 60), TCutSetup{});
  EXPECT_THROW(cutter.DrawCutMap(), std::runtime_error);
  cutter.SetCutStyle(0, 4, 20, 20, 0, 0, 1, 1);  // no such shape file
  EXPECT_THROW(cutter.DrawCutMap(), std::runtime_error);
}

TEST(Cutter, ScalingAsStoredStretchesAndSetsTheSeedBack) {
  TPuzzleCutter cutter;
  cutter.SetPicture(test::MakeTestPicture(50, 30));
  cutter.CutParameters().PictureScale = 2;
  cutter.CutParameters().RandomSeed = 31337;
  Randomize(5);
  cutter.ScalePicture(0);
  EXPECT_EQ(RandomSeed, 31337u);
  EXPECT_EQ(cutter.ScaledPicture().Width(), 100);
  EXPECT_EQ(cutter.ScaledPicture().Height(), 60);
  EXPECT_EQ(cutter.ScaledPicture().At(99, 59), cutter.Picture().At(49, 29));
  cutter.CutParameters().PictureScale = 0;
  cutter.ScalePicture(0);
  EXPECT_EQ(cutter.ScaledPicture().Width(), 50);
}

}  // namespace
}  // namespace qj
