// The statistics window over the table: the figures of the game in play, the best finished score
// of its puzzle and a chart of the pieces joined in each minute, in the theme's colours.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "creation/UGameRecord.h"
#include "platform/Geometry.h"

namespace qj {

class TDXButton;
class TDXWindow;
class TInterface;
class TMyDib;

// The minute of playing time a time in days falls in.
int MinuteOf(double days);

// The pieces joined in each minute of playing time, as far as this session has seen the game: the
// saved game keeps no times of joins, so a continued game's chart starts at the minute it went on.
class TJoinTimeline {
 public:
  // The game as it stands when play begins or goes on: joins so far have no minute.
  void Start(const TGameRecord& record);
  // The joins made since the record before count in the minute of this record's time.
  void Note(const TGameRecord& record);
  int FirstMinute() const { return FFirstMinute; }
  // One count a minute from FirstMinute up to the minute of `elapsedDays`, at least one.
  std::vector<int> Counts(double elapsedDays) const;

 private:
  int FFirstMinute = 0;
  int FJoins = 0;
  std::vector<int> FCounts;
};

// The figures the window lists, label and value: time, percent joined, joins, drops, helps and
// the best finished score (`best`; none yet when empty).
std::vector<std::pair<std::string, std::string>> StatisticsRows(const TGameRecord& now, std::optional<double> best);

class TStatisticsWindow {
 public:
  // The window and its button are the owner's controls, in its overlay band.
  explicit TStatisticsWindow(TInterface& owner) : FOwner(owner) {}
  TStatisticsWindow(const TStatisticsWindow&) = delete;
  TStatisticsWindow& operator=(const TStatisticsWindow&) = delete;

  // A game starts with the window closed.
  void Enter() { FShown = false; }
  // Makes the window, open again when it was open before the owner rebuilt its controls.
  void Make();
  // Forgets the controls the owner has freed.
  void Reset();
  // Centred over the table, above the menu bar.
  void Layout(int screenWidth, int screenHeight);
  // `best` is read once, as the window opens; the figures follow the game while it is open.
  void Open(const TGameRecord& now, std::optional<double> best, const TJoinTimeline& timeline);
  void Close();
  // Paints the figures again when the shown second or the joins have changed.
  void Follow(const TGameRecord& now, const TJoinTimeline& timeline);
  bool Shown() const { return FShown; }
  // The window's bounds while it is open, else empty.
  TRect Rect() const;
  const std::vector<std::pair<std::string, std::string>>& Rows() const { return FRows; }
  // The counts the chart shows, a bar each.
  const std::vector<int>& ChartCounts() const { return FCounts; }
  TDXWindow* Window() const { return FWindow; }
  TDXButton* CloseButton() const { return FClose; }

 private:
  void Paint();
  int PaintRows(TMyDib& image);
  void PaintChart(TMyDib& image, const TRect& area);
  void Show(bool shown);

  TInterface& FOwner;
  TDXWindow* FWindow = nullptr;
  TDXButton* FClose = nullptr;
  TGameRecord FNow;
  std::optional<double> FBest;
  int FFirstMinute = 0;
  std::vector<int> FCounts;
  std::vector<std::pair<std::string, std::string>> FRows;
  bool FShown = false;
};

}  // namespace qj
