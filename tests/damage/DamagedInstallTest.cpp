// Every file of the data set in turn removed, cut to half its size and emptied, then the real
// program started over it and played: into a new game, out (which saves), back into the saved
// game and out again. The program must never crash or hang; it either plays on (with the file's
// default) or stops saying which file is at fault, and whatever it says names that file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "core/UMiscelaneous.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"
#include "tests/damage/ChildRun.h"
#include "tests/damage/FolderCopy.h"
#include "tests/damage/OpenWatch.h"
#include "tests/support/GameRun.h"
#include "tests/support/TempFolder.h"

namespace qj::test {
namespace {

namespace fs = std::filesystem;

// The program's whole run, printed line by line for the parent to judge.
void PlayThrough(const std::string& jigsaw) {
  TGameRun run;
  run.Start();
  std::printf("step start: %s\n", run.ScreenName().c_str());
  std::printf("step selector: %s\n", run.Choose(jigsaw).c_str());
  std::printf("step new game: %s\n", run.Step({VK_RETURN}).c_str());
  std::printf("step leave: %s\n", run.LeaveGame().c_str());
  std::printf("step continue: %s\n", run.Step({'3'}).c_str());
  std::printf("step leave again: %s\n", run.LeaveGame().c_str());
  const std::vector<std::pair<std::string, std::vector<uint16_t>>> steps = {
      {"maker", {'4'}}, {"back", {VK_ESCAPE, VK_ESCAPE}}, {"options", {'2'}}, {"back", {VK_ESCAPE}}};
  for (const auto& [name, keys] : steps) std::printf("step %s: %s\n", name.c_str(), run.Step(keys).c_str());
  run.Close();
  run.PrintMessages();
}

// What the player was shown (message boxes) and the trail on stderr, each line once.
struct TTold {
  std::set<std::string> Shown, Logged;
};

TTold ToldLines(const std::string& output) {
  TTold told;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("message: ", 0) == 0) told.Shown.insert(line);
    if (line.rfind("quorvane-jigsaw: ", 0) == 0) told.Logged.insert(line);
  }
  return told;
}

bool Played(const std::string& output) {
  return output.find("step new game: play\n") != std::string::npos &&
         output.find("step leave: main-menu\n") != std::string::npos &&
         output.find("step continue: play\n") != std::string::npos;
}

// File names are matched without regard to case, as the game looks them up.
bool NamesOneOf(const std::string& line, const std::vector<std::string>& files) {
  const std::string text = Lower(line);
  return std::any_of(files.begin(), files.end(), [&](const std::string& file) {
    return text.find(Lower(fs::path(file).filename().string())) != std::string::npos;
  });
}

enum class EDamage { Remove, Half, Empty };

// A forked child of a sanitized program costs several times as much: there each case gets one of
// the three damages in turn, so every file is still damaged once; the optimised build does all.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kEveryDamage = false;
#else
constexpr bool kEveryDamage = true;
#endif

// The files one case damages together: one file the program reads, or all the files of one
// folder that a clean run never opens (their removal can still change what it lists or finds).
struct TCase {
  std::vector<std::string> Files;
};

class DamagedInstall : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    FShared = new TShared;
    setenv("XDG_CONFIG_HOME", FShared->Home.File("config").c_str(), 1);
    setenv("XDG_DATA_HOME", FShared->Home.File("data").c_str(), 1);
    const std::vector<std::string> files = DataSetFiles(QJ_PROGRAM_DIR);
    FShared->FileCount = files.size();
    CopyFiles(QJ_PROGRAM_DIR, FShared->Original.Path(), files);
    SetProgramFolder(FShared->Original.Path());
    FShared->Jigsaw = MakeSmallJigsaw(FShared->Original.Path(), "Damage test");
    SetProgramFolder(QJ_PROGRAM_DIR);
    MendCopy(FShared->Original.Path(), FShared->Copy.Path());
    TOpenWatch watch(FShared->Copy.Path());
    FShared->Baseline = RunOver(FShared->Copy.Path());
    FShared->Cases = PlanCases(files, watch.Opened());
    FShared->Watched = watch.Watching();
  }
  static void TearDownTestSuite() {
    delete FShared;
    FShared = nullptr;
  }

  static std::vector<TCase> PlanCases(const std::vector<std::string>& files, const std::set<std::string>& read) {
    std::vector<TCase> cases;
    std::map<std::string, TCase> unread;
    for (const std::string& file : files) {
      if (read.count(file)) cases.push_back({{file}});
      else unread[fs::path(file).parent_path().string()].Files.push_back(file);
    }
    for (auto& [folder, group] : unread) cases.push_back(std::move(group));
    return cases;
  }

  static TChildResult RunOver(const std::string& folder) {
    const std::string jigsaw = folder + "/Jigsaws/" + ExtractFileName(FShared->Jigsaw);
    return RunInChild([&] {
      SetProgramFolder(folder);
      PlayThrough(jigsaw);
    });
  }

  static void Damage(const fs::path& file, EDamage damage) {
    if (damage == EDamage::Remove) fs::remove(file);
    else fs::resize_file(file, damage == EDamage::Half ? fs::file_size(file) / 2 : 0);
  }

  // Each case's files damaged in the copy, the program run over it, the copy mended again.
  void EveryCase(EDamage damage) {
    ASSERT_FALSE(FShared->Jigsaw.empty());
    ASSERT_TRUE(FShared->Watched) << "inotify is not available";
    ASSERT_TRUE(FShared->Baseline.Finished) << FShared->Baseline.Outcome << "\n" << FShared->Baseline.Output;
    ASSERT_TRUE(Played(FShared->Baseline.Output)) << FShared->Baseline.Output;
    ASSERT_GT(FShared->FileCount, 100u);
    ASSERT_GT(FShared->Cases.size(), 100u) << "a clean run should read most of the data set";
    const TTold usual = ToldLines(FShared->Baseline.Output);
    size_t run = 0;
    for (size_t i = 0; i < FShared->Cases.size(); ++i) {
      if (!kEveryDamage && i % 3 != size_t(damage)) continue;
      ++run;
      const TCase& c = FShared->Cases[i];
      for (const std::string& file : c.Files) Damage(fs::path(FShared->Copy.Path()) / file, damage);
      Judge(c, RunOver(FShared->Copy.Path()), usual);
      MendCopy(FShared->Original.Path(), FShared->Copy.Path());
    }
    std::printf("%zu data files in %zu cases, %zu run\n", FShared->FileCount, FShared->Cases.size(), run);
  }

  // Every new message box names the damaged file; so does the trail on stderr, when the program
  // had anything to say or stopped.
  static void Judge(const TCase& c, const TChildResult& run, const TTold& usual) {
    const std::string what = c.Files.size() == 1 ? c.Files[0] : fs::path(c.Files[0]).parent_path().string() + "/ (unread files)";
    if (!run.Finished) {
      ADD_FAILURE() << what << ": the program failed (" << run.Outcome << ")\n" << run.Output;
      return;
    }
    const TTold told = ToldLines(run.Output);
    bool said = false, named = false;
    for (const std::string& line : told.Shown) {
      if (usual.Shown.count(line)) continue;
      said = true;
      named = named || NamesOneOf(line, c.Files);
      EXPECT_TRUE(NamesOneOf(line, c.Files)) << what << ": a message that does not name the file: " << line;
    }
    for (const std::string& line : told.Logged) {
      if (usual.Logged.count(line)) continue;
      said = true;
      named = named || NamesOneOf(line, c.Files);
    }
    if (said || !Played(run.Output)) {
      EXPECT_TRUE(named) << what << ": " << (Played(run.Output) ? "" : "stopped, ") << "nothing names the file\n" << run.Output;
    }
  }

  struct TShared {
    TTempFolder Home, Original, Copy;
    size_t FileCount = 0;
    std::vector<TCase> Cases;
    std::string Jigsaw;
    TChildResult Baseline;
    bool Watched = false;
  };
  static TShared* FShared;
};

DamagedInstall::TShared* DamagedInstall::FShared = nullptr;

TEST_F(DamagedInstall, EachFileMissing) { EveryCase(EDamage::Remove); }
TEST_F(DamagedInstall, EachFileCutToHalf) { EveryCase(EDamage::Half); }
TEST_F(DamagedInstall, EachFileEmpty) { EveryCase(EDamage::Empty); }

}  // namespace
}  // namespace qj::test
