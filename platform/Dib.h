// Device-independent bitmaps: 1, 24 or 32 bits per pixel by their BitCount, stored as 32-bit
// pixels. Reads Windows BMP, JPEG and PNG; writes byte-exact Windows BMP files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PixelBuffer.h"

namespace qj {

class TMyDib : public TPixelBuffer {
 public:
  TMyDib();
  TMyDib(int width, int height, int bitCount = 24);
  TMyDib(const TMyDib& other);
  TMyDib(TMyDib&& other) noexcept;
  TMyDib& operator=(const TMyDib&) = default;
  TMyDib& operator=(TMyDib&&) noexcept = default;
  ~TMyDib() override;

  // Bitmaps alive now (copies included), for the statistics overlay.
  static size_t LiveCount();

  // 1, 24 or 32. Governs how the bitmap is saved (and, for 1 and 24 bits, that the alpha byte
  // is not significant); pixels in memory are always 32-bit.
  int BitCount() const { return FBitCount; }
  void SetBitCount(int bits) { FBitCount = bits; }

  // Any picture format we read (BMP, JPEG, PNG), chosen by content, not by extension. On failure the
  // bitmap is unchanged, false is returned and LastError() says why. Never throws, never aborts.
  // BMP: 1, 4, 8 bits with a palette, 16 (5-5-5 or bit fields), 24, 32 bits, either row order;
  // RLE compression is refused. JPEG: grey, colour and CMYK, turned upright by the orientation a
  // camera noted in its EXIF block. A 32-bit BMP keeps its fourth byte as alpha and loads as
  // BitCount 32; a 1-bit black-and-white one loads as BitCount 1; every other picture loads as
  // BitCount 24 with the alpha bytes 0.
  [[nodiscard]] bool LoadFromFile(const std::string& path);
  [[nodiscard]] bool LoadFromMemory(const uint8_t* data, size_t size);
  // A Windows BMP file as GDI writes it: 14-byte BITMAPFILEHEADER, 40-byte BITMAPINFOHEADER with
  // biSizeImage set, no resolution (0 pixels per metre) and biClrUsed 0, bottom-up rows padded to
  // 4 bytes, uncompressed. 1 bit: palette black, white; a pixel is white unless its colour bytes
  // are all 0. 32 bits: the alpha byte is written as it is. An empty bitmap cannot be saved.
  // Writing is atomic (a temporary file renamed over `path`).
  [[nodiscard]] bool SaveToFile(const std::string& path) const;
  [[nodiscard]] std::vector<uint8_t> SaveToMemory() const;  // empty for an empty bitmap

  const std::string& LastError() const { return FLastError; }

  // Refuse pictures whose pixel count exceeds this before allocating anything.
  static constexpr int64_t kMaxPixels = int64_t(1) << 28;

 private:
  bool Fail(const std::string& why);

  int FBitCount = 24;
  mutable std::string FLastError;  // saving is const but still reports why it failed
};

// A JPEG file from pixels, for tools that make pictures (quality 1..100). Written atomically.
[[nodiscard]] bool SaveJpeg(const TPixelBuffer& pixels, const std::string& path, int quality, std::string* error = nullptr);

}  // namespace qj
