// A headless player: cuts a picture (or continues its saved game), plays like a careful player
// who turns each piece right and drops it beside a true neighbour, then leaves and saves.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/UGraphicsEngine.h"
#include "platform/Geometry.h"
#include "platform/headless/HeadlessDisplay.h"
#include "tools/cut/CutOptions.h"

namespace qj {
class TAutosave;
class TBoardPlayInterface;
class TBPiece;
class TPieces;
class TPuzzleCutter;
}

namespace qj::autoplay {

// The play screen on a windowless display, with the theme's trays and pins.
class TTable {
 public:
  static constexpr int kScreenWidth = 800, kScreenHeight = 600;

  // A player through the screen sees the whole table: the screen is the table's size.
  explicit TTable(int width = kScreenWidth, int height = kScreenHeight);
  ~TTable();
  TTable(const TTable&) = delete;
  TTable& operator=(const TTable&) = delete;

  TBoardPlayInterface& Screen() { return *FScreen; }
  TGraphicsEngine& Graphics() { return FGraphics; }
  int Width() const { return FDisplay.Width(); }
  int Height() const { return FDisplay.Height(); }
  TPieces& Pieces();
  void Frame();
  bool SaveFailed() const { return FSaveFailed; }
  // The game saves itself after every `ms` of play, as the program's autosave does.
  void AutosaveEvery(uint32_t ms);
  TAutosave* Autosave() { return FAutosave.get(); }
  // Time spent in frames in which pieces were fused.
  double FusionMs() const { return FFusionMs; }

 private:
  THeadlessDisplay FDisplay;
  TGraphicsEngine FGraphics;
  std::unique_ptr<TBoardPlayInterface> FScreen;
  std::unique_ptr<TAutosave> FAutosave;
  bool FSaveFailed = false;
  double FFusionMs = 0;
};

// The careful player: every piece goes to its place in the picture laid out in the middle of the
// table, upright, so each drop lands beside the growing piece.
class TCarefulPlayer {
 public:
  // The size of the picture as cut (the boxes of the pieces are places in it). Through the
  // screen, every move is a mouse gesture on the play screen.
  TCarefulPlayer(TTable& table, int pictureWidth, int pictureHeight, bool throughScreen = false);
  // Joins `joins` pieces (-1: until one is left). False when a drop beside a true neighbour did
  // not join: the player gives up rather than loop.
  bool Play(int joins);
  // Takes the piece at its middle, turns it upright with right clicks and drops it near its place.
  bool Carry(int index);
  // Frames until every snap and fusion has ended.
  void Settle();
  // Leaves the table as a player does: the exit dialog's hot key, then its OK button (or, once
  // the puzzle is finished, the completion panel's way back to the pictures).
  bool LeaveThroughDialog();

 private:
  TPoint Home(const TBPiece& p) const;
  bool AtHome(const TBPiece& p) const;
  int FreeNeighbour(const TBPiece& anchor) const;
  bool CarryThroughScreen(int index);
  // A screen point where a press takes the piece (an opaque pixel of it, on top); false if none.
  bool ShowingPoint(const TBPiece& p, TPoint& at);
  TPoint ScreenPoint(TPoint table) const;
  void Press(TPoint at, int button);
  void Release(TPoint at, int button);
  bool Uncover(const TBPiece& p);
  bool PinAnchor();

  TTable& FTable;
  TPieces& FSet;
  TPoint FOrigin;
  bool FThroughScreen;
  int FHeld = 0;  // mouse buttons held, as Shift bits
};

struct TAutoPlayOptions {
  cuttool::TCutOptions Cut;
  int Joins = -1;         // pieces to join before leaving; -1 = until one piece is left
  bool Continue = false;  // continue the saved game instead of starting a new one
  bool Screen = false;    // act only through mouse and key events on the play screen
  bool LayoutReport = false;  // report how much the new game's pieces overlap
  int Layout = -1;            // -1 as the settings say, 0 heap in view, 1 spread over the table
  // Measure each phase's memory peak on its own; the process's own peak is then lost to outside
  // observers (GNU time reports only the last phase's).
  bool PhasePeaks = false;
  uint32_t AutosaveMs = 0;  // autosave after this much play; 0 none
};

struct TAutoPlayResult {
  int Pieces = 0;  // pieces at the start of the game
  int Left = 0;
  int Joins = 0;
  int Drops = 0;
  double Score = 0;
  bool Finished = false;
  double CutMs = 0, PlayMs = 0, SaveMs = 0, LoadMs = 0;
  double FuseMs = 0;  // the part of PlayMs spent in frames that fused pieces
  bool Spread = false;       // the new game was spread over the table
  double Overlap = -1;       // share of piece area covered by other pieces after the layout; -1 not measured
  double LayoutMs = 0;       // time the new game's set-up took, its layout included
  // Resident-memory peaks in megabytes: of the whole run, and with PhasePeaks of each phase (the
  // phase not run stays 0: cut for a new game, continue for a continued one).
  double PeakMb = 0;
  double PeakCutMb = 0, PeakPlayMb = 0, PeakSaveMb = 0, PeakContinueMb = 0;
};

// The cut tool's options plus --joins K, --continue, --screen, --layout-report, --layout spread|heap,
// --phase-peaks and --autosave-seconds S. Throws cuttool::TUsageError.
TAutoPlayOptions ParseAutoPlayOptions(const std::vector<std::string>& args);
// The table set up as the game does it: a fresh cut and a new game, or the saved game beside the
// picture continued. Returns 0, or the exit code after printing why; the cut or load time goes
// to `result`.
int StartGame(const TAutoPlayOptions& options, TPuzzleCutter& cutter, TTable& table, TAutoPlayResult& result);
// Plays; returns the exit code (0, or 1 after printing why).
int RunAutoPlay(const TAutoPlayOptions& options, TAutoPlayResult& result);
// "pieces=N left=L joins=J drops=D score=S finished=0|1 cut_ms=T play_ms=T save_ms=T load_ms=T
// fuse_ms=T peak_mb=M", and with phase peaks " peak_cut_mb=M peak_play_mb=M peak_save_mb=M
// peak_continue_mb=M"
std::string ResultLine(const TAutoPlayResult& result);
// "layout=spread|heap pieces=N layout_ms=T overlap=F"
std::string LayoutLine(const TAutoPlayResult& result);

}  // namespace qj::autoplay
