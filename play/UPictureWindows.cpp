// The ghost and the small picture: their windows and sliders, where they lie, when their setup
// goes away, and what showing them notes in the game record.
#include "play/UPictureWindows.h"

#include <algorithm>

#include "controls/UEngines.h"
#include "controls/UScrollBar.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "creation/UGameRecord.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UMenuSprites.h"
#include "play/USavedGame.h"
#include "platform/Clock.h"

namespace qj {

namespace {

constexpr int kEdgeGap = 10;
constexpr int kSmallStepPixels = 40;
constexpr int kSetupTimeoutMs = 5000;

bool Over(const TDXControl* c, TPoint p) { return c && MakeRect(c->FLeft, c->FTop, c->FWidth, c->FHeight).Contains(p.X, p.Y); }

}  // namespace

void TPictureWindows::Enter() {
  FGhostPos = {kEdgeGap, kEdgeGap};
  FSmallStep = std::clamp(Options.SmallPicSize, kSmallPicMin, kSmallPicMax);
}

void TPictureWindows::Make() {
  MakeGhostWindow();
  MakeSmallWindow();
}

void TPictureWindows::Reset() {
  FGhostWindow = FSmallWindow = nullptr;
  FGhostSlider = FSmallSlider = nullptr;
  FGhost.Reset();
}

void TPictureWindows::MakeGhostWindow() {
  TGraphicsEngine& engine = *FOwner.FEngine;
  FGhost = MakeMenuSprite(engine, FOwner.NextDepth(), SpriteCategory::Ghost);
  engine.AddSurface(FGhost.Index(), nullptr);
  FGhostLoaded = false;
  const int alpha = std::clamp(Options.GhostAlpha, kGhostAlphaMin, kGhostAlphaMax);
  TMySprite& ghost = *FGhost.Get();  // only until the next sprite is made
  ghost.Fixed = false;               // the ghost lies on the table and scrolls with it
  ghost.Visible = false;
  ghost.Alpha = uint8_t(alpha);
  FOwner.NextDepth();  // the ghost stays 2 below its setup window
  FGhostWindow = &FOwner.AddOwnedControl<TDXWindow>();
  FGhostWindow->Setup(TextKey(Text::GhostImageTitle), 0, 0, 200, 150, {.Style = 1, .FillClient = false});
  FGhostSlider = &FOwner.AddOwnedControl<TDXVScrollBar>();
  FGhostSlider->Setup(0, 0, 0, 100, kGhostAlphaMin, kGhostAlphaMax, alpha, ScrollBarStyle::Large,
                      [this](TDXControl*) {
                        Options.GhostAlpha = FGhostSlider->FPosition;
                        if (TMySprite* s = FGhost.Get()) s->Alpha = uint8_t(FGhostSlider->FPosition);
                      });
  FGhostWindow->OnMove = [this](TDXControl*) { GhostWindowMoved(); };
  ShowGhostSetup(false);
}

void TPictureWindows::MakeSmallWindow() {
  FSmallWindow = &FOwner.AddOwnedControl<TDXWindow>();
  FSmallWindow->Setup(TextKey(Text::SmallPictureTitle), 2 * kEdgeGap, 2 * kEdgeGap, 200, 150, {.Style = 1});
  FSmallWindow->FStretchContents = true;
  FSmallWindow->FKeepAspect = true;
  FSmallSlider = &FOwner.AddOwnedControl<TDXHScrollBar>();
  FSmallSlider->Setup(0, 0, 100, 0, kSmallPicMin, kSmallPicMax, FSmallStep, ScrollBarStyle::Small,
                      [this](TDXControl*) { SetSmallStep(FSmallSlider->FPosition); });
  FSmallWindow->OnMove = [this](TDXControl*) { SmallWindowMoved(); };
  SetSmallStep(FSmallStep);
  ShowSprite(FSmallWindow, false);
  ShowSprite(FSmallSlider, false);
}

// Until the windows are made the picture is only kept: Make shows it.
void TPictureWindows::SetPicture(const TMyDib& picture) {
  FPicture = std::make_unique<TMyDib>(picture);
  if (!FSmallWindow) return;
  if (FGhostLoaded) LoadGhost(true);
  if (FSmallWindow->FHasPicture) FSmallWindow->SetPicture(*FPicture);
  SetSmallStep(FSmallStep);
  PlaceGhostWindow();
}

// A picture-sized copy in the ghost's surface, and in the small picture's window, is kept only
// while that help is shown: most games never show them.
void TPictureWindows::LoadGhost(bool loaded) {
  FGhostLoaded = loaded && FPicture;
  if (!FGhost.Get()) return;
  FGhost.Get()->Surfaces.clear();
  FOwner.FEngine->AddSurface(FGhost.Index(), FGhostLoaded ? FPicture.get() : nullptr);
}

void TPictureWindows::ShowGhost(bool shown) {
  if (FGhostLoaded != (shown && FPicture)) LoadGhost(shown);
  if (TMySprite* ghost = FGhost.Get()) ghost->Visible = shown && FPicture;
  if (shown && GameRecord.Finished == 0) GameRecord.GhostUsed = 1;
  ShowGhostSetup(shown);
}

void TPictureWindows::ShowGhostSetup(bool shown) {
  FGhostSetupShown = shown;
  FGhostSeenTick = GetTickCount();
  if (shown) PlaceGhostWindow();
  ShowSprite(FGhostWindow, shown);
  ShowSprite(FGhostSlider, shown);
}

// The setup window frames the ghost with the slider at its right; it takes the picture's size
// only once it is shown, as its surfaces grow with it.
void TPictureWindows::PlaceGhostWindow() {
  if (!FGhostWindow || !FPicture) return;
  const TGraphicsEngine& engine = *FOwner.FEngine;
  const int sliderWidth = FGhostSlider->FWidth;
  if (FGhostSetupShown) FGhostWindow->SetClientSize(FPicture->Width() + sliderWidth, FPicture->Height());
  const int left = FGhostPos.X - engine.FScrollX - FGhostWindow->FInsetLeft;
  const int top = FGhostPos.Y - engine.FScrollY - FGhostWindow->FInsetTop;
  if (FGhostWindow->FLeft != left) FGhostWindow->SetLeft(left);
  if (FGhostWindow->FTop != top) FGhostWindow->SetTop(top);
  GhostWindowMoved();
}

void TPictureWindows::GhostWindowMoved() {
  const TDXWindow& w = *FGhostWindow;
  const TGraphicsEngine& engine = *FOwner.FEngine;
  FGhostPos = {w.FLeft + w.FInsetLeft + engine.FScrollX, w.FTop + w.FInsetTop + engine.FScrollY};
  if (TMySprite* ghost = FGhost.Get()) {
    ghost->X = FGhostPos.X;
    ghost->Y = FGhostPos.Y;
  }
  const int pictureWidth = FPicture ? FPicture->Width() : 0;
  FGhostSlider->SetBounds(w.FLeft + w.FInsetLeft + pictureWidth, w.FTop + w.FInsetTop, FGhostSlider->FWidth,
                          std::max(1, w.ClientHeight()));
}

void TPictureWindows::MoveGhostWindow(int left, int top) {
  const TGraphicsEngine& engine = *FOwner.FEngine;
  FGhostPos = {left + FGhostWindow->FInsetLeft + engine.FScrollX, top + FGhostWindow->FInsetTop + engine.FScrollY};
  PlaceGhostWindow();
}

void TPictureWindows::FollowScroll() {
  if (FGhostSetupShown) PlaceGhostWindow();
}

void TPictureWindows::ShowSmallPicture(bool shown) {
  if (FSmallWindow && shown && FPicture && !FSmallWindow->FHasPicture) FSmallWindow->SetPicture(*FPicture);
  if (FSmallWindow && !shown && FSmallWindow->FHasPicture) FSmallWindow->ClearPicture();
  FSmallSetupShown = shown;
  FSmallSeenTick = GetTickCount();
  if (shown) NoteSmallSize();
  ShowSprite(FSmallWindow, shown);
  ShowSprite(FSmallSlider, shown);
}

void TPictureWindows::SetSmallStep(int step) {
  FSmallStep = std::clamp(step, kSmallPicMin, kSmallPicMax);
  Options.SmallPicSize = FSmallStep;
  if (FSmallSlider->FPosition != FSmallStep) FSmallSlider->SetPosition(FSmallStep);
  const int width = kSmallStepPixels * (FSmallStep + 1);
  const int height = FPicture && FPicture->Width() > 0 ? width * FPicture->Height() / FPicture->Width() : width * 3 / 4;
  FSmallWindow->SetClientSize(width, height);
  if (OnSmallChosen && OnSmallChosen()) NoteSmallSize();
  SmallWindowMoved();
}

// The largest picture the player looked at while the game ran costs score.
void TPictureWindows::NoteSmallSize() {
  if (GameRecord.Finished == 0) GameRecord.MaxPictureSize = std::max(GameRecord.MaxPictureSize, FSmallStep);
}

void TPictureWindows::SmallWindowMoved() {
  const TDXWindow& w = *FSmallWindow;
  FSmallSlider->SetBounds(w.FLeft, w.FTop + w.FHeight, w.FWidth, FSmallSlider->FHeight);
}

void TPictureWindows::MoveSmallWindow(int left, int top) {
  FSmallWindow->SetLeft(left);
  FSmallWindow->SetTop(top);
}

bool TPictureWindows::GhostSetupTimedOut(uint32_t now, TPoint pointer) {
  const TRect ghost = GhostRect();
  const TGraphicsEngine& engine = *FOwner.FEngine;
  if (engine.Overview()) {  // the setup frames the ghost at 1:1: it waits for the close view
    if (FGhostSetupShown) ShowGhostSetup(false);
    return false;
  }
  const bool overGhost = MakeRect(ghost.Left - engine.FScrollX, ghost.Top - engine.FScrollY, ghost.Width(),
                                  ghost.Height()).Contains(pointer.X, pointer.Y);
  if (Over(FGhostWindow, pointer) || Over(FGhostSlider, pointer) || overGhost) {
    FGhostSeenTick = now;
    if (!FGhostSetupShown) ShowGhostSetup(true);
    return false;
  }
  if (!FGhostSetupShown || now - FGhostSeenTick <= uint32_t(kSetupTimeoutMs)) return false;
  ShowGhostSetup(false);
  return true;
}

bool TPictureWindows::SmallSetupTimedOut(uint32_t now, TPoint pointer) {
  if (Over(FSmallWindow, pointer) || Over(FSmallSlider, pointer)) {
    FSmallSeenTick = now;
    ShowSprite(FSmallSlider, true);
    return false;
  }
  if (now - FSmallSeenTick <= uint32_t(kSetupTimeoutMs)) return false;
  ShowSprite(FSmallSlider, false);
  return true;
}

uint32_t TPictureWindows::SetupDueIn(uint32_t now) const {
  const uint32_t small = TInterface::TimeoutDueIn(now, FSmallSeenTick, kSetupTimeoutMs);
  if (!FGhostSetupShown) return small;
  return std::min(small, TInterface::TimeoutDueIn(now, FGhostSeenTick, kSetupTimeoutMs));
}

TRect TPictureWindows::GhostRect() const {
  if (!SpriteShown(FGhost) || !FPicture) return {};
  return MakeRect(FGhostPos.X, FGhostPos.Y, FPicture->Width(), FPicture->Height());
}

TRect TPictureWindows::SmallPictureRect() const {
  if (!FSmallWindow || !FSmallSetupShown) return {};
  const TGraphicsEngine& engine = *FOwner.FEngine;
  return MakeRect(FSmallWindow->FLeft + engine.FScrollX, FSmallWindow->FTop + engine.FScrollY, FSmallWindow->FWidth,
                  FSmallWindow->FHeight);
}

void TPictureWindows::SaveState(TSavedMenu& m) const {
  m.GhostX = FGhostPos.X;
  m.GhostY = FGhostPos.Y;
  if (FSmallWindow) {
    m.SmallPicLeft = FSmallWindow->FLeft;
    m.SmallPicTop = FSmallWindow->FTop;
    m.SmallPicWidth = FSmallWindow->FWidth;
    m.SmallPicHeight = FSmallWindow->FHeight;
  }
  m.SmallPicStep = FSmallStep;
}

void TPictureWindows::LoadState(const TSavedMenu& m) {
  FGhostPos = {m.GhostX, m.GhostY};
  SetSmallStep(m.SmallPicStep);
  MoveSmallWindow(m.SmallPicLeft, m.SmallPicTop);
  PlaceGhostWindow();
}

}  // namespace qj
