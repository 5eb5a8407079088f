// Fuzzes PNG loading through TMyDib, the way pictures are read.
#include "fuzz/FuzzSupport.h"
#include "platform/PngCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qj::fuzz::LoadPicture(data, size, {std::begin(qj::kPngSignature), std::end(qj::kPngSignature)});
  return 0;
}
