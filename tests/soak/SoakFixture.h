// A long random play through the whole program: the real main window, engine and screens on the
// windowless display with a driven clock, fed seeded random input. The player finds pieces,
// buttons and trays on the screen the way a person sees them, so carries land on neighbours, in
// trays and on pins, and games are cut, saved, left, continued and finished. Every input record
// is one event; a frame of 20 ms follows each. Checkpoints look at the piece set, the sprite,
// control and bitmap accounting and the heap.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tests/support/GameRun.h"

namespace qj {
class TBPiece;
class TBoardPlayInterface;
}  // namespace qj

namespace qj::test {

// What a run did, for the summary line and the checks.
struct TSoakFigures {
  uint64_t Seed = 0;
  int Events = 0;
  int Frames = 0;
  int NewGames = 0;       // games cut and started
  int Continues = 0;      // saved games continued
  int Saves = 0;          // games left with a save
  int Abandons = 0;       // games left without one
  int Finished = 0;       // games completed
  int Joins = 0;          // fusions seen
  int Restarts = 0;       // the program closed and started again
  int MenuVisits = 0;
  double PeakHeapMb = 0;
  double Seconds = 0;
};

class TSoakTest : public TEngineFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // `events` random events from the seed; the first fault found fails the test and names the
  // event at which it showed.
  void Soak(uint64_t seed, int events);
  static std::string Summary(const TSoakFigures& f);
  // QJ_SOAK_SEED and QJ_SOAK_EVENTS when set, else the defaults.
  static uint64_t SeedFromEnvironment(uint64_t fallback);
  static int EventsFromEnvironment(int fallback);

  TSoakFigures figures;
  // The window's sizes range up to this.
  static constexpr TPoint kLargestWindow{1200, 900};

  // ---- The player's moves (SoakPlayer.cpp) ----
  void Step();
  void StepMainMenu();
  void StepSelector();
  void StepPlay(TBoardPlayInterface& play);
  void StepExitDialog(TBoardPlayInterface& play);
  bool JoinNeighbours(TBoardPlayInterface& play);
  bool ToolsOff(TBoardPlayInterface& play);
  bool TidyUp(TBoardPlayInterface& play);
  bool CarryAnywhere(TBoardPlayInterface& play);
  bool TurnPiece(TBoardPlayInterface& play);
  bool UseTray(TBoardPlayInterface& play);
  bool ClickMenuButton(TBoardPlayInterface& play, int index, int side);
  void PullBand();
  void ScrollTable();
  void PressHotKey();
  void RandomMouse();
  void RandomKey();
  void WindowChange();
  // Carries the piece grabbed at `from` (screen) so that its grab point ends at `to`: held down
  // over several moves, or picked with a quick click and dropped with another.
  void Carry(TPoint from, TPoint to);

  // ---- Where things are (SoakPlayer.cpp) ----
  TBoardPlayInterface* Play();
  // A screen point that hits the piece's own sprite and not the menu, if any is found.
  std::optional<TPoint> SpotOn(TBoardPlayInterface& play, const TBPiece& piece);
  // A piece and the screen point at which the mouse takes it.
  struct TGrip {
    TBPiece* Piece;
    TPoint Spot;
  };
  // A random piece on the table (not in a tray, not pinned, not busy) the mouse reaches.
  std::optional<TGrip> LoosePiece(TBoardPlayInterface& play);
  std::optional<TGrip> TurnTo(TBoardPlayInterface& play, TBPiece& piece, int orientation);
  bool OnTable(TBoardPlayInterface& play, TPoint screen) const;

  // ---- Input, one event each, and the frame after it (SoakFixture.cpp) ----
  void Down(TPoint p, int button, int keys = 0);
  void Move(TPoint p, int keys = 0);
  void Up(TPoint p, int button, int keys = 0);
  void Click(TPoint p, int button, int keys = 0) {
    Down(p, button, keys);
    Up(p, button, keys);
  }
  void Tap(uint16_t key, int keys = 0);
  void Window(TInputKind kind);
  void Resize(int width, int height);
  void Wait(int frames);
  int Random(int low, int high);  // inclusive
  bool Chance(int percent) { return Random(1, 100) <= percent; }
  TPoint RandomPoint();

 private:
  void AfterEvent();
  void Tick();
  void RestartIfClosed();
  void ScreenChanged();
  void Checkpoint();
  void CheckPieceSet(TBoardPlayInterface& play);
  void CheckAtMainMenu();
  void CheckMemoryFlat();
  std::string Where() const;
  void MakeLibrary();

  std::mt19937_64 FRandom;
  const void* FScreen = nullptr;  // the active screen after the last frame
  int FStalledFrames = 0;
  int FSettlingFrames = 0;  // frames in a row in which joined pieces wait to be fused
  int FLastPieceCount = 0;
  bool FWasCompleted = false;
  std::string FLastAction;
  // Sprites, controls and bitmaps at the main menu, by theme.
  struct TAccounts {
    int Sprites = 0;
    int Controls = 0;
    int64_t Bitmaps = 0;
  };
  std::map<int, TAccounts> FMenuAccounts;
  std::vector<double> FMenuHeapMb;  // the heap at each arrival at the main menu
  int FWarmUpEvents = 0;
  double FStartSeconds = 0;
};

// The heap in use now, in bytes (the sanitizer's count in a sanitizer build).
size_t HeapInUse();

}  // namespace qj::test
