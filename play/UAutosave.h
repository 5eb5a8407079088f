// The game saved by itself while it is played: after every few minutes of play, when the window
// has been away for a while, and once when the picture is whole. The table is taken on the main
// thread in a moment and written by a worker, so play never waits for the disk.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

namespace qj {

class TBoardPlayInterface;
struct TSaveJob;

class TAutosave {
 public:
  // Away from the window this long, the game is saved.
  static constexpr uint32_t kAwayMs = 5000;

  explicit TAutosave(TBoardPlayInterface& board);
  ~TAutosave();
  TAutosave(const TAutosave&) = delete;
  TAutosave& operator=(const TAutosave&) = delete;

  // The look at the clock, every frame and while the window is away: takes the outcome of a
  // finished autosave and starts the next one when it is due.
  void Step(uint32_t now);
  // Milliseconds of play until the interval asks for the next one; UINT32_MAX when nothing will.
  uint32_t DueIn() const;
  void FocusChanged(bool active, uint32_t now);
  // Starts one now unless one runs or no game is on the table; true when it started.
  bool Start();
  // A running autosave finishes and its outcome is taken.
  void Wait();
  bool Running() const { return FWorker.joinable(); }
  // Before the player's own save: the autosave ends first, and Continue no longer speaks of it.
  void BeforeSave();
  // Play between autosaves instead of the setting's minutes (0: none); for scripted runs.
  void SetIntervalMs(uint32_t ms) { FIntervalOverride = ms; }
  // At the start: a game that was autosaved and never left (the program was killed) becomes
  // the one Continue offers, with the time it was saved.
  static void AdoptMark();
  static std::string MarkPath();

 private:
  uint32_t IntervalMs() const;
  uint64_t PlayedMs() const;
  bool Due(uint32_t now) const;
  void NewGame();
  void TellFailure();

  TBoardPlayInterface& FBoard;
  std::thread FWorker;
  std::atomic<bool> FFinished{false};
  bool FOk = false;  // the worker's outcome, read once it has been joined
  std::string FError;
  std::unique_ptr<TSaveJob> FJob;
  std::string FGamePath;  // the game the figures below belong to
  uint64_t FSavedAtPlay = 0;
  bool FSavedWhole = false;
  bool FReported = false;  // a failure is told once a game
  bool FUntold = false;    // ... and waits until the table is shown
  uint32_t FAwaySince = 0;
  bool FAway = false, FSavedAway = false;
  uint32_t FIntervalOverride = UINT32_MAX;
};

}  // namespace qj
