// Fuzzes JPEG loading through TMyDib, the way pictures and themed images are read.
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qj::fuzz::LoadPicture(data, size, {0xFF, 0xD8, 0xFF});
  return 0;
}
