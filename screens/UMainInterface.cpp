#include "screens/UMainInterface.h"

#include "platform/Help.h"
#include "platform/Input.h"

namespace qj {

// Until the menu's buttons exist, its choices are on the keys 1 to 4: the selector, the
// options, continue the last jigsaw, and the maker; Escape quits.
void TMainInterface::KeyDown(uint16_t& key, int shift) {
  if (FDone) return;
  if (key == VK_ESCAPE) Finish(-1);
  if (key >= '1' && key <= '4') Finish(key - '0');
}

}  // namespace qj

namespace qj {

void TMainInterface::KeyUp(uint16_t& key, int shift) {
  if (key == VK_F1 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) OpenHelpTopic(22);
}

}  // namespace qj
