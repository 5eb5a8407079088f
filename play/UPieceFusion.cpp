// Fusing joined pieces: once every snap has ended, each group becomes one new piece whose
// bitmaps are the union of its members', and the set is renumbered around it.
#include <algorithm>
#include <cmath>

#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UPuzzleFile.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UPieceList.h"

namespace qj {
namespace {

// Draws src into dst at `at` (clipped), joining colours with a bitwise or: black is transparent,
// so the result holds every piece pixel. Piece pixels carry no shadow in their alpha byte.
void OrInto(TPixelBuffer& dst, const TPixelBuffer& src, TPoint at) {
  const int x0 = std::max(0, at.X), y0 = std::max(0, at.Y);
  const int x1 = std::min(dst.Width(), at.X + src.Width()), y1 = std::min(dst.Height(), at.Y + src.Height());
  for (int y = y0; y < y1; ++y) {
    const TPixel* s = src.Row(y - at.Y) + (x0 - at.X);
    TPixel* d = dst.Row(y) + x0;
    for (int i = 0, n = x1 - x0; i < n; ++i) {
      const TPixel v = d[i] | s[i];
      d[i] = (v & kRgbMask) ? (v & kRgbMask) : v;
    }
  }
  dst.MarkChanged();
}

// The bottom-right corner of a box in orientation r from its top-left there and its size upright,
// as the cutter turns the corners of a piece's box.
TPoint TurnedFar(TPoint home, int r, int width, int height) {
  switch (r) {
    case 1: return {home.X - height, home.Y + width};
    case 2: return {home.X - width, home.Y - height};
    case 3: return {home.X + height, home.Y - width};
    default: return {home.X + width, home.Y + height};
  }
}

}  // namespace

struct TPieces::TFusion {
  int Group = -1;
  std::vector<TBPiece*> Members;  // in index order
  std::array<TPoint, 4> TopLeft{}, BottomRight{};
  uint8_t State = PieceState::Free;
  TBPiece* Largest = nullptr;
  TBPiece* First = nullptr;
  std::unique_ptr<TBPiece> Piece;
};

// Upright the union is the members' boxes together. Turned, the cutter's top-left corners keep a
// fixed offset from the turned bitmaps, so the smallest of them is the union's; the far corner
// follows from it and the upright size.
void TPieces::UnionBoxes(TFusion& f, int high) {
  TPoint& tl = f.TopLeft[0];
  TPoint& br = f.BottomRight[0];
  tl = f.First->FBoxTopLeft[0];
  br = f.First->FBoxBottomRight[0];
  for (const TBPiece* m : f.Members) {
    tl = {std::min(tl.X, m->FBoxTopLeft[0].X), std::min(tl.Y, m->FBoxTopLeft[0].Y)};
    br = {std::max(br.X, m->FBoxBottomRight[0].X), std::max(br.Y, m->FBoxBottomRight[0].Y)};
  }
  for (int o = 1; o <= high; ++o) {
    TPoint& home = f.TopLeft[size_t(o)];
    home = f.First->FBoxTopLeft[size_t(o)];
    for (const TBPiece* m : f.Members)
      home = {std::min(home.X, m->FBoxTopLeft[size_t(o)].X), std::min(home.Y, m->FBoxTopLeft[size_t(o)].Y)};
    f.BottomRight[size_t(o)] = TurnedFar(home, o, br.X - tl.X, br.Y - tl.Y);
  }
}

int TPieces::FuseDueGroups() {
  if (!FBoard.MergeDue || FBoard.PendingAnimations > 0) return 0;
  FBoard.PendingAnimations = FAnimations.SnapCount();
  if (FBoard.PendingAnimations > 0) return 0;
  int fused = 0;
  for (;;) {
    const auto grouped = std::find_if(FPieces.begin(), FPieces.end(), [](const auto& p) { return p->FGroup != -1; });
    if (grouped == FPieces.end()) break;
    MergeGroup((*grouped)->FGroup, FLastDropped);
    ++fused;
  }
  FBoard.MergeDue = false;
  return fused;
}

void TPieces::FinishAnimations() {
  PutDownSelection();
  ClearHints();
  for (const auto& p : FPieces)
    if (p->HasActions()) p->FinishActions();
  FAnimations.FinishAll([this](TBPiece& pinned) { SendToBack(pinned.FIndex); });
  FuseDueGroups();
  Update();
}

void TPieces::MergeGroup(int group, int lastDropped) {
  TFusion f;
  f.Group = group;
  const int high = OrientationHigh();
  LeaveGroupIfTurned(group);
  for (const auto& p : FPieces) {
    if (p->FGroup != group) continue;
    f.Members.push_back(p.get());
    f.State = std::max(f.State, p->FState);
    p->FState = PieceState::Free;
    p->RemovePinOverlay();
    if (!f.Largest || (p->Width() > f.Largest->Width() && p->Height() > f.Largest->Height())) f.Largest = p.get();
  }
  if (f.Members.size() < 2) {
    for (TBPiece* p : f.Members) p->FGroup = -1;  // a group of one has nothing to fuse
    return;
  }
  f.First = f.Members.front();
  UnionBoxes(f, high);
  FAnimations.CancelMovesOf(f.Members);
  if (lastDropped < 0 || lastDropped >= Count()) lastDropped = f.First->FIndex;
  if (Options.ShowStars) FAnimations.AddStars(f.Members, Piece(lastDropped));
  if (GameRecord.Finished == 0) GameRecord.MaxStickRange = std::max(GameRecord.MaxStickRange, Options.StickRange);
  PlaySound(PieceSound.get());
  for (TBPiece* m : f.Members) m->FHinted = false;

  f.Piece = std::make_unique<TBPiece>(FEngine, FBoard);
  TBPiece& piece = *f.Piece;
  const int o = f.First->FOrientation;
  piece.FBoxTopLeft = f.TopLeft;
  piece.FBoxBottomRight = f.BottomRight;
  piece.FOrientation = o;
  piece.FPosition = {f.First->FPosition.X - f.First->FBoxTopLeft[size_t(o)].X + f.TopLeft[size_t(o)].X,
                     f.First->FPosition.Y - f.First->FBoxTopLeft[size_t(o)].Y + f.TopLeft[size_t(o)].Y};
  piece.FIndex = Count();
  int mergeDepth = 0;
  for (const auto& p : FPieces) mergeDepth = std::max(mergeDepth, p->FMergeDepth);
  piece.FMergeDepth = mergeDepth + 1;
  const double depth = f.First->Depth();
  FuseBitmaps(f);
  piece.SetDepth(depth);
  for (const TBPiece* m : f.Members) piece.FNeighbours.insert(piece.FNeighbours.end(), m->FNeighbours.begin(), m->FNeighbours.end());
  RenumberAfterFusion(f);
  TBPiece& fused = *FPieces.back();
  if (f.State != PieceState::Free) {
    fused.PinWithoutAnimation(f.State);
    if (f.State == PieceState::Pinned) SendToBack(fused.FIndex);
  }
  if (OnFused) OnFused();
}

// A member still turning lands first; one that ends in another orientation than the group's
// cannot be fused with it and leaves the group.
void TPieces::LeaveGroupIfTurned(int group) {
  int orientation = -1;
  for (const auto& p : FPieces) {
    if (p->FGroup != group) continue;
    if (p->Rotating()) p->FinishTurns();
    if (orientation == -1) orientation = p->FOrientation;
    else if (p->FOrientation != orientation) p->FGroup = -1;
  }
}

// When the largest member's box already is the union, the new piece keeps that member's sprite
// and bitmaps and only the others are drawn in: a piece growing by one neighbour at a time costs
// the size of the neighbour, not of the whole picture. Otherwise the union is made one
// orientation at a time, and each member's bitmap goes as soon as it is drawn in, so a fusion
// of picture-sized pieces holds one spare orientation, not four.
void TPieces::FuseBitmaps(TFusion& f) {
  TBPiece& piece = *f.Piece;
  const int high = OrientationHigh();
  const bool keep = f.Largest->FBoxTopLeft[0] == f.TopLeft[0] && f.Largest->FBoxBottomRight[0] == f.BottomRight[0];
  const int margin = PieceMargin();
  const int width = f.BottomRight[0].X - f.TopLeft[0].X + 2 * margin - 1;
  const int height = f.BottomRight[0].Y - f.TopLeft[0].Y + 2 * margin - 1;
  if (keep) piece.AdoptSprite(*f.Largest);
  for (int o = 0; o <= high; ++o) {
    if (!keep)
      piece.FImages[size_t(o)] = o % 2 ? std::make_unique<TMyDib>(height, width, 32) : std::make_unique<TMyDib>(width, height, 32);
    TMyDib* into = piece.MutableBitmap(o);
    for (TBPiece* m : f.Members) {
      if (keep && m == f.Largest) continue;
      const TMyDib* from = m->Bitmap(o);
      if (!from || !into) continue;
      const TPoint at{m->FBoxTopLeft[size_t(o)].X - f.TopLeft[size_t(o)].X, m->FBoxTopLeft[size_t(o)].Y - f.TopLeft[size_t(o)].Y};
      OrInto(*into, *from, at);
      if (keep && o == piece.FOrientation)
        if (TMySprite* s = piece.Sprite(); s && !s->Surfaces.empty()) OrInto(*s->Surfaces[0], *from, at);
      m->ReleaseBitmap(o);
    }
  }
  if (!keep) piece.CreateSprite(0, high);
  else if (f.Largest->FTinted) piece.ReloadImage();
  piece.FTinted = false;
}

// Members go, the new piece comes last, and every stored index follows: neighbour lists (without
// duplicates or the piece itself), sprite tags, events, the last drop and the magnet's target.
void TPieces::RenumberAfterFusion(TFusion& f) {
  const int old = Count();
  std::vector<int> map(size_t(old) + 1, -1);
  std::vector<bool> member(size_t(old), false);
  for (const TBPiece* m : f.Members) member[size_t(m->FIndex)] = true;
  int next = 0;
  for (int i = 0; i < old; ++i)
    if (!member[size_t(i)]) map[size_t(i)] = next++;
  const int fusedIndex = next;
  for (int i = 0; i < old; ++i)
    if (member[size_t(i)]) map[size_t(i)] = fusedIndex;
  map[size_t(old)] = fusedIndex;
  const auto translate = [&](int32_t& index) {
    if (index >= 0 && index <= old) index = map[size_t(index)];
  };
  const bool selectionHadMember = std::any_of(FSelection.begin(), FSelection.end(), [&](const TBPiece* p) { return p->FGroup == f.Group; });
  FPieces.erase(std::remove_if(FPieces.begin(), FPieces.end(), [&](const auto& p) { return member[size_t(p->FIndex)]; }), FPieces.end());
  FPieces.push_back(std::move(f.Piece));
  FTrays.ContentsChanged();
  for (int i = 0; i < Count(); ++i) {
    TBPiece& p = Piece(i);
    auto& list = p.FNeighbours;
    bool touched = i == Count() - 1;
    for (int32_t& n : list) {
      touched = touched || (n >= 0 && n < old && member[size_t(n)]);
      translate(n);
    }
    if (touched) {
      std::sort(list.begin(), list.end());
      list.erase(std::unique(list.begin(), list.end()), list.end());
      list.erase(std::remove(list.begin(), list.end(), i), list.end());
    }
    if (p.FIndex != i) p.SetIndex(i);
  }
  FAnimations.Renumber(translate);
  translate(FLastDropped);
  FHelps.Renumber(translate);
  if (selectionHadMember) PutDownSelection();
}

}  // namespace qj
