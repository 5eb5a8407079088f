// A game killed (SIGKILL) at random moments of its saves, a hundred times: each time the game
// continues from the save before or the one being written, whole, and the archive, the score file
// and the settings file are each the one before or the new one, never a part of one; and the
// same for kills while the autosave writes beside the play.
// QJ_KILL_SEED=S repeats a run's kill times.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "creation/UGameRecord.h"
#include "play/USavedGame.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ZipMaster.h"
#include "tests/reliability/SaverProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestPicture.h"

namespace qj {
namespace {

using TClock = test::TSaverProcess::TClock;
using namespace std::chrono_literals;

constexpr int kKills = 100;
constexpr int kAutosaveKills = 50;
constexpr auto kLineTimeout = 60s;  // a start or a save; generous for the sanitizer build

double MsBetween(TClock::time_point from, TClock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// A running mean.
struct TMean {
  double Ms = 0;
  int Count = 0;
  void Add(double ms) {
    Ms = (Ms * Count + ms) / (Count + 1);
    ++Count;
  }
};

// What the saving game said: the saves it began (with the table they hold), the last one it
// finished, and how long a save and a round (a drop and a save) take.
struct TSaves {
  std::map<int, std::string> Digests;  // round -> digest of the table it saves
  int Finished = -1;
  int Writing = -1;  // begun and not finished
  TClock::time_point LastStart;  // of the run's last save; none at the start of a run
  int SavesInRun = 0;
  TMean FirstSave, Save, Round;  // a run's first save is slower: nothing is cached yet

  void StartRun() {
    LastStart = {};
    SavesInRun = 0;
  }

  void Take(const test::TSaverLine& line) {
    const auto now = TClock::now();
    if (line.What == "saving") {
      if (LastStart != TClock::time_point{}) Round.Add(MsBetween(LastStart, now));
      Digests[line.Round] = line.Digest;
      Writing = line.Round;
      LastStart = now;
    } else if (line.What == "saved") {
      if (Writing == line.Round) (SavesInRun++ == 0 ? FirstSave : Save).Add(MsBetween(LastStart, now));
      Finished = line.Round;
      Writing = -1;
    }
  }
  bool MayHold(int round) const { return round == Finished || (Writing >= 0 && round == Writing); }
};

class KillDuringSave : public testing::Test {
 protected:
  KillDuringSave() {
    EXPECT_TRUE(test::WriteTestPicture(FPicture, 160, 120));
    std::filesystem::create_directories(FDir.File("config"));
    std::filesystem::copy_file(std::string(QJ_PROGRAM_DIR) + "/Text/Jigsaw.stg", FSettings);
  }

  std::vector<std::string> Args(bool continued, int saves) const {
    std::vector<std::string> args{FPicture, "--settings", FDir.File("config"), "--saves", std::to_string(saves)};
    if (continued) args.push_back("--continue");
    else args.insert(args.end(), {"--piece-size", "20", "20", "--options", "11111", "--seed", "7"});
    args.insert(args.end(), FExtraArgs.begin(), FExtraArgs.end());
    return args;
  }

  void StartKills(int saves, std::mt19937& random);

  // Runs the saving game to its end, taking in what it says.
  void RunToEnd(bool continued, int saves) {
    test::TSaverProcess saver(Args(continued, saves));
    ASSERT_TRUE(saver.Started());
    test::TSaverLine line;
    while (saver.NextLine(line, TClock::now() + kLineTimeout)) {
      if (line.What == "loaded") ExpectLoaded(line);
      FSaves.Take(line);
    }
    ASSERT_EQ(saver.Wait(), 0);
  }

  // The continued game is the last finished save, or the one that was being written.
  void ExpectLoaded(const test::TSaverLine& line) {
    ASSERT_TRUE(FSaves.MayHold(line.Round)) << "continued save " << line.Round << ", last finished "
                                            << FSaves.Finished << ", being written " << FSaves.Writing;
    EXPECT_EQ(line.Digest, FSaves.Digests[line.Round]) << "save " << line.Round << " came back different";
    if (FKilled) {
      ++FLoads;
      ++(line.Round == FSaves.Finished ? FPrevious : FNew);
    }
    FKilled = false;
    FSaves.Finished = line.Round;
    FSaves.Writing = -1;
    FSaves.StartRun();
  }

  // One run of the saving game, killed a random time after its first save began.
  void KillOnce(std::mt19937& random) {
    const auto strayBefore = StrayFiles();
    test::TSaverProcess saver(Args(true, -1));
    ASSERT_TRUE(saver.Started());
    test::TSaverLine line;
    ASSERT_TRUE(saver.NextLine(line, TClock::now() + kLineTimeout)) << "the game did not continue";
    ASSERT_EQ(line.What, "loaded");
    ExpectLoaded(line);
    ASSERT_TRUE(saver.NextLine(line, TClock::now() + kLineTimeout));
    FSaves.Take(line);
    const auto killAt = KillTime(saver, random, strayBefore);
    while (saver.NextLine(line, killAt)) FSaves.Take(line);
    saver.Kill();
    FKilled = true;
    while (saver.NextLine(line, TClock::now() + 1s)) FSaves.Take(line);
    ExpectFilesWhole(strayBefore);
  }

  // A third of the kills land anywhere in the next two rounds and a third early in the save (the
  // score file). Most of a save is spent compressing, so the last third waits for the archive's
  // temporary file to appear and lands in what follows: the archive and the settings written,
  // flushed and renamed.
  TClock::time_point KillTime(test::TSaverProcess& saver, std::mt19937& random,
                              const std::map<std::string, int>& strayBefore) {
    const double save = FSaves.FirstSave.Ms;
    // The autosave's rounds are its interval apart: kills land anywhere in the next three.
    if (FAutosaveMs > 0)
      return TClock::now() + std::chrono::microseconds(int64_t(1000 * std::uniform_real_distribution<double>(
                                                           0, 3 * (FAutosaveMs + save))(random)));
    const double windows[3][2] = {{0, 2 * FSaves.Round.Ms}, {0, 0.1 * save}, {0, 0.4 * save}};
    const int aim = std::uniform_int_distribution<int>(0, 2)(random);
    const double ms = std::uniform_real_distribution<double>(windows[aim][0], windows[aim][1])(random);
    const auto start = aim == 2 ? ArchiveBegun(saver, strayBefore) : TClock::now();
    return start + std::chrono::microseconds(int64_t(1000 * ms));
  }

  // When the saving game created the archive's temporary file (or gave up waiting on it).
  TClock::time_point ArchiveBegun(test::TSaverProcess& saver, const std::map<std::string, int>& strayBefore) {
    const int before = strayBefore.count("p.zip") ? strayBefore.at("p.zip") : 0;
    const auto deadline = TClock::now() + kLineTimeout;
    test::TSaverLine line;
    while (TClock::now() < deadline && FSaves.Writing >= 0 && StrayFiles()["p.zip"] <= before)
      if (saver.NextLine(line, TClock::now() + 200us)) FSaves.Take(line);
    return TClock::now();
  }

  // The record heading the saved game in the archive; Drops names the save (-1: none).
  TGameRecord ArchiveRecord() {
    TGameRecord none;
    none.Drops = -1;
    TZipMaster zip;
    zip.ZipFileName = FDir.File("p.zip");
    const TMemoryStream* stream = zip.ExtractMemberToStream("p.sav");
    if (!stream) {
      ADD_FAILURE() << zip.LastError();
      return none;
    }
    TSavedGame game;
    std::string error;
    const bool read = DecodeSavedGame(stream->Data.data(), stream->Data.size(), {3, 1000, 1000}, game, error);
    EXPECT_TRUE(read) << error;
    return read ? game.Record : none;
  }

  // Every file is one the game wrote whole; the score file is written before the archive, so
  // it is never behind it. A stray temporary file is only counted: nothing reads it.
  void ExpectFilesWhole(const std::map<std::string, int>& strayBefore) {
    const TGameRecord saved = ArchiveRecord();
    const int archive = saved.Drops;
    TGameRecord best, last;
    ASSERT_TRUE(ReadScoreFile(FDir.File("p.hsc"), best, last));
    EXPECT_TRUE(IsUsableRecord(best));
    EXPECT_TRUE(FSaves.MayHold(archive)) << "archive holds save " << archive;
    // Autosaves of a continued game count other drops than those of the run killed before it, so
    // its score file may hold a save that was never finished: only the archive is continued.
    if (FAutosaveMs == 0) {
      EXPECT_TRUE(FSaves.MayHold(last.Drops)) << "score file holds save " << last.Drops;
      EXPECT_TRUE(last == saved || last.Drops == archive + 1) << last.Drops << " vs " << archive;
    }
    std::vector<uint8_t> settings;
    ASSERT_TRUE(ReadWholeFile(FSettings, settings));
    EXPECT_EQ(settings, FSettingsBytes) << "the settings file changed";
    EXPECT_EQ(TIniFile(FSettings).ReadString("Autoload", "LastJigsaw", ""), FPicture);
    ++FPhases[KilledIn(archive, last.Drops, strayBefore)];
  }

  // Where the save was when the kill came, told by what it left: a temporary file names the file
  // being written, else the rounds in the score file and the archive tell how far it had come.
  std::string KilledIn(int archive, int score, const std::map<std::string, int>& strayBefore) const {
    auto stray = StrayFiles();
    for (const auto& [file, phase] : {std::pair{"p.hsc", "score"}, {"p.zip", "archive"}, {"Jigsaw.stg", "settings"}})
      if (stray[file] > (strayBefore.count(file) ? strayBefore.at(file) : 0)) return phase;
    if (FSaves.Writing < 0) return "between_saves";
    if (score < FSaves.Writing) return "before_score";
    return archive < FSaves.Writing ? "compressing" : "after_archive";
  }

  // Temporary files left beside each written file, by the kills that interrupted its write.
  std::map<std::string, int> StrayFiles() const {
    std::map<std::string, int> stray;
    for (const std::string& folder : {FDir.Path(), FDir.File("config")})
      for (const std::string& name : ListFiles(folder, "*.tmp-*")) ++stray[name.substr(0, name.find(".tmp-"))];
    return stray;
  }

  // As if the kills were long ago.
  void AgeStrayFiles(std::chrono::hours age) const {
    for (const std::string& folder : {FDir.Path(), FDir.File("config")})
      for (const std::string& name : ListFiles(folder, "*.tmp-*")) {
        const std::filesystem::path file = folder + "/" + name;
        std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - age);
      }
  }

  std::vector<std::string> FExtraArgs;  // given to every run of the saving game
  double FAutosaveMs = 0;              // the runs autosave this often instead of saving
  test::TTempFolder FDir;
  std::string FPicture = FDir.File("p.jpg");
  std::string FSettings = FDir.File("config/Jigsaw.stg");
  std::vector<uint8_t> FSettingsBytes;
  TSaves FSaves;
  std::map<std::string, int> FPhases;  // kills by the part of the save they landed in
  bool FKilled = false;
  int FLoads = 0, FPrevious = 0, FNew = 0;  // continues after a kill: of the save before, of the new one
};

uint32_t KillSeed() {
  const char* given = std::getenv("QJ_KILL_SEED");
  return given ? uint32_t(std::strtoul(given, nullptr, 10)) : std::random_device{}();
}

// A new game saved `saves` + 1 times before the kills, whose times `random` then draws.
void KillDuringSave::StartKills(int saves, std::mt19937& random) {
  const uint32_t seed = KillSeed();
  std::printf("QJ_KILL_SEED=%" PRIu32 "\n", seed);
  random.seed(seed);
  RunToEnd(false, saves);
  ASSERT_EQ(FSaves.Finished, saves);
  ASSERT_TRUE(ReadWholeFile(FSettings, FSettingsBytes));
}

TEST_F(KillDuringSave, EveryKillLeavesTheLastSaveOrTheNewOneWhole) {
  std::mt19937 random;
  ASSERT_NO_FATAL_FAILURE(StartKills(4, random));
  for (int k = 0; k < kKills && !HasFatalFailure(); ++k) KillOnce(random);
  std::string phases, stray;
  for (const auto& [phase, kills] : FPhases) phases += " " + phase + "=" + std::to_string(kills);
  for (const auto& [file, count] : StrayFiles()) stray += " " + file + "=" + std::to_string(count);
  AgeStrayFiles(2h);
  RunToEnd(true, 1);  // continues after the last kill and saves once more beside what it left
  EXPECT_EQ(FLoads, kKills);
  EXPECT_EQ(ArchiveRecord().Drops, FSaves.Finished);
  EXPECT_TRUE(StrayFiles().empty()) << "the next save clears what the killed ones left";
  std::printf("kills=%d loads=%d previous=%d new=%d first_save_ms=%.1f save_ms=%.1f round_ms=%.1f\n", kKills, FLoads,
              FPrevious, FNew, FSaves.FirstSave.Ms, FSaves.Save.Ms, FSaves.Round.Ms);
  std::printf("kills in:%s\ntemporary files left:%s\n", phases.c_str(), stray.c_str());
}

// Killed at random moments while the autosave writes beside the play: each time the game
// continues from the last autosave or the one being written, whole, so at most one interval of
// play is lost.
TEST_F(KillDuringSave, EveryKillDuringAutosavesLosesAtMostOneInterval) {
  std::mt19937 random;
  ASSERT_NO_FATAL_FAILURE(StartKills(0, random));
  FAutosaveMs = 200;
  FExtraArgs = {"--autosave-seconds", "0.2"};
  for (int k = 0; k < kAutosaveKills && !HasFatalFailure(); ++k) KillOnce(random);
  FExtraArgs.clear();
  RunToEnd(true, 0);  // continues after the last kill
  EXPECT_EQ(FLoads, kAutosaveKills);
  std::printf("autosave kills=%d loads=%d previous=%d new=%d save_ms=%.1f round_ms=%.1f\n", kAutosaveKills, FLoads,
              FPrevious, FNew, FSaves.Save.Ms, FSaves.Round.Ms);
}

}  // namespace
}  // namespace qj
