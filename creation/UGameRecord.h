// The game record: the counters, time and score of the game being played. It heads every saved
// game and makes up the score file (best record, then last record).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qj {

struct TGameRecord {
  int32_t PullHelps = 0;       // neighbours pulled by the magnet
  int32_t ProximityHints = 0;  // neighbours newly marked by the proximity help
  int32_t Drops = 0;           // single pieces dropped on the table
  int32_t Joins = 0;           // pieces absorbed by fusing
  int32_t Percent = 0;         // progress last announced, 0..100
  int32_t InitialPieces = 0;
  int32_t PiecesHigh = 0;      // pieces on the board - 1
  double Elapsed = 0;          // playing time in days
  double TimeBonus = 0;        // 0..1
  uint8_t GhostUsed = 0;
  int32_t MaxPictureSize = 0;  // largest size step of the small picture used, 1..8
  uint8_t PlaceHelpUsed = 0;
  int32_t MaxStickRange = 0;   // largest StickRange in force at a fusion
  double Score = 0;
  uint8_t Finished = 0;        // once 1, nothing changes any more

  bool operator==(const TGameRecord&) const = default;
};

constexpr size_t kGameRecordSize = 80;

// The record of the game being played.
extern TGameRecord GameRecord;

// The 80 bytes on disk, little-endian, padding zero.
std::array<uint8_t, kGameRecordSize> EncodeGameRecord(const TGameRecord& record);
TGameRecord DecodeGameRecord(const uint8_t* bytes);

// A record a score file may hold as the best one: a finite score of a game that had pieces.
bool IsUsableRecord(const TGameRecord& record);

// Joins, Elapsed, PiecesHigh, TimeBonus and Score from the pieces now on the board and the
// playing time; nothing changes once the game is finished.
void ComputeScore(TGameRecord& record, int piecesNow, double elapsedDays);

// The play clock in days, counted from the millisecond tick across its wrap-around; playing
// times are differences of it, rounded to whole milliseconds so that they survive a save.
double PlayClockDays();
double WholeMilliseconds(double days);

// Best (first) and last (second) record of a score file, as stored. False, leaving both
// untouched, when the file is missing, unreadable or shorter than two records; a best record
// that is not IsUsableRecord counts as none.
[[nodiscard]] bool ReadScoreFile(const std::string& path, TGameRecord& best, TGameRecord& last);
// The current record becomes the last one, and the best one when the file holds no usable best
// record or the current score is strictly higher. Written atomically; false (with the cause)
// when it could not be written, the old file then being untouched.
[[nodiscard]] bool UpdateScoreFile(const std::string& path, const TGameRecord& current, std::string& error);

// The best finished game of a score file's two records: a game in progress has no result yet,
// whatever its score says. Null when neither is finished.
const TGameRecord* BestFinished(const TGameRecord& best, const TGameRecord& last);
// How much of the picture is joined, 0..100: the joins made out of those the game needs.
int JoinedPercent(const TGameRecord& record);
// "37 % · 0:12:40" in the format of `format`, whose "%1" is the percentage and "%2" the time.
std::string ProgressText(const std::string& format, const TGameRecord& record);

// A score or a percentage with one decimal, the decimal left out when it is 0 ("12.5", "12").
std::string OneDecimal(double value);
// A playing time in days as hours, minutes and seconds ("1:05:09").
std::string ClockText(double days);

}  // namespace qj
