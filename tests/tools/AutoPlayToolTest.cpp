// The headless player as a user runs it: whole games, a game left half way and continued, and
// what it does with a damaged saved game or a wrong command line.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "platform/Paths.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestPicture.h"
#include "tests/tools/ToolRun.h"

namespace qj {
namespace {

// The fields of the player's line: "pieces=48 left=1 ...".
std::map<std::string, std::string> Fields(const std::string& line) {
  std::map<std::string, std::string> fields;
  std::istringstream in(line);
  std::string item;
  while (in >> item)
    if (const size_t eq = item.find('='); eq != std::string::npos) fields[item.substr(0, eq)] = item.substr(eq + 1);
  return fields;
}

using test::ReadBytes;

class AutoPlayTool : public testing::Test {
 protected:
  AutoPlayTool() {
    EXPECT_TRUE(test::WriteTestPicture(FPicture, 160, 120));
  }
  // The player on the picture; a cut of 8 x 6 = 48 pieces with rotation unless told otherwise.
  std::map<std::string, std::string> Play(std::vector<std::string> args, int* exitCode = nullptr) {
    args.insert(args.begin(), {FPicture, "--program-folder", QJ_PROGRAM_DIR});
    const test::TRun run = test::RunTool("quorvane-jigsaw-autoplay", args);
    if (exitCode) *exitCode = run.ExitCode;
    else EXPECT_EQ(run.ExitCode, 0) << run.Output;
    return Fields(run.Output);
  }

  test::TTempFolder FDir;
  std::string FPicture = FDir.File("p.jpg");
  const std::vector<std::string> FCut = {"--piece-size", "20", "20", "--options", "11111", "--seed", "99"};
};

TEST_F(AutoPlayTool, PlaysAWholeGameAndKeepsItsScore) {
  auto args = FCut;
  auto line = Play(args);
  EXPECT_EQ(line["pieces"], "48");
  EXPECT_EQ(line["left"], "1");
  EXPECT_EQ(line["joins"], "47");
  EXPECT_EQ(line["finished"], "1");
  EXPECT_GT(std::stod(line["score"]), 0);
  EXPECT_TRUE(FileExists(FDir.File("p.pzl")));
  EXPECT_TRUE(FileExists(FDir.File("p.zip")));
  EXPECT_EQ(ReadBytes(FDir.File("p.hsc")).size(), 160u);
}

TEST_F(AutoPlayTool, AGameLeftHalfWayIsContinuedToTheEnd) {
  auto args = FCut;
  args.insert(args.end(), {"--joins", "20"});
  auto first = Play(args);
  EXPECT_EQ(first["left"], "28");
  EXPECT_EQ(first["finished"], "0");
  auto second = Play({"--continue", "--phase-peaks"});
  EXPECT_GT(std::stod(second["peak_continue_mb"]), 0);
  EXPECT_EQ(second["peak_cut_mb"], "0");
  EXPECT_GE(std::stod(second["peak_mb"]), std::stod(second["peak_play_mb"]));
  EXPECT_EQ(second["pieces"], "48");
  EXPECT_EQ(second["left"], "1");
  EXPECT_EQ(second["joins"], "47");
  EXPECT_EQ(second["finished"], "1");
  EXPECT_NE(second["load_ms"], "");
  // A fresh game from the puzzle file starts over.
  auto fresh = Play({"--from-pzl", "--joins", "0"});
  EXPECT_EQ(fresh["left"], "48");
}

TEST_F(AutoPlayTool, APuzzleWithoutRotationIsPlayedToo) {
  auto line = Play({"--piece-size", "40", "30", "--options", "11011", "--seed", "5"});
  EXPECT_EQ(line["pieces"], "16");
  EXPECT_EQ(line["finished"], "1");
}

// The same player acting only through the mouse and keys on the real play screen, leaving by
// the exit dialog.
TEST_F(AutoPlayTool, PlaysThroughTheScreenWithAndWithoutRotation) {
  auto line = Play({"--piece-size", "40", "40", "--options", "11111", "--seed", "7", "--screen"});
  EXPECT_EQ(line["pieces"], "12");
  EXPECT_EQ(line["left"], "1");
  EXPECT_EQ(line["finished"], "1");
  EXPECT_EQ(ReadBytes(FDir.File("p.hsc")).size(), 160u);
  EXPECT_TRUE(FileExists(FDir.File("p.zip")));
  line = Play({"--piece-size", "40", "40", "--options", "11011", "--seed", "7", "--screen", "--joins", "5"});
  EXPECT_EQ(line["left"], "7");
  line = Play({"--continue", "--screen"});
  EXPECT_EQ(line["left"], "1");
  EXPECT_EQ(line["finished"], "1");
}

TEST_F(AutoPlayTool, ADamagedSaveIsRefusedAndLeftAsItIs) {
  auto args = FCut;
  args.insert(args.end(), {"--joins", "3"});
  Play(args);
  std::vector<uint8_t> archive = ReadBytes(FDir.File("p.zip"));
  ASSERT_GT(archive.size(), 400u);
  for (size_t i = 200; i < 260; ++i) archive[i] ^= 0x5A;
  ASSERT_TRUE(WriteFileAtomic(FDir.File("p.zip"), archive.data(), archive.size()));
  int code = 0;
  Play({"--continue"}, &code);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(ReadBytes(FDir.File("p.zip")), archive);
}

TEST_F(AutoPlayTool, NothingToContinueOrAWrongLineEndsWithACode) {
  int code = 0;
  auto args = FCut;
  args.insert(args.end(), {"--joins", "0"});
  Play(args);
  std::remove(FDir.File("p.zip").c_str());
  Play({"--continue"}, &code);
  EXPECT_EQ(code, 1);
  for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--joins"}, {"--joins", "-1"},
                                                {"--joins", "x"}, {"--style", "12"}}) {
    Play(wrong, &code);
    EXPECT_EQ(code, 2) << wrong[0];
  }
}

}  // namespace
}  // namespace qj
