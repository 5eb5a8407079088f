// One-channel 8-bit maps for the cutter's masks, shadows and bevel light, with the box blur
// and quarter turns they need.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/PixelBuffer.h"

namespace qj {

struct TGreyMap {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Data;

  TGreyMap() = default;
  TGreyMap(int width, int height, uint8_t value = 0)
      : Width(width), Height(height), Data(size_t(width) * size_t(height), value) {}
  uint8_t* Row(int y) { return Data.data() + size_t(y) * Width; }
  const uint8_t* Row(int y) const { return Data.data() + size_t(y) * Width; }
  uint8_t& At(int x, int y) { return Row(y)[x]; }
  uint8_t At(int x, int y) const { return Row(y)[x]; }
  bool Empty() const { return Data.empty(); }
};

// Sums over rectangles in constant time, for box blurs of any radius: the mean of the
// (2r + 1)^2 square around a pixel, clipped at the map's edges, is its window sum over the
// number of pixels in the window, rounded to nearest with halves up: (2 sum + n) / 2n.
template <class T>
class TSummedArea {
 public:
  // value(x, y) for every pixel of a width x height area.
  template <class F>
  TSummedArea(int width, int height, F&& value)
      : FWidth(width), FHeight(height), FSums(size_t(width + 1) * size_t(height + 1), T(0)) {
    for (int y = 0; y < height; ++y) {
      T row = 0;
      T* above = FSums.data() + size_t(y) * (width + 1);
      T* here = above + (width + 1);
      for (int x = 0; x < width; ++x) {
        row += T(value(x, y));
        here[x + 1] = above[x + 1] + row;
      }
    }
  }
  // Sum over x0..x1, y0..y1 (inclusive), clipped to the area.
  T Sum(int x0, int y0, int x1, int y1) const {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, FWidth - 1) + 1, y1 = std::min(y1, FHeight - 1) + 1;
    if (x1 <= x0 || y1 <= y0) return 0;
    const size_t stride = size_t(FWidth) + 1;
    return FSums[y1 * stride + x1] - FSums[y0 * stride + x1] - FSums[y1 * stride + x0] + FSums[y0 * stride + x0];
  }

 private:
  int FWidth, FHeight;
  std::vector<T> FSums;
};

// Pixels in the window of radius r around coordinate c on an axis of the given length.
inline uint32_t WindowSpan(int c, int r, int length) {
  return uint32_t(std::min(c + r, length - 1) - std::max(c - r, 0) + 1);
}
inline uint32_t BoxMean(uint64_t sum, uint32_t n) { return uint32_t((2 * sum + n) / (2 * uint64_t(n))); }

// BoxMean for many sums over windows of one size: a multiplication in place of the division,
// exact for sums of byte levels (at most 255 a pixel) in windows of under 2^14 pixels; larger
// windows divide.
class TBoxMean {
 public:
  explicit TBoxMean(uint32_t n)
      : FN(n), FScale(n < (1u << 14) ? (uint64_t(1) << 40) / (2 * uint64_t(n)) + 1 : 0) {}
  uint32_t operator()(uint32_t sum) const {
    return FScale ? uint32_t((uint64_t(2 * sum + FN) * FScale) >> 40) : BoxMean(sum, FN);
  }
  uint32_t Pixels() const { return FN; }

 private:
  uint32_t FN;
  uint64_t FScale;
};

// Quarter turns clockwise of a w x h map: turn 1 takes (x, y) to (h-1-y, x), turn 2 to
// (w-1-x, h-1-y), turn 3 to (y, w-1-x). Written a destination row at a time: a piece's source
// stays in the cache while its columns are read.
template <class T>
void TurnPlane(const T* src, int w, int h, int turns, T* dst) {
  const ptrdiff_t stride = w;
  switch (turns & 3) {
    case 0:
      std::copy(src, src + size_t(w) * h, dst);
      break;
    case 1:  // destination is h wide; its row x is source column x read upwards
      for (int x = 0; x < w; ++x) {
        const T* s = src + (h - 1) * stride + x;
        T* d = dst + size_t(x) * h;
        for (int j = 0; j < h; ++j) d[j] = s[-j * stride];
      }
      break;
    case 2:
      for (int y = 0; y < h; ++y)
        std::reverse_copy(src + y * stride, src + (y + 1) * stride, dst + (h - 1 - y) * stride);
      break;
    default:  // destination is h wide; its row w-1-x is source column x read downwards
      for (int x = 0; x < w; ++x) {
        const T* s = src + x;
        T* d = dst + size_t(w - 1 - x) * h;
        for (int j = 0; j < h; ++j) d[j] = s[j * stride];
      }
      break;
  }
}

TGreyMap Turn(const TGreyMap& src, int turns);
void TurnInto(const TPixelBuffer& src, int turns, TPixelBuffer& dst);

}  // namespace qj
