// The applied display mode and its countdown; the screen shows the question through the events.
#include "screens/UDisplayModeConfirm.h"

#include "controls/UControls.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"

namespace qj {
namespace {

void Notify(const std::function<void()>& event) {
  if (event) event();
}

}  // namespace

// The mode is kept apart from the settings until the player confirms it.
void TDisplayModeConfirm::Apply(const TDisplaySetting& mode) {
  if (Waiting()) return;
  const TDisplayMode wanted = FullScreenMode(mode.Resolution, mode.Refresh);
  {
    const TFlagScope switching(FSwitching, true);
    if (!FEngine.SetDisplayMode(wanted.Width, wanted.Height, mode.FullScreen, wanted.BitCount, wanted.Refresh)) return;
  }
  FPending = mode;
  FCountdown = kCountdownSeconds;
  FCountdownTick = GetTickCount();
  Notify(OnWaitStarted);
}

void TDisplayModeConfirm::Keep() {
  ChooseResolution(FPending.Resolution);
  Options.DisplayRefresh = FPending.Refresh;
  Options.FullScreen = FPending.FullScreen;
  FCountdown = -1;
  Notify(OnWaitEnded);
}

void TDisplayModeConfirm::Revert() {
  FCountdown = -1;
  Notify(OnWaitEnded);
  SwitchToStoredMode();
  Notify(OnReverted);
}

// Counted by the clock, not by frames: a window that was inactive or a display that showed
// nothing for a while still gets its old mode back in time.
void TDisplayModeConfirm::Update() {
  if (!Waiting()) return;
  const uint32_t now = GetTickCount();
  while (FCountdown > 0 && now - FCountdownTick > 1000) {
    --FCountdown;
    FCountdownTick += 1000;
    Notify(OnSecond);
  }
  if (FCountdown == 0) Revert();
}

void TDisplayModeConfirm::Abandon() {
  FCountdown = -1;
  SwitchToStoredMode();
}

void TDisplayModeConfirm::SwitchToStoredMode() {
  BuildRefreshRates(ChosenResolution());
  const TDisplayMode stored = FullScreenMode(ChosenResolution(), Options.DisplayRefresh);
  const TFlagScope switching(FSwitching, true);
  if (FEngine.Display().FullScreenOption() != Options.FullScreen)
    (void)FEngine.ToggleFullScreen(stored);
  else if (Options.FullScreen)
    (void)FEngine.SetDisplayMode(stored.Width, stored.Height, true, stored.BitCount, stored.Refresh);
}

}  // namespace qj
