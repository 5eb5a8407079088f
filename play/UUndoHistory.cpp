// The undo and redo stacks of the table.
#include "play/UUndoHistory.h"

#include <utility>

#include "core/UMiscelaneous.h"

namespace qj {

void TUndoHistory::Push(TUndoStep step) {
  if (step.Pieces.empty() && step.Trays.empty()) return;
  FRedo.clear();
  FUndo.push_back(std::move(step));
  if (FUndo.size() <= kLimit) return;
  FUndo.pop_front();
  FCutByLimit = true;
  FCutByJoin = false;
}

std::optional<TUndoStep> TUndoHistory::TakeCarry() { return std::exchange(FCarry, std::nullopt); }

void TUndoHistory::Clear(bool byJoin) {
  FUndo.clear();
  FRedo.clear();
  FCarry.reset();
  FCutByJoin = byJoin;
  FCutByLimit = false;
}

std::optional<TUndoStep> TUndoHistory::TakeUndo() {
  if (FUndo.empty()) return std::nullopt;
  TUndoStep step = std::move(FUndo.back());
  FUndo.pop_back();
  return step;
}

std::optional<TUndoStep> TUndoHistory::TakeRedo() {
  if (FRedo.empty()) return std::nullopt;
  TUndoStep step = std::move(FRedo.back());
  FRedo.pop_back();
  return step;
}

EUndoResult TUndoHistory::WhyNoUndo() const {
  if (FCutByJoin) return EUndoResult::NothingBeforeJoin;
  return FCutByLimit ? EUndoResult::NothingBeyondLimit : EUndoResult::Nothing;
}

std::string UndoNoteText(EUndoResult result, bool redo, size_t left) {
  switch (result) {
    case EUndoResult::Done: {
      std::string text = Lang(redo ? Text::RedoneNote : Text::UndoneNote);
      if (const size_t at = text.find("%1"); at != std::string::npos) text.replace(at, 2, std::to_string(left));
      return text;
    }
    case EUndoResult::NothingBeforeJoin: return Lang(redo ? Text::NothingToRedo : Text::NothingBeforeJoin);
    case EUndoResult::NothingBeyondLimit: return Lang(redo ? Text::NothingToRedo : Text::NothingBeyondLimit);
    case EUndoResult::Busy: return Lang(Text::UndoWaits);
    case EUndoResult::Nothing: break;
  }
  return Lang(redo ? Text::NothingToRedo : Text::NothingToUndo);
}

}  // namespace qj
