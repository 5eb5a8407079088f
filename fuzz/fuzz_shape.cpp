// Fuzzes the piece shape file reader; a broken shape file is reported by std::runtime_error.
#include <stdexcept>

#include "creation/USplineDraw.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qj::TSplineDraw shape;
  try {
    shape.LoadShape(qj::fuzz::WriteInput("Shapes/Shape1.txt", data, size));
  } catch (const std::runtime_error&) {
  }
  return 0;
}
