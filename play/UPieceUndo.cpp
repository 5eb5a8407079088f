// Undo and redo on the table: what a step records of its pieces and trays, and taking it back,
// the pieces sliding to where they lay and turning back as the game turns them.
#include <algorithm>
#include <utility>

#include "controls/UTrayWindow.h"
#include "play/UPieceList.h"

namespace qj {
namespace {

bool BusyOrCarried(const TBPiece* p) { return p->BusyOrJoined() || p->FDragging; }

}  // namespace

TPieceRecord TPieces::Record(TBPiece& piece) const {
  TPoint at = piece.FPosition;
  if (const TDXTrayWindow* tray = piece.FTray != 0 ? Tray(int(piece.FTray)) : nullptr) at = {at.X - tray->FLeft, at.Y - tray->FTop};
  return {&piece, at, piece.FOrientation, piece.FTray, piece.FState};
}

// Joined pieces are left out: they are final, and fusing may free them.
TUndoStep TPieces::Capture(const std::vector<TBPiece*>& pieces) const {
  TUndoStep step;
  step.Sorted = FSorted;
  for (TBPiece* p : pieces)
    if (p->FGroup == -1) step.Pieces.push_back(Record(*p));
  return step;
}

void TPieces::RecordStep(const std::vector<TBPiece*>& pieces) {
  if (!pieces.empty()) FHistory.Push(Capture(pieces));
}

// A carry put down where it began, unturned, is no step.
void TPieces::CommitCarry() {
  std::optional<TUndoStep> carry = FHistory.TakeCarry();
  if (!carry) return;
  const bool moved = std::any_of(carry->Pieces.begin(), carry->Pieces.end(), [this](const TPieceRecord& r) {
    return r.Piece->HasActions() || !(Record(*r.Piece) == r);
  });
  if (moved) FHistory.Push(std::move(*carry));
}

void TPieces::TogglePin(int index, bool lock) {
  TBPiece& p = Piece(index);
  if (lock && p.FState == PieceState::Free) return;
  RecordStep({&p});
  lock ? p.TogglePinLock() : p.TogglePin();
}

// The step taken back (or repeated) leaves the pieces' present places for the other way.
EUndoResult TPieces::TakeBack(bool redo) {
  if (std::any_of(FSelection.begin(), FSelection.end(), [](const TBPiece* p) { return p->FDragging; })) return EUndoResult::Busy;
  std::optional<TUndoStep> step = redo ? FHistory.TakeRedo() : FHistory.TakeUndo();
  if (!step) return redo ? EUndoResult::Nothing : FHistory.WhyNoUndo();
  std::vector<TBPiece*> pieces;
  for (const TPieceRecord& r : step->Pieces) pieces.push_back(r.Piece);
  if (std::any_of(pieces.begin(), pieces.end(), BusyOrCarried)) {
    redo ? FHistory.PushRedo(std::move(*step)) : FHistory.PushUndo(std::move(*step));
    return EUndoResult::Busy;
  }
  TUndoStep now = Capture(pieces);
  for (const TTrayRecord& t : step->Trays)
    if (const TDXTrayWindow* tray = Tray(t.Tray)) now.Trays.push_back({t.Tray, tray->BoundsRect(), tray->WindowShown()});
  ReleaseSelection();
  ClearHints();
  RestoreStep(*step);
  redo ? FHistory.PushUndo(std::move(now)) : FHistory.PushRedo(std::move(now));
  return EUndoResult::Done;
}

// The trays first, so that pieces going into them find their places.
void TPieces::RestoreStep(const TUndoStep& step) {
  for (const TTrayRecord& t : step.Trays) {
    TDXTrayWindow* tray = Tray(t.Tray);
    if (!tray) continue;
    tray->RestoreBounds(t.Bounds.Left, t.Bounds.Top, t.Bounds.Width(), t.Bounds.Height());
    t.Open ? tray->Open() : tray->Collapse();
  }
  if (!step.Trays.empty()) FSorted = step.Sorted;
  for (const TPieceRecord& r : step.Pieces) RestorePiece(r);
  FTrays.ContentsChanged();
}

// Turns go the short way round about the piece's centre while it slides back onto the table (into
// a tray it goes at once); where the turns put it is reckoned in, and the landing puts right what
// rounding left.
void TPieces::RestorePiece(const TPieceRecord& r) {
  TBPiece& p = *r.Piece;
  p.FinishActions();
  CancelPlace(p.FIndex);
  std::erase_if(FReturning, [&p](const TPieceRecord& q) { return q.Piece == &p; });
  if (p.FState != r.State) {
    if (p.FState == PieceState::Free) p.TogglePin();
    p.SetState(r.State);
  }
  if (r.Tray != 0) {
    ReturnToTray(p, r.Tray);
  } else if (p.FTray != 0) {
    p.FTray = 0;
    FTrays.ContentsChanged();
    p.SetVisible(true);
    BringToFront(p.FIndex);
  }
  const int quarters = ((r.Orientation - p.FOrientation) % 4 + 4) % 4;
  const bool clockwise = quarters != 3;
  TPoint shift{};
  for (int i = 0, w = p.Width(), h = p.Height(); i < (quarters == 3 ? 1 : quarters); ++i) {
    const int a = w / 2, b = h / 2;
    shift = clockwise ? TPoint{shift.X + a + b - h, shift.Y + b - a} : TPoint{shift.X + a - b, shift.Y + a + b - w};
    p.Rotate(clockwise, a, b);
    std::swap(w, h);
  }
  const TPoint goal = GoalOf(r);
  const TPoint d{goal.X - p.FPosition.X - shift.X, goal.Y - p.FPosition.Y - shift.Y};
  if (r.Tray != 0) p.MoveBy(d.X, d.Y);  // a tray would grow to hold a piece sliding in from afar
  else if (d != TPoint{}) p.SlideBy(d);
  p.Activate();
  FReturning.push_back(r);
}

// Back into a tray that is closed now, the tray opens: the piece is never hidden by undo.
void TPieces::ReturnToTray(TBPiece& p, uint32_t tray) {
  TDXTrayWindow* window = Tray(int(tray));
  if (!window) return;
  if (!window->WindowShown()) window->Open();
  if (p.FTray == tray) return;
  (void)FTrays.Receive(p, int(tray));
  BringToFront(p.FIndex);
}

// In a tray, the place from the tray's corner; on the table, the piece's middle on the table, as
// far as a carry may take it (the turn the piece will have decides its size).
TPoint TPieces::GoalOf(const TPieceRecord& r) const {
  const TBPiece& p = *r.Piece;
  if (const TDXTrayWindow* tray = r.Tray != 0 ? Tray(int(r.Tray)) : nullptr)
    return {tray->FLeft + r.Position.X, tray->FTop + r.Position.Y};
  const bool across = (r.Orientation - p.FOrientation) % 2 != 0;
  const int w = across ? p.Height() : p.Width(), h = across ? p.Width() : p.Height();
  return {std::clamp(r.Position.X, -w / 2, kTableWidth - w / 2), std::clamp(r.Position.Y, -h / 2, kTableHeight - h / 2)};
}

// A piece that has come to rest after its way back lies exactly where it lay; one picked up or
// moved elsewhere meanwhile is left alone.
void TPieces::LandReturns() {
  std::erase_if(FReturning, [this](const TPieceRecord& r) {
    TBPiece& p = *r.Piece;
    if (p.FDragging || p.FTray != r.Tray || p.FGroup != -1) return true;
    if (p.HasActions()) return false;
    const TPoint goal = GoalOf(r);
    if (p.FPosition != goal) p.SetPosition(goal);
    if (p.FTray != 0) FTrays.KeepInside(p.FIndex);
    return true;
  });
}

}  // namespace qj
