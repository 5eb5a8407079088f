// A puzzle file may hold any shadow size and bevel strength; the pieces are cut with the values
// limited to the maker's ranges (shadow 0..10, bevel 0..5), so a file with 500 cuts like one
// with the largest value and a negative one like 0.
#include <gtest/gtest.h>

#include <climits>

#include "creation/UCutDigest.h"
#include "tests/creation/CutterTestSupport.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

constexpr size_t kBevelAt = 4 + 80 + 4 + 8;   // block B's BevelStrength in the file
constexpr size_t kShadowAt = 4 + 80 + 4 + 12;  // block B's ShadowSize in the file

class LookLimits : public testing::Test {
 protected:
  void SetUp() override {
    test::TCutSetup s;
    s.PieceW = 20;
    s.PieceH = 16;
    s.DistortX = s.DistortY = 2;
    test::TShapeFolder shapes;
    TPuzzleCutter maker;
    test::SetUpCutter(maker, FPicture, s);
    maker.DrawCutMap();
    maker.CountPieces();
    ASSERT_TRUE(maker.SavePuzzleFile(FDir.File("base.pzl"))) << maker.LastError();
    ASSERT_TRUE(ReadWholeFile(FDir.File("base.pzl"), FFile));
  }

  struct TCutResult {
    uint64_t Digest = 0;
    size_t Pieces = 0;
    int MarginX = 0;  // first piece: image width beyond its box
  };

  // Cuts the saved puzzle as play does, with one 32-bit field of the file replaced.
  TCutResult CutWith(size_t at, int32_t value) {
    std::vector<uint8_t> file = FFile;
    for (int i = 0; i < 4; ++i) file[at + size_t(i)] = uint8_t(uint32_t(value) >> (8 * i));
    const std::string path = FDir.File("look.pzl");
    EXPECT_TRUE(WriteFileAtomic(path, file.data(), file.size()));
    test::TShapeFolder shapes;
    TPuzzleCutter cutter;
    cutter.SetPicture(FPicture);
    EXPECT_TRUE(cutter.LoadPuzzleFile(path)) << cutter.LastError();
    cutter.ScalePicture(0);
    cutter.DrawCutMap();
    cutter.CutPieces();
    TCutResult r;
    r.Digest = CutDigest(cutter);
    r.Pieces = cutter.Pieces().size();
    if (r.Pieces) {
      const TPiece& p = cutter.Pieces()[0];
      r.MarginX = p.Images[0].Width() - (p.Far[0].X - p.Home[0].X);
    }
    return r;
  }

  TMyDib FPicture = test::MakeTestPicture(64, 48);
  test::TTempFolder FDir;
  std::vector<uint8_t> FFile;
};

TEST_F(LookLimits, ShadowSizeAboveTenCutsLikeTenAndBelowZeroLikeZero) {
  const TCutResult ten = CutWith(kShadowAt, 10);
  ASSERT_GT(ten.Pieces, 3u);
  EXPECT_EQ(ten.MarginX, 4 * 10 + 1);  // 2 x shadow on either side, one pixel more
  EXPECT_NE(CutWith(kShadowAt, 9).Digest, ten.Digest) << "ten itself must not be cut down";
  for (const int32_t big : {11, 500, INT_MAX}) {
    const TCutResult r = CutWith(kShadowAt, big);
    ASSERT_EQ(r.Digest, ten.Digest) << big;  // stops before a larger value would be tried
    ASSERT_EQ(r.MarginX, ten.MarginX) << big;
  }
  const TCutResult zero = CutWith(kShadowAt, 0);
  EXPECT_EQ(zero.MarginX, 1);
  EXPECT_NE(CutWith(kShadowAt, 1).Digest, zero.Digest);
  for (const int32_t negative : {-1, -7, INT_MIN}) {
    const TCutResult r = CutWith(kShadowAt, negative);
    ASSERT_EQ(r.Digest, zero.Digest) << negative;
    ASSERT_EQ(r.MarginX, zero.MarginX) << negative;
  }
}

TEST_F(LookLimits, BevelStrengthAboveFiveCutsLikeFiveAndBelowZeroLikeZero) {
  const uint64_t five = CutWith(kBevelAt, 5).Digest;
  EXPECT_NE(CutWith(kBevelAt, 4).Digest, five) << "five itself must not be cut down";
  for (const int32_t big : {6, 10, 500, INT_MAX}) ASSERT_EQ(CutWith(kBevelAt, big).Digest, five) << big;
  const uint64_t zero = CutWith(kBevelAt, 0).Digest;
  EXPECT_NE(CutWith(kBevelAt, 1).Digest, zero);
  for (const int32_t negative : {-1, -3, INT_MIN}) ASSERT_EQ(CutWith(kBevelAt, negative).Digest, zero) << negative;
}

}  // namespace
}  // namespace qj
