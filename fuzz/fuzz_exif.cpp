// Fuzzes the EXIF orientation reader: the input is a JPEG's first bytes (the seed is a JPEG with
// an EXIF block) and, as well, an EXIF block by itself; a small picture is then turned by what
// was read, as loading a photo does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/Exif.h"

namespace {

void TurnAndCheck(qj::EOrientation orientation) {
  const uint16_t value = uint16_t(orientation);
  if (value < 1 || value > 8) std::abort();
  qj::TPixelBuffer pixels(3, 2);
  qj::ApplyOrientation(pixels, orientation);
  if (pixels.Width() != (qj::SwapsSides(orientation) ? 2 : 3)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TurnAndCheck(qj::JpegOrientation(data, size));
  TurnAndCheck(qj::ExifOrientation(data, size));
  return 0;
}
