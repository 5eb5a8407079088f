// Fuzzes the .coord reader at every rectangle a frame's file holds; malformed files are
// reported by ELayoutError.
#include "controls/UButtons.h"
#include "fuzz/FuzzSupport.h"

namespace {
constexpr int kRectangles = 10;  // a window frame's file, the longest the game reads
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = qj::fuzz::WriteInput("Graphics/Frame-0.coord", data, size);
  for (int r = 0; r < kRectangles; ++r) {
    qj::TLayoutRect rect{};
    try {
      qj::ReadLayoutRect(path, rect, 4 * r);
    } catch (const qj::ELayoutError&) {
    }
  }
  return 0;
}
