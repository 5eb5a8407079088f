// The archive component: members go in and come out intact; failures never damage an archive.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zip.h>

#include <csignal>
#include <ctime>

#include <filesystem>
#include <optional>

#include "platform/Deflate.h"
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

// Zip files written byte by byte, so a test can make archives that libzip would not write:
// stored members, local headers, then the central directory and its end record.
uint32_t Crc32(const std::string& data) {
  uint32_t crc = 0xFFFFFFFF;
  for (const unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void Put16(std::string& out, uint32_t v) { out += char(v & 255), out += char((v >> 8) & 255); }
void Put32(std::string& out, uint32_t v) { Put16(out, v), Put16(out, v >> 16); }

// Deflated data without a compressor: one final block, stored.
std::string StoredBlock(const std::string& data) {
  std::string out(1, '\x01');
  Put16(out, uint32_t(data.size()));
  Put16(out, ~uint32_t(data.size()));
  return out + data;
}

// The fields shared by a member's local header and its central directory entry. A member with a
// `claimed` size is deflated (so the archive stays consistent) and claims that size unpacked.
void PutMemberFields(std::string& out, const std::string& name, const std::string& data,
                     std::optional<uint32_t> claimed) {
  Put16(out, 20);                // version needed: 2.0
  Put16(out, 0);                 // flags
  Put16(out, claimed ? 8 : 0);   // deflated or stored
  Put16(out, 0);                 // time 00:00
  Put16(out, 0x21);              // date 1980-01-01
  Put32(out, Crc32(data));
  Put32(out, uint32_t(claimed ? StoredBlock(data).size() : data.size()));
  Put32(out, claimed.value_or(uint32_t(data.size())));
  Put16(out, uint32_t(name.size()));
  Put16(out, 0);  // no extra field
}

std::string HandMadeZip(const std::vector<std::pair<std::string, std::string>>& members,
                        std::optional<uint32_t> claimedSize = std::nullopt) {
  std::string out, directory;
  for (const auto& [name, data] : members) {
    const uint32_t offset = uint32_t(out.size());
    Put32(out, 0x04034B50);
    PutMemberFields(out, name, data, claimedSize);
    out += name + (claimedSize ? StoredBlock(data) : data);
    Put32(directory, 0x02014B50);
    Put16(directory, 20);  // made by
    PutMemberFields(directory, name, data, claimedSize);
    Put16(directory, 0);  // comment length
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, offset);
    directory += name;
  }
  const uint32_t directoryAt = uint32_t(out.size());
  out += directory;
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, uint32_t(members.size()));
  Put16(out, uint32_t(members.size()));
  Put32(out, uint32_t(directory.size()));
  Put32(out, directoryAt);
  Put16(out, 0);
  return out;
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

TEST_F(ZipMasterTest, HandMadeArchivesAreReadLikeWrittenOnes) {
  Dir.Write("Cat.zip", HandMadeZip({{"Cat.sav", "the game"}, {"Notes.txt", ""}, {"sub/Dog.sav", "dog"}}));
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("CAT.sav")), "the game") << Zip.LastError();
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("Notes.txt")), "") << Zip.LastError();
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("Dog.sav")), "dog") << Zip.LastError();
}

// Which of two members of one name is the saved game cannot be told, so neither is read; the
// archive itself stays as it was.
TEST_F(ZipMasterTest, TwoMembersOfTheSavedGamesNameAreRefused) {
  const std::vector<std::vector<std::pair<std::string, std::string>>> archives = {
      {{"Cat.sav", "first game"}, {"Cat.sav", "second game"}},                      // the very same name
      {{"Other.txt", "x"}, {"Cat.sav", "first game"}, {"CAT.SAV", "second game"}},  // differing in case
      {{"Cat.sav", "first game"}, {"old/Cat.sav", "second game"}},                  // in a folder
  };
  for (size_t k = 0; k < archives.size(); ++k) {
    const std::string bytes = HandMadeZip(archives[k]);
    Dir.Write("Cat.zip", bytes);
    TMemoryStream* s = Zip.ExtractMemberToStream("Cat.sav");
    EXPECT_EQ(s, nullptr) << k << ": read " << StreamText(s);
    const std::string& error = Zip.LastError();
    EXPECT_NE(error.find("Cat.zip"), std::string::npos) << k << ": " << error;
    EXPECT_TRUE(error.find("more than one member") != std::string::npos ||
                error.find("two members of the same name") != std::string::npos)
        << k << ": " << error;
    EXPECT_EQ(FileText(Archive), bytes) << k;
  }
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
  EXPECT_FALSE(Zip.AddMemberFromMemory("Cat.sav", {'n', 'e', 'w'}));
  EXPECT_NE(Zip.LastError().find("Taken.zip"), std::string::npos) << Zip.LastError();
  EXPECT_EQ(FileText(Dir.File("Taken.zip/inside")), "x");
  EXPECT_EQ(ListFiles(Dir.Path(), "Taken*"), std::vector<std::string>{});
  EXPECT_EQ(FileText(Archive), before);
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Every byte value, so nothing in the path treats the member as text.
std::vector<uint8_t> BinaryData(size_t size) {
  std::vector<uint8_t> data(size);
  for (size_t i = 0; i < size; ++i) data[i] = uint8_t((i * 131 + i / 256) & 255);
  return data;
}

TEST_F(ZipMasterTest, MembersFromMemoryRoundTrip) {
  const std::vector<uint8_t> game = BinaryData(300000);
  Zip.AddCompLevel = 9;
  ASSERT_TRUE(Zip.AddMemberFromMemory("some/folder/Cat.sav", game)) << Zip.LastError();
  TMemoryStream* s = Zip.ExtractMemberToStream("Cat.sav");  // stored under its bare name
  ASSERT_NE(s, nullptr) << Zip.LastError();
  EXPECT_EQ(s->Data, game);
  Zip.AddCompLevel = 0;
  ASSERT_TRUE(Zip.AddMemberFromMemory("Empty.sav", {})) << Zip.LastError();
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("Empty.sav")), "");
  EXPECT_EQ(Zip.ExtractMemberToStream("Cat.sav")->Data, game);
  EXPECT_FALSE(Zip.AddMemberFromMemory("folder/", game));
}

// A member of many compression chunks, written in uneven pieces: the chunks compressed side by
// side join into one stream with the right checksum, at every level, on one thread or several.
TEST_F(ZipMasterTest, AWrittenMemberOfManyChunksComesBackWhole) {
  std::vector<uint8_t> game = BinaryData(3 * TParallelDeflate::kChunkSize + 12345);
  std::fill(game.begin() + 1000000, game.begin() + 6000000, 0);  // long runs, as piece margins have
  for (const int level : {0, 1, 6}) {
    Zip.AddCompLevel = level;
    const auto write = [&game](const TByteSink& sink) {
      for (size_t at = 0, step = 1; at < game.size(); at += step, step = step * 7 % 1000003 + 1)
        sink(game.data() + at, std::min(step, game.size() - at));
    };
    ASSERT_TRUE(Zip.AddMemberFromWriter("Big.sav", write)) << Zip.LastError();
    TMemoryStream* s = Zip.ExtractMemberToStream("Big.sav");
    ASSERT_NE(s, nullptr) << "level " << level << ": " << Zip.LastError();
    EXPECT_TRUE(s->Data == game) << "level " << level;
  }
  for (const unsigned threads : {1u, 3u}) {
    TParallelDeflate deflate(1, threads);
    deflate.Write(game.data(), game.size());
    std::string error;
    ASSERT_TRUE(deflate.Finish(error)) << error;
    EXPECT_EQ(deflate.InputSize(), game.size());
    EXPECT_LT(deflate.Output().size(), game.size());
  }
}

// Our archive lists the member's chunks so that they inflate side by side; a list that does not
// hold is ignored, not believed: a size moved from one chunk to the next, or all the bytes given
// to the last chunk.
TEST_F(ZipMasterTest, AMemberIsReadWhateverItsChunkListSays) {
  std::vector<uint8_t> game = BinaryData(2 * TParallelDeflate::kChunkSize + 999);
  std::fill(game.begin() + 100, game.begin() + 900000, 0);
  ASSERT_TRUE(Zip.AddMemberFromMemory("Cat.sav", game)) << Zip.LastError();
  const std::string good = FileText(Archive);
  const size_t list = good.rfind(std::string("\x71\x6A\x0C\x00", 4)) + 4;  // the field's id and length, then three sizes
  ASSERT_LT(list, good.size());
  uint32_t total = 0;
  for (size_t i = 0; i < 12; ++i) total += uint32_t(uint8_t(good[list + i])) << (8 * (i % 4));
  for (const int change : {0, 1, 2}) {
    std::string archive = good;
    if (change == 1) archive[list + 1] = char(archive[list + 1] + 1), archive[list + 5] = char(archive[list + 5] - 1);
    if (change == 2)
      for (size_t i = 0; i < 12; ++i) archive[list + i] = i < 8 ? 0 : char(total >> (8 * (i % 4)));
    Dir.Write("Cat.zip", archive);
    TMemoryStream* s = Zip.ExtractMemberToStream("Cat.sav");
    ASSERT_NE(s, nullptr) << "change " << change << ": " << Zip.LastError();
    EXPECT_TRUE(s->Data == game) << "change " << change;
  }
}

// An archive of the saved game alone is written without libzip: libzip's own inflater, its CRC
// check and its check of the local header against the directory take it as one of its own.
TEST_F(ZipMasterTest, AnArchiveOfOneMemberIsReadByLibzipItself) {
  const std::vector<uint8_t> game = BinaryData(TParallelDeflate::kChunkSize + 777);
  ASSERT_TRUE(Zip.AddMemberFromMemory("Cat.sav", game)) << Zip.LastError();
  int code = 0;
  zip_t* za = zip_open(Archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  ASSERT_NE(za, nullptr) << code;
  zip_stat_t st;
  ASSERT_EQ(zip_stat_index(za, 0, 0, &st), 0);
  EXPECT_STREQ(st.name, "Cat.sav");
  EXPECT_LT(std::abs(double(st.mtime - std::time(nullptr))), 3600.0);
  std::vector<uint8_t> read(game.size() + 1);
  zip_file_t* f = zip_fopen_index(za, 0, 0);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(zip_fread(f, read.data(), read.size()), zip_int64_t(game.size())) << zip_file_strerror(f);
  read.resize(game.size());
  EXPECT_TRUE(read == game);
  zip_fclose(f);
  EXPECT_EQ(zip_get_num_entries(za, 0), 1);
  zip_discard(za);
}

// The disk filling up while the deflated chunks go out: the old archive stays, nothing is left.
TEST_F(ZipMasterTest, AFullDiskKeepsTheOldArchive) {
  ASSERT_TRUE(Zip.AddMemberFromMemory("Cat.sav", Bytes("precious")));
  const std::string before = FileText(Archive);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 64 << 10;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool written = Zip.AddMemberFromMemory("Cat.sav", BinaryData(3 * TParallelDeflate::kChunkSize));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, handler);
  EXPECT_FALSE(written);
  EXPECT_NE(Zip.LastError().find("cannot write"), std::string::npos) << Zip.LastError();
  EXPECT_EQ(FileText(Archive), before);
  EXPECT_EQ(ListFiles(Dir.Path(), "*"), std::vector<std::string>{"Cat.zip"});
}

TEST_F(ZipMasterTest, AMemberFromMemoryReplacesItsNamesakeAndKeepsTheOthers) {
  ASSERT_TRUE(Add({{"Cat.sav", "first"}, {"Other.txt", "other"}}));
  ASSERT_TRUE(Zip.AddMemberFromMemory("CAT.SAV", Bytes("second"))) << Zip.LastError();
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("Cat.sav")), "second");
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("Other.txt")), "other");
  EXPECT_EQ(ListFiles(Dir.Path(), "*.zip*"), std::vector<std::string>{"Cat.zip"});  // no temporary left
}

TEST_F(ZipMasterTest, AReadOnlyFolderKeepsTheOldArchive) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  ASSERT_TRUE(Zip.AddMemberFromMemory("Cat.sav", Bytes("precious")));
  const std::string before = FileText(Archive);
  namespace fs = std::filesystem;
  fs::permissions(Dir.Path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(Zip.AddMemberFromMemory("Cat.sav", Bytes("lost")));
  EXPECT_FALSE(Zip.LastError().empty());
  EXPECT_FALSE(Add({}));
  fs::permissions(Dir.Path(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(FileText(Archive), before);
  EXPECT_EQ(ListFiles(Dir.Path(), "*"), std::vector<std::string>{"Cat.zip"});
}

long PeakMemoryKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A size field is a claim the data must live up to; a member claiming 900 MiB but holding ten
// bytes is refused without the memory ever being taken.
TEST_F(ZipMasterTest, AClaimedSizeIsNotTakenOnTrust) {
  Dir.Write("Cat.zip", HandMadeZip({{"Cat.sav", "ten bytes!"}}, 900u << 20));
  const long before = PeakMemoryKiB();
  EXPECT_EQ(Zip.ExtractMemberToStream("Cat.sav"), nullptr);
  EXPECT_NE(Zip.LastError().find("holds less than its size"), std::string::npos) << Zip.LastError();
  EXPECT_LT(PeakMemoryKiB() - before, 200L << 10);
  // Nor is a member holding more than it claims.
  Dir.Write("Cat.zip", HandMadeZip({{"Cat.sav", "ten bytes!"}}, 9));
  EXPECT_EQ(Zip.ExtractMemberToStream("Cat.sav"), nullptr);
  EXPECT_NE(Zip.LastError().find("holds more than its size"), std::string::npos) << Zip.LastError();
  // The same member telling its true size is read.
  Dir.Write("Cat.zip", HandMadeZip({{"Cat.sav", "ten bytes!"}}, 10));
  EXPECT_EQ(StreamText(Zip.ExtractMemberToStream("Cat.sav")), "ten bytes!") << Zip.LastError();
}

}  // namespace
}  // namespace qj
