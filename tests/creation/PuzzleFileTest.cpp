// Puzzle files: three length-prefixed blocks and a BMP preview, read back byte for byte, and
// every way a file can be short or wrong.
#include <gtest/gtest.h>

#include <cstring>

#include "creation/UCutDigest.h"
#include "tests/creation/CutterTestSupport.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

std::vector<uint8_t> Le32(int32_t v) {
  return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(uint32_t(v) >> 24)};
}

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) { out.insert(out.end(), more.begin(), more.end()); }

TCutParameters SampleCut() {
  TCutParameters p;
  p.PictureScale = 1.5;
  p.RandomSeed = 0xDEADBEEF;
  p.ShapeSet = 3;
  p.CutStyle = 7;
  p.PieceWidth = 24.5;
  p.PieceHeight = 20;
  p.DistortX = 2;
  p.DistortXSpread = 1.3;
  p.DistortY = 3;
  p.DistortYSpread = 1.9;
  return p;
}

TEST(PuzzleFileBlocks, LayOutTheRecordsAsTheyLieInMemory) {
  const auto a = EncodeCutParameters(SampleCut());
  EXPECT_EQ(a[0], 1);
  for (int k = 1; k < 8; ++k) EXPECT_EQ(a[k], 0) << k;
  double scale;
  std::memcpy(&scale, &a[8], 8);
  EXPECT_EQ(scale, 1.5);
  EXPECT_EQ(std::vector<uint8_t>(a.begin() + 16, a.begin() + 20), (std::vector<uint8_t>{0xEF, 0xBE, 0xAD, 0xDE}));
  EXPECT_EQ(a[20], 3);
  EXPECT_EQ(a[24], 7);
  double spreadY;
  std::memcpy(&spreadY, &a[72], 8);
  EXPECT_EQ(spreadY, 1.9);
  TPuzzlePlayOptions o;
  o.AllowRotation = 1;
  o.BevelStrength = 2;
  o.ShadowSize = 7;
  o.PieceCount = 1000;
  const auto b = EncodePlayOptions(o);
  EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.end()),
            (std::vector<uint8_t>{0, 0, 1, 0, 0, 0, 0, 0, 2, 0, 0, 0, 7, 0, 0, 0, 0xE8, 3, 0, 0}));
  const auto file = BuildPuzzleFile(SampleCut(), o, {'B', 'M', 1});
  ASSERT_EQ(file.size(), 115u);
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 4), Le32(80));
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 84, file.begin() + 88), Le32(20));
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 108, file.begin() + 112), Le32(3));
}

TEST(PuzzleFileBlocks, OddBlockLengthsReadWhatFitsAndSkipTheRest) {
  std::vector<uint8_t> file = Le32(90);
  const auto a = EncodeCutParameters(SampleCut());
  Append(file, std::vector<uint8_t>(a.begin(), a.end()));
  Append(file, std::vector<uint8_t>(10, 0xAA));  // ten bytes beyond block A
  Append(file, Le32(8));                          // a short block B: the rest keeps its values
  Append(file, {1, 1, 0, 1, 1, 0, 0, 0});
  Append(file, Le32(2));
  Append(file, {'B', 'M'});
  TCutParameters cut;
  TPuzzlePlayOptions play;
  play.ShadowSize = 9;
  std::vector<uint8_t> preview;
  std::string error;
  ASSERT_TRUE(ParsePuzzleFile(file, cut, play, preview, error)) << error;
  EXPECT_EQ(EncodeCutParameters(cut), a);
  EXPECT_EQ(play.AllowLoupe, 1);
  EXPECT_EQ(play.AllowRotation, 0);
  EXPECT_EQ(play.ShadowSize, 9);
  EXPECT_EQ(preview, (std::vector<uint8_t>{'B', 'M'}));
}

class PuzzleFiles : public testing::Test {
 protected:
  void SetUp() override {
    test::TCutSetup s;
    s.DistortX = s.DistortY = 2;
    s.SpreadX = 1.4;
    s.Rotation = false;
    test::SetUpCutter(FCutter, test::MakeTestPicture(150, 100), s);
    FCutter.DrawCutMap();
    FCutter.CountPieces();
  }
  std::string Saved() {
    const std::string path = FDir.File("picture.pzl");
    EXPECT_TRUE(FCutter.SavePuzzleFile(path)) << FCutter.LastError();
    return path;
  }
  std::vector<uint8_t> Bytes(const std::string& path) {
    std::vector<uint8_t> b;
    EXPECT_TRUE(ReadWholeFile(path, b));
    return b;
  }

  test::TShapeFolder FShapes;
  test::TTempFolder FDir;
  TPuzzleCutter FCutter;
};

TEST_F(PuzzleFiles, RoundTripGivesTheSameBlocksAndTheSameCut) {
  const std::string path = Saved();
  const std::vector<uint8_t> file = Bytes(path);
  EXPECT_EQ(FCutter.PuzzleOptions().PieceCount, 35);  // 7 x 5 pieces counted before saving
  EXPECT_EQ(FCutter.Preview().Width(), 200);
  EXPECT_EQ(FCutter.Preview().Height(), 133);
  ASSERT_GT(file.size(), 112u);
  EXPECT_EQ(file[112], 'B');
  EXPECT_EQ(file[113], 'M');
  EXPECT_EQ(FCutter.FileName(), path);

  TPuzzleCutter again;
  again.SetPicture(FCutter.Picture());
  Randomize(1);
  ASSERT_TRUE(again.LoadPuzzleFile(path)) << again.LastError();
  EXPECT_EQ(RandomSeed, FCutter.CutParameters().RandomSeed);
  EXPECT_EQ(EncodeCutParameters(again.CutParameters()), EncodeCutParameters(FCutter.CutParameters()));
  EXPECT_EQ(EncodePlayOptions(again.PuzzleOptions()), EncodePlayOptions(FCutter.PuzzleOptions()));
  EXPECT_EQ(again.Preview().Width(), 200);
  // Written again, the file is the same byte for byte.
  again.ScalePicture(0);
  again.DrawCutMap();
  again.CountPieces();
  ASSERT_TRUE(again.SavePuzzleFile(FDir.File("again.pzl")));
  EXPECT_EQ(Bytes(FDir.File("again.pzl")), file);
  // And it cuts the same pieces.
  again.ScalePicture(0);
  again.DrawCutMap();
  again.CutPieces();
  FCutter.ScalePicture(0);
  FCutter.DrawCutMap();
  FCutter.CutPieces();
  EXPECT_EQ(CutDigest(again), CutDigest(FCutter));
  EXPECT_TRUE(again.Pieces()[0].Images[1].Empty());
}

TEST_F(PuzzleFiles, ShortOrBrokenFilesLoadAsFalseWithTheSeedAsFarAsRead) {
  const std::vector<uint8_t> file = Bytes(Saved());
  const uint32_t seed = FCutter.CutParameters().RandomSeed;
  struct TCase {
    std::vector<uint8_t> Bytes;
    bool SeedRead;
  };
  std::vector<TCase> cases = {{{file.begin(), file.begin() + 111}, true},
                              {{file.begin(), file.begin() + 40}, true},
                              {{file.begin(), file.begin() + 10}, false},
                              {{}, false},
                              {{file.begin(), file.end() - 1}, true}};
  std::vector<uint8_t> longImage = file;
  const auto length = Le32(int32_t(file.size()));  // claims more than follows
  std::copy(length.begin(), length.end(), longImage.begin() + 108);
  cases.push_back({longImage, true});
  std::vector<uint8_t> negative = file;
  const auto minus = Le32(-5);
  std::copy(minus.begin(), minus.end(), negative.begin() + 84);
  cases.push_back({negative, true});
  std::vector<uint8_t> badPreview = file;
  badPreview[112] = 'X';
  cases.push_back({badPreview, true});
  for (size_t k = 0; k < cases.size(); ++k) {
    const std::string path = FDir.File("case" + std::to_string(k) + ".pzl");
    ASSERT_TRUE(WriteFileAtomic(path, cases[k].Bytes.data(), cases[k].Bytes.size()));
    TPuzzleCutter reader;
    reader.CutParameters().RandomSeed = 77;
    Randomize(1);
    EXPECT_FALSE(reader.LoadPuzzleFile(path)) << k;
    EXPECT_FALSE(reader.LastError().empty()) << k;
    EXPECT_EQ(RandomSeed, cases[k].SeedRead ? seed : 77u) << k;
    EXPECT_EQ(reader.FileName(), path);
  }
}

TEST_F(PuzzleFiles, AMissingFileChangesNothing) {
  TPuzzleCutter reader;
  reader.CutParameters().RandomSeed = 77;
  Randomize(1);
  EXPECT_FALSE(reader.LoadPuzzleFile(FDir.File("none.pzl")));
  EXPECT_EQ(RandomSeed, 1u);
  EXPECT_EQ(reader.FileName(), "");
}

TEST_F(PuzzleFiles, SavingWithoutAPictureOrFolderFails) {
  TPuzzleCutter empty;
  EXPECT_FALSE(empty.SavePuzzleFile(FDir.File("x.pzl")));
  EXPECT_FALSE(FileExists(FDir.File("x.pzl")));
  EXPECT_FALSE(FCutter.SavePuzzleFile(FDir.File("no/such/folder/x.pzl")));
}

}  // namespace
}  // namespace qj
