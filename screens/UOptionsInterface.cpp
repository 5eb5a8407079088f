#include "screens/UOptionsInterface.h"

#include "platform/Input.h"

namespace qj {

// The engine sets FResult to 1 when the screen was opened over a game: leaving returns there.
void TOptionsInterface::KeyDown(uint16_t& key, int shift) {
  if (!FDone && key == VK_ESCAPE) Finish(FResult == 1 ? 1 : -1);
}

}  // namespace qj
