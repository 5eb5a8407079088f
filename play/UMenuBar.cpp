// The menu bar: made from the theme, stretched to the screen, and slid in and out.
#include "play/UMenuBar.h"

#include <algorithm>
#include <string>

#include "controls/UEngines.h"
#include "core/ULayoutFiles.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UMenuSprites.h"
#include "platform/Clock.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Surface.h"

namespace qj {

namespace {
constexpr int kBarRectLine = 1, kTrayRectLine = 5;  // after the .coord file's title line
constexpr int kHideDelayMs = 1000;
constexpr int kEdgeFullScreen = 5, kEdgeWindowed = 10;
}  // namespace

void TMenuBar::Enter() {
  FState = EState::Shown;
  FOffset = FStep = 0;
  FNearTick = GetTickCount();
}

void TMenuBar::Make() {
  const std::string base = DataPath("Graphics/Menus/Menu");
  FImage = std::make_unique<TMyDib>();
  if (!FImage->LoadFromFile(ThemedFileName(base)))
    LogError("menu bar not loaded: %s", ThemedImageError(base, FImage->LastError()).c_str());
  ReadLayoutRect(CoordFileName(base), FBarRect, kBarRectLine);
  ReadLayoutRect(CoordFileName(base), FTrayRect, kTrayRectLine);
  TGraphicsEngine& engine = *FOwner.FEngine;
  FSprite = MakeMenuSprite(engine, FOwner.NextDepth());
  engine.AddSurface(FSprite.Index(), nullptr);
  FSprite.Get()->NoHit = false;
}

// Three slices: the columns left of FBarRect as they are, FBarRect's columns over the middle,
// the rest at the right end.
void TMenuBar::Paint() {
  TMySprite* bar = FSprite.Get();
  if (!bar || FImage->Empty()) return;
  const int w = FOwner.FEngine->FWidth;
  TSurface& surface = *bar->Surfaces[0];
  const int iw = FImage->Width(), ih = FImage->Height();
  const int right = iw - FBarRect.Right;
  surface.SetSize(std::max(1, w), ih);
  Blt(surface, {0, 0, FBarRect.Left, ih}, *FImage, {0, 0, FBarRect.Left, ih}, false);
  Blt(surface, {FBarRect.Left, 0, w - right, ih}, *FImage, {FBarRect.Left, 0, FBarRect.Right, ih}, false);
  Blt(surface, {w - right, 0, w, ih}, *FImage, {FBarRect.Right, 0, iw, ih}, false);
}

void TMenuBar::Place() {
  if (TMySprite* s = FSprite.Get()) {
    s->Y = Rect().Top;
    s->Visible = !Hidden();
  }
}

// Shown, hiding, hidden, showing: a moving bar goes one pixel further each frame.
void TMenuBar::Update(uint32_t now, TPoint pointer) {
  const int h = FOwner.FEngine->FHeight;
  const int barHeight = FImage->Height();
  const int edge = Options.FullScreen ? kEdgeFullScreen : kEdgeWindowed;
  if (pointer.Y >= h - edge && (FState == EState::Hidden || FState == EState::Hiding)) {
    FState = EState::Showing;
    FStep = 0;
  }
  if (pointer.Y >= h - (barHeight + edge)) FNearTick = now;
  if (Options.AutoHideMenu && FState == EState::Shown && now - FNearTick > uint32_t(kHideDelayMs) &&
      pointer.Y < Rect().Top) {
    FState = EState::Hiding;
    FStep = 0;
  }
  if (FState == EState::Hiding) {
    FOffset += FStep++;
    if (FOffset >= barHeight) {
      FOffset = barHeight;
      FState = EState::Hidden;
    }
  } else if (FState == EState::Showing) {
    FOffset = std::max(0, FOffset - FStep++);
    if (FOffset == 0) FState = EState::Shown;
  }
}

uint32_t TMenuBar::HideDueIn(uint32_t now) const {
  if (!Options.AutoHideMenu || FState != EState::Shown) return TInterface::kNothingDue;
  return TInterface::TimeoutDueIn(now, FNearTick, kHideDelayMs);
}

void TMenuBar::Toggle() {
  FState = FState == EState::Shown || FState == EState::Showing ? EState::Hiding : EState::Showing;
  FStep = 0;
}

void TMenuBar::ComeBack() {
  if (Options.AutoHideMenu) return;
  FState = EState::Shown;
  FOffset = 0;
}

TRect TMenuBar::Rect() const {
  const TGraphicsEngine& engine = *FOwner.FEngine;
  const int height = FImage ? FImage->Height() : 0;
  const int top = engine.FHeight - height + FOffset;
  return {0, top, engine.FWidth, top + height};
}

bool TMenuBar::Contains(int x, int y) const { return SpriteShown(FSprite) && Rect().Contains(x, y); }

}  // namespace qj
