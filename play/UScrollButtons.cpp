// The scroll buttons: their making from the theme, their places, when they show, and the
// speed-up of repeated clicks.
#include "play/UScrollButtons.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "controls/UButtons.h"
#include "controls/UTrayWindow.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UMenuSprites.h"
#include "platform/Clock.h"
#include "platform/Log.h"

namespace qj {

namespace {
constexpr double kMaxSpeed = 15.0;
constexpr int kPixelsPerSpeed = 3;
constexpr int kFallbackFrameRate = 60;
constexpr int kNearZone = 48;
constexpr int kAboveBar = 4;  // the down button stands clear of the bar and its buttons

// How far the table scrolls at most.
TPoint MaxScroll(const TGraphicsEngine& engine) {
  return {std::max(0, TDXTrayWindow::kTableWidth - engine.FWidth), std::max(0, TDXTrayWindow::kTableHeight - engine.FHeight)};
}
}  // namespace

double NextScrollSpeed(double speed, uint32_t sinceLastMs, int clickMs, int fps) {
  if (sinceLastMs >= uint32_t(std::max(clickMs, 0))) return 1.0;
  // Until a rate is measured the frame-rate limit stands in; dividing by 0 would jump to the cap.
  if (fps <= 0) fps = Options.MaxFPS > 0 ? Options.MaxFPS : kFallbackFrameRate;
  return std::min(speed + 25.0 / fps, kMaxSpeed);
}

void TScrollButtons::Enter() {
  FSpeed = 1.0;
  FLastTick = 0;
}

void TScrollButtons::Make() {
  std::vector<std::string> block;
  FOwner.ReadOptionsBlock("ScrollButtons", block);
  static constexpr TPoint kDirections[4] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (size_t i = 0; i < FButtons.size(); ++i) {
    auto& button = FOwner.AddOwnedControl<TDXButton>();
    const std::string base = i < block.size() ? block[i] : std::string();
    if (!button.SetImages({ThemedFileName(base)})) {
      LogError("scroll button %zu is drawn plain: %s", i,
               ThemedImageError(base, ThemedFileName(base) + " cannot be read").c_str());
      button.SetButton("", 0, 0, 32, 32, 0);
    }
    button.FAutoRepeat = true;
    const TPoint d = kDirections[i];
    button.OnClick = [this, d](TDXControl*) { Scroll(d.X, d.Y); };
    FButtons[i] = &button;
  }
}

void TScrollButtons::Reset() { FButtons.fill(nullptr); }

void TScrollButtons::Layout(int barTop) {
  const int w = FOwner.FEngine->FWidth, h = FOwner.FEngine->FHeight;
  TDXButton* const* s = FButtons.data();
  s[0]->SetBounds(0, (h - s[0]->FHeight) / 2, s[0]->FWidth, s[0]->FHeight);
  s[1]->SetBounds(w - s[1]->FWidth, (h - s[1]->FHeight) / 2, s[1]->FWidth, s[1]->FHeight);
  s[2]->SetBounds((w - s[2]->FWidth) / 2, 0, s[2]->FWidth, s[2]->FHeight);
  s[3]->SetBounds((w - s[3]->FWidth) / 2, DownTop(barTop), s[3]->FWidth, s[3]->FHeight);
}

int TScrollButtons::DownTop(int barTop) const { return barTop - FButtons[3]->FHeight - kAboveBar; }

// A button shows only where the table can move its way; the whole table does not scroll. The
// down button rides on the bar as it slides, never over its buttons.
void TScrollButtons::Update(TPoint pointer, int barTop, bool allowed) {
  if (FButtons[3]->FTop != DownTop(barTop)) FButtons[3]->SetTop(DownTop(barTop));
  const TGraphicsEngine& engine = *FOwner.FEngine;
  const int w = engine.FWidth, h = engine.FHeight;
  const bool near[4] = {pointer.X < kNearZone, pointer.X >= w - kNearZone, pointer.Y < kNearZone,
                        pointer.Y >= barTop - kNearZone && pointer.Y < h};
  const TPoint most = MaxScroll(engine);
  const bool room[4] = {engine.FScrollX > 0, engine.FScrollX < most.X, engine.FScrollY > 0, engine.FScrollY < most.Y};
  for (size_t i = 0; i < FButtons.size(); ++i)
    ShowSprite(FButtons[i], allowed && !engine.Overview() && room[i] &&
                                (!Options.AutoHideScroll || near[i] || FButtons[i]->FDown));
}

void TScrollButtons::Scroll(int dx, int dy) {
  TGraphicsEngine& engine = *FOwner.FEngine;
  const uint32_t now = GetTickCount();
  const uint32_t since = FLastTick == 0 ? UINT32_MAX : now - FLastTick;
  FSpeed = NextScrollSpeed(FSpeed, since, Options.ClickMs, OnFrameRate ? OnFrameRate() : 0);
  FLastTick = now;
  const int step = int(std::lround(kPixelsPerSpeed * FSpeed));
  const TPoint most = MaxScroll(engine);
  engine.FScrollX = std::clamp(engine.FScrollX + dx * step, 0, most.X);
  engine.FScrollY = std::clamp(engine.FScrollY + dy * step, 0, most.Y);
}

}  // namespace qj
