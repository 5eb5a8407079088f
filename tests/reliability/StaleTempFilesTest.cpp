// What a save killed before its rename leaves beside the file: the next write of that file
// removes it once it is old enough to belong to no save still running, and nothing else.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Paths.h"
#include "platform/ZipMaster.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

using namespace std::chrono_literals;

class StaleTempFiles : public testing::Test {
 protected:
  std::string Leave(const std::string& name, std::chrono::hours age) const {
    const std::string path = FDir.Write(name, "half a file");
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - age);
    return name;
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(FDir.File(name)); }

  test::TTempFolder FDir;
};

TEST_F(StaleTempFiles, TheNextWriteRemovesOnlyOldOnesOfItsOwnFile) {
  const std::string old = Leave("p.hsc.tmp-Ab3xY9", 2h), young = Leave("p.hsc.tmp-Qr5tU1", 0h);
  const std::string others[] = {Leave("q.hsc.tmp-Ab3xY9", 2h), Leave("p.hsc.tmp-notes.txt", 2h),
                                Leave("p.hsc.tmp-Ab3xY", 2h), Leave("p.hsc", 2h)};
  ASSERT_TRUE(WriteFileAtomic(FDir.File("p.hsc"), "new", 3));
  EXPECT_FALSE(Exists(old));
  EXPECT_TRUE(Exists(young)) << "may be a save still being written";
  for (const std::string& name : others) EXPECT_TRUE(Exists(name)) << name;
}

TEST_F(StaleTempFiles, AnArchiveSaveRemovesItsOwnAndTheArchiveLibrarysLeftovers) {
  const std::string ours = Leave("p.zip.tmp-Ab3xY9", 3h), library = Leave("p.zip.tmp-Ab3xY9.k2M8qz", 3h);
  TZipMaster zip;
  zip.ZipFileName = FDir.File("p.zip");
  ASSERT_TRUE(zip.AddMemberFromMemory("p.sav", {1, 2, 3})) << zip.LastError();
  EXPECT_FALSE(Exists(ours));
  EXPECT_FALSE(Exists(library));
  EXPECT_EQ(ListFiles(FDir.Path(), "*"), std::vector<std::string>{"p.zip"});
}

}  // namespace
}  // namespace qj
