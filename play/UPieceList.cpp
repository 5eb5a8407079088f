// The piece set. Sections: set-up and building; per frame; board events; carrying and joining;
// helps; stacking; trays; saved games. Fusing lives in UPieceFusion.cpp.
#include "play/UPieceList.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "controls/UButtons.h"
#include "controls/UTrayWindow.h"
#include "controls/UEngines.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UBitmapBuilder.h"
#include "creation/URandom.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Log.h"

namespace qj {
namespace {

constexpr double kTraySlot = 10000;      // depth room of one tray and its pieces
constexpr int kMaxTrayPieceWidth = 600;  // larger pieces stay on the table
constexpr int kMaxTrayPieceHeight = 400;
constexpr int kScatterSteps = 20;
constexpr int kScatterTries = 21;
constexpr int kPushSteps = 4;
constexpr uint32_t kPlaceHoldSteps = 10;

int Sign(int v) { return (v > 0) - (v < 0); }

bool Overlaps(const TRect& a, const TRect& b) {
  return a.Left < b.Right && a.Top < b.Bottom && b.Left < a.Right && b.Top < a.Bottom;
}

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

bool Unfinished() { return GameRecord.Finished == 0; }

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

TPieces::TPieces(TGraphicsEngine& engine, TInterface& screen) : FEngine(engine), FScreen(screen) {
  FBoard.OnStateChange = [this](int index) { PieceStateChanged(index); };
  FBoard.OnMoved = [this](int index) { PieceMoved(index); };
}

TPieces::~TPieces() { Clear(); }

void TPieces::SetDepthBands(double trayTop, double tableBase) {
  FBaseDepth = FTopDepth = tableBase;
  FTopDepthLimit = trayTop - 5 * kTraySlot;
  for (int i = 1; i <= kTrayCount; ++i) FTrayDepth[size_t(i)] = FTopDepthLimit + 1 + (i - 1) * kTraySlot;
}

int TPieces::OrientationHigh() { return PlayOptions.AllowRotation ? 3 : 0; }

void TPieces::LoadImages() {
  FBoard.PinImages = LoadImageBlock("PinOptions");
  FStarImages = LoadImageBlock("Stars");
}

void TPieces::CreateTrays(double iconDepth) {
  FMagnetTarget = -1;
  LoadImages();
  for (int i = 1; i <= kTrayCount; ++i) {
    TDXTrayWindow& tray = FScreen.AddOwnedControl<TDXTrayWindow>();
    tray.FTrayNumber = i;
    FTrays[size_t(i)] = &tray;
    if (TMySprite* s = tray.FSprite.Get()) s->SetDepth(FTrayDepth[size_t(i)]);
    tray.FDepth = FTrayDepth[size_t(i)];
    if (TMySprite* icon = tray.IconSprite()) icon->SetDepth(iconDepth);
    tray.OnActivate = [this, i](TDXControl*) { TrayActivated(i); };
    tray.OnShow = [this, i](TDXControl*) { TrayShown(i); };
    tray.OnHide = [this, i](TDXControl*) { TrayShown(i); };
    tray.OnEmpty = [this, i](TDXControl*) { TrayEmptied(i); };
  }
  FTrays[1]->ShowIcon();
}

// The theme's pin and star images go too: a screen that is left holds nothing of its game, and
// entering loads them again in the theme of the day.
void TPieces::Clear() {
  RemovePieces();
  FTrays.fill(nullptr);
  FBoard.PinImages.clear();
  FStarImages.clear();
}

void TPieces::RemovePieces() {
  FSelection.clear();
  FDragging = false;
  FBoard.Events.clear();
  FBoard.PendingAnimations = 0;
  FBoard.MergeDue = false;
  FPieces.clear();
  FTrayList.clear();
  FTrayListDirty = true;
  FBoard.Active.clear();
  FMagnetTarget = -1;
  FMagnetCount = 0;
  FLastDropped = -1;
  FTopDepth = FBaseDepth;
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
  UpdateTrayIcons();
  UpdateTrays();
}

// The pieces in trays, listed again only after something entered or left a tray: a frame then
// looks at them alone, not at every piece of the set.
const std::vector<TBPiece*>& TPieces::PiecesInTrays() {
  if (!FTrayListDirty) return FTrayList;
  FTrayList.clear();
  for (const auto& p : FPieces)
    if (p->FTray != 0) FTrayList.push_back(p.get());
  FTrayListDirty = false;
  return FTrayList;
}

void TPieces::UpdateTrayIcons() {
  if (!FTrays[1]) return;
  int highest = 0;
  for (const TBPiece* p : PiecesInTrays()) highest = std::max<int>(highest, int(p->FTray));
  for (int i = 1; i <= kTrayCount; ++i) {
    TMySprite* icon = FTrays[size_t(i)]->IconSprite();
    if (!icon) continue;
    if (!icon->Visible && i <= highest + 1) FTrays[size_t(i)]->ShowIcon();
    else if (icon->Visible && i > highest + 1) FTrays[size_t(i)]->HideAll();
  }
}

// Pieces ride along with their tray, and a tray grows (never shrinks) to hold its pieces.
void TPieces::UpdateTrays() {
  if (!FTrays[1]) return;
  std::array<bool, kTrayCount + 1> holds{};
  for (TBPiece* p : PiecesInTrays()) {
    if (p->FTray > uint32_t(kTrayCount)) continue;
    TDXTrayWindow& tray = *FTrays[p->FTray];
    holds[p->FTray] = true;
    const TPoint origin{tray.FLeft, tray.FTop};
    if (origin != p->FTrayOrigin) {
      p->MoveBy(origin.X - p->FTrayOrigin.X, origin.Y - p->FTrayOrigin.Y);
      p->FTrayOrigin = origin;
    }
    const TRect r = p->Bounds();
    const int width = r.Right - tray.FLeft + tray.FInsetRight, height = r.Bottom - tray.FTop + tray.FInsetBottom;
    if (width > tray.FWidth) tray.SetWidth(width);
    if (height > tray.FHeight) tray.SetHeight(height);
  }
  for (int i = 1; i <= kTrayCount; ++i) FTrays[size_t(i)]->FHasPieces = holds[size_t(i)];
}

// ---- Board events -----------------------------------------------------------------------------

void TPieces::StepEvents() {
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
  TrimEvents();
}

void TPieces::TrimEvents() {
  auto& events = FBoard.Events;
  while (!events.empty() && events.back().Kind == EBoardEvent::Free) events.pop_back();
}

// A snap moves A into exact contact with B; a piece turned meanwhile no longer fits, so its
// snap is cancelled and it leaves the group rather than be fused in the wrong orientation.
bool TPieces::StepSnap(TBoardEvent& e) {
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

bool TPieces::StepPlace(TBoardEvent& e) {
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

bool TPieces::StepStar(TBoardEvent& e) {
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

void TPieces::AddPlaceAndPin(int index, TPoint goal) {
  TBoardEvent e;
  e.Kind = EBoardEvent::PlaceAndPin;
  e.PieceA = index;
  e.X = goal.X;
  e.Y = goal.Y;
  FBoard.Events.push_back(std::move(e));
}

void TPieces::AddSnap(TBPiece& a, TBPiece& b) {
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
    if (p->FState == PieceState::Pinned || Busy(*p)) return false;
  for (const TBPiece* p : members) CancelPlace(p->FIndex);
  FSelection = std::move(members);
  FDragging = true;
  return true;
}

// A piece the player takes or parks is no longer on its way to be pinned.
void TPieces::CancelPlace(int index) {
  for (TBoardEvent& e : FBoard.Events)
    if (e.Kind == EBoardEvent::PlaceAndPin && e.PieceA == index) e = TBoardEvent{};
  TrimEvents();
}

void TPieces::StartCarrying(double dragDepth) {
  for (TBPiece* p : FSelection) {
    p->StartDrag();
    p->FTray = 0;
    FTrayListDirty = true;
    p->SetVisible(true);
    p->SetDepth(std::fmod(std::round(p->Depth()), kTraySlot) + dragDepth);
  }
}

// A band selection takes only what could be picked up one by one.
void TPieces::SelectPieces(const std::vector<TBPiece*>& pieces) {
  FSelection.clear();
  for (TBPiece* p : pieces)
    if (p->FState != PieceState::Pinned && !Busy(*p)) {
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
  FTrayListDirty = true;
}

void TPieces::ReleaseSelection() {
  FDragging = false;
  FSelection.clear();
}

int TPieces::DropSelection(int mouseX, int mouseY, bool countDrop) {
  if (FSelection.empty()) return 0;
  FDragging = false;
  FLastDropped = FSelection.front()->FIndex;
  for (TBPiece* p : FSelection) {
    p->EndDrag();
    p->FTray = 0;
  }
  FTrayListDirty = true;
  ClearHints();
  const int tray = TrayAt(mouseX, mouseY);
  const auto fits = [](const TBPiece* p) { return p->Width() < kMaxTrayPieceWidth && p->Height() < kMaxTrayPieceHeight; };
  if (tray != 0 && fits(FSelection.front())) {
    std::vector<TBPiece*> carried = FSelection;
    std::sort(carried.begin(), carried.end(), [](const TBPiece* a, const TBPiece* b) { return a->Depth() < b->Depth(); });
    for (TBPiece* p : carried) fits(p) ? MoveIntoTray(p->FIndex, tray) : BringToFront(p->FIndex);
    ReleaseSelection();
    return tray;
  }
  if (FSelection.size() > 1) {
    std::vector<TBPiece*> carried = FSelection;
    std::sort(carried.begin(), carried.end(), [](const TBPiece* a, const TBPiece* b) { return a->Depth() < b->Depth(); });
    for (TBPiece* p : carried) {
      BringToFront(p->FIndex);
      p->FHinted = true;
      p->SetVisible(true);
    }
    FDragging = true;
    return 0;
  }
  if (countDrop && Unfinished()) ++GameRecord.Drops;
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

void TPieces::JoinPieces(TBPiece& a, TBPiece& b) {
  if (a.FGroup != -1 && a.FGroup == b.FGroup) return;
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
    AddSnap(a, b);
  } else if (a.FGroup == -1) {
    AddSnap(a, *lastOf(b.FGroup));
    a.FGroup = b.FGroup;
  } else {
    TBPiece& target = b.FGroup == -1 ? b : *lastOf(b.FGroup);
    const int moving = a.FGroup, joined = b.FGroup;
    for (const auto& p : FPieces)
      if (p->FGroup == moving) AddSnap(*p, target);
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
  RotateSelection(x, y, reverse);
  ReleaseSelection();
}

// ---- Helps ------------------------------------------------------------------------------------

bool TPieces::PullNeighbours(int index) {
  if (index < 0 || index >= Count()) return false;
  if (FMagnetTarget != -1 && FMagnetTarget != index) return false;
  TBPiece& target = Piece(index);
  if (target.FTray != 0 || target.FDragging || target.HasActions()) return false;
  bool started = false;
  std::vector<int32_t> list = target.FNeighbours;
  std::sort(list.begin(), list.end());
  list.erase(std::unique(list.begin(), list.end()), list.end());
  for (const int32_t n : list) {
    if (n == index || n < 0 || n >= Count()) continue;
    TBPiece& p = Piece(n);
    if (Busy(p) || p.FState == PieceState::Pinned || p.FTray != 0) continue;
    if (!p.PullTo(target, [this](int a, int b) { PullFinished(a, b); })) continue;
    FMagnetTarget = index;
    ++FMagnetCount;
    started = true;
    if (Unfinished()) ++GameRecord.PullHelps;
  }
  return started;
}

void TPieces::PullFinished(int a, int b) {
  if (--FMagnetCount <= 0) {
    FMagnetCount = 0;
    FMagnetTarget = -1;
  }
  if (a < 0 || b < 0 || a >= Count() || b >= Count()) return;
  TBPiece& pulled = Piece(a);
  TBPiece& target = Piece(b);
  if (pulled.FTray == 0 && target.FTray == 0 && pulled.FOrientation == target.FOrientation && !target.FDragging)
    JoinPieces(pulled, target);
}

void TPieces::ShowProximityHints() {
  const int range = Options.HintRange;
  for (TBPiece* c : FSelection) {
    const TRect near = Inflate(c->Bounds(), range);
    for (const int32_t n : c->FNeighbours) {
      if (n == c->FIndex || n < 0 || n >= Count()) continue;
      TBPiece& p = Piece(n);
      const bool hinted = Overlaps(near, p.Bounds());
      if (hinted == p.FHinted) continue;
      p.FHinted = hinted;
      p.Activate();
      if (hinted && Unfinished()) ++GameRecord.ProximityHints;
    }
  }
}

void TPieces::ClearHints() {
  for (const auto& p : FPieces) {
    if (!p->FHinted) continue;
    p->FHinted = false;
    p->Activate();
  }
}

// Where a slide of kScatterSteps steps starting at speed v (falling by v / steps each step) ends.
static TPoint SlideEnd(TPoint from, int vx, int vy) {
  const double travel = (kScatterSteps + 1) / 2.0;
  return {from.X + int(std::lround(vx * travel)), from.Y + int(std::lround(vy * travel))};
}

void TPieces::Scatter(int x, int y, int speedRange, int reach, const std::vector<TRect>& avoid) {
  PlayClick();
  std::vector<TBPiece*> moved;
  for (const auto& p : FPieces) {
    if (p->FState == PieceState::Pinned || Busy(*p) || p->FTray != 0) continue;
    if (!Inflate(p->Bounds(), reach).Contains(x, y)) continue;
    int vx = 0, vy = 0;
    for (int attempt = 0; attempt < kScatterTries; ++attempt) {
      vx = Random(speedRange + 1) * RandomSign();
      vy = Random(speedRange + 1) * RandomSign();
      const TPoint end = SlideEnd(p->FPosition, vx, vy);
      if (std::none_of(avoid.begin(), avoid.end(), [&](const TRect& r) { return r.Contains(end.X, end.Y); })) break;
    }
    p->Slide(kScatterSteps, vx, vy, -vx / double(kScatterSteps), -vy / double(kScatterSteps));
    moved.push_back(p.get());
  }
  const int n = int(moved.size());
  for (int k = 0; n > 0 && k < n; ++k) {
    TBPiece& a = *moved[size_t(Random(n))];
    TBPiece& b = *moved[size_t(Random(n))];
    const double d = a.Depth();
    a.SetDepth(b.Depth());
    b.SetDepth(d);
  }
}

// Pieces near the mouse slide a little away from it and slow down, whichever way they go.
void TPieces::PushAside(int x, int y, int reach) {
  for (const auto& p : FPieces) {
    if (p->FState == PieceState::Pinned || Busy(*p) || p->FTray != 0 || p->FDragging) continue;
    const TRect r = p->Bounds();
    if (!Inflate(r, reach).Contains(x, y)) continue;
    if (Options.ChanceScatter < Random(99)) continue;
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    const double vx = -Sign(x - cx) * Random(reach + 1), vy = -Sign(y - cy) * Random(reach + 1);
    p->Slide(kPushSteps, vx, vy, -vx / kPushSteps, -vy / kPushSteps);
  }
}

// ---- Stacking ---------------------------------------------------------------------------------

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
TPieces::TBand TPieces::BandOf(uint32_t tray) const {
  if (tray == 0) return {FBaseDepth, FTopDepthLimit};
  const TDXTrayWindow* window = Tray(int(tray));
  const double depth = window ? window->FDepth : FTrayDepth[std::min<size_t>(tray, kTrayCount)];
  return {depth + 10, depth + kTraySlot - 1};
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
  const TBand band = BandOf(piece.FTray);
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
  const TBand band = BandOf(piece.FTray);
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
  const TBand band = BandOf(moved.FTray);
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

void TPieces::PieceStateChanged(int index) {
  if (index >= 0 && index < Count() && Piece(index).FState == PieceState::Pinned) SendToBack(index);
}

// ---- Trays ------------------------------------------------------------------------------------

int TPieces::TrayAt(int x, int y) const {
  int best = 0;
  double bestDepth = -1e300;
  for (int i = 1; i <= kTrayCount; ++i) {
    const TDXTrayWindow* tray = FTrays[size_t(i)];
    if (!tray || !tray->WindowShown() || !tray->BoundsRect().Contains(x, y)) continue;
    if (tray->FDepth > bestDepth) {
      best = i;
      bestDepth = tray->FDepth;
    }
  }
  return best;
}

void TPieces::MoveIntoTray(int index, int tray) {
  TBPiece& p = Piece(index);
  TDXTrayWindow* window = Tray(tray);
  if (!window) return;
  p.FTray = uint32_t(tray);
  FTrayListDirty = true;
  p.FTrayOrigin = {window->FLeft, window->FTop};
  CancelPlace(index);
  p.SetVisible(window->WindowShown());
  BringToFront(index);
  PieceMoved(index);
}

// A piece in a tray stays in its client area; the tray grows to the right and down to hold it.
void TPieces::PieceMoved(int index) {
  if (index < 0 || index >= Count()) return;
  TBPiece& p = Piece(index);
  TDXTrayWindow* tray = Tray(int(p.FTray));
  if (!tray) return;
  const int left = tray->FLeft + tray->FInsetLeft, top = tray->FTop + tray->FInsetTop;
  TPoint at{std::max(p.FPosition.X, left), std::max(p.FPosition.Y, top)};
  const int width = at.X + p.Width() - tray->FLeft + tray->FInsetRight;
  const int height = at.Y + p.Height() - tray->FTop + tray->FInsetBottom;
  if (width > tray->FWidth) tray->SetWidth(width);
  if (height > tray->FHeight) tray->SetHeight(height);
  at.X = std::min(at.X, tray->FLeft + tray->FWidth - tray->FInsetRight - p.Width());
  at.Y = std::min(at.Y, tray->FTop + tray->FHeight - tray->FInsetBottom - p.Height());
  at = {std::max(at.X, left), std::max(at.Y, top)};
  if (at != p.FPosition) p.SetPosition(at);
}

// The activated tray comes on top: the trays above it move down one slot each, with their pieces.
void TPieces::TrayActivated(int number) {
  TDXTrayWindow* active = Tray(number);
  if (!active) return;
  const double from = active->FDepth, top = FTrayDepth[kTrayCount];
  const auto move = [this](int tray, double to) {
    TDXTrayWindow& t = *FTrays[size_t(tray)];
    const double shift = to - t.FDepth;
    for (const auto& p : FPieces)
      if (p->FTray == uint32_t(tray)) p->SetDepth(p->Depth() + shift);
    if (TMySprite* s = t.FSprite.Get()) s->SetDepth(to);
    t.FDepth = to;
  };
  for (int i = 1; i <= kTrayCount; ++i)
    if (i != number && FTrays[size_t(i)]->FDepth > from) move(i, FTrays[size_t(i)]->FDepth - kTraySlot);
  move(number, top);
}

void TPieces::TrayShown(int number) {
  const TDXTrayWindow* tray = Tray(number);
  if (!tray) return;
  const bool shown = tray->WindowShown();
  for (const auto& p : FPieces)
    if (p->FTray == uint32_t(number)) p->SetVisible(shown);
}

void TPieces::TrayEmptied(int number) {
  TDXTrayWindow* tray = Tray(number);
  if (!tray) return;
  std::vector<TBPiece*> emptied;
  for (const auto& p : FPieces)
    if (p->FTray == uint32_t(number)) emptied.push_back(p.get());
  std::sort(emptied.begin(), emptied.end(), [](const TBPiece* a, const TBPiece* b) { return a->Depth() < b->Depth(); });
  FTrayListDirty = true;
  for (TBPiece* p : emptied) {
    p->FTray = 0;
    p->SetVisible(true);
    BringToFront(p->FIndex);
  }
  tray->Collapse();
}

// ---- Saved games ------------------------------------------------------------------------------

void TPieces::SaveTo(TSavedGame& game) const {
  for (int i = 1; i <= kTrayCount; ++i) {
    const TDXTrayWindow* tray = FTrays[size_t(i)];
    TSavedTray& t = game.Trays[size_t(i - 1)];
    if (!tray) continue;
    const TMySprite* icon = tray->IconSprite();
    t = {uint8_t(tray->WindowShown()), uint8_t(icon && icon->Visible), tray->FLeft, tray->FTop, tray->FWidth, tray->FHeight};
  }
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
    for (int o = 0; o <= high; ++o) s.BitmapRefs[size_t(o)] = p.Bitmap(o);
    s.Neighbours = p.FNeighbours;
    s.Depth = p.Depth();
  }
}

void TPieces::LoadFrom(TSavedGame& game) {
  for (int i = 1; i <= kTrayCount; ++i) {
    TDXTrayWindow* tray = FTrays[size_t(i)];
    const TSavedTray& t = game.Trays[size_t(i - 1)];
    if (!tray) continue;
    t.WindowVisible ? tray->Open() : tray->Collapse();
    if (TMySprite* icon = tray->IconSprite()) icon->Visible = t.IconVisible != 0;
    if (t.WindowVisible) tray->ShowIcon();
    tray->RestoreBounds(t.Left, t.Top, t.Width, t.Height);
  }
  const int high = OrientationHigh();
  FPieces.clear();
  FPieces.reserve(game.Pieces.size());
  for (TSavedPiece& s : game.Pieces) {
    auto p = std::make_unique<TBPiece>(FEngine, FBoard);
    p->FTray = s.Tray;
    FTrayListDirty = true;
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
}

}  // namespace qj
