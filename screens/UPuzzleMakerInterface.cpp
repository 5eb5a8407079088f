#include "screens/UPuzzleMakerInterface.h"

#include "creation/UBitmapBuilder.h"
#include "platform/Input.h"

namespace qj {

TPuzzleMakerInterface::TPuzzleMakerInterface(TGraphicsEngine* engine)
    : TInterface(engine), FCutter(std::make_unique<TPuzzleCutter>()) {}

TPuzzleMakerInterface::~TPuzzleMakerInterface() = default;

// Escape returns to the selector.
void TPuzzleMakerInterface::KeyDown(uint16_t& key, int shift) {
  if (!FDone && key == VK_ESCAPE) Finish(MakerResult::ToSelector);
}

}  // namespace qj
