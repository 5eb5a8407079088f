// The modal windows' life: opened, closed, and the keys that act only on a press made in them.
#include "controls/UModalWindow.h"

namespace qj {

void TModalWindow::Open() {
  FKeyHeld = 0;
  Enter();
}

void TModalWindow::Close() {
  if (FDone) return;
  Leave();
}

void TModalWindow::KeyDown(uint16_t& key, int shift) { FKeyHeld = key; }

void TModalWindow::KeyUp(uint16_t& key, int shift) {
  if (key != FKeyHeld) return;
  FKeyHeld = 0;
  KeyReleased(key, shift);
}

}  // namespace qj
