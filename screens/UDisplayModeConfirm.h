// A display mode the player applies is tried at once but stored only when the player keeps it
// within ten seconds; without an answer the stored mode comes back by itself.
#pragma once

#include <cstdint>
#include <functional>

#include "core/UMiscelaneous.h"

namespace qj {

class TGraphicsEngine;

class TDisplayModeConfirm {
 public:
  static constexpr int kCountdownSeconds = 10;

  explicit TDisplayModeConfirm(TGraphicsEngine& engine) : FEngine(engine) {}

  // Switches to `mode` and starts the countdown; nothing happens while another mode waits or
  // when the display refuses the mode.
  void Apply(const TDisplaySetting& mode);
  // The waiting mode goes into the settings.
  void Keep();
  // The stored mode again, at the player's word or when the countdown runs out.
  void Revert();
  // Counts the countdown down by the clock.
  void Update();
  // The stored mode again without a word, as when the screen is left.
  void Abandon();
  // Within full screen a change of mode, between window and full screen a toggle; already in
  // it, nothing happens.
  void SwitchToStoredMode();

  // Seconds left to keep the mode, -1 when none waits.
  int Countdown() const { return FCountdown; }
  bool Waiting() const { return FCountdown >= 0; }
  // The display is being switched from here: a display-change notice is our own.
  bool Switching() const { return FSwitching; }

  std::function<void()> OnWaitStarted;  // the new mode is in force and waits for an answer
  std::function<void()> OnSecond;       // a second less to answer
  std::function<void()> OnWaitEnded;    // kept or reverted, before the stored mode returns
  std::function<void()> OnReverted;     // the stored mode is back

 private:
  TGraphicsEngine& FEngine;
  int FCountdown = -1;
  uint32_t FCountdownTick = 0;
  TDisplaySetting FPending;  // the applied mode waiting for Keep
  bool FSwitching = false;
};

}  // namespace qj
