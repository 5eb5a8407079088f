#include "controls/UEngines.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "controls/UButtons.h"
#include "controls/UControls.h"
#include "core/UMiscelaneous.h"
#include "graphics/UDepthBand.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Display.h"

namespace qj {

void TControlDeleter::operator()(TDXControl* control) const { delete control; }

TBasicEvents::~TBasicEvents() = default;

void TBasicEvents::SetDepthRange(double low, double high) {
  FDepthLow = low;
  FDepthHigh = high;
  FDepth = low;
  FContentTop = high;
}

double TBasicEvents::NextDepth() {
  const double next = NextDepthInBand(FEngine, FDepthLow, FContentTop, FDepth);
  if (next <= FDepth) FollowRenumberedDepths();
  FDepth = next;
  DepthChanged(FDepth);
  return FDepth;
}

void TBasicEvents::FollowRenumberedDepths() {
  for (TDXControl* c : FControls)
    if (c) c->FollowSpriteDepth();
}

void TBasicEvents::ReadOptionsBlock(const std::string& name, std::vector<std::string>& list) const {
  qj::ReadOptionsBlock(name, list);
}

void TBasicEvents::AddControl(TDXControl* control) { FControls.push_back(control); }

void TBasicEvents::RemoveControl(TDXControl* control) {
  auto it = std::find(FControls.begin(), FControls.end(), control);
  if (it == FControls.end()) return;
  if (FDispatching > 0)
    *it = nullptr;
  else
    FControls.erase(it);
}

void TBasicEvents::RetireControl(TOwnedControl control) {
  if (FDispatching == 0) return;  // freed on return
  RemoveControl(control.get());
  FRetiredControls.push_back(std::move(control));
}

TBasicEvents::TDispatchGuard::~TDispatchGuard() {
  if (--FOwner.FDispatching != 0) return;
  std::erase(FOwner.FControls, nullptr);
  FOwner.FRetiredControls.clear();
}

// The loops re-read the control count at every step: a handler may add or free controls.
void TInterface::MouseDown(int button, int shift, int x, int y) {
  FSprite = FEngine->SpriteAt(x, y);
  FEngine->FStatText = "SpriteClick = " + std::to_string(FSprite);
  TDispatchGuard guard(*this);
  for (size_t i = 0; i < FControls.size(); ++i) {
    TDXControl* c = FControls[i];
    if (!c) continue;
    if (c->HasSprite(FSprite) || c->FCapture) c->MouseDown(button, shift, x, y);
  }
}

void TInterface::MouseUp(int button, int shift, int x, int y) {
  FSprite = FEngine->SpriteAt(x, y);
  TDispatchGuard guard(*this);
  for (size_t i = 0; i < FControls.size(); ++i) {
    if (FControls[i] && FControls[i]->HasSprite(FSprite)) FControls[i]->MouseUp(button, shift, x, y);
    // Read again: the first call may have freed the control or cleared its capture.
    if (FControls[i] && FControls[i]->FCapture) FControls[i]->MouseUp(button, shift, x, y);
  }
}

void TInterface::MouseMove(int shift, int x, int y) {
  TDispatchGuard guard(*this);
  for (size_t i = 0; i < FControls.size(); ++i)
    if (TDXControl* c = FControls[i]) c->MouseMove(shift, x, y);
}

TInterface::~TInterface() { FreeOwnedControls(); }

void TInterface::SetDepthRange(double low, double high) {
  TBasicEvents::SetDepthRange(low, high);
  FOverlayLow = high - std::floor((high - low) / 10);
  FOverlayDepth = FOverlayLow;
  FContentTop = FOverlayLow - 1;
}

double TInterface::NextOverlayDepth() {
  const double next = NextDepthInBand(FEngine, FOverlayLow, FDepthHigh, FOverlayDepth);
  if (next <= FOverlayDepth) FollowRenumberedDepths();
  FOverlayDepth = next;
  return FOverlayDepth;
}

void TInterface::Enter() {
  FDone = false;
  FResult = 0;
  FDepth = FDepthLow;
  FOverlayDepth = FOverlayLow;
}

void TInterface::Leave() {
  FreeOwnedControls();
  FDone = true;
}

void TInterface::RestoreControls() {
  TDispatchGuard guard(*this);
  for (size_t i = 0; i < FControls.size(); ++i)
    if (TDXControl* c = FControls[i]) c->Restore();
}

void TInterface::FreeOwnedControls() {
  while (!FOwnedControls.empty()) {
    TOwnedControl control = std::move(FOwnedControls.back());
    FOwnedControls.pop_back();
    RetireControl(std::move(control));
  }
}

void TInterface::ShowHelp(int topic) {
  if (OnHelp) OnHelp(topic);
}

void TInterface::Suspend() {
  if (OnDone) OnDone(this);
}

void TInterface::Resume() { Restore(); }

void TInterface::Update() {
  UpdateHintTiming();
  TDispatchGuard guard(*this);
  for (size_t i = 0; i < FControls.size(); ++i)
    if (TDXControl* c = FControls[i]) c->Animate();
  if (FDone && OnDone) OnDone(this);
}

uint32_t TInterface::RestFor(uint32_t now) const {
  for (const TDXControl* c : FControls)
    if (c && c->Animating()) return 0;
  if (FDone) return 0;
  IDisplay* display = DXDraw();
  if (!display || FMouseStill == 0) return kNothingDue;
  const TPoint origin = display->ClientOrigin();
  if (FMouseX - origin.X == FHintX && FMouseY - origin.Y == FHintY) return kNothingDue;
  const uint32_t still = now - FMouseStill, response = uint32_t(std::max(Options.HintResponseMs, 0));
  return still >= response ? 0 : response - still;
}

void TInterface::UpdateHintTiming() {
  IDisplay* display = DXDraw();
  if (!display) return;
  const TPoint cursor = display->CursorPos();
  const uint32_t now = GetTickCount();
  if (cursor.X != FMouseX || cursor.Y != FMouseY) {
    FMouseStill = now;
    FMouseX = cursor.X;
    FMouseY = cursor.Y;
    return;
  }
  if (FMouseStill == 0 || now - FMouseStill < uint32_t(Options.HintResponseMs)) return;
  const TPoint origin = display->ClientOrigin();
  const int x = FMouseX - origin.X;
  const int y = FMouseY - origin.Y;
  if (x != FHintX || y != FHintY) OfferHint(x, y);
  FMouseStill = now;
}

void TInterface::OfferHint(int x, int y) {
  FSprite = FEngine->SpriteAt(x, y);
  TDispatchGuard guard(*this);
  for (size_t i = 0; i < FControls.size(); ++i) {
    TDXControl* c = FControls[i];
    if (!c || !c->FHintZone) continue;
    const TRect& r = c->FHintRect;
    if (x < r.Left || x > r.Right || y < r.Top || y > r.Bottom) continue;
    if (c->ShowHint()) {
      FHintX = x;
      FHintY = y;
    }
  }
}

}  // namespace qj
