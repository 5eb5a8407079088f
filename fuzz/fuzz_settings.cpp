// Fuzzes the settings file: the INI reader and every key the game takes from it.
#include "core/UMiscelaneous.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qj::Options = qj::TOptions{};  // every run starts from the defaults, as the game does
  qj::LoadSettings(qj::fuzz::WriteInput("Text/Jigsaw.stg", data, size), false);
  return 0;
}
