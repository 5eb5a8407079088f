// The cut tool as a user runs it: refused values end with exit code 2 and write nothing; valid
// ones still count and save a sound cut.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Dib.h"
#include "platform/Paths.h"
#include "platform/PngCodec.h"
#include "tests/support/PhotoFiles.h"
#include "tests/support/TempFolder.h"
#include "tests/tools/ToolRun.h"

namespace qj {
namespace {

using test::TRun;

TRun RunCutTool(const std::vector<std::string>& args) { return test::RunTool("quorvane-jigsaw-cut", args); }

// A 120 x 96 picture with some detail, saved as a JPEG in the folder.
std::string WritePicture(const test::TTempFolder& dir) {
  TMyDib picture(120, 96, 24);
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) picture.At(x, y) = MakePixel(x * 2, y * 2, (x ^ y) & 255);
  const std::string path = dir.File("s.jpg");
  EXPECT_TRUE(SaveJpeg(picture, path, 90));
  return path;
}

class CutTool : public testing::Test {
 protected:
  TRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {FPicture, "--program-folder", std::string(QJ_SOURCE_DIR) + "/data"});
    return RunCutTool(args);
  }

  test::TTempFolder FDir;
  std::string FPicture = WritePicture(FDir);
};

TEST_F(CutTool, ValuesNoMakerOffersEndWithCodeTwoAndNoPuzzleFile) {
  const std::vector<std::vector<std::string>> refused = {
      {"--style", "9"},          {"--style", "1x"},         {"--piece-size", "0", "40"},
      {"--piece-size", "4294967295", "40"},                 {"--piece-size", "60", "20"},
      {"--piece-size", "20", "48"}, {"--shadow", "99999999999"}, {"--bevel", "6"},
      {"--spread", "2.5", "1"},  {"--distort", "9", "0"},   {"--shape", "7"}};
  for (std::vector<std::string> args : refused) {
    const std::string shown = args[0] + " " + args[1];
    args.push_back("--count");
    const TRun run = Run(args);
    EXPECT_EQ(run.ExitCode, 2) << shown;
    EXPECT_EQ(run.Output, "") << shown;
    EXPECT_FALSE(FileExists(FDir.File("s.pzl"))) << shown;
  }
}

TEST_F(CutTool, StyleNineIsRefusedBeforeAnyFolderIsLookedAt) {
  EXPECT_EQ(RunCutTool({FPicture, "--style", "9", "--count", "--no-save"}).ExitCode, 2);
}

TEST(ToolHelp, BothToolsAnswerHelpWithTheirUsageAndCodeZero) {
  for (const char* tool : {"quorvane-jigsaw-cut", "quorvane-jigsaw-autoplay"})
    for (const char* option : {"--help", "-h"}) {
      const TRun run = test::RunTool(tool, {option});
      EXPECT_EQ(run.ExitCode, 0) << tool << " " << option;
      EXPECT_NE(run.Output.find("usage: "), std::string::npos) << tool << " " << option;
    }
}

TEST_F(CutTool, ValidValuesCountASoundCutAndSaveIt) {
  const TRun counted = Run({"--style", "7", "--piece-size", "20", "16", "--distort", "2", "2", "--spread", "1.5",
                            "1.5", "--shadow", "3", "--seed", "4242", "--count", "--no-save"});
  EXPECT_EQ(counted.ExitCode, 0);
  EXPECT_NE(counted.Output.find("sound=yes"), std::string::npos) << counted.Output;
  EXPECT_FALSE(FileExists(FDir.File("s.pzl")));
  const TRun saved = Run({"--piece-size", "59", "47", "--seed", "1"});
  EXPECT_EQ(saved.ExitCode, 0);
  EXPECT_TRUE(FileExists(FDir.File("s.pzl")));
}

// Nine pixels a side draw no cut at all: no pieces is no puzzle, not a sound one.
TEST(CutToolPictures, APictureOfNinePixelsIsNotSoundAndNotSaved) {
  test::TTempFolder dir;
  TMyDib picture(9, 9, 24);
  picture.Fill(MakePixel(200, 120, 40));
  const std::string path = dir.File("dot.bmp");
  ASSERT_TRUE(picture.SaveToFile(path));
  const TRun run = RunCutTool({path, "--program-folder", std::string(QJ_SOURCE_DIR) + "/data", "--piece-size", "3", "3", "--count"});
  EXPECT_NE(run.ExitCode, 0);
  EXPECT_NE(run.Output.find("pieces=0 straight=0 sound=no"), std::string::npos) << run.Output;
  EXPECT_FALSE(FileExists(dir.File("dot.pzl")));
}

// PNG pictures are cut like any other; a photo stored sideways is cut upright, so the limits of
// the piece size follow the upright sides.
TEST(CutToolPictures, PngAndSidewaysPhotosAreCutAsTheyAreSeen) {
  test::TTempFolder dir;
  const std::string data = std::string(QJ_SOURCE_DIR) + "/data";
  TMyDib picture(120, 96, 24);
  picture.Fill(MakePixel(90, 140, 30) | ~kRgbMask);
  std::vector<uint8_t> png;
  std::string error;
  ASSERT_TRUE(EncodePng(picture, png, error)) << error;
  const std::string pngPath = dir.File("p.png");
  ASSERT_TRUE(test::WriteBytes(pngPath, png));
  const std::string sheet = dir.File("sheet.png");
  const auto run = [&](const std::string& path, const std::string& w, const std::string& h, const std::string& out) {
    return RunCutTool({path, "--program-folder", data, "--piece-size", w, h, "--no-save", "--sheet", out}).ExitCode;
  };
  EXPECT_EQ(run(pngPath, "59", "47", sheet), 0);
  std::vector<uint8_t> written;
  ASSERT_TRUE(ReadWholeFile(sheet, written));
  EXPECT_TRUE(IsPng(written.data(), written.size())) << "a sheet named .png is a PNG";
  const std::string sideways = dir.File("sideways.jpg");
  ASSERT_TRUE(test::WriteBytes(sideways, test::PhotoJpeg(test::Quadrants(120, 96), 6)));
  EXPECT_EQ(run(sideways, "59", "47", dir.File("s.bmp")), 2) << "59 is more than half the upright width";
  EXPECT_EQ(run(sideways, "47", "59", dir.File("s.bmp")), 0);
}

}  // namespace
}  // namespace qj
