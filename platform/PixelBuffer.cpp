#include "platform/PixelBuffer.h"

#include <algorithm>

namespace qj {

void TPixelBuffer::Resize(int width, int height) {
  ResizeUninitialised(width, height);
  std::fill(FPixels.begin(), FPixels.end(), 0u);
}

void TPixelBuffer::ResizeUninitialised(int width, int height) {
  FWidth = std::max(width, 0);
  FHeight = std::max(height, 0);
  if (FWidth == 0 || FHeight == 0) FWidth = FHeight = 0;
  FPixels.resize(size_t(FWidth) * size_t(FHeight));
  MarkChanged();
}

void TPixelBuffer::Fill(TPixel colour) {
  std::fill(FPixels.begin(), FPixels.end(), colour);
  MarkChanged();
}

void TPixelBuffer::FillRect(const TRect& r, TPixel colour) {
  const TRect c = Intersect(r, Bounds());
  for (int y = c.Top; y < c.Bottom; ++y) std::fill(Row(y) + c.Left, Row(y) + c.Right, colour);
  MarkChanged();
}

}  // namespace qj
