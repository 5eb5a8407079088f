// Writers that replace a file flush the new one to the disk before it takes the old one's name,
// so a power loss between the two leaves the old file or the whole new one, never a name on
// unwritten data. The flushes are watched through the sync function's place.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/ZipMaster.h"
#include "tests/support/TempFolder.h"

namespace qj::test {
namespace {

// Each flush: the file flushed, and the file that bore the watched name at that moment.
struct TFlush {
  ino_t File = 0;
  ino_t Named = 0;
};

std::string gWatched;
std::vector<TFlush> gFlushes;

int WatchedSync(int fd) {
  struct stat file {}, named {};
  fstat(fd, &file);
  gFlushes.push_back({file.st_ino, stat(gWatched.c_str(), &named) == 0 ? named.st_ino : 0});
  return fsync(fd);
}

struct TWriter {
  const char* Name;
  std::function<bool(const std::string& path, const std::string& text)> Write;
};

const TWriter kWriters[] = {
    {"WriteFileAtomic",
     [](const std::string& path, const std::string& text) { return WriteFileAtomic(path, text.data(), text.size()); }},
    {"ZipMaster",
     [](const std::string& path, const std::string& text) {
       TZipMaster zip;
       zip.ZipFileName = path;
       return zip.AddMemberFromMemory("member.txt", std::vector<uint8_t>(text.begin(), text.end()));
     }},
};

void PrintTo(const TWriter& writer, std::ostream* out) { *out << writer.Name; }

class FileSyncTest : public ::testing::TestWithParam<TWriter> {};

TEST_P(FileSyncTest, TheNewFileIsFlushedBeforeItReplacesTheOld) {
  TTempFolder folder;
  gWatched = folder.File("saved");
  ASSERT_TRUE(GetParam().Write(gWatched, "the old file"));
  gFlushes.clear();
  const TFileSync usual = SetFileSync(WatchedSync);
  const bool written = GetParam().Write(gWatched, "the new file");
  SetFileSync(usual);
  ASSERT_TRUE(written);
  struct stat now {};
  ASSERT_EQ(stat(gWatched.c_str(), &now), 0);
  const auto flushed = std::find_if(gFlushes.begin(), gFlushes.end(), [&](const TFlush& f) { return f.File == now.st_ino; });
  ASSERT_TRUE(flushed != gFlushes.end()) << "the new file was never flushed";
  EXPECT_NE(flushed->Named, now.st_ino) << "the new file was flushed only after it had taken the name";
}

INSTANTIATE_TEST_SUITE_P(Writers, FileSyncTest, ::testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace qj::test
