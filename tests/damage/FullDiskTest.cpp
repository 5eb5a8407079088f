// The disk fills up while a game is saved: the save fails and says so, the previous saved game,
// the score file and the settings are whole, and no temporary file is left in the library.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "core/UMiscelaneous.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "creation/UGameRecord.h"
#include "tests/damage/Restrict.h"
#include "tests/damage/UserFoldersFixture.h"

namespace qj::test {
namespace {

class FullDisk : public TUserFoldersTest {};

TEST_F(FullDisk, ASaveThatRunsOutOfRoomKeepsTheOldGame) {
  const TChildResult first = Play();
  ASSERT_TRUE(first.Finished) << first.Outcome << "\n" << first.Output;
  ASSERT_TRUE(Says(first, "step play: play")) << first.Output;
  const auto archive = Bytes(Archive());
  const auto names = Names(Library());
  // Room for the score file and the settings, not for the saved game.
  const long room = long(archive.size() / 2);
  ASSERT_GT(room, 8192);

  const TChildResult full = Play([&] { return LimitFileSize(room); });
  if (Skipped(full)) GTEST_SKIP() << full.Output;
  ASSERT_TRUE(full.Finished) << full.Outcome << "\n" << full.Output;
  EXPECT_TRUE(Says(full, "step play: play")) << full.Output;
  EXPECT_TRUE(Says(full, "Small.zip")) << "the failed save names the archive\n" << full.Output;
  EXPECT_TRUE(Says(full, std::strerror(EFBIG))) << full.Output;
  EXPECT_EQ(Bytes(Archive()), archive);
  EXPECT_EQ(Names(Library()), names) << "no file was left behind";
  TGameRecord best, last;
  EXPECT_TRUE(ReadScoreFile(ScoreFile(), best, last));
  EXPECT_EQ(TIniFile(SettingsFile()).ReadString("Language", "LanguageFile", ""), "English.lang");

  const TChildResult after = Play();
  EXPECT_TRUE(Says(after, "step play: play")) << "the old saved game still continues\n" << after.Output;
}

// Only root can mount; a developer without it has the test above.
TEST_F(FullDisk, ASmallFileSystemThatFillsUpKeepsTheOldGame) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a file system needs root";
  const TChildResult first = Play();
  ASSERT_TRUE(Says(first, "step play: play")) << first.Output;
  const auto archive = Bytes(Archive());
  auto names = Names(Library());
  names.insert(names.begin(), ".filler");
  const long room = long(archive.size() / 2);

  // The small file system lives in the child only, so the child looks at the library itself.
  const TChildResult full = Play([&] { return MountNearlyFull(Library(), room); }, false, [&] {
    TGameRecord best, last;
    std::printf("archive kept: %d\n", Bytes(Archive()) == archive);
    std::printf("names kept: %d\n", Names(Library()) == names);
    std::printf("scores readable: %d\n", ReadScoreFile(ScoreFile(), best, last));
  });
  if (Skipped(full)) GTEST_SKIP() << full.Output;
  ASSERT_TRUE(full.Finished) << full.Outcome << "\n" << full.Output;
  EXPECT_TRUE(Says(full, "step play: play")) << full.Output;
  EXPECT_TRUE(Says(full, "Small.zip") || Says(full, "Small.hsc")) << full.Output;
  EXPECT_TRUE(Says(full, std::strerror(ENOSPC))) << full.Output;
  EXPECT_TRUE(Says(full, "archive kept: 1\nnames kept: 1\nscores readable: 1\n")) << full.Output;
}

}  // namespace
}  // namespace qj::test
