// The player's library or settings folder turned read-only under a game that was saved there:
// the program keeps running, says which file it could not write and why, and leaves the old
// files as they were.
#include <gtest/gtest.h>

#include <cstdio>

#include "controls/UButtons.h"
#include "creation/UBitmapBuilder.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "screens/UPuzzleMakerInterface.h"
#include "tests/damage/Restrict.h"
#include "tests/damage/UserFoldersFixture.h"
#include "tests/support/ScreenSetup.h"

namespace qj::test {
namespace {

class ReadOnlyFolder : public TUserFoldersTest {};

TEST_F(ReadOnlyFolder, LibraryKeepsTheSavedGameAndNamesWhatFailed) {
  const TChildResult first = Play();
  ASSERT_TRUE(first.Finished) << first.Outcome << "\n" << first.Output;
  ASSERT_TRUE(Says(first, "step play: play")) << first.Output;
  const auto archive = Bytes(Archive()), scores = Bytes(ScoreFile());
  const auto names = Names(Library());

  const TChildResult locked = Play([&] { return MakeReadOnly(Library()); }, true);
  RestoreWritable(Library());
  if (Skipped(locked)) GTEST_SKIP() << locked.Output;
  ASSERT_TRUE(locked.Finished) << locked.Outcome << "\n" << locked.Output;
  EXPECT_TRUE(Says(locked, "step play: play")) << "the saved game is read as before\n" << locked.Output;
  // Leaving could not save: the message names the file and the cause.
  EXPECT_TRUE(Says(locked, "Small.hsc: " + ReadOnlyCause()) || Says(locked, "Small.zip: " + ReadOnlyCause()))
      << locked.Output;
  // The puzzle of the uncut picture cannot be made there: said, and nothing is played.
  EXPECT_TRUE(Says(locked, "Uncut.pzl: " + ReadOnlyCause())) << locked.Output;
  // The selector could not keep the places of its windows, and says so.
  EXPECT_TRUE(Says(locked, "PuzzleSelecterInfo.inf: " + ReadOnlyCause())) << locked.Output;
  EXPECT_TRUE(Says(locked, "step cut: main-menu")) << locked.Output;
  EXPECT_EQ(Bytes(Archive()), archive);
  EXPECT_EQ(Bytes(ScoreFile()), scores);
  EXPECT_EQ(Names(Library()), names) << "no file was left behind";

  const TChildResult after = Play();
  EXPECT_TRUE(Says(after, "step play: play")) << "the old saved game still continues\n" << after.Output;
}

// The maker's Save cannot write the puzzle file: it says so in its panel and stays, and the saved game of the
// old cut is still there to continue.
TEST_F(ReadOnlyFolder, TheMakerKeepsTheSavedGameAndStaysWhenThePuzzleCannotBeWritten) {
  ASSERT_TRUE(WriteBytes(Archive(), {'z', 'i', 'p'}));
  const auto puzzle = Bytes(ChangeFileExt(Jigsaw(), ".pzl"));
  const TChildResult locked = RunInChild([&] {
    if (const std::string why = MakeReadOnly(Library()); !why.empty()) {
      std::printf("skip: %s\n", why.c_str());
      return;
    }
    TScreenWorld world;
    TPuzzleMakerInterface maker(&world.Engine);
    maker.SetDepthRange(120000, 129990);
    maker.OnMessage = [](const std::string&, const std::string& text) { std::printf("message: %s\n", text.c_str()); };
    if (!maker.Cutter().LoadPicture(Jigsaw())) return;
    maker.Enter();
    maker.Button(TPuzzleMakerInterface::Save)->Click();
    if (maker.QuestionShown()) maker.Button(TPuzzleMakerInterface::QuestionYes)->Click();  // replace the game
    std::printf("panel: %d\n", maker.ErrorShown() ? 1 : 0);
    std::printf("result: %d done: %d\n", maker.Result(), maker.Done() ? 1 : 0);
    maker.Leave();
  });
  RestoreWritable(Library());
  if (Skipped(locked)) GTEST_SKIP() << locked.Output;
  ASSERT_TRUE(locked.Finished) << locked.Outcome << "\n" << locked.Output;
  EXPECT_TRUE(Says(locked, "Small.pzl: " + ReadOnlyCause())) << locked.Output;
  EXPECT_TRUE(Says(locked, "result: -1 done: 0")) << locked.Output;
  EXPECT_TRUE(Says(locked, "panel: 1")) << locked.Output;
  EXPECT_EQ(Bytes(Archive()), (std::vector<uint8_t>{'z', 'i', 'p'}));
  EXPECT_EQ(Bytes(ChangeFileExt(Jigsaw(), ".pzl")), puzzle);
}

TEST_F(ReadOnlyFolder, SettingsAreKeptAndTheGamePlays) {
  const auto settings = Bytes(SettingsFile());
  const auto names = Names(SettingsFolder());
  const TChildResult locked = Play([&] { return MakeReadOnly(SettingsFolder()); });
  RestoreWritable(SettingsFolder());
  if (Skipped(locked)) GTEST_SKIP() << locked.Output;
  ASSERT_TRUE(locked.Finished) << locked.Outcome << "\n" << locked.Output;
  EXPECT_TRUE(Says(locked, "step play: play")) << locked.Output;
  EXPECT_TRUE(Says(locked, "step leave: main-menu")) << locked.Output;
  // Settings are written on the way out only; a failure there is said on stderr, naming the file.
  EXPECT_TRUE(Says(locked, "Jigsaw.stg: " + ReadOnlyCause())) << locked.Output;
  EXPECT_EQ(Bytes(SettingsFile()), settings);
  EXPECT_EQ(Names(SettingsFolder()), names) << "no file was left behind";
}

}  // namespace
}  // namespace qj::test
