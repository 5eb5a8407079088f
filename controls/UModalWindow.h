// The base of the windows that hold the player's attention over whatever screen is shown (a
// message, the help): while one is open it takes all input, and the screen beneath waits.
#pragma once

#include <cstdint>

#include "controls/UEngines.h"

namespace qj {

class TModalWindow : public TInterface {
 public:
  using TInterface::TInterface;

  bool Shown() const { return !FDone; }
  // Frees the window's controls.
  void Close();
  void Restore() override { RestoreControls(); }
  // A key acts on its release, and only when its press came while the window was open: the
  // release of the key that opened it (Enter on a menu, F1) does not close it again.
  void KeyDown(uint16_t& key, int shift) override;
  void KeyUp(uint16_t& key, int shift) override;

 protected:
  // A key pressed and released in the window.
  virtual void KeyReleased(uint16_t key, int shift) = 0;
  // Marks the window open; the caller then builds its controls.
  void Open();

 private:
  uint16_t FKeyHeld = 0;
};

}  // namespace qj
