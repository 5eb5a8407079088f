#include "screens/UPuzzleSelectorInterface.h"

#include "platform/Input.h"

namespace qj {

void TPuzzleSelectorInterface::KeyDown(uint16_t& key, int shift) {
  if (!FDone && key == VK_ESCAPE) Finish(-1);
}

}  // namespace qj
