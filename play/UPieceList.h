// The piece set: every piece on the play table, with the five trays, the board animations and
// the helps it owns. It decides what can be picked up, when a dropped piece joins its true
// neighbours, how joined pieces are fused into one new piece, and how pieces stack.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "play/UBoardAnimations.h"
#include "play/UPiece.h"
#include "play/UPieceHelps.h"
#include "play/UPieceTrays.h"
#include "play/USavedGame.h"
#include "play/UTraySorting.h"
#include "play/UUndoHistory.h"

namespace qj {

class TDXTrayWindow;
class TGraphicsEngine;
class TInterface;
class TPuzzleCutter;

class TPieces {
 public:
  TPieces(TGraphicsEngine& engine, TInterface& screen);
  ~TPieces();
  TPieces(const TPieces&) = delete;
  TPieces& operator=(const TPieces&) = delete;

  // Depth bands: tables pieces from tableBase, trays (and the pieces in them) above the table
  // up to trayTop.
  void SetDepthBands(double trayTop, double tableBase);
  // 3 when the puzzle allows rotation, else 0.
  static int OrientationHigh();
  // The pin and star images of the current theme, and the five trays (owned by the screen until
  // it is left); tray 1's icon is shown. Icons are drawn at iconDepth.
  void CreateTrays(double iconDepth);
  // Frees every piece, sprite, event, the pin and star images and the set's hold on the trays.
  void Clear();
  // The same, but the trays stay.
  void RemovePieces();

  // ---- Building ----
  // Pieces from a fresh cut, taking over its images: no sprites yet.
  void TakeCutPieces(TPuzzleCutter& cutter);
  // Gives piece `index` its sprite at the top of the table.
  void CreatePieceSprite(int index);
  // A fresh game: every piece at a random place within width x height, in a random orientation
  // when the puzzle allows rotation, with its sprite; the stacking is shuffled.
  void ScatterNew(int width, int height);
  // A fresh game spread over the whole table: random orientations and stacking as ScatterNew,
  // then every piece apart from the others, clear of the given areas (table coordinates).
  void SpreadNew(const std::vector<TRect>& keepClear);
  // The loose pieces (on the table, not pinned, joined, busy or carried) spread over the table
  // around the others, sliding there or put there at once. Returns how many were moved.
  int SpreadOut(const std::vector<TRect>& keepClear, bool slide);
  // The share of the table pieces' opaque pixels that other pieces cover.
  double TableOverlap() const;

  // ---- Per frame ----
  // Every active piece, the tray icons and the trays' contents. Returns the set's pieces count.
  void Update();
  // The board events (snaps, place-and-pin, stars); they step on every second frame.
  void StepEvents() { FAnimations.Step(); }
  // Fuses every group once all snaps and pulls have ended; returns how many groups were fused.
  int FuseDueGroups();
  // Ends at once every turn and board animation of the set (snaps land, pulls and places
  // finish), so that a saved game holds the pieces where they are going.
  void FinishAnimations();

  // ---- Carrying ----
  void GroupMembers(int index, std::vector<TBPiece*>& out) const;
  // Selects the piece (and its group) for carrying; false when a member is pinned or busy.
  bool PickUp(int index);
  // Carrying begins: the selection follows the mouse, out of its trays.
  void StartCarrying(double dragDepth);
  void SelectPieces(const std::vector<TBPiece*>& pieces);
  void ReleaseSelection();
  // The carried pieces go down where they are, on the table.
  void PutDownSelection();
  // Drops the carried pieces at the mouse (table coordinates): into a tray under it, or on the
  // table, where a single piece joins its neighbours. Returns the tray number taken, else 0.
  int DropSelection(int mouseX, int mouseY, bool countDrop);
  void TryJoinSelection();
  void JoinPieces(TBPiece& a, TBPiece& b);
  void RotateSelection(int x, int y, bool reverse);
  void RotateAt(int index, int x, int y, bool reverse);
  bool PullNeighbours(int index) { return FHelps.PullNeighbours(index); }
  void ShowProximityHints() { FHelps.ShowProximityHints(FSelection); }
  void ClearHints() { FHelps.ClearHints(); }
  // Place-and-pin: the piece moves to `goal` and is pinned there.
  void AddPlaceAndPin(int index, TPoint goal) { FAnimations.AddPlaceAndPin(index, goal); }
  // Pieces around (x, y) slide away; areas in `avoid` are not landed on when possible.
  void Scatter(int x, int y, int speedRange, int reach, const std::vector<TRect>& avoid) {
    RecordStep(FHelps.Scatter(x, y, speedRange, reach, avoid));
  }
  void PushAside(int x, int y, int reach) { RecordStep(FHelps.PushAside(x, y, reach)); }
  // The pin tool, or a click on a pin: pinned, unpinned or the pin lifted.
  void TogglePin(int index, bool lock);

  // ---- Stacking and trays ----
  void BringToFront(int index);
  void SendToBack(int index);
  void MoveIntoTray(int index, int tray);
  // The shown tray containing the point (table coordinates) drawn highest, or 0.
  int TrayAt(int x, int y) const { return FTrays.TrayAt(x, y); }
  TDXTrayWindow* Tray(int number) const { return FTrays.Window(number); }
  void MergeGroup(int group, int lastDropped);

  // ---- Sorting into trays ----
  // The loose single pieces (on the table or in a tray; not joined, pinned, busy or carried) go
  // into trays: those on the picture's border into tray 1, the others by colour into trays 2 to 5.
  // The trays open in `room` (table coordinates). Returns what was done, as one step.
  TSortPlan SortIntoTrays(const TRect& room);
  TSortPlan PlanSort(const TRect& room) const;
  void ApplySort(const TSortPlan& plan);
  // Whether the piece reaches the edge of the picture (its box touches the box of all pieces).
  bool OnPictureBorder(const TBPiece& piece) const;
  // The trays' captions from what they hold: a tray of edge pieces alone reads "Edges"; after a
  // sort the others read their colour; every other tray its number.
  void CaptionTrays(bool sorted);

  // ---- Undo and redo ----
  // The last step on the table is taken back, the pieces sliding to where they lay; then redo
  // repeats it. Neither counts as a drop. Nothing happens while pieces are carried or busy.
  EUndoResult Undo() { return TakeBack(false); }
  EUndoResult Redo() { return TakeBack(true); }
  const TUndoHistory& History() const { return FHistory; }

  // ---- Saved games ----
  void SaveTo(TSavedGame& game) const;
  // Pieces, trays and their sprites from a checked saved game; the cut gives the limits.
  void LoadFrom(TSavedGame& game);

  // After each fusion (score, statistics and progress follow it).
  std::function<void()> OnFused;

  // ---- State ----
  int Count() const { return int(FPieces.size()); }
  TBPiece& Piece(int index) { return *FPieces.at(size_t(index)); }
  const TBPiece& Piece(int index) const { return *FPieces.at(size_t(index)); }
  bool Dragging() const { return FDragging; }
  const std::vector<TBPiece*>& Selection() const { return FSelection; }
  TBoardState& Board() { return FBoard; }
  const TBoardState& Board() const { return FBoard; }
  int MagnetTarget() const { return FHelps.MagnetTarget(); }
  int LastDropped() const { return FLastDropped; }
  double TopDepthLimit() const { return FTopDepthLimit; }
  double BaseDepth() const { return FBaseDepth; }
  // Snaps, pulls or groups still waiting to be fused.
  bool Settling() const { return FBoard.PendingAnimations > 0 || FBoard.MergeDue; }
  // Pieces move or fuse without new input.
  bool Busy() const { return Settling() || !FBoard.Active.empty(); }

 private:
  struct TFusion;
  TPieceBand BandOf(uint32_t tray) const;
  bool Loose(const TBPiece& p) const;
  bool Sortable(const TBPiece& p) const;
  TRect PictureBounds() const;
  // Loaded trays look sorted when tray 1 holds edge pieces alone and no other tray holds one.
  bool TraysLookSorted() const;
  std::vector<TBPiece*> RestingBeside(const TBPiece& piece) const;
  void KeepInBand(const TBPiece& moved);
  void RenumberDepths(uint32_t tray);
  void CancelPlace(int index) { FAnimations.CancelPlace(index); }
  void RaiseTopDepth(double depth);
  void PieceStateChanged(int index);
  void LeaveGroupIfTurned(int group);
  void UnionBoxes(TFusion& f, int high);
  void FuseBitmaps(TFusion& f);
  void RenumberAfterFusion(TFusion& f);

  TUndoStep Capture(const std::vector<TBPiece*>& pieces) const;
  TPieceRecord Record(TBPiece& piece) const;
  void RecordStep(const std::vector<TBPiece*>& pieces);
  void CommitCarry();
  EUndoResult TakeBack(bool redo);
  void RestoreStep(const TUndoStep& step);
  void RestorePiece(const TPieceRecord& r);
  void ReturnToTray(TBPiece& p, uint32_t tray);
  TPoint GoalOf(const TPieceRecord& r) const;
  void LandReturns();
  int DropCarried(int mouseX, int mouseY, bool countDrop);

  TGraphicsEngine& FEngine;
  TPieceStore FPieces;
  double FBaseDepth = 10.0;
  double FTopDepthLimit = 990.0;
  double FTopDepth = 10.0;
  bool FDragging = false;
  std::vector<TBPiece*> FSelection;
  TBoardState FBoard;
  int FLastDropped = -1;
  TPieceTrays FTrays;
  bool FSorted = false;  // the trays hold a sort: they are captioned by their colours
  TBoardAnimations FAnimations;
  TPieceHelps FHelps;
  TUndoHistory FHistory;
  std::vector<TPieceRecord> FReturning;  // pieces sliding back, and where they come to rest
};

}  // namespace qj
