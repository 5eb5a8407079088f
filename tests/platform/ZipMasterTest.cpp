// The archive component: members go in and come out intact; failures never damage an archive.
#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "platform/ZipMaster.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

std::string StreamText(TMemoryStream* s) { return s ? std::string(s->Data.begin(), s->Data.end()) : "<none>"; }

std::string FileText(const std::string& path) {
  std::vector<uint8_t> data;
  return ReadWholeFile(path, data) ? std::string(data.begin(), data.end()) : "<missing>";
}

class ZipMasterTest : public testing::Test {
 protected:
  // Writes the files and adds them to the archive, as saving a game does.
  bool Add(const std::vector<std::pair<std::string, std::string>>& files, int level = 1) {
    Zip.FSpecArgs.clear();
    for (const auto& [name, content] : files) Zip.FSpecArgs.push_back(Dir.Write(name, content));
    Zip.AddCompLevel = level;
    return Zip.AddSpecifiedFiles();
  }

  test::TTempFolder Dir;
  TZipMaster Zip;
  std::string Archive = Dir.File("Cat.zip");

  void SetUp() override { Zip.ZipFileName = Archive; }
};

TEST_F(ZipMasterTest, RoundTripsMembers) {
  const std::string big(100000, 'q');
  ASSERT_TRUE(Add({{"Cat.sav", "saved game"}, {"Big.bin", big}}, 9)) << Zip.LastError();
  TMemoryStream* s = Zip.ExtractMemberToStream("cat.SAV");
  ASSERT_NE(s, nullptr) << Zip.LastError();
  EXPECT_EQ(s->Position, 0u);
  EXPECT_EQ(StreamText(s), "saved game");
  EXPECT_EQ(Zip.FSpecArgs, std::vector<std::string>{"cat.SAV"});
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("Big.bin")), big);
  ASSERT_TRUE(Add({{"Stored.sav", "level zero"}}, 0)) << Zip.LastError();
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("Stored.sav")), "level zero");
}

TEST_F(ZipMasterTest, ReplacingAMemberKeepsTheOthers) {
  ASSERT_TRUE(Add({{"Cat.sav", "first"}, {"Other.txt", "other"}}));
  ASSERT_TRUE(Add({{"CAT.SAV", "second"}}));
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("Cat.sav")), "second");
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("Other.txt")), "other");
  EXPECT_EQ(ListFiles(Dir.Path(), "*.zip*"), std::vector<std::string>{"Cat.zip"});  // no temporary left
}

TEST_F(ZipMasterTest, MissingPiecesGiveNoStream) {
  EXPECT_EQ(Zip.ExtractMemberToStream("Cat.sav"), nullptr);  // no archive yet
  EXPECT_FALSE(Zip.LastError().empty());
  ASSERT_TRUE(Add({{"Cat.sav", "x"}}));
  ASSERT_NE(Zip.ExtractMemberToStream("Cat.sav"), nullptr);
  EXPECT_EQ(Zip.ExtractMemberToStream("Dog.sav"), nullptr);
}

TEST_F(ZipMasterTest, StreamIsEmptiedByAFailedExtraction) {
  ASSERT_TRUE(Add({{"Cat.sav", "content"}}));
  TMemoryStream* s = Zip.ExtractMemberToStream("Cat.sav");
  ASSERT_NE(s, nullptr);
  char buf[4];
  EXPECT_EQ(s->Read(buf, 4), 4u);
  EXPECT_EQ(s->Read(buf, 4), 3u);
  EXPECT_EQ(s->Read(buf, 4), 0u);
  EXPECT_EQ(Zip.ExtractMemberToStream("Dog.sav"), nullptr);
  EXPECT_EQ(s->Size(), 0u);
}

TEST_F(ZipMasterTest, CorruptArchivesAreRefused) {
  Dir.Write("Cat.zip", std::string(300, '\x5A'));
  EXPECT_EQ(Zip.ExtractMemberToStream("Cat.sav"), nullptr);
  ASSERT_TRUE(Add({{"Cat.sav", std::string(5000, 'a') + "end"}}));
  const std::string whole = FileText(Archive);
  for (size_t n = 0; n < whole.size(); n += 7) {
    Dir.Write("Cut.zip", whole.substr(0, n));
    Zip.ZipFileName = Dir.File("Cut.zip");
    EXPECT_EQ(Zip.ExtractMemberToStream("Cat.sav"), nullptr) << n << " bytes";
  }
  // Damaged compressed data: the CRC check catches it.
  std::string bad = whole;
  bad[60] = char(bad[60] ^ 0x55);
  Dir.Write("Bad.zip", bad);
  Zip.ZipFileName = Dir.File("Bad.zip");
  EXPECT_EQ(Zip.ExtractMemberToStream("Cat.sav"), nullptr);
}

TEST_F(ZipMasterTest, AddingToAnUnreadableArchiveStartsAfresh) {
  Dir.Write("Cat.zip", "not an archive");
  ASSERT_TRUE(Add({{"Cat.sav", "rescued"}})) << Zip.LastError();
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("Cat.sav")), "rescued");
}

TEST_F(ZipMasterTest, FailedWritesLeaveTheOldArchive) {
  ASSERT_TRUE(Add({{"Cat.sav", "precious"}}));
  const std::string before = FileText(Archive);
  Zip.FSpecArgs = {Dir.File("missing.sav")};
  EXPECT_FALSE(Zip.AddSpecifiedFiles());
  Zip.FSpecArgs.clear();
  EXPECT_FALSE(Zip.AddSpecifiedFiles());
  EXPECT_EQ(FileText(Archive), before);
  // The archive name is taken by a folder: the new archive is written, the rename fails, and the
  // temporary file goes away again.
  Dir.Write("Taken.zip/inside", "x");
  Zip.ZipFileName = Dir.File("Taken.zip");
  EXPECT_FALSE(Add({{"Cat.sav", "new"}}));
  EXPECT_EQ(FileText(Dir.File("Taken.zip/inside")), "x");
  EXPECT_EQ(ListFiles(Dir.Path(), "Taken*"), std::vector<std::string>{});
  EXPECT_EQ(FileText(Archive), before);
}

}  // namespace
}  // namespace qj
