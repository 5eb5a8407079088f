// Device-independent bitmaps: 1, 24 or 32 bits per pixel by their BitCount, stored as 32-bit
// pixels. Reads Windows BMP and JPEG; writes byte-exact Windows BMP files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PixelBuffer.h"

namespace qj {

class TMyDib : public TPixelBuffer {
 public:
  TMyDib() = default;
  TMyDib(int width, int height, int bitCount = 24) : TPixelBuffer(width, height), FBitCount(bitCount) {}

  // 1, 24 or 32. Governs how the bitmap is saved (and, for 1 and 24 bits, that the alpha byte
  // is not significant); pixels in memory are always 32-bit.
  int BitCount() const { return FBitCount; }
  void SetBitCount(int bits) { FBitCount = bits; }

  // Any picture format we read (BMP, JPEG), chosen by content, not by extension. On failure the
  // bitmap is unchanged, false is returned and LastError() says why. Never throws, never aborts.
  bool LoadFromFile(const std::string& path);
  bool LoadFromMemory(const uint8_t* data, size_t size);
  // A Windows BMP file: BITMAPFILEHEADER, BITMAPINFOHEADER, bottom-up rows padded to 4 bytes.
  bool SaveToFile(const std::string& path) const;
  std::vector<uint8_t> SaveToMemory() const;

  const std::string& LastError() const { return FLastError; }

  // Refuse pictures whose pixel count exceeds this before allocating anything.
  static constexpr int64_t kMaxPixels = int64_t(1) << 28;

 private:
  int FBitCount = 24;
  std::string FLastError;
};

// A JPEG file from pixels, for tools that make pictures (quality 1..100).
bool SaveJpeg(const TPixelBuffer& pixels, const std::string& path, int quality, std::string* error = nullptr);

}  // namespace qj
