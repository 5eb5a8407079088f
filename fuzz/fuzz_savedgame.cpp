// Fuzzes the saved game's stream reader and the check against the puzzle's cut.
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qj::fuzz::DecodeSavedGameAndMatch(data, size);
  return 0;
}
