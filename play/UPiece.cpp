// One piece on the play table: its per-frame steps (turns, slides, pulls), sprite placement,
// pin overlay and selection tint.
#include "play/UPiece.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UPuzzleFile.h"
#include "graphics/UGraphicsEngine.h"

namespace qj {
namespace {

constexpr int kQuarterTurn = 64;  // sprite angle units: 256 a full turn
constexpr int kTintAlpha = 120;
constexpr int kPullStallLimit = 15;
constexpr int kMaxShadowSize = 10;

// A bitmap pixel that belongs to the piece; everything outside the bitmap is transparent.
bool Opaque(const TMyDib& image, int x, int y) {
  return image.InBounds(x, y) && (image.At(x, y) & kRgbMask) != 0;
}

// The selection colour over the piece's own pixels; the transparent surroundings stay as they are.
void Tint(TPixelBuffer& surface, TPixel colour) {
  const unsigned r = PixelR(colour) * kTintAlpha, g = PixelG(colour) * kTintAlpha, b = PixelB(colour) * kTintAlpha;
  constexpr unsigned keep = 255 - kTintAlpha;
  for (int y = 0; y < surface.Height(); ++y) {
    TPixel* row = surface.Row(y);
    for (int x = 0; x < surface.Width(); ++x) {
      const TPixel p = row[x];
      if ((p & kRgbMask) == 0) continue;
      const TPixel t = MakePixel((PixelR(p) * keep + r) / 255, (PixelG(p) * keep + g) / 255,
                                 (PixelB(p) * keep + b) / 255, PixelA(p));
      row[x] = (t & kRgbMask) ? t : (t | 0x010101);
    }
  }
  surface.MarkChanged();
}

}  // namespace

int Sign(int v) { return (v > 0) - (v < 0); }

int PieceMargin() { return 2 * std::clamp(PlayOptions.ShadowSize, 0, kMaxShadowSize) + 1; }

TBPiece::TBPiece(TGraphicsEngine& engine, TBoardState& board) : FEngine(engine), FBoard(board) {}

TBPiece::~TBPiece() {
  if (!FInActiveList) return;
  auto& active = FBoard.Active;
  active.erase(std::remove(active.begin(), active.end(), this), active.end());
}

void TBPiece::Activate() {
  if (FInActiveList) return;
  FInActiveList = true;
  FBoard.Active.push_back(this);
}

// ---- Per frame --------------------------------------------------------------------------------

bool TBPiece::Update() {
  const bool acting = StepActions();
  PlaceSprite();
  const bool pinMoving = StepPinFrame();
  PlacePinOverlay();
  UpdateTint();
  const bool active = acting || pinMoving || FDragging || !FActions.empty() || FHinted != FTinted;
  FInActiveList = active;
  return active;
}

void TBPiece::PlaceSprite() {
  TMySprite* s = FSprite.Get();
  if (!s) return;
  if (FDragging) FPosition = {FBoard.Mouse.X - FGrab.X, FBoard.Mouse.Y - FGrab.Y};
  if (s->Frame != unsigned(FOrientation)) ReloadImage();
  // The picture part stays on the table; the shadow margin may hang over its edge, or a puzzle
  // as wide as the table could never be finished (its last pieces would not fit beside it).
  const int m = PieceMargin();
  const int x = std::min(std::max(FPosition.X + FDisplayOffset.X, -m), kTableWidth + m - Width());
  const int y = std::min(std::max(FPosition.Y + FDisplayOffset.Y, -m), kTableHeight + m - Height());
  const bool moved = x != s->X || y != s->Y;
  s->X = x;
  s->Y = y;
  FPosition = {x - FDisplayOffset.X, y - FDisplayOffset.Y};
  if (moved && FTray != 0 && FBoard.OnMoved) FBoard.OnMoved(FIndex);
}

void TBPiece::SetPosition(TPoint p) {
  FPosition = p;
  Activate();
}

// ---- Turning ----------------------------------------------------------------------------------

bool TBPiece::Rotating() const {
  return std::any_of(FActions.begin(), FActions.end(), [](const TPieceAction& a) { return a.Kind == EPieceAction::Rotate; });
}

void TBPiece::Rotate(bool clockwise, int pivotX, int pivotY) {
  TPieceAction turn;
  turn.Clockwise = clockwise;
  turn.PivotX = pivotX;
  turn.PivotY = pivotY;
  const auto running = std::find_if(FActions.begin(), FActions.end(),
                                    [](const TPieceAction& a) { return a.Kind == EPieceAction::Rotate; });
  if (running != FActions.end()) {
    turn.Kind = EPieceAction::RotateQueued;
    turn.PivotX = running->PivotX;
    turn.PivotY = running->PivotY;
    FActions.push_back(turn);
  } else {
    turn.Kind = EPieceAction::Rotate;
    FActions.push_back(turn);
    StartTurn(FActions.back());
  }
  Activate();
}

// The sprite turns about the pivot where it stands: the drawn piece does not jump.
void TBPiece::StartTurn(TPieceAction& turn) {
  TMySprite* s = FSprite.Get();
  if (!s) return;
  s->Angle = 0;
  s->CenterX = Width() > 0 ? double(turn.PivotX) / Width() : 0;
  s->CenterY = Height() > 0 ? double(turn.PivotY) / Height() : 0;
}

void TBPiece::CompleteTurn(TPieceAction& turn) {
  const int a = turn.PivotX, b = turn.PivotY, w = Width(), h = Height();
  if (turn.Clockwise) {
    FOrientation = (FOrientation + 1) % 4;
    FPosition = {FPosition.X + a + b - h, FPosition.Y + b - a};
  } else {
    FOrientation = (FOrientation + 3) % 4;
    FPosition = {FPosition.X + a - b, FPosition.Y + a + b - w};
  }
  FDisplayOffset = {};
  if (TMySprite* s = FSprite.Get()) s->Angle = 0;
  ReloadImage();
  if (FDragging)
    FGrab = turn.Clockwise ? TPoint{Width() - FGrab.Y, FGrab.X} : TPoint{FGrab.Y, Height() - FGrab.X};
  if (FPinFrame != -1) FindPinPoint();
  FTinted = false;
  turn.Kind = EPieceAction::Done;
  // Queued turns go about the same point of the table, which now lies elsewhere on the piece.
  for (TPieceAction& q : FActions)
    if (q.Kind == EPieceAction::RotateQueued) {
      const int qa = q.PivotX, qb = q.PivotY;
      q.PivotX = turn.Clockwise ? h - qb : qb;
      q.PivotY = turn.Clockwise ? qa : w - qa;
    }
  const auto queued = std::find_if(FActions.begin(), FActions.end(),
                                   [](const TPieceAction& q) { return q.Kind == EPieceAction::RotateQueued; });
  if (queued != FActions.end()) {
    queued->Kind = EPieceAction::Rotate;
    StartTurn(*queued);
  }
}

void TBPiece::FinishTurns() {
  while (Rotating()) {
    auto turn = std::find_if(FActions.begin(), FActions.end(), [](const TPieceAction& a) { return a.Kind == EPieceAction::Rotate; });
    CompleteTurn(*turn);
  }
  while (!FActions.empty() && FActions.back().Kind == EPieceAction::Done) FActions.pop_back();
  Activate();
}

// ---- Steps of the actions ---------------------------------------------------------------------

// The per-kind steps, kept together; each leaves its action Done when it ends.
class TPieceSteps {
 public:
  static void Turn(TBPiece& p, TPieceAction& turn) {
    TMySprite* s = p.FSprite.Get();
    // An increment of 0 would never end the turn, and then nothing would ever fuse.
    const int step = std::max<int>(1, Options.RotationIncrement);
    const int angle = s ? s->Angle + (turn.Clockwise ? step : -step) : kQuarterTurn;
    if (std::abs(angle) >= kQuarterTurn) {
      p.CompleteTurn(turn);
      return;
    }
    s->Angle = angle;
  }

  static void SlideStep(TBPiece& p, TPieceAction& a) {
    if (p.FBoard.FrameParity != 0) return;
    const double sx = a.Vx + a.Fx, sy = a.Vy + a.Fy;
    const int dx = int(std::lround(sx)), dy = int(std::lround(sy));
    a.Fx = sx - dx;
    a.Fy = sy - dy;
    p.FPosition.X += dx;
    p.FPosition.Y += dy;
    if (p.FPosition.X <= 0 || p.FPosition.X + p.Width() >= kTableWidth) {
      a.Vx = -a.Vx;
      a.Dvx = -a.Dvx;
    }
    if (p.FPosition.Y <= 0 || p.FPosition.Y + p.Height() >= kTableHeight) {
      a.Vy = -a.Vy;
      a.Dvy = -a.Dvy;
    }
    a.Vx += a.Dvx;
    a.Vy += a.Dvy;
    if (--a.StepsLeft <= 0) a.Kind = EPieceAction::Done;
  }

  static void PullStep(TBPiece& p, TPieceAction& a) {
    TBPiece* target = p.FPullTarget;
    if (!target) return EndPull(p, a, nullptr, false);
    const bool turning = p.Rotating();
    if (!turning) {
      if (p.FPosition == a.LastPos) {
        if (++a.Stalls > kPullStallLimit) return EndPull(p, a, target, false);
      } else {
        a.Stalls = 0;
      }
    }
    a.LastPos = p.FPosition;
    const TPoint goal = p.PlaceBeside(*target);
    const int speed = std::max(1, Options.PieceSlideSpeed);
    for (int i = 0; i < speed; ++i) {
      p.FPosition.X += Sign(goal.X - p.FPosition.X);
      p.FPosition.Y += Sign(goal.Y - p.FPosition.Y);
    }
    if (p.FPosition == goal && !turning && p.FActions.size() == 1) EndPull(p, a, target, true);
  }

  static void Land(TBPiece& p, TPieceAction& a) { EndPull(p, a, p.FPullTarget, true); }

 private:
  static void EndPull(TBPiece& p, TPieceAction& a, TBPiece* target, bool arrived) {
    --p.FBusyCount;
    if (target) --target->FBusyCount;
    --p.FBoard.PendingAnimations;
    a.Kind = EPieceAction::Done;
    p.FPullTarget = nullptr;
    const auto done = std::move(a.OnPulled);
    if (done) arrived ? done(p.FIndex, target->FIndex) : done(-1, -1);
  }
};

bool TBPiece::StepActions() {
  if (FActions.empty()) return false;
  // A completed turn promotes the queued one behind it, which steps from the next frame on.
  bool turned = false;
  for (size_t i = 0; i < FActions.size(); ++i) {
    TPieceAction& a = FActions[i];
    switch (a.Kind) {
      case EPieceAction::Rotate:
        if (!turned) TPieceSteps::Turn(*this, a);
        turned = true;
        break;
      case EPieceAction::Slide: TPieceSteps::SlideStep(*this, a); break;
      case EPieceAction::Pull: TPieceSteps::PullStep(*this, a); break;
      default: break;
    }
  }
  while (!FActions.empty() && FActions.back().Kind == EPieceAction::Done) FActions.pop_back();
  return true;
}

void TBPiece::FinishActions() {
  FinishTurns();
  for (TPieceAction& a : FActions) {
    if (a.Kind == EPieceAction::Pull && FPullTarget) {
      FPosition = PlaceBeside(*FPullTarget);
      TPieceSteps::Land(*this, a);
    }
    a.Kind = EPieceAction::Done;
  }
  FActions.clear();
  Activate();
}

bool TBPiece::PullTo(TBPiece& target, std::function<void(int a, int b)> onPulled) {
  if (IsBusy() || HasActions() || target.HasActions() || &target == this) return false;
  ++FBusyCount;
  ++target.FBusyCount;
  ++FBoard.PendingAnimations;
  FBoard.MergeDue = true;
  TPieceAction pull;
  pull.Kind = EPieceAction::Pull;
  pull.OnPulled = std::move(onPulled);
  FPullTarget = &target;
  FActions.push_back(std::move(pull));
  const int turns = ((target.FOrientation - FOrientation) % 4 + 4) % 4;
  for (int i = 0; i < turns; ++i) Rotate(true, Width() / 2, Height() / 2);
  Activate();
  return true;
}

void TBPiece::Slide(int steps, double vx, double vy, double dvx, double dvy) {
  auto slide = std::find_if(FActions.begin(), FActions.end(), [](const TPieceAction& a) { return a.Kind == EPieceAction::Slide; });
  if (slide == FActions.end()) {
    FActions.emplace_back();
    slide = FActions.end() - 1;
  }
  slide->Kind = EPieceAction::Slide;
  slide->StepsLeft = steps;
  slide->Vx = vx;
  slide->Vy = vy;
  slide->Dvx = dvx;
  slide->Dvy = dvy;
  slide->Fx = slide->Fy = 0;
  Activate();
}

TPoint TBPiece::PlaceBeside(const TBPiece& other) const {
  const TPoint o = other.BoxTopLeft(), own = BoxTopLeft();
  return {other.FPosition.X - o.X + own.X, other.FPosition.Y - o.Y + own.Y};
}

// ---- Dragging ---------------------------------------------------------------------------------

void TBPiece::StartDrag() {
  FDragging = true;
  FGrab = {FBoard.Mouse.X - FPosition.X, FBoard.Mouse.Y - FPosition.Y};
  Activate();
}

void TBPiece::EndDrag() {
  FDragging = false;
  FGrab = {};
  if (Rotating()) FDisplayOffset = {};
  Activate();
}

// ---- Pins -------------------------------------------------------------------------------------

// A slide whose speed falls evenly to nothing covers (steps + 1) / 2 times its starting speed.
void TBPiece::SlideBy(TPoint d) {
  constexpr int kSteps = 20;
  const double vx = 2.0 * d.X / (kSteps + 1), vy = 2.0 * d.Y / (kSteps + 1);
  Slide(kSteps, vx, vy, -vx / kSteps, -vy / kSteps);
}

void TBPiece::SetState(uint8_t state) {
  if (state == FState) return;
  PlaySound(FinishSound.get());
  FState = state;
  Activate();
  if (FBoard.OnStateChange) FBoard.OnStateChange(FIndex);
}

void TBPiece::TogglePin() {
  if (FState == PieceState::Free) {
    if (FPinFrame == -1) CreatePinOverlay();
    SetState(PieceState::Pinned);
  } else {
    SetState(PieceState::Free);
  }
}

void TBPiece::TogglePinLock() {
  if (FState != PieceState::Pinned && FPinFrame == -1) CreatePinOverlay();
  SetState(FState == PieceState::Pinned ? PieceState::PinLifted : PieceState::Pinned);
}

void TBPiece::PinWithoutAnimation(uint8_t state) {
  if (FPinFrame == -1) CreatePinOverlay();
  FState = state;
  if (FPinFrame != -1) ShowPinFrame(PinFrameGoal());
  Activate();
}

void TBPiece::ShowPinFrame(int frame) {
  FPinFrame = frame;
  if (TMySprite* pin = FPinSprite.Get()) pin->Surfaces[0]->CopyFrom(*FBoard.PinImages[size_t(frame)]);
}

// A theme with fewer than three pin frames cannot show the thirds: the piece pins without one.
void TBPiece::CreatePinOverlay() {
  if (FBoard.PinImages.size() < 3 || !FSprite) return;
  FPinFrame = 0;
  FindPinPoint();
  TMySprite& piece = *FSprite.Get();
  const int index = FEngine.AddEmptySprite(piece.X + FPinX, piece.Y + FPinY, piece.Depth + 0.5,
                                           SpriteCategory::PinOverlay);
  FEngine.AddSurface(index, FBoard.PinImages[0].get());
  TMySprite& pin = FEngine.Sprite(index);
  pin.Fixed = false;
  pin.DrawTag = FIndex;
  FPinSprite = TSpriteHandle(FEngine, index);
}

void TBPiece::RemovePinOverlay() {
  FPinSprite.Reset();
  FPinFrame = -1;
}

// The frame the overlay rests on in the current state: the end of its third.
int TBPiece::PinFrameGoal() const {
  const int n = int(FBoard.PinImages.size());
  if (FState == PieceState::Pinned) return n / 3 - 1;
  if (FState == PieceState::PinLifted) return n - 1;
  return 2 * n / 3 - 1;
}

// One frame of the pin animation; true while it still moves.
bool TBPiece::StepPinFrame() {
  if (FPinFrame == -1) return false;
  const int n = int(FBoard.PinImages.size());
  const int goal = PinFrameGoal();
  const int first = FState == PieceState::Pinned ? 0 : FState == PieceState::PinLifted ? 2 * n / 3 : n / 3;
  if (FPinFrame == goal) {
    if (FState != PieceState::Free) return false;
    RemovePinOverlay();
    return false;
  }
  ShowPinFrame(FPinFrame < first || FPinFrame > goal ? first : FPinFrame + 1);
  return true;
}

void TBPiece::PlacePinOverlay() {
  TMySprite* pin = FPinSprite.Get();
  TMySprite* piece = FSprite.Get();
  if (!pin || !piece) return;
  pin->X = piece->X + FPinX;
  pin->Y = piece->Y + FPinY;
  pin->Visible = piece->Visible && piece->Angle == 0;
  pin->SetDepth(piece->Depth + 0.5);
}

// The first point, on a 5-pixel grid, where the pin's head and its four arms all lie on the piece.
void TBPiece::FindPinPoint() {
  const TMyDib* image = Bitmap(FOrientation);
  const int w = Width(), h = Height();
  const int a = FBoard.PinImages.empty() ? 0 : FBoard.PinImages[0]->Width() / 2;
  for (int y = 5; image && y < h; y += 5)
    for (int x = 5; x <= w - 5; x += 5)
      if (Opaque(*image, x, y) && Opaque(*image, x - a, y) && Opaque(*image, x, y + a) &&
          Opaque(*image, x + a, y) && Opaque(*image, x, y - a)) {
        FPinX = x - a;
        FPinY = y - a;
        return;
      }
  FPinX = w / 2;
  FPinY = h / 2;
}

// ---- Sprite -----------------------------------------------------------------------------------

void TBPiece::CreateSprite(double depth, int highOrientation) {
  const int index = FEngine.AddEmptySprite(FPosition.X, FPosition.Y, depth, SpriteCategory::Piece);
  TMySprite& s = FEngine.Sprite(index);
  s.Kind = ESpriteKind::Piece;
  s.Fixed = false;
  s.Shadow = true;
  s.DrawTag = FIndex;
  for (int o = 0; o <= highOrientation; ++o) s.Bitmaps.push_back(std::move(FImages[size_t(o)]));
  FSprite = TSpriteHandle(FEngine, index);
  FEngine.AddSurface(index, Bitmap(FOrientation));
  s.Frame = unsigned(FOrientation);
  Activate();
}

void TBPiece::AdoptSprite(TBPiece& other) {
  FSprite = std::move(other.FSprite);
  if (TMySprite* s = FSprite.Get()) s->DrawTag = FIndex;
  Activate();
}

// The bitmaps live in the piece until its sprite takes them over; an orientation the sprite
// lacks has no bitmap.
template <class Piece>
TBPiece::TSlot<Piece> TBPiece::SlotOf(Piece& piece, int orientation) {
  static std::shared_ptr<TMyDib> none;  // never assigned: callers only write a slot that holds one
  TMySprite* s = piece.FSprite.Get();
  if (!s) return piece.FImages[size_t(orientation & 3)];
  return size_t(orientation) < s->Bitmaps.size() ? s->Bitmaps[size_t(orientation)] : none;
}

const std::shared_ptr<TMyDib>& TBPiece::FindShared(int orientation) const { return SlotOf(*this, orientation); }

TMyDib* TBPiece::MutableBitmap(int orientation) {
  std::shared_ptr<TMyDib>& slot = SlotOf(*this, orientation);
  if (slot && slot.use_count() > 1) slot = std::make_shared<TMyDib>(*slot);
  return slot.get();
}

void TBPiece::ReleaseBitmap(int orientation) { SlotOf(*this, orientation).reset(); }

void TBPiece::ReloadImage() {
  TMySprite* s = FSprite.Get();
  const TMyDib* image = Bitmap(FOrientation);
  if (!s || !image || s->Surfaces.empty()) return;
  s->Surfaces[0]->CopyFrom(*image);
  s->Frame = unsigned(FOrientation);
  FTinted = false;
}

bool TBPiece::UpdateTint() {
  if (FHinted == FTinted) return false;
  TMySprite* s = FSprite.Get();
  if (!s || s->Surfaces.empty()) return false;
  if (FHinted) {
    Tint(*s->Surfaces[0], CurrentTheme().SelectColor.ToPixel());
    FTinted = true;
  } else {
    ReloadImage();
  }
  return true;
}

int TBPiece::Width() const {
  const TMySprite* s = FSprite.Get();
  if (s && !s->Surfaces.empty()) return s->Surfaces[0]->Width();
  const TMyDib* image = Bitmap(FOrientation);
  return image ? image->Width() : 0;
}

int TBPiece::Height() const {
  const TMySprite* s = FSprite.Get();
  if (s && !s->Surfaces.empty()) return s->Surfaces[0]->Height();
  const TMyDib* image = Bitmap(FOrientation);
  return image ? image->Height() : 0;
}

TRect TBPiece::Bounds() const { return MakeRect(FPosition.X, FPosition.Y, Width(), Height()); }

double TBPiece::Depth() const {
  const TMySprite* s = FSprite.Get();
  return s ? s->Depth : 0;
}

void TBPiece::SetDepth(double depth) {
  if (TMySprite* s = FSprite.Get()) s->SetDepth(depth);
  if (TMySprite* pin = FPinSprite.Get()) pin->SetDepth(depth + 0.5);
}

void TBPiece::SetVisible(bool visible) {
  if (TMySprite* s = FSprite.Get()) s->Visible = visible;
  if (TMySprite* pin = FPinSprite.Get()) pin->Visible = visible;
  Activate();
}

void TBPiece::SetIndex(int index) {
  FIndex = index;
  if (TMySprite* s = FSprite.Get()) s->DrawTag = index;
  if (TMySprite* pin = FPinSprite.Get()) pin->DrawTag = index;
}

}  // namespace qj
