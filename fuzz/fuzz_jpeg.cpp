// Fuzzes JPEG loading through TMyDib, the way pictures and themed images are read, and the
// reduced decoding of the selector's thumbnails, a road of its own through libjpeg.
#include "fuzz/FuzzSupport.h"
#include "platform/JpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qj::fuzz::LoadPicture(data, size, {0xFF, 0xD8, 0xFF});
  qj::TPixelBuffer reduced;
  std::string error;
  (void)qj::DecodeJpeg(data, size, qj::TMyDib::kMaxPixels, reduced, error, 5);
  return 0;
}
