// Fuzzes the BMP decoder; a picture it accepts must also survive being written and read again,
// as the game's own BMP files are.
#include <cstdlib>

#include "platform/BmpCodec.h"
#include "platform/Dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qj::TPixelBuffer pixels;
  int bitCount = 0;
  std::string error;
  if (!qj::DecodeBmp(data, size, qj::TMyDib::kMaxPixels, pixels, bitCount, error)) return 0;
  const std::vector<uint8_t> again = qj::EncodeBmp(pixels, bitCount);
  qj::TPixelBuffer reread;
  if (!again.empty() && !qj::DecodeBmp(again.data(), again.size(), qj::TMyDib::kMaxPixels, reread, bitCount, error))
    std::abort();  // the writer produced a file the reader refuses
  return 0;
}
