// The trays of the play table and the pieces in them.
#include "play/UPieceTrays.h"

#include <algorithm>

#include "controls/UEngines.h"
#include "controls/UTrayWindow.h"
#include "graphics/UGraphicsEngine.h"

namespace qj {
namespace {

constexpr int kMaxTrayPieceWidth = 600;
constexpr int kMaxTrayPieceHeight = 400;

}  // namespace

TPieceTrays::TPieceTrays(TInterface& screen, TPieceStore& pieces) : FScreen(screen), FPieces(pieces) {}

double TPieceTrays::SetDepths(double trayTop) {
  const double tableTop = trayTop - kTrayCount * kTraySlot;
  for (int i = 1; i <= kTrayCount; ++i) FDepth[size_t(i)] = tableTop + 1 + (i - 1) * kTraySlot;
  return tableTop;
}

void TPieceTrays::Create(double iconDepth) {
  for (int i = 1; i <= kTrayCount; ++i) {
    TDXTrayWindow& tray = FScreen.AddOwnedControl<TDXTrayWindow>();
    tray.SetTrayNumber(i);
    FTrays[size_t(i)] = &tray;
    if (TMySprite* s = tray.FSprite.Get()) s->SetDepth(FDepth[size_t(i)]);
    tray.FDepth = FDepth[size_t(i)];
    if (TMySprite* icon = tray.IconSprite()) icon->SetDepth(iconDepth);
    tray.OnActivate = [this, i](TDXControl*) { Activated(i); };
    tray.OnShow = [this, i](TDXControl*) { Shown(i); };
    tray.OnHide = [this, i](TDXControl*) { Shown(i); };
    tray.OnEmpty = [this, i](TDXControl*) { Emptied(i); };
  }
  FTrays[1]->ShowIcon();
}

int TPieceTrays::TrayAt(int x, int y) const {
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

bool TPieceTrays::Fits(const TBPiece& piece) {
  return piece.Width() < kMaxTrayPieceWidth && piece.Height() < kMaxTrayPieceHeight;
}

TPieceBand TPieceTrays::Band(uint32_t tray) const {
  const TDXTrayWindow* window = Window(int(tray));
  const double depth = window ? window->FDepth : FDepth[std::min<size_t>(tray, kTrayCount)];
  return {depth + 10, depth + kTraySlot - 1};
}

bool TPieceTrays::Receive(TBPiece& piece, int tray) {
  const TDXTrayWindow* window = Window(tray);
  if (!window) return false;
  piece.FTray = uint32_t(tray);
  ContentsChanged();
  piece.FTrayOrigin = {window->FLeft, window->FTop};
  piece.SetVisible(window->WindowShown());
  return true;
}

void TPieceTrays::KeepInside(int index) {
  if (index < 0 || index >= int(FPieces.size())) return;
  TBPiece& p = *FPieces[size_t(index)];
  TDXTrayWindow* tray = Window(int(p.FTray));
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

// The pieces in trays, listed again only after something entered or left a tray: a frame then
// looks at them alone, not at every piece of the set.
const std::vector<TBPiece*>& TPieceTrays::PiecesInTrays() {
  if (!FListDirty) return FList;
  FList.clear();
  for (const auto& p : FPieces)
    if (p->FTray != 0) FList.push_back(p.get());
  FListDirty = false;
  return FList;
}

void TPieceTrays::Update() {
  UpdateIcons();
  UpdateContents();
}

void TPieceTrays::UpdateIcons() {
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
void TPieceTrays::UpdateContents() {
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

// The activated tray comes on top: the trays above it move down one slot each, with their pieces.
void TPieceTrays::Activated(int number) {
  TDXTrayWindow* active = Window(number);
  if (!active) return;
  const double from = active->FDepth, top = FDepth[kTrayCount];
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

void TPieceTrays::Shown(int number) {
  const TDXTrayWindow* tray = Window(number);
  if (!tray) return;
  const bool shown = tray->WindowShown();
  for (const auto& p : FPieces)
    if (p->FTray == uint32_t(number)) p->SetVisible(shown);
}

void TPieceTrays::Emptied(int number) {
  TDXTrayWindow* tray = Window(number);
  if (!tray) return;
  std::vector<TBPiece*> emptied;
  for (const auto& p : FPieces)
    if (p->FTray == uint32_t(number)) emptied.push_back(p.get());
  std::sort(emptied.begin(), emptied.end(), [](const TBPiece* a, const TBPiece* b) { return a->Depth() < b->Depth(); });
  ContentsChanged();
  for (TBPiece* p : emptied) {
    p->FTray = 0;
    p->SetVisible(true);
    if (OnBackOnTable) OnBackOnTable(p->FIndex);
  }
  tray->Collapse();
}

void TPieceTrays::SaveTo(TSavedGame& game) const {
  for (int i = 1; i <= kTrayCount; ++i) {
    const TDXTrayWindow* tray = FTrays[size_t(i)];
    TSavedTray& t = game.Trays[size_t(i - 1)];
    if (!tray) continue;
    const TMySprite* icon = tray->IconSprite();
    t = {uint8_t(tray->WindowShown()), uint8_t(icon && icon->Visible), tray->FLeft, tray->FTop, tray->FWidth, tray->FHeight};
  }
}

void TPieceTrays::LoadFrom(const TSavedGame& game) {
  for (int i = 1; i <= kTrayCount; ++i) {
    TDXTrayWindow* tray = FTrays[size_t(i)];
    const TSavedTray& t = game.Trays[size_t(i - 1)];
    if (!tray) continue;
    t.WindowVisible ? tray->Open() : tray->Collapse();
    if (TMySprite* icon = tray->IconSprite()) icon->Visible = t.IconVisible != 0;
    if (t.WindowVisible) tray->ShowIcon();
    tray->RestoreBounds(t.Left, t.Top, t.Width, t.Height);
  }
}

}  // namespace qj
