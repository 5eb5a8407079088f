// Every fuzz target, built into this ordinary test program, runs over its seeds (files the game
// writes) and over every input kept under tests/fuzz/<target>/: inputs that once crashed, leaked
// or hung a reader, kept so the mend stays in place. Under the sanitizer build this is where a
// regression shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/UMiscelaneous.h"
#include "fuzz/Seeds.h"
#include "platform/Paths.h"
#include "tests/support/TempFolder.h"

#define QJ_FUZZ_TARGET(name) extern "C" int QjFuzzOne_##name(const uint8_t* data, size_t size);
#include "FuzzTargets.inc"
#undef QJ_FUZZ_TARGET

namespace qj::test {
namespace {

namespace fs = std::filesystem;

struct TFuzzTarget {
  const char* Name;
  int (*Run)(const uint8_t* data, size_t size);
};

const TFuzzTarget kTargets[] = {
#define QJ_FUZZ_TARGET(name) {#name, QjFuzzOne_##name},
#include "FuzzTargets.inc"
#undef QJ_FUZZ_TARGET
};

const fs::path kKeptInputs = fs::path(QJ_SOURCE_DIR) / "tests" / "fuzz";

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  if (fs::is_directory(folder))
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.is_regular_file()) files.push_back(entry.path());
  return files;
}

class FuzzReplayTest : public ::testing::TestWithParam<TFuzzTarget> {
 protected:
  static void SetUpTestSuite() {
    Seeds = std::make_unique<TTempFolder>();
    ASSERT_GT(fuzz::WriteSeeds(Seeds->Path(), std::string(QJ_SOURCE_DIR) + "/data"), 0u);
  }
  static void TearDownTestSuite() { Seeds.reset(); }
  // Targets point the program folder and the options at their own files; the next test gets
  // the game's again.
  void TearDown() override {
    SetProgramFolder(QJ_PROGRAM_DIR);
    Options = TOptions{};
  }

  // A target's answer says nothing (a fuzz target returns 0 for every input): only a crash, a
  // hang or a sanitizer's report fails a replay.
  void Replay(const std::vector<fs::path>& files) {
    for (const fs::path& file : files) {
      SCOPED_TRACE(file.string());
      std::vector<uint8_t> bytes;
      ASSERT_TRUE(ReadWholeFile(file.string(), bytes));
      GetParam().Run(bytes.data(), bytes.size());
    }
  }

  static std::unique_ptr<TTempFolder> Seeds;
};

std::unique_ptr<TTempFolder> FuzzReplayTest::Seeds;

TEST_P(FuzzReplayTest, SeedsAndKeptInputsRunClean) {
  const std::vector<fs::path> seeds = FilesIn(fs::path(Seeds->Path()) / GetParam().Name);
  EXPECT_FALSE(seeds.empty()) << "no seed for " << GetParam().Name;
  Replay(seeds);
  Replay(FilesIn(kKeptInputs / GetParam().Name));
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplayTest, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.Name); });

// A kept input in a folder no target reads would never be replayed.
TEST(FuzzKeptInputsTest, EveryFolderNamesATarget) {
  std::set<std::string> names;
  for (const TFuzzTarget& target : kTargets) names.insert(target.Name);
  for (const auto& entry : fs::directory_iterator(kKeptInputs))
    if (entry.is_directory()) {
      EXPECT_TRUE(names.count(entry.path().filename().string())) << entry.path();
    }
}

}  // namespace
}  // namespace qj::test
