// Fuzzes the score file reader.
#include "fuzz/FuzzSupport.h"
#include "creation/UGameRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qj::TGameRecord best, last;
  (void)qj::ReadScoreFile(qj::fuzz::WriteInput("game.scr", data, size), best, last);
  return 0;
}
