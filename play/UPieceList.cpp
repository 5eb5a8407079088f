// The piece set. Sections: set-up and building; per frame; carrying and joining; stacking and
// trays; saved games. Fusing lives in UPieceFusion.cpp.
#include "play/UPieceList.h"

#include <algorithm>
#include <cmath>

#include "controls/UTrayWindow.h"
#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "creation/UGameRecord.h"
#include "creation/URandom.h"

namespace qj {
namespace {

// A piece that comes from outside the band (carried, or from another container) leaves no gap
// to close: the pieces at the edge it goes to move aside one step each, as far as they touch.
void MakeRoom(std::vector<TBPiece*>& others, double edge, bool atTop) {
  std::sort(others.begin(), others.end(), [atTop](const TBPiece* a, const TBPiece* b) {
    return atTop ? a->Depth() > b->Depth() : a->Depth() < b->Depth();
  });
  for (TBPiece* p : others) {
    if (atTop ? p->Depth() < edge : p->Depth() > edge) break;
    edge += atTop ? -1 : 1;
    p->SetDepth(edge);
  }
}

}  // namespace

// ---- Set-up and building ----------------------------------------------------------------------

TPieces::TPieces(TGraphicsEngine& engine, TInterface& screen)
    : FEngine(engine), FTrays(screen, FPieces), FAnimations(engine, FBoard, FPieces),
      FHelps(FPieces, [this](TBPiece& a, TBPiece& b) { JoinPieces(a, b); }) {
  FBoard.OnStateChange = [this](int index) { PieceStateChanged(index); };
  FBoard.OnMoved = [this](int index) { FTrays.KeepInside(index); };
  FTrays.OnBackOnTable = [this](int index) { BringToFront(index); };
}

TPieces::~TPieces() { Clear(); }

void TPieces::SetDepthBands(double trayTop, double tableBase) {
  FBaseDepth = FTopDepth = tableBase;
  FTopDepthLimit = FTrays.SetDepths(trayTop);
}

int TPieces::OrientationHigh() { return PlayOptions.AllowRotation ? 3 : 0; }

void TPieces::CreateTrays(double iconDepth) {
  FAnimations.LoadImages();
  FTrays.Create(iconDepth);
}

// The theme's pin and star images go too: a screen that is left holds nothing of its game, and
// entering loads them again in the theme of the day.
void TPieces::Clear() {
  RemovePieces();
  FTrays.Forget();
  FAnimations.FreeImages();
}

void TPieces::RemovePieces() {
  FSelection.clear();
  FDragging = false;
  FAnimations.Clear();
  FPieces.clear();
  FTrays.ContentsChanged();
  FSorted = false;
  FBoard.Active.clear();
  FHelps.Reset();
  FLastDropped = -1;
  FTopDepth = FBaseDepth;
  FHistory.Clear(false);
  FReturning.clear();
}

void TPieces::TakeCutPieces(TPuzzleCutter& cutter) {
  const int high = OrientationHigh();
  TPieceList& cut = cutter.Pieces();
  FPieces.reserve(cut.size());
  for (size_t i = 0; i < cut.size(); ++i) {
    auto piece = std::make_unique<TBPiece>(FEngine, FBoard);
    for (int o = 0; o <= high; ++o) {
      piece->FBoxTopLeft[size_t(o)] = cut[i].Home[size_t(o)];
      piece->FBoxBottomRight[size_t(o)] = cut[i].Far[size_t(o)];
      piece->FImages[size_t(o)] = std::make_unique<TMyDib>(std::move(cut[i].Images[size_t(o)]));
      piece->FImages[size_t(o)]->SetBitCount(32);
    }
    piece->FNeighbours.assign(cut[i].Neighbours.begin(), cut[i].Neighbours.end());
    piece->FIndex = int(i);
    FPieces.push_back(std::move(piece));
  }
}

void TPieces::CreatePieceSprite(int index) {
  TBPiece& p = Piece(index);
  const double depth = FTopDepth + 1;
  p.CreateSprite(depth, OrientationHigh());
  RaiseTopDepth(depth);
}

void TPieces::ScatterNew(int width, int height) {
  const bool turns = OrientationHigh() > 0;
  for (int i = 0; i < Count(); ++i) {
    TBPiece& p = Piece(i);
    p.FPosition = {Random(width), Random(height)};
    p.FOrientation = turns ? Random(4) : 0;
    p.FIndex = i;
    p.FGroup = -1;
    CreatePieceSprite(i);
  }
  const int n = Count();
  for (int k = 0; n >= 2 && k < 2 * n - 1; ++k) {
    TBPiece& a = Piece(Random(n - 1));
    TBPiece& b = Piece(Random(n - 1));
    const double d = a.Depth();
    a.SetDepth(b.Depth());
    b.SetDepth(d);
  }
}

// ---- Per frame --------------------------------------------------------------------------------

void TPieces::Update() {
  FBoard.FrameParity ^= 1;
  std::vector<TBPiece*> work;
  work.swap(FBoard.Active);
  for (TBPiece* p : work)
    if (p->Update()) FBoard.Active.push_back(p);
  LandReturns();
  FTrays.Update();
  if (FTrays.TakeCaptionsDue()) CaptionTrays(FSorted);
}

// ---- Carrying and joining ---------------------------------------------------------------------

void TPieces::GroupMembers(int index, std::vector<TBPiece*>& out) const {
  out.clear();
  if (index < 0 || index >= Count()) return;
  const int group = FPieces[size_t(index)]->FGroup;
  if (group == -1) {
    out.push_back(FPieces[size_t(index)].get());
    return;
  }
  for (const auto& p : FPieces)
    if (p->FGroup == group) out.push_back(p.get());
}

// Joined pieces wait for their fusion, and a pinned or pulled piece stays where it is.
bool TPieces::PickUp(int index) {
  std::vector<TBPiece*> members;
  GroupMembers(index, members);
  if (members.empty()) return false;
  for (const TBPiece* p : members)
    if (p->FState == PieceState::Pinned || p->BusyOrJoined()) return false;
  for (const TBPiece* p : members) CancelPlace(p->FIndex);
  FSelection = std::move(members);
  FDragging = true;
  return true;
}

void TPieces::StartCarrying(double dragDepth) {
  FHistory.BeginCarry(Capture(FSelection));
  for (TBPiece* p : FSelection) {
    p->StartDrag();
    p->FTray = 0;
    FTrays.ContentsChanged();
    p->SetVisible(true);
    p->SetDepth(std::fmod(std::round(p->Depth()), kTraySlot) + dragDepth);
  }
}

// A band selection takes only what could be picked up one by one.
void TPieces::SelectPieces(const std::vector<TBPiece*>& pieces) {
  FSelection.clear();
  for (TBPiece* p : pieces)
    if (p->FState != PieceState::Pinned && !p->BusyOrJoined()) {
      CancelPlace(p->FIndex);
      FSelection.push_back(p);
    }
  FDragging = !FSelection.empty();
}

// Carried pieces go down where they are, on the table, in the order they were drawn.
void TPieces::PutDownSelection() {
  if (FSelection.empty()) return;
  std::vector<TBPiece*> carried = FSelection;
  ReleaseSelection();
  std::sort(carried.begin(), carried.end(), [](const TBPiece* a, const TBPiece* b) { return a->Depth() < b->Depth(); });
  for (TBPiece* p : carried) {
    p->EndDrag();
    p->FTray = 0;
    BringToFront(p->FIndex);
  }
  FTrays.ContentsChanged();
  CommitCarry();
}

void TPieces::ReleaseSelection() {
  FDragging = false;
  FSelection.clear();
}

int TPieces::DropSelection(int mouseX, int mouseY, bool countDrop) {
  const int tray = DropCarried(mouseX, mouseY, countDrop);
  CommitCarry();
  return tray;
}

int TPieces::DropCarried(int mouseX, int mouseY, bool countDrop) {
  if (FSelection.empty()) return 0;
  FDragging = false;
  FLastDropped = FSelection.front()->FIndex;
  for (TBPiece* p : FSelection) {
    p->EndDrag();
    p->FTray = 0;
  }
  FTrays.ContentsChanged();
  ClearHints();
  const int tray = TrayAt(mouseX, mouseY);
  if (tray != 0 && TPieceTrays::Fits(*FSelection.front())) {
    std::vector<TBPiece*> carried = FSelection;
    std::sort(carried.begin(), carried.end(), [](const TBPiece* a, const TBPiece* b) { return a->Depth() < b->Depth(); });
    for (TBPiece* p : carried) TPieceTrays::Fits(*p) ? MoveIntoTray(p->FIndex, tray) : BringToFront(p->FIndex);
    ReleaseSelection();
    return tray;
  }
  if (FSelection.size() > 1) {
    std::vector<TBPiece*> carried = FSelection;
    std::sort(carried.begin(), carried.end(), [](const TBPiece* a, const TBPiece* b) { return a->Depth() < b->Depth(); });
    // Put down, the pieces are loose again: no tint, no selection.
    ReleaseSelection();
    for (TBPiece* p : carried) {
      BringToFront(p->FIndex);
      p->FHinted = false;
      p->Activate();
      p->SetVisible(true);
    }
    return 0;
  }
  if (countDrop && GameRecord.Finished == 0) ++GameRecord.Drops;
  TryJoinSelection();
  if (!FSelection.empty()) BringToFront(FSelection.front()->FIndex);
  ReleaseSelection();
  return 0;
}

// A piece dropped while still turning ends its turn first: it joins in the orientation the
// player asked for, not the one it is leaving.
void TPieces::TryJoinSelection() {
  for (TBPiece* p : FSelection) {
    if (p->Rotating()) p->FinishTurns();
    if (p->FTray != 0) continue;
    std::vector<int32_t> seen;
    for (const int32_t q : p->FNeighbours) {
      if (q == p->FIndex || q < 0 || q >= Count()) continue;
      TBPiece& other = Piece(q);
      if (other.FOrientation != p->FOrientation || other.FTray != 0) continue;
      const TPoint tp = p->BoxTopLeft(), tq = other.BoxTopLeft();
      const int dx = (tp.X - tq.X) - (p->FPosition.X - other.FPosition.X);
      const int dy = (tp.Y - tq.Y) - (p->FPosition.Y - other.FPosition.Y);
      if (std::abs(dx) < Options.StickRange && std::abs(dy) < Options.StickRange) JoinPieces(*p, other);
    }
  }
}

// A join is final: what came before it cannot be undone.
void TPieces::JoinPieces(TBPiece& a, TBPiece& b) {
  if (a.FGroup != -1 && a.FGroup == b.FGroup) return;
  FHistory.Clear(true);
  FReturning.clear();
  const auto lastOf = [this](int group) {
    TBPiece* last = nullptr;
    for (const auto& p : FPieces)
      if (p->FGroup == group) last = p.get();
    return last;
  };
  if (a.FGroup == -1 && b.FGroup == -1) {
    int group = -1;
    for (const auto& p : FPieces) group = std::max(group, p->FGroup);
    a.FGroup = b.FGroup = group + 1;
    FAnimations.AddSnap(a, b);
  } else if (a.FGroup == -1) {
    FAnimations.AddSnap(a, *lastOf(b.FGroup));
    a.FGroup = b.FGroup;
  } else {
    TBPiece& target = b.FGroup == -1 ? b : *lastOf(b.FGroup);
    const int moving = a.FGroup, joined = b.FGroup;
    for (const auto& p : FPieces)
      if (p->FGroup == moving) FAnimations.AddSnap(*p, target);
    if (joined == -1) b.FGroup = moving;
    else
      for (const auto& p : FPieces)
        if (p->FGroup == joined) p->FGroup = moving;
  }
}

void TPieces::RotateSelection(int x, int y, bool reverse) {
  if (OrientationHigh() == 0) return;
  const bool clockwise = Options.RotateClockwise != reverse;
  for (TBPiece* p : FSelection) p->Rotate(clockwise, x - p->FPosition.X, y - p->FPosition.Y);
}

void TPieces::RotateAt(int index, int x, int y, bool reverse) {
  if (FDragging) {
    RotateSelection(x, y, reverse);
    return;
  }
  if (!PickUp(index)) return;
  if (OrientationHigh() != 0) RecordStep(FSelection);
  RotateSelection(x, y, reverse);
  ReleaseSelection();
}

// ---- Stacking and trays ---------------------------------------------------------------------------------

void TPieces::RaiseTopDepth(double depth) {
  FTopDepth = std::max(depth, FTopDepth);
  if (FTopDepth >= FTopDepthLimit) RenumberDepths(0);
}

// A container's pieces in drawing order from the bottom of its band up; on the table pinned
// pieces come first, so a pinned piece always lies under every loose one.
void TPieces::RenumberDepths(uint32_t tray) {
  std::vector<TBPiece*> table;
  for (const auto& p : FPieces)
    if (p->FTray == tray && !p->FDragging) table.push_back(p.get());
  std::stable_sort(table.begin(), table.end(), [](const TBPiece* a, const TBPiece* b) {
    const bool pa = a->FState == PieceState::Pinned, pb = b->FState == PieceState::Pinned;
    return pa != pb ? pa : a->Depth() < b->Depth();
  });
  double depth = BandOf(tray).Low;
  for (TBPiece* p : table) p->SetDepth(depth++);
  if (tray == 0) FTopDepth = depth;
}

// The depths the pieces of a container use: the table's band, or a tray's band above its window.
TPieceBand TPieces::BandOf(uint32_t tray) const {
  if (tray == 0) return {FBaseDepth, FTopDepthLimit};
  return FTrays.Band(tray);
}

std::vector<TBPiece*> TPieces::RestingBeside(const TBPiece& piece) const {
  std::vector<TBPiece*> others;
  for (const auto& p : FPieces)
    if (p.get() != &piece && p->FTray == piece.FTray && !p->FDragging) others.push_back(p.get());
  return others;
}

// A pinned piece on the table belongs at the back, under every loose piece.
void TPieces::BringToFront(int index) {
  TBPiece& piece = Piece(index);
  if (piece.FTray == 0 && piece.FState == PieceState::Pinned) return SendToBack(index);
  const TPieceBand band = BandOf(piece.FTray);
  std::vector<TBPiece*> others = RestingBeside(piece);
  const double from = piece.Depth();
  if (from >= band.Low && from <= band.High) {
    for (TBPiece* p : others)
      if (p->Depth() >= from) p->SetDepth(p->Depth() - 1);
  } else {
    MakeRoom(others, band.High, true);
  }
  piece.SetDepth(band.High);
  KeepInBand(piece);
}

void TPieces::SendToBack(int index) {
  TBPiece& piece = Piece(index);
  const TPieceBand band = BandOf(piece.FTray);
  std::vector<TBPiece*> others = RestingBeside(piece);
  const double from = piece.Depth();
  if (from >= band.Low && from <= band.High) {
    for (TBPiece* p : others)
      if (p->Depth() < from) p->SetDepth(p->Depth() + 1);
  } else {
    MakeRoom(others, band.Low, false);
  }
  piece.SetDepth(band.Low);
  KeepInBand(piece);
}

// Many moves can push a container's pieces past the edge of its band, and loose table pieces
// must never sink under pinned ones: then the container is numbered afresh in drawing order.
void TPieces::KeepInBand(const TBPiece& moved) {
  const TPieceBand band = BandOf(moved.FTray);
  double lowest = 1e300, highest = -1e300, lowestLoose = 1e300, highestPinned = -1e300;
  for (const auto& p : FPieces) {
    if (p->FTray != moved.FTray || p->FDragging) continue;
    lowest = std::min(lowest, p->Depth());
    highest = std::max(highest, p->Depth());
    if (p->FState == PieceState::Pinned) highestPinned = std::max(highestPinned, p->Depth());
    else lowestLoose = std::min(lowestLoose, p->Depth());
  }
  const bool pinsOnTop = moved.FTray == 0 && lowestLoose <= highestPinned;
  if (lowest < band.Low || highest > band.High || pinsOnTop) RenumberDepths(moved.FTray);
}

void TPieces::MoveIntoTray(int index, int tray) {
  if (!FTrays.Receive(Piece(index), tray)) return;
  CancelPlace(index);
  BringToFront(index);
  FTrays.KeepInside(index);
}

void TPieces::PieceStateChanged(int index) {
  if (index >= 0 && index < Count() && Piece(index).FState == PieceState::Pinned) SendToBack(index);
}

// ---- Saved games ------------------------------------------------------------------------------

void TPieces::SaveTo(TSavedGame& game) const {
  FTrays.SaveTo(game);
  const int high = OrientationHigh();
  game.Pieces.resize(FPieces.size());
  for (size_t i = 0; i < FPieces.size(); ++i) {
    const TBPiece& p = *FPieces[i];
    TSavedPiece& s = game.Pieces[i];
    s.State = p.FState;
    s.Tray = p.FTray;
    s.Slots = {p.FPosition, p.FDisplayOffset, p.FReserved[0], p.FReserved[1]};
    s.BoxTopLeft = p.FBoxTopLeft;
    s.BoxBottomRight = p.FBoxBottomRight;
    s.TrayOrigin = p.FTrayOrigin;
    s.Orientation = p.FOrientation;
    s.MergeDepth = p.FMergeDepth;
    s.Index = p.FIndex;
    for (int o = 0; o <= high; ++o) s.BitmapRefs[size_t(o)] = p.SharedBitmap(o);
    s.Neighbours = p.FNeighbours;
    s.Depth = p.Depth();
  }
}

void TPieces::LoadFrom(TSavedGame& game) {
  FTrays.LoadFrom(game);
  const int high = OrientationHigh();
  FHistory.Clear(false);
  FReturning.clear();
  FPieces.clear();
  FPieces.reserve(game.Pieces.size());
  for (TSavedPiece& s : game.Pieces) {
    auto p = std::make_unique<TBPiece>(FEngine, FBoard);
    p->FTray = s.Tray;
    FTrays.ContentsChanged();
    p->FPosition = s.Slots[0];
    p->FBoxTopLeft = s.BoxTopLeft;
    p->FBoxBottomRight = s.BoxBottomRight;
    p->FTrayOrigin = s.TrayOrigin;
    p->FOrientation = s.Orientation;
    p->FMergeDepth = s.MergeDepth;
    p->FIndex = s.Index;
    for (int o = 0; o <= high; ++o) p->FImages[size_t(o)] = std::make_unique<TMyDib>(std::move(s.Bitmaps[size_t(o)]));
    p->FNeighbours = std::move(s.Neighbours);
    FPieces.push_back(std::move(p));
    CreatePieceSprite(int(FPieces.size()) - 1);
    TBPiece& piece = *FPieces.back();
    piece.SetDepth(std::round(s.Depth));
    if (const TDXTrayWindow* tray = Tray(int(s.Tray))) piece.SetVisible(tray->WindowShown());
    if (s.State != PieceState::Free) piece.PinWithoutAnimation(s.State);
  }
  ReleaseSelection();
  FSorted = TraysLookSorted();
  CaptionTrays(FSorted);
}

}  // namespace qj
