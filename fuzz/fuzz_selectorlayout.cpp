// Fuzzes the selector's file of window places, read at every visit of the selector.
#include "fuzz/FuzzSupport.h"
#include "screens/USelectorLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  (void)qj::ReadSelectorLayout(qj::fuzz::WriteInput("Jigsaws/PuzzleSelecterInfo.inf", data, size));
  return 0;
}
