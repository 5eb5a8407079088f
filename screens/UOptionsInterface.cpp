#include "screens/UOptionsInterface.h"

#include "platform/Input.h"

namespace qj {

// The engine sets FResult to ToGame when the screen was opened over a game: leaving returns there.
void TOptionsInterface::KeyDown(uint16_t& key, int shift) {
  if (!FDone && key == VK_ESCAPE)
    Finish(FResult == OptionsResult::ToGame ? OptionsResult::ToGame : OptionsResult::ToMainMenu);
}

}  // namespace qj
