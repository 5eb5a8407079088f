// The board animations of a piece set and their per-frame steps.
#include "play/UBoardAnimations.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/ULayoutFiles.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/URandom.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Log.h"

namespace qj {
namespace {

constexpr uint32_t kPlaceHoldSteps = 10;

// A theme without these images still plays: pins then show no overlay and joins no stars.
std::vector<std::shared_ptr<const TMyDib>> LoadImageBlock(const std::string& block) {
  std::vector<std::string> entries;
  try {
    ReadOptionsBlock(block, entries);
  } catch (const std::exception& e) {
    LogError("%s", e.what());
    return {};
  }
  std::vector<std::shared_ptr<const TMyDib>> images;
  for (const std::string& entry : entries) {
    auto image = std::make_shared<TMyDib>();
    if (!image->LoadFromFile(ThemedFileName(entry))) return {};  // a partial set would animate wrongly
    images.push_back(std::move(image));
  }
  return images;
}

}  // namespace

TBoardAnimations::TBoardAnimations(TGraphicsEngine& engine, TBoardState& board, TPieceStore& pieces)
    : FEngine(engine), FBoard(board), FPieces(pieces) {}

void TBoardAnimations::LoadImages() {
  FBoard.PinImages = LoadImageBlock("PinOptions");
  FStarImages = LoadImageBlock("Stars");
}

void TBoardAnimations::FreeImages() {
  FBoard.PinImages.clear();
  FStarImages.clear();
}

void TBoardAnimations::Clear() {
  FBoard.Events.clear();
  FBoard.PendingAnimations = 0;
  FBoard.MergeDue = false;
}

void TBoardAnimations::Step() {
  if (FBoard.FrameParity != 0) return;
  for (size_t i = 0; i < FBoard.Events.size(); ++i) {
    TBoardEvent& e = FBoard.Events[i];
    bool done = false;
    switch (e.Kind) {
      case EBoardEvent::Snap: done = StepSnap(e); break;
      case EBoardEvent::PlaceAndPin: done = StepPlace(e); break;
      case EBoardEvent::Star: done = StepStar(e); break;
      default: break;
    }
    if (done) FBoard.Events[i] = TBoardEvent{};
  }
  Trim();
}

void TBoardAnimations::Trim() {
  auto& events = FBoard.Events;
  while (!events.empty() && events.back().Kind == EBoardEvent::Free) events.pop_back();
}

// A snap moves A into exact contact with B; a piece turned meanwhile no longer fits, so its
// snap is cancelled and it leaves the group rather than be fused in the wrong orientation.
bool TBoardAnimations::StepSnap(TBoardEvent& e) {
  if (e.PieceA < 0 || e.PieceA >= Count() || e.PieceB < 0 || e.PieceB >= Count()) {
    --FBoard.PendingAnimations;
    return true;
  }
  TBPiece& a = Piece(e.PieceA);
  const TBPiece& b = Piece(e.PieceB);
  if (a.FOrientation != b.FOrientation) {
    a.FGroup = -1;
    --FBoard.PendingAnimations;
    return true;
  }
  // Whether A moved is judged by where it stands, not where it was sent: a goal beyond the
  // table's edge is never reached, and A then settles where the edge holds it.
  if (a.FPosition == e.Last) ++e.Counter;
  e.Last = a.FPosition;
  const TPoint goal = a.PlaceBeside(b);
  const int speed = std::max(1, Options.PieceSlideSpeed / 5 + 1);
  TPoint p = a.FPosition;
  for (int i = 0; i < speed; ++i) p = {p.X + Sign(goal.X - p.X), p.Y + Sign(goal.Y - p.Y)};
  a.SetPosition(p);
  if (e.Counter >= 1 && !a.Rotating()) {
    --FBoard.PendingAnimations;
    return true;
  }
  return false;
}

bool TBoardAnimations::StepPlace(TBoardEvent& e) {
  if (e.PieceA < 0 || e.PieceA >= Count()) return true;
  TBPiece& p = Piece(e.PieceA);
  if (p.FPosition != TPoint{e.X, e.Y}) {
    if (p.FPosition == e.Last) return true;  // the table's edge holds it short of the place
    e.Last = p.FPosition;
    p.SetPosition({p.FPosition.X + Sign(e.X - p.FPosition.X), p.FPosition.Y + Sign(e.Y - p.FPosition.Y)});
    return false;
  }
  if (e.Counter == 0) {
    if (p.FState == PieceState::Free) p.TogglePin();
    else if (p.FState == PieceState::PinLifted) p.SetState(PieceState::Pinned);
  }
  return ++e.Counter > kPlaceHoldSteps;
}

bool TBoardAnimations::StepStar(TBoardEvent& e) {
  if (e.PieceB == -1) {
    if (FStarImages.empty()) return true;
    const int index = FEngine.AddEmptySprite(e.X, e.Y, e.Depth, SpriteCategory::Star);
    TMySprite& s = FEngine.Sprite(index);
    s.Kind = ESpriteKind::Animation;
    s.PlayOnce = true;
    s.NoHit = true;
    s.FrameMs = unsigned(std::max(1, Options.AnimationMs) / int(FStarImages.size()));
    s.LastFrameTick = GetTickCount();
    for (const auto& image : FStarImages) FEngine.AddSurface(index, image.get());
    e.Sprite = TSpriteHandle(FEngine, index);
    e.PieceB = -2;
    e.Counter = GetTickCount();
    return false;
  }
  // A star lives as long as its frames take, drawn or not (a game played without a screen).
  const TMySprite* s = e.Sprite.Get();
  return !s || s->Finished || GetTickCount() - e.Counter > s->FrameMs * unsigned(s->Surfaces.size());
}

void TBoardAnimations::AddPlaceAndPin(int index, TPoint goal) {
  TBoardEvent e;
  e.Kind = EBoardEvent::PlaceAndPin;
  e.PieceA = index;
  e.X = goal.X;
  e.Y = goal.Y;
  FBoard.Events.push_back(std::move(e));
}

void TBoardAnimations::AddSnap(TBPiece& a, TBPiece& b) {
  for (const TBoardEvent& e : FBoard.Events)
    if (e.Kind == EBoardEvent::Snap && e.PieceA == a.FIndex && e.PieceB == b.FIndex) return;
  TBoardEvent e;
  e.Kind = EBoardEvent::Snap;
  e.PieceA = a.FIndex;
  e.PieceB = b.FIndex;
  FBoard.Events.push_back(std::move(e));
  ++FBoard.PendingAnimations;
  FBoard.MergeDue = true;
}

void TBoardAnimations::AddStars(const std::vector<TBPiece*>& members, const TBPiece& at) {
  double depth = 0;
  for (const TBPiece* m : members) depth = std::max(depth, m->Depth());
  for (size_t k = 0; k < members.size(); ++k) {
    TBoardEvent e;
    e.Kind = EBoardEvent::Star;
    const int x = Random(std::max(1, at.Width())) + at.FPosition.X;
    const TPoint p = FEngine.TableToScreen(x, Random(std::max(1, at.Height())) + at.FPosition.Y);
    e.X = p.X;
    e.Y = p.Y;
    e.Depth = float(depth + 1);
    FBoard.Events.push_back(std::move(e));
  }
}

void TBoardAnimations::CancelPlace(int index) {
  for (TBoardEvent& e : FBoard.Events)
    if (e.Kind == EBoardEvent::PlaceAndPin && e.PieceA == index) e = TBoardEvent{};
  Trim();
}

void TBoardAnimations::CancelMovesOf(const std::vector<TBPiece*>& members) {
  for (TBoardEvent& e : FBoard.Events)
    if (e.Kind != EBoardEvent::Star && std::any_of(members.begin(), members.end(), [&](const TBPiece* m) { return m->FIndex == e.PieceA; }))
      e = TBoardEvent{};
  Trim();
}

int TBoardAnimations::SnapCount() const {
  return int(std::count_if(FBoard.Events.begin(), FBoard.Events.end(), [](const TBoardEvent& e) { return e.Kind == EBoardEvent::Snap; }));
}

void TBoardAnimations::FinishAll(const std::function<void(TBPiece&)>& onPinned) {
  for (TBoardEvent& e : FBoard.Events) {
    if (e.Kind == EBoardEvent::Snap && e.PieceA >= 0 && e.PieceA < Count() && e.PieceB >= 0 && e.PieceB < Count()) {
      TBPiece& a = Piece(e.PieceA);
      if (a.FOrientation == Piece(e.PieceB).FOrientation) a.SetPosition(a.PlaceBeside(Piece(e.PieceB)));
      else a.FGroup = -1;
    }
    if (e.Kind == EBoardEvent::PlaceAndPin && e.PieceA >= 0 && e.PieceA < Count()) {
      TBPiece& p = Piece(e.PieceA);
      p.SetPosition({e.X, e.Y});
      if (p.FState != PieceState::Pinned) {
        p.PinWithoutAnimation(PieceState::Pinned);
        onPinned(p);
      }
    }
  }
  FBoard.Events.clear();
  FBoard.PendingAnimations = 0;
}

void TBoardAnimations::Renumber(const std::function<void(int32_t&)>& translate) {
  for (TBoardEvent& e : FBoard.Events) {
    if (e.Kind == EBoardEvent::Star) continue;
    translate(e.PieceA);
    translate(e.PieceB);
  }
}

}  // namespace qj
