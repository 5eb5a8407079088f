// The game record: its 80 bytes on disk, the score formula, the play clock and the score file.
#include "creation/UGameRecord.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"

namespace qj {

TGameRecord GameRecord;

namespace {

static_assert(std::endian::native == std::endian::little, "records are copied as little-endian values");

constexpr double kMsPerDay = 86'400'000.0;
constexpr double kSecondsPerDay = 86'400.0;

template <class T>
void Put(uint8_t* bytes, size_t offset, T value) {
  std::memcpy(bytes + offset, &value, sizeof value);
}

template <class T>
void Get(const uint8_t* bytes, size_t offset, T& value) {
  std::memcpy(&value, bytes + offset, sizeof value);
}

// The time a game may take before its bonus is used up: one second for the second piece, two for
// the third and so on. 64-bit, as 5,000 pieces overflow 32 bits' worth of milliseconds.
double AllowedDays(int32_t initialPieces) {
  const int64_t n = int64_t(initialPieces) - 1;
  const int64_t seconds = n <= 1 ? 1 : n * (n + 1) / 2;
  return double(seconds) / kSecondsPerDay;
}

// How much the helps the player did without and the time left are worth on top of the joins.
double ScoreFactor(const TGameRecord& r) {
  double f = 1.0;
  if (r.GhostUsed == 0) f += 0.25;
  f += (8 - r.MaxPictureSize) * 2.5 / 100;
  if (r.PlaceHelpUsed == 0) f += 0.1;
  f += (12 - r.MaxStickRange) / 100.0;
  return f + r.TimeBonus;
}

}  // namespace

std::array<uint8_t, kGameRecordSize> EncodeGameRecord(const TGameRecord& r) {
  std::array<uint8_t, kGameRecordSize> bytes{};
  Put(bytes.data(), 0, r.PullHelps);
  Put(bytes.data(), 4, r.ProximityHints);
  Put(bytes.data(), 8, r.Drops);
  Put(bytes.data(), 12, r.Joins);
  Put(bytes.data(), 16, r.Percent);
  Put(bytes.data(), 20, r.InitialPieces);
  Put(bytes.data(), 24, r.PiecesHigh);
  Put(bytes.data(), 32, r.Elapsed);
  Put(bytes.data(), 40, r.TimeBonus);
  Put(bytes.data(), 48, r.GhostUsed);
  Put(bytes.data(), 52, r.MaxPictureSize);
  Put(bytes.data(), 56, r.PlaceHelpUsed);
  Put(bytes.data(), 60, r.MaxStickRange);
  Put(bytes.data(), 64, r.Score);
  Put(bytes.data(), 72, r.Finished);
  return bytes;
}

TGameRecord DecodeGameRecord(const uint8_t* bytes) {
  TGameRecord r;
  Get(bytes, 0, r.PullHelps);
  Get(bytes, 4, r.ProximityHints);
  Get(bytes, 8, r.Drops);
  Get(bytes, 12, r.Joins);
  Get(bytes, 16, r.Percent);
  Get(bytes, 20, r.InitialPieces);
  Get(bytes, 24, r.PiecesHigh);
  Get(bytes, 32, r.Elapsed);
  Get(bytes, 40, r.TimeBonus);
  Get(bytes, 48, r.GhostUsed);
  Get(bytes, 52, r.MaxPictureSize);
  Get(bytes, 56, r.PlaceHelpUsed);
  Get(bytes, 60, r.MaxStickRange);
  Get(bytes, 64, r.Score);
  Get(bytes, 72, r.Finished);
  return r;
}

bool IsUsableRecord(const TGameRecord& r) {
  return std::isfinite(r.Score) && std::isfinite(r.Elapsed) && std::isfinite(r.TimeBonus) && r.InitialPieces > 0;
}

void ComputeScore(TGameRecord& r, int piecesNow, double elapsedDays) {
  if (r.Finished == 1) return;
  r.Joins = r.InitialPieces - piecesNow;
  r.Elapsed = elapsedDays;
  r.PiecesHigh = piecesNow - 1;
  const double allowed = AllowedDays(r.InitialPieces);
  r.TimeBonus = std::max((allowed - r.Elapsed) / allowed, 0.0);
  const double points = 6.0 * r.Joins - r.Drops - 6.0 * r.PullHelps - double(r.ProximityHints);
  r.Score = points * ScoreFactor(r);
}

// Called from the game's thread only. The first call starts the count at the tick itself, so
// the clock agrees with the tick until the tick first wraps.
double PlayClockDays() {
  static uint32_t last = GetTickCount();
  static uint64_t total = last;
  const uint32_t now = GetTickCount();
  total += uint32_t(now - last);  // unsigned: a wrap since the last call still counts forward
  last = now;
  return double(total) / kMsPerDay;
}

double WholeMilliseconds(double days) { return std::round(days * kMsPerDay) / kMsPerDay; }

bool ReadScoreFile(const std::string& path, TGameRecord& best, TGameRecord& last) {
  std::vector<uint8_t> data;
  if (!ReadWholeFile(path, data) || data.size() < 2 * kGameRecordSize) return false;
  best = DecodeGameRecord(data.data());
  last = DecodeGameRecord(data.data() + kGameRecordSize);
  return true;
}

// A score that does not compare (NaN) never displaces a usable best record, and neither does a
// record that is not usable itself.
bool UpdateScoreFile(const std::string& path, const TGameRecord& current, std::string& error) {
  TGameRecord best = current, stored, ignored;
  if (ReadScoreFile(path, stored, ignored) && IsUsableRecord(stored) &&
      (!IsUsableRecord(current) || !(current.Score > stored.Score)))
    best = stored;
  std::array<uint8_t, 2 * kGameRecordSize> bytes{};
  const auto first = EncodeGameRecord(best), second = EncodeGameRecord(current);
  std::copy(first.begin(), first.end(), bytes.begin());
  std::copy(second.begin(), second.end(), bytes.begin() + kGameRecordSize);
  if (WriteFileAtomic(path, bytes.data(), bytes.size())) return true;
  error = "cannot write the score file " + path + ": " + std::strerror(errno);
  return false;
}

const TGameRecord* BestFinished(const TGameRecord& best, const TGameRecord& last) {
  const auto finished = [](const TGameRecord& r) { return r.Finished == 1 && IsUsableRecord(r); };
  if (finished(best) && (!finished(last) || !(last.Score > best.Score))) return &best;
  return finished(last) ? &last : nullptr;
}

int JoinedPercent(const TGameRecord& record) {
  if (record.Finished) return 100;
  if (record.InitialPieces <= 1) return 0;
  return std::clamp(int(std::lround(record.Joins * 100.0 / (record.InitialPieces - 1))), 0, 100);
}

std::string ProgressText(const std::string& format, const TGameRecord& record) {
  return FillIn(FillIn(format, "%1", std::to_string(JoinedPercent(record))), "%2", ClockText(record.Elapsed));
}

std::string OneDecimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  std::string s = text;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  return s == "-0" ? "0" : s;
}

std::string ClockText(double days) {
  const long long seconds = std::llround(std::max(days, 0.0) * 86400.0);
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

}  // namespace qj
