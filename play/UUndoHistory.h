// The steps on the table that undo and redo take back and repeat: where each piece of a step lay
// (table or tray, place, turn, pin) and, for a sort, how the trays stood. A join is final and
// ends the history before it; the history lives while the game runs.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace qj {

class TBPiece;

// Where one piece lay: on the table (Tray 0, Position its top-left) or in a tray (Position from
// the tray's top-left, so that the piece finds its place after the tray moved).
struct TPieceRecord {
  TBPiece* Piece = nullptr;
  TPoint Position;
  int32_t Orientation = 0;
  uint32_t Tray = 0;
  uint8_t State = 0;
  bool operator==(const TPieceRecord&) const = default;
};

struct TTrayRecord {
  int Tray = 0;
  TRect Bounds;
  bool Open = false;
};

// One step: its pieces as they were, and the trays only when the step moved them (a sort).
struct TUndoStep {
  std::vector<TPieceRecord> Pieces;
  std::vector<TTrayRecord> Trays;
  bool Sorted = false;  // the trays were captioned by their colours
};

// Why undo or redo did nothing, or that it did its step.
enum class EUndoResult { Done, Nothing, NothingBeforeJoin, NothingBeyondLimit, Busy };

// The note that tells the player what undo or redo did ("caption|text"); `left` is how many
// steps remain that way.
std::string UndoNoteText(EUndoResult result, bool redo, size_t left);

class TUndoHistory {
 public:
  static constexpr size_t kLimit = 200;

  // A new step: redo has nothing to repeat any more; the oldest step goes beyond the limit.
  void Push(TUndoStep step);
  // A carry records its pieces when it begins and becomes a step when it ends, if it moved them.
  void BeginCarry(TUndoStep step) { FCarry = std::move(step); }
  std::optional<TUndoStep> TakeCarry();
  // Everything forgotten; after a join, undo says why it has nothing.
  void Clear(bool byJoin);

  std::optional<TUndoStep> TakeUndo();
  std::optional<TUndoStep> TakeRedo();
  // The step as it stands after undo (for redo), or after redo (for undo).
  void PushRedo(TUndoStep step) { FRedo.push_back(std::move(step)); }
  void PushUndo(TUndoStep step) { FUndo.push_back(std::move(step)); }
  // What undo says when it has nothing.
  EUndoResult WhyNoUndo() const;

  size_t UndoCount() const { return FUndo.size(); }
  size_t RedoCount() const { return FRedo.size(); }

 private:
  std::deque<TUndoStep> FUndo;
  std::vector<TUndoStep> FRedo;
  std::optional<TUndoStep> FCarry;
  bool FCutByJoin = false;
  bool FCutByLimit = false;
};

}  // namespace qj
