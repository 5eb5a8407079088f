// One-channel 8-bit maps for the cutter's masks, shadows and bevel light, with the box blur
// and quarter turns they need.
#pragma once

#include <algorithm>
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

// Every pixel becomes the mean of the (2r + 1)^2 square around it, clipped at the map's edges,
// rounded to nearest with halves up: (2 sum + n) / 2n. Running sums make it O(1) per pixel.
// Only the top-left outWidth x outHeight pixels of the result are produced.
TGreyMap BoxBlur(const TGreyMap& src, int radius, int outWidth, int outHeight);
inline TGreyMap BoxBlur(const TGreyMap& src, int radius) {
  return BoxBlur(src, radius, src.Width, src.Height);
}

// Quarter turns clockwise of a w x h map: turn 1 takes (x, y) to (h-1-y, x), turn 2 to
// (w-1-x, h-1-y), turn 3 to (y, w-1-x).
template <class T>
void TurnPlane(const T* src, int w, int h, int turns, T* dst) {
  for (int y = 0; y < h; ++y) {
    const T* s = src + size_t(y) * w;
    switch (turns & 3) {
      case 0:
        std::copy(s, s + w, dst + size_t(y) * w);
        break;
      case 1:  // destination is h wide
        for (int x = 0; x < w; ++x) dst[size_t(x) * h + (h - 1 - y)] = s[x];
        break;
      case 2: {
        T* d = dst + size_t(h - 1 - y) * w + (w - 1);
        for (int x = 0; x < w; ++x) *(d - x) = s[x];
        break;
      }
      default:  // destination is h wide
        for (int x = 0; x < w; ++x) dst[size_t(w - 1 - x) * h + y] = s[x];
        break;
    }
  }
}

TGreyMap Turn(const TGreyMap& src, int turns);
void TurnInto(const TPixelBuffer& src, int turns, TPixelBuffer& dst);

}  // namespace qj
