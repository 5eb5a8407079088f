// The game record: its bytes on disk, the score formula, the play clock and the score file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "platform/Clock.h"
#include "platform/Paths.h"
#include "creation/UGameRecord.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

constexpr double kMsPerDay = 86'400'000.0;

double Seconds(double s) { return s / 86'400.0; }

template <class T>
T At(const std::array<uint8_t, kGameRecordSize>& bytes, size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

TGameRecord DistinctRecord() {
  TGameRecord r;
  r.PullHelps = 1;
  r.ProximityHints = 2;
  r.Drops = 3;
  r.Joins = 4;
  r.Percent = 5;
  r.InitialPieces = 6;
  r.PiecesHigh = 7;
  r.Elapsed = 8.5;
  r.TimeBonus = 0.25;
  r.GhostUsed = 9;
  r.MaxPictureSize = 10;
  r.PlaceHelpUsed = 11;
  r.MaxStickRange = 12;
  r.Score = -13.75;
  r.Finished = 14;
  return r;
}

TEST(GameRecordTest, EncodesToItsEightyBytesAndBack) {
  const TGameRecord r = DistinctRecord();
  const auto bytes = EncodeGameRecord(r);
  EXPECT_EQ(At<int32_t>(bytes, 0), 1);
  EXPECT_EQ(At<int32_t>(bytes, 20), 6);
  EXPECT_EQ(At<int32_t>(bytes, 24), 7);
  EXPECT_EQ(At<double>(bytes, 32), 8.5);
  EXPECT_EQ(bytes[48], 9);
  EXPECT_EQ(At<int32_t>(bytes, 52), 10);
  EXPECT_EQ(bytes[56], 11);
  EXPECT_EQ(At<int32_t>(bytes, 60), 12);
  EXPECT_EQ(At<double>(bytes, 64), -13.75);
  EXPECT_EQ(bytes[72], 14);
  for (const auto& [from, to] : std::initializer_list<std::pair<int, int>>{{28, 32}, {49, 52}, {57, 60}, {73, 80}})
    for (int i = from; i < to; ++i) EXPECT_EQ(bytes[size_t(i)], 0) << "padding byte " << i;
  EXPECT_EQ(DecodeGameRecord(bytes.data()), r);
}

TEST(GameRecordTest, ScoreFollowsTheFormula) {
  TGameRecord r;
  r.InitialPieces = 10;
  r.Drops = 3;
  r.PullHelps = 1;
  r.ProximityHints = 2;
  r.GhostUsed = 1;
  r.MaxPictureSize = 4;
  r.PlaceHelpUsed = 0;
  r.MaxStickRange = 7;
  ComputeScore(r, 4, Seconds(9));
  EXPECT_EQ(r.Joins, 6);
  EXPECT_EQ(r.PiecesHigh, 3);
  EXPECT_EQ(r.Elapsed, Seconds(9));
  // 45 seconds allowed (1 + ... + 9), 9 used.
  EXPECT_NEAR(r.TimeBonus, 0.8, 1e-12);
  // (36 - 3 - 6 - 2) x (1 + 0 + 0.1 + 0.1 + 0.05 + 0.8)
  EXPECT_NEAR(r.Score, 25 * 2.05, 1e-9);
}

TEST(GameRecordTest, TwoPiecesAllowOneSecondAndTheBonusNeverGoesNegative) {
  TGameRecord r;
  r.InitialPieces = 2;
  ComputeScore(r, 2, Seconds(0.25));
  EXPECT_NEAR(r.TimeBonus, 0.75, 1e-12);
  ComputeScore(r, 1, Seconds(30));
  EXPECT_EQ(r.TimeBonus, 0.0);
  EXPECT_EQ(r.Joins, 1);
  EXPECT_NEAR(r.Score, 6 * 1.67, 1e-9);  // 1 + 0.25 + 0.2 + 0.1 + 0.12: no help used, step and range 0
  r.InitialPieces = 1;
  ComputeScore(r, 1, Seconds(0.5));
  EXPECT_NEAR(r.TimeBonus, 0.5, 1e-12);
}

TEST(GameRecordTest, FiveThousandPiecesAllowTheirWholeSum) {
  TGameRecord r;
  r.InitialPieces = 5000;
  ComputeScore(r, 5000, Seconds(4999.0 * 5000 / 2 / 4));
  EXPECT_NEAR(r.TimeBonus, 0.75, 1e-12);
}

TEST(GameRecordTest, AFinishedRecordStaysAsItIs) {
  TGameRecord r = DistinctRecord();
  r.Finished = 1;
  ComputeScore(r, 1, 2.0);
  TGameRecord expected = DistinctRecord();
  expected.Finished = 1;
  EXPECT_EQ(r, expected);
}

// A game in progress has no result yet: only a finished record counts as a best, however high or
// low the score of the other. -1 stands for "no best".
TEST(GameRecordTest, TheBestShownIsTheBestFinishedGame) {
  struct TCase {
    double BestScore;
    int BestFinished;
    double LastScore;
    int LastFinished;
    double Shown;
  };
  const TCase cases[] = {
      {-7.2, 0, -7.2, 0, -1},  // never finished: no best, and never the negative score
      {50, 0, 20, 1, 20},      // a game in progress scored more than the finished one
      {50, 1, 20, 0, 50},      // a finished best and a game in progress
      {50, 1, 60, 1, 60},      // both finished: the higher
      {50, 1, 50, 1, 50},
      {0, 0, 0, 0, -1},
  };
  for (const TCase& c : cases) {
    TGameRecord best, last;
    best.InitialPieces = last.InitialPieces = 12;
    best.Score = c.BestScore;
    best.Finished = uint8_t(c.BestFinished);
    last.Score = c.LastScore;
    last.Finished = uint8_t(c.LastFinished);
    const TGameRecord* shown = BestFinished(best, last);
    EXPECT_EQ(shown ? shown->Score : -1, c.Shown) << c.BestScore << " " << c.LastScore;
  }
}

TEST(GameRecordTest, ProgressCountsTheJoinsOutOfThoseAGameNeeds) {
  struct TCase {
    int Pieces, Joins, Finished;
    double Seconds;
    const char* Text;
  };
  const TCase cases[] = {
      {100, 0, 0, 0, "0 % \u00b7 0:00:00"},
      {100, 37, 0, 760, "37 % \u00b7 0:12:40"},
      {12, 11, 1, 3725, "100 % \u00b7 1:02:05"},
      {1, 0, 0, 5, "0 % \u00b7 0:00:05"},
  };
  for (const TCase& c : cases) {
    TGameRecord r;
    r.InitialPieces = c.Pieces;
    r.Joins = c.Joins;
    r.Finished = uint8_t(c.Finished);
    r.Elapsed = Seconds(c.Seconds);
    EXPECT_EQ(ProgressText("%1 % \u00b7 %2", r), c.Text);
  }
}

TEST(GameRecordTest, UsableRecordsHaveFiniteNumbersAndPieces) {
  TGameRecord r;
  r.InitialPieces = 1;
  EXPECT_TRUE(IsUsableRecord(r));
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (double TGameRecord::*field : {&TGameRecord::Score, &TGameRecord::Elapsed, &TGameRecord::TimeBonus}) {
    TGameRecord bad = r;
    bad.*field = nan;
    EXPECT_FALSE(IsUsableRecord(bad));
    bad.*field = -inf;
    EXPECT_FALSE(IsUsableRecord(bad));
  }
  r.InitialPieces = 0;
  EXPECT_FALSE(IsUsableRecord(r));
}

class PlayClockTest : public testing::Test {
 protected:
  void SetUp() override { SetClock(&Ticks); }
  void TearDown() override { SetClock(nullptr); }
  TManualClock Ticks{0xFFFFF000u};
};

TEST_F(PlayClockTest, CountsOnAcrossTheTickWrap) {
  const double start = PlayClockDays();
  Ticks.Advance(0x800);
  const double beforeWrap = PlayClockDays();
  Ticks.Advance(0x1000);  // the tick wraps to 0x800
  ASSERT_LT(Ticks.TickCount(), 0x1000u);
  const double afterWrap = PlayClockDays();
  EXPECT_EQ(std::round((beforeWrap - start) * kMsPerDay), 0x800);
  EXPECT_EQ(std::round((afterWrap - start) * kMsPerDay), 0x1800);
  Ticks.Advance(0xFFFFFF00u);  // nearly a whole turn between two readings still counts forward
  EXPECT_EQ(std::round((PlayClockDays() - afterWrap) * kMsPerDay), 0xFFFFFF00u);
}

// A continued game starts its clock at now - Elapsed; saving again without time passing must
// store the very same Elapsed.
TEST_F(PlayClockTest, ElapsedSurvivesSavingAndContinuing) {
  for (const double raw : {0.0, Seconds(0.0014), 0.123456789, 3.7, 41.99999}) {
    const double elapsed = WholeMilliseconds(raw);
    EXPECT_EQ(WholeMilliseconds(elapsed), elapsed);
    EXPECT_NEAR(elapsed, raw, 0.5 / kMsPerDay);
    Ticks.Advance(123457);
    const double start = PlayClockDays() - elapsed;
    EXPECT_EQ(WholeMilliseconds(PlayClockDays() - start), elapsed) << raw;
    Ticks.Advance(1500);
    EXPECT_EQ(WholeMilliseconds(PlayClockDays() - start), WholeMilliseconds(elapsed + Seconds(1.5))) << raw;
  }
  EXPECT_EQ(WholeMilliseconds(Seconds(0.0014)), 1 / kMsPerDay);
}

bool RunsAsRoot() { return geteuid() == 0; }

TGameRecord ScoredRecord(double score, int32_t marker) {
  TGameRecord r;
  r.InitialPieces = 10;
  r.Score = score;
  r.Drops = marker;  // tells records of equal score apart
  return r;
}

class ScoreFileTest : public testing::Test {
 protected:
  void Update(const TGameRecord& current) {
    std::string error;
    ASSERT_TRUE(UpdateScoreFile(Path, current, error)) << error;
    EXPECT_TRUE(error.empty());
  }
  void ExpectFile(const TGameRecord& best, const TGameRecord& last) {
    TGameRecord readBest, readLast;
    ASSERT_TRUE(ReadScoreFile(Path, readBest, readLast));
    EXPECT_EQ(readBest, best);
    EXPECT_EQ(readLast, last);
  }
  // A file whose best record is `best`, as another version or a damaged disk may have left it.
  void WriteFile(const TGameRecord& best, const TGameRecord& last) {
    const auto a = EncodeGameRecord(best), b = EncodeGameRecord(last);
    Dir.Write("Cat.scr", std::string(a.begin(), a.end()) + std::string(b.begin(), b.end()));
  }

  test::TTempFolder Dir;
  std::string Path = Dir.File("Cat.scr");
};

TEST_F(ScoreFileTest, ANewFileHoldsTheCurrentRecordTwice) {
  const TGameRecord r = ScoredRecord(12, 1);
  Update(r);
  ExpectFile(r, r);
  EXPECT_EQ(std::filesystem::file_size(Path), 2 * kGameRecordSize);
}

TEST_F(ScoreFileTest, OnlyAStrictlyHigherScoreBecomesTheBest) {
  const TGameRecord first = ScoredRecord(10, 1), equal = ScoredRecord(10, 2), higher = ScoredRecord(11, 3),
                    lower = ScoredRecord(-5, 4);
  Update(first);
  Update(equal);
  ExpectFile(first, equal);
  Update(higher);
  ExpectFile(higher, higher);
  Update(lower);
  ExpectFile(higher, lower);
}

TEST_F(ScoreFileTest, AnUnusableBestCountsAsNone) {
  const TGameRecord current = ScoredRecord(-50, 1);
  TGameRecord noPieces = ScoredRecord(100, 2);
  noPieces.InitialPieces = 0;
  for (const TGameRecord& best : {ScoredRecord(std::numeric_limits<double>::quiet_NaN(), 2), noPieces}) {
    WriteFile(best, ScoredRecord(1, 3));
    Update(current);
    ExpectFile(current, current);
  }
}

TEST_F(ScoreFileTest, AnUnusableCurrentRecordNeverDisplacesAUsableBest) {
  const TGameRecord best = ScoredRecord(10, 1);
  Update(best);
  const TGameRecord notANumber = ScoredRecord(std::numeric_limits<double>::quiet_NaN(), 2);
  Update(notANumber);
  TGameRecord readBest, readLast;
  ASSERT_TRUE(ReadScoreFile(Path, readBest, readLast));
  EXPECT_EQ(readBest, best);
  EXPECT_TRUE(std::isnan(readLast.Score));
  TGameRecord noPieces = ScoredRecord(1000, 3);
  noPieces.InitialPieces = 0;
  Update(noPieces);
  ExpectFile(best, noPieces);
}

TEST_F(ScoreFileTest, AShortFileCountsAsNone) {
  const TGameRecord marker = ScoredRecord(77, 7);
  TGameRecord best = marker, last = marker;
  EXPECT_FALSE(ReadScoreFile(Path, best, last));  // missing
  Dir.Write("Cat.scr", std::string(2 * kGameRecordSize - 1, '\x01'));
  EXPECT_FALSE(ReadScoreFile(Path, best, last));
  EXPECT_EQ(best, marker);
  EXPECT_EQ(last, marker);
  const TGameRecord current = ScoredRecord(-3, 1);
  Update(current);
  ExpectFile(current, current);
}

TEST_F(ScoreFileTest, AFailedWriteNamesTheFileAndLeavesItAlone) {
  // A folder in the file's place: no rename can replace it, not even root's.
  std::filesystem::create_directories(Dir.File("Dog.scr"));
  std::string error;
  EXPECT_FALSE(UpdateScoreFile(Dir.File("Dog.scr"), ScoredRecord(1, 1), error));
  EXPECT_NE(error.find("Dog.scr"), std::string::npos) << error;

  const TGameRecord old = ScoredRecord(5, 1);
  Update(old);
  std::vector<uint8_t> before, after;
  ASSERT_TRUE(ReadWholeFile(Path, before));
  if (RunsAsRoot()) GTEST_SKIP() << "root writes into read-only folders";
  namespace fs = std::filesystem;
  fs::permissions(Dir.Path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  error.clear();
  EXPECT_FALSE(UpdateScoreFile(Path, ScoredRecord(9, 2), error));
  fs::permissions(Dir.Path(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_NE(error.find("Cat.scr"), std::string::npos) << error;
  ASSERT_TRUE(ReadWholeFile(Path, after));
  EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace qj
