#include "creation/UGreyMap.h"

#include <algorithm>

namespace qj {

TGreyMap Turn(const TGreyMap& src, int turns) {
  const bool swap = (turns & 1) != 0;
  TGreyMap out(swap ? src.Height : src.Width, swap ? src.Width : src.Height);
  if (!src.Empty()) TurnPlane(src.Data.data(), src.Width, src.Height, turns, out.Data.data());
  return out;
}

void TurnInto(const TPixelBuffer& src, int turns, TPixelBuffer& dst) {
  const bool swap = (turns & 1) != 0;
  dst.ResizeUninitialised(swap ? src.Height() : src.Width(), swap ? src.Width() : src.Height());
  if (!src.Empty()) TurnPlane(src.Bits(), src.Width(), src.Height(), turns, dst.Bits());
}

}  // namespace qj
