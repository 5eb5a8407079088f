// An owned block of 32-bit pixels; the storage behind every surface and bitmap.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/Geometry.h"

namespace qj {

// Pixels are 0xAARRGGBB in a 32-bit word (bytes B, G, R, A in memory, as in a 32-bit DIB).
// The alpha byte is free for data (piece images keep their shadow density there); colour
// keying and transparency look only at the three colour bytes.
using TPixel = uint32_t;

constexpr TPixel kRgbMask = 0x00FFFFFF;

constexpr TPixel MakePixel(unsigned r, unsigned g, unsigned b, unsigned a = 0) {
  return (TPixel(a & 255) << 24) | (TPixel(r & 255) << 16) | (TPixel(g & 255) << 8) | TPixel(b & 255);
}
constexpr unsigned PixelR(TPixel p) { return (p >> 16) & 255; }
constexpr unsigned PixelG(TPixel p) { return (p >> 8) & 255; }
constexpr unsigned PixelB(TPixel p) { return p & 255; }
constexpr unsigned PixelA(TPixel p) { return p >> 24; }

// Settings and themes store colours as Windows colour values, 0x00BBGGRR.
constexpr TPixel ColorRefToPixel(uint32_t c) { return MakePixel(c & 255, (c >> 8) & 255, (c >> 16) & 255); }
constexpr uint32_t PixelToColorRef(TPixel p) { return PixelR(p) | (PixelG(p) << 8) | (PixelB(p) << 16); }

// A number that differs after every change of a buffer's pixels or size, and between any two
// buffers: caches of composed pixels compare it to learn whether an image is still the one they
// drew. A copy or a move is a change of both sides. Drawn from one counter shared by every thread
// (the cutter's helpers make bitmaps), so no two stamps are ever equal.
class TChangeStamp {
 public:
  TChangeStamp() = default;
  TChangeStamp(const TChangeStamp&) {}
  TChangeStamp(TChangeStamp&& other) noexcept { other.Bump(); }
  TChangeStamp& operator=(const TChangeStamp&) {
    Bump();
    return *this;
  }
  TChangeStamp& operator=(TChangeStamp&& other) noexcept {
    Bump();
    other.Bump();
    return *this;
  }
  uint64_t Value() const { return FValue; }
  void Bump() { FValue = Next(); }

 private:
  static uint64_t Next() {
    static std::atomic<uint64_t> counter{0};
    return counter.fetch_add(1, std::memory_order_relaxed) + 1;
  }
  uint64_t FValue = Next();
};

class TPixelBuffer {
 public:
  TPixelBuffer() = default;
  TPixelBuffer(int width, int height) { Resize(width, height); }
  virtual ~TPixelBuffer() = default;
  TPixelBuffer(const TPixelBuffer&) = default;
  TPixelBuffer& operator=(const TPixelBuffer&) = default;
  TPixelBuffer(TPixelBuffer&&) noexcept = default;
  TPixelBuffer& operator=(TPixelBuffer&&) noexcept = default;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
  TRect Bounds() const { return {0, 0, FWidth, FHeight}; }
  // Rows are contiguous: the pitch is the width.
  int Pitch() const { return FWidth; }

  TPixel* Bits() { return FPixels.data(); }
  const TPixel* Bits() const { return FPixels.data(); }
  TPixel* Row(int y) { return FPixels.data() + size_t(y) * size_t(FWidth); }
  const TPixel* Row(int y) const { return FPixels.data() + size_t(y) * size_t(FWidth); }
  TPixel& At(int x, int y) { return Row(y)[x]; }
  TPixel At(int x, int y) const { return Row(y)[x]; }
  bool InBounds(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }

  // New size; every pixel becomes 0. Negative sizes count as 0.
  void Resize(int width, int height);
  // New size keeping nothing; cheaper than Resize when the caller overwrites every pixel.
  void ResizeUninitialised(int width, int height);
  void Fill(TPixel colour);
  void FillRect(const TRect& r, TPixel colour);  // clipped to the buffer
  size_t ByteSize() const { return FPixels.size() * sizeof(TPixel); }

  // Every method above that changes pixels or size bumps the stamp; code that writes pixels
  // through Row, At or Bits (blits into this buffer included) calls MarkChanged when done.
  uint64_t ChangeStamp() const { return FStamp.Value(); }
  void MarkChanged() { FStamp.Bump(); }

 private:
  TChangeStamp FStamp;
  int FWidth = 0;
  int FHeight = 0;
  std::vector<TPixel> FPixels;
};

}  // namespace qj
