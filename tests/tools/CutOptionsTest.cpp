// The cut tool's command line: strict numbers, the puzzle maker's ranges, messages that name
// the option.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Paths.h"
#include "tools/cut/CutOptions.h"

namespace qj::cuttool {
namespace {

TCutOptions Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "s.jpg");
  return ParseCutOptions(args);
}

// The message of the refusal, or a note that nothing was refused.
std::string Refusal(const std::vector<std::string>& args) {
  try {
    Parse(args);
  } catch (const TUsageError& e) {
    return e.Message;
  }
  return "(accepted)";
}

TEST(CutOptions, ValuesWithinTheMakersRangesAreTaken) {
  const TCutOptions o = Parse({"--style", "8", "--shape", "0", "--piece-size", "30", "25", "--distort", "3", "2",
                               "--spread", "1.5", "2", "--shadow", "10", "--bevel", "0", "--seed", "4294967295",
                               "--options", "10101", "--count", "--no-save"});
  EXPECT_EQ(o.Picture, "s.jpg");
  EXPECT_EQ(o.Style, 8);
  EXPECT_EQ(o.Shape, 0);
  EXPECT_EQ(o.PieceW, 30);
  EXPECT_EQ(o.PieceH, 25);
  EXPECT_EQ(o.DistortX, 3);
  EXPECT_EQ(o.DistortY, 2);
  EXPECT_EQ(o.SpreadX, 15);
  EXPECT_EQ(o.SpreadY, 20);
  EXPECT_EQ(o.Shadow, 10);
  EXPECT_EQ(o.Bevel, 0);
  EXPECT_TRUE(o.HasSeed);
  EXPECT_EQ(o.Seed, 4294967295u);
  EXPECT_EQ(o.Options, "10101");
  EXPECT_TRUE(o.Count);
  EXPECT_FALSE(o.Save);
}

TEST(CutOptions, TheDefaultsAreANewPuzzleOfTheMaker) {
  const TCutOptions o = Parse({});
  EXPECT_EQ(o.Style, 0);
  EXPECT_EQ(o.Shape, 1);
  EXPECT_EQ(o.PieceW, 20);
  EXPECT_EQ(o.SpreadX, 10);
  EXPECT_EQ(o.Shadow, 7);
  EXPECT_EQ(o.Bevel, 2);
  EXPECT_EQ(o.Options, "11111");
  EXPECT_TRUE(o.Save);
}

TEST(CutOptions, ValuesOutsideTheMakersRangesAreRefusedNamingTheOption) {
  const std::vector<std::vector<std::string>> refused = {
      {"--style", "9"},           {"--style", "-1"},        {"--shape", "-1"},
      {"--piece-size", "0", "40"}, {"--piece-size", "4294967295", "40"}, {"--piece-size", "40", "-20"},
      {"--distort", "3", "0"},    {"--distort", "0", "-1"}, {"--spread", "0.9", "1"},
      {"--spread", "1", "2.1"},   {"--shadow", "11"},       {"--shadow", "99999999999"},
      {"--shadow", "-1"},         {"--bevel", "6"},         {"--seed", "-1"},
      {"--seed", "4294967296"}};
  for (const std::vector<std::string>& args : refused)
    EXPECT_NE(Refusal(args).find(args[0]), std::string::npos) << args[0] << " " << args[1] << ": " << Refusal(args);
}

TEST(CutOptions, TheDisplacementFollowsThePieceSizeGivenAfterIt) {
  EXPECT_EQ(Parse({"--distort", "4", "3", "--piece-size", "40", "30"}).DistortX, 4);
  EXPECT_NE(Refusal({"--distort", "5", "0", "--piece-size", "40", "30"}).find("--distort"), std::string::npos);
  EXPECT_EQ(Parse({"--piece-size", "25", "25", "--distort", "2", "2"}).DistortX, 2);  // round half to even
  EXPECT_NE(Refusal({"--piece-size", "25", "25", "--distort", "3", "0"}), "(accepted)");
}

TEST(CutOptions, NumbersAreReadStrictly) {
  for (const char* text : {"", " 1", "1 ", "+1", "1.0", "1e0", "0x1", "1x", "one", "nan", "inf"})
    EXPECT_NE(Refusal({"--style", text}).find("--style"), std::string::npos) << '"' << text << '"';
  for (const char* text : {"1.55", "1.5x", " 1.5", "1e0", "nan", "inf", ""})
    EXPECT_NE(Refusal({"--spread", text, "1"}).find("--spread"), std::string::npos) << '"' << text << '"';
  EXPECT_EQ(Parse({"--spread", "1.7", "1.70"}).SpreadX, 17);
  EXPECT_EQ(Parse({"--spread", "1.7", "1.70"}).SpreadY, 17);
}

TEST(CutOptions, MissingValuesAndUnknownOptionsAreRefused) {
  EXPECT_NE(Refusal({"--piece-size", "20"}).find("--piece-size"), std::string::npos);
  EXPECT_NE(Refusal({"--style"}).find("--style"), std::string::npos);
  EXPECT_NE(Refusal({"--styel", "1"}).find("--styel"), std::string::npos);
  EXPECT_NE(Refusal({"--options", "1111"}).find("--options"), std::string::npos);
  EXPECT_THROW(ParseCutOptions({}), TUsageError);
  EXPECT_THROW(ParseCutOptions({"a.jpg", "b.jpg"}), TUsageError);
}

TEST(CutOptions, ThePieceSizeIsAtMostHalfThePictureLessOne) {
  TCutOptions o = Parse({"--piece-size", "59", "47"});
  EXPECT_NO_THROW(CheckAgainstPicture(o, 120, 96));
  o.PieceW = 60;
  EXPECT_THROW(CheckAgainstPicture(o, 120, 96), TUsageError);
  o.PieceW = 59;
  o.PieceH = 48;
  try {
    CheckAgainstPicture(o, 120, 96);
    ADD_FAILURE() << "a piece 48 high fits no 96-pixel picture";
  } catch (const TUsageError& e) {
    EXPECT_NE(e.Message.find("--piece-size"), std::string::npos) << e.Message;
    EXPECT_NE(e.Message.find("47"), std::string::npos) << e.Message;
  }
}

TEST(CutOptions, TheShapeMustBeAShapeFile) {
  const std::string old = ProgramFolder();
  SetProgramFolder(std::string(QJ_SOURCE_DIR) + "/data");
  TCutOptions o = Parse({"--shape", "6"});
  EXPECT_NO_THROW(CheckShapeExists(o));
  o.Shape = 7;
  EXPECT_THROW(CheckShapeExists(o), TUsageError);
  SetProgramFolder(old);
}

}  // namespace
}  // namespace qj::cuttool
