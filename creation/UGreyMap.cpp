#include "creation/UGreyMap.h"

#include <algorithm>

namespace qj {

TGreyMap BoxBlur(const TGreyMap& src, int radius, int outWidth, int outHeight) {
  const int w = src.Width, h = src.Height;
  outWidth = std::min(outWidth, w);
  outHeight = std::min(outHeight, h);
  TGreyMap out(std::max(outWidth, 0), std::max(outHeight, 0));
  if (out.Empty()) return out;
  if (radius <= 0) {
    for (int y = 0; y < outHeight; ++y) std::copy(src.Row(y), src.Row(y) + outWidth, out.Row(y));
    return out;
  }
  // Horizontal window sums of every source row the output needs, then a running column sum.
  const int rowsNeeded = std::min(h, outHeight + radius);
  std::vector<uint32_t> rowSums(size_t(rowsNeeded) * outWidth);
  for (int y = 0; y < rowsNeeded; ++y) {
    const uint8_t* s = src.Row(y);
    uint32_t* d = rowSums.data() + size_t(y) * outWidth;
    uint32_t sum = 0;
    for (int x = 0; x < std::min(radius, w); ++x) sum += s[x];
    for (int x = 0; x < outWidth; ++x) {
      if (x + radius < w) sum += s[x + radius];
      if (x - radius - 1 >= 0) sum -= s[x - radius - 1];
      d[x] = sum;
    }
  }
  std::vector<uint32_t> colCount(outWidth);
  for (int x = 0; x < outWidth; ++x) colCount[x] = uint32_t(std::min(x + radius, w - 1) - std::max(x - radius, 0) + 1);
  std::vector<uint32_t> colSums(outWidth, 0);
  for (int y = 0; y < std::min(radius, h); ++y) {
    const uint32_t* r = rowSums.data() + size_t(y) * outWidth;
    for (int x = 0; x < outWidth; ++x) colSums[x] += r[x];
  }
  for (int y = 0; y < outHeight; ++y) {
    if (y + radius < h) {
      const uint32_t* r = rowSums.data() + size_t(y + radius) * outWidth;
      for (int x = 0; x < outWidth; ++x) colSums[x] += r[x];
    }
    if (y - radius - 1 >= 0) {
      const uint32_t* r = rowSums.data() + size_t(y - radius - 1) * outWidth;
      for (int x = 0; x < outWidth; ++x) colSums[x] -= r[x];
    }
    const uint32_t rows = uint32_t(std::min(y + radius, h - 1) - std::max(y - radius, 0) + 1);
    uint8_t* d = out.Row(y);
    for (int x = 0; x < outWidth; ++x) {
      const uint32_t n = rows * colCount[x];
      d[x] = uint8_t((2 * colSums[x] + n) / (2 * n));
    }
  }
  return out;
}

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
