// Windows BMP reading (every header field checked) and writing in GDI's own layout.
#include "platform/BmpCodec.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

namespace qj {
namespace {

static_assert(std::endian::native == std::endian::little, "pixels are copied as little-endian words");

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5,
                   kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }
void Put16(uint8_t* p, uint32_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
void Put32(uint8_t* p, uint32_t v) { Put16(p, v); Put16(p + 2, v >> 16); }

// One colour channel of a bit-field pixel: where it sits and how to widen it to 8 bits.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;
  unsigned Get(uint32_t px) const {
    if (Bits == 0) return 0;
    const uint32_t v = (px & Mask) >> Shift;
    return Bits >= 8 ? unsigned(v >> (Bits - 8)) : unsigned(v * 255 / ((1u << Bits) - 1));
  }
};

struct TBmpLayout {
  int Width = 0, Height = 0;
  bool TopDown = false;
  int Bits = 0;
  uint32_t Compression = kBiRgb;
  TChannel Channels[4];  // red, green, blue, alpha
  TPixel Palette[256] = {};
  size_t PaletteCount = 0;
  size_t PixelOffset = 0;
  size_t Stride = 0;
};

bool Refuse(std::string& error, const std::string& why) {
  error = why;
  return false;
}

bool MakeChannel(uint32_t mask, int bits, TChannel& c) {
  c = {};
  if (mask == 0) return true;
  if (bits < 32 && (mask >> bits) != 0) return false;
  c.Mask = mask;
  c.Shift = std::countr_zero(mask);
  const uint32_t run = mask >> c.Shift;
  if ((run & (run + 1)) != 0) return false;  // the bits of a channel must be contiguous
  c.Bits = std::popcount(run);
  return true;
}

bool ReadCompression(uint32_t compression, int bits, std::string& error) {
  if (compression == kBiRle8 || compression == kBiRle4) return Refuse(error, "RLE-compressed bitmaps are not supported");
  if (compression == kBiJpeg || compression == kBiPng) return Refuse(error, "bitmaps holding JPEG or PNG data are not supported");
  if (compression == kBiRgb) return true;
  if ((compression == kBiBitfields || compression == kBiAlphaBitfields) && (bits == 16 || bits == 32)) return true;
  return Refuse(error, "unknown bitmap compression " + std::to_string(compression));
}

// Bit-field masks sit in the V2+ headers, or right after a 40-byte header. `end` receives the
// offset just past the header and its masks.
bool ReadMasks(const uint8_t* d, size_t size, size_t infoSize, TBmpLayout& h, size_t& end, std::string& error) {
  end = kFileHeaderSize + infoSize;
  if (h.Bits != 16 && h.Bits != 32) return true;
  uint32_t masks[4] = {0x7C00, 0x03E0, 0x001F, 0};  // 16 bits without fields: 5-5-5
  if (h.Compression == kBiBitfields || h.Compression == kBiAlphaBitfields) {
    const bool hasAlpha = h.Compression == kBiAlphaBitfields || infoSize >= 56;
    const size_t maskStart = kFileHeaderSize + kInfoHeaderSize;
    end = std::max(end, maskStart + (hasAlpha ? 16 : 12));
    if (end > size) return Refuse(error, "bitmap file ends inside its colour masks");
    for (size_t i = 0; i < 4; ++i) masks[i] = (i < 3 || hasAlpha) ? U32(d + maskStart + 4 * i) : 0;
  }
  for (int i = 0; i < 4; ++i)
    if (!MakeChannel(masks[i], h.Bits, h.Channels[i])) return Refuse(error, "bitmap colour masks are malformed");
  return true;
}

bool ReadPalette(const uint8_t* d, size_t size, size_t start, TBmpLayout& h, std::string& error) {
  const uint32_t used = U32(d + kFileHeaderSize + 32);
  const size_t full = size_t(1) << h.Bits;
  if (used > full) return Refuse(error, "bitmap palette has more colours than its bit depth allows");
  h.PaletteCount = used ? used : full;
  if (start + h.PaletteCount * 4 > size || start + h.PaletteCount * 4 > h.PixelOffset)
    return Refuse(error, "bitmap palette lies outside the file");
  for (size_t i = 0; i < h.PaletteCount; ++i) {
    const uint8_t* q = d + start + 4 * i;
    h.Palette[i] = MakePixel(q[2], q[1], q[0]);
  }
  return true;
}

bool ReadDimensions(const uint8_t* d, int64_t maxPixels, TBmpLayout& h, std::string& error) {
  const int32_t w = int32_t(U32(d + 18)), hh = int32_t(U32(d + 22));
  if (w <= 0 || hh == 0 || hh == INT32_MIN) return Refuse(error, "bitmap has an invalid size");
  if (U16(d + 26) != 1) return Refuse(error, "bitmap has an invalid plane count");
  h.Width = w;
  h.Height = hh < 0 ? -hh : hh;
  h.TopDown = hh < 0;
  if (int64_t(h.Width) * h.Height > maxPixels) return Refuse(error, "bitmap is too large");
  h.Bits = U16(d + 28);
  if (h.Bits != 1 && h.Bits != 4 && h.Bits != 8 && h.Bits != 16 && h.Bits != 24 && h.Bits != 32)
    return Refuse(error, "unsupported bitmap bit depth " + std::to_string(h.Bits));
  h.Stride = (size_t(h.Width) * size_t(h.Bits) + 31) / 32 * 4;
  return true;
}

bool ParseLayout(const uint8_t* d, size_t size, int64_t maxPixels, TBmpLayout& h, std::string& error) {
  if (size < kFileHeaderSize + 4 || d[0] != 'B' || d[1] != 'M') return Refuse(error, "not a bitmap file");
  const size_t infoSize = U32(d + kFileHeaderSize);
  if (infoSize == 12) return Refuse(error, "OS/2 bitmaps are not supported");
  if (infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
    return Refuse(error, "unknown bitmap header size " + std::to_string(infoSize));
  if (size < kFileHeaderSize + infoSize) return Refuse(error, "bitmap file ends inside its header");
  if (!ReadDimensions(d, maxPixels, h, error)) return false;
  h.Compression = U32(d + 30);
  if (!ReadCompression(h.Compression, h.Bits, error)) return false;
  h.PixelOffset = U32(d + 10);
  size_t headerEnd = 0;
  if (!ReadMasks(d, size, infoSize, h, headerEnd, error)) return false;
  if (h.PixelOffset < headerEnd) return Refuse(error, "bitmap pixels overlap its header");
  if (h.Bits <= 8 && !ReadPalette(d, size, headerEnd, h, error)) return false;
  // The last row may lack its padding, as some writers leave it off.
  const size_t lastRow = (size_t(h.Width) * size_t(h.Bits) + 7) / 8;
  if (h.PixelOffset > size || size - h.PixelOffset < h.Stride * size_t(h.Height - 1) + lastRow)
    return Refuse(error, "bitmap file is shorter than its pixel rows");
  return true;
}

void DecodeIndexedRow(const TBmpLayout& h, const uint8_t* src, TPixel* dst) {
  const int perByte = 8 / h.Bits;
  const unsigned mask = (1u << h.Bits) - 1;
  for (int x = 0; x < h.Width; ++x) {
    const int shift = 8 - h.Bits * (x % perByte + 1);
    dst[x] = h.Palette[(src[x / perByte] >> shift) & mask];
  }
}

void DecodeFieldRow(const TBmpLayout& h, const uint8_t* src, TPixel* dst) {
  const TChannel& r = h.Channels[0];
  const TChannel& g = h.Channels[1];
  const TChannel& b = h.Channels[2];
  const TChannel& a = h.Channels[3];
  const int step = h.Bits / 8;
  for (int x = 0; x < h.Width; ++x, src += step) {
    const uint32_t px = step == 2 ? U16(src) : U32(src);
    dst[x] = MakePixel(r.Get(px), g.Get(px), b.Get(px), a.Get(px));
  }
}

void DecodeRow(const TBmpLayout& h, const uint8_t* src, TPixel* dst) {
  if (h.Bits <= 8) {
    DecodeIndexedRow(h, src, dst);
  } else if (h.Bits == 24) {
    for (int x = 0; x < h.Width; ++x, src += 3) dst[x] = MakePixel(src[2], src[1], src[0]);
  } else if (h.Bits == 32 && h.Compression == kBiRgb) {
    std::memcpy(dst, src, size_t(h.Width) * 4);  // B, G, R and the fourth byte as alpha
  } else {
    DecodeFieldRow(h, src, dst);
  }
}

bool IsBlackAndWhite(const TBmpLayout& h) {
  return h.Bits == 1 && h.PaletteCount == 2 && h.Palette[0] == MakePixel(0, 0, 0) &&
         h.Palette[1] == MakePixel(255, 255, 255);
}

void EncodeRow(const TPixel* src, int width, int bitCount, uint8_t* dst) {
  if (bitCount == 32) {
    std::memcpy(dst, src, size_t(width) * 4);
  } else if (bitCount == 24) {
    for (int x = 0; x < width; ++x, dst += 3) {
      dst[0] = uint8_t(PixelB(src[x]));
      dst[1] = uint8_t(PixelG(src[x]));
      dst[2] = uint8_t(PixelR(src[x]));
    }
  } else {
    for (int x = 0; x < width; ++x)
      if (src[x] & kRgbMask) dst[x / 8] |= uint8_t(0x80 >> (x % 8));
  }
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, int64_t maxPixels, TPixelBuffer& out, int& bitCount,
               std::string& error) {
  TBmpLayout h;
  if (!data || !ParseLayout(data, size, maxPixels, h, error)) return false;
  TPixelBuffer pixels;
  pixels.ResizeUninitialised(h.Width, h.Height);
  for (int y = 0; y < h.Height; ++y) {
    const uint8_t* src = data + h.PixelOffset + size_t(y) * h.Stride;
    DecodeRow(h, src, pixels.Row(h.TopDown ? y : h.Height - 1 - y));
  }
  out = std::move(pixels);
  bitCount = h.Bits == 32 ? 32 : IsBlackAndWhite(h) ? 1 : 24;
  return true;
}

std::vector<uint8_t> EncodeBmp(const TPixelBuffer& pixels, int bitCount) {
  if (pixels.Empty()) return {};
  if (bitCount != 1 && bitCount != 32) bitCount = 24;
  const int w = pixels.Width(), h = pixels.Height();
  const size_t stride = (size_t(w) * size_t(bitCount) + 31) / 32 * 4;
  const size_t paletteSize = bitCount == 1 ? 8 : 0;
  const size_t offset = kFileHeaderSize + kInfoHeaderSize + paletteSize;
  const size_t imageSize = stride * size_t(h);
  std::vector<uint8_t> file(offset + imageSize, 0);
  uint8_t* p = file.data();
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, uint32_t(file.size()));
  Put32(p + 10, uint32_t(offset));
  Put32(p + 14, uint32_t(kInfoHeaderSize));
  Put32(p + 18, uint32_t(w));
  Put32(p + 22, uint32_t(h));
  Put16(p + 26, 1);
  Put16(p + 28, uint32_t(bitCount));
  Put32(p + 34, uint32_t(imageSize));  // compression, resolution and colour counts stay 0
  if (bitCount == 1) Put32(p + 58, 0x00FFFFFF);  // palette: black, then white
  for (int y = 0; y < h; ++y) EncodeRow(pixels.Row(h - 1 - y), w, bitCount, p + offset + size_t(y) * stride);
  return file;
}

}  // namespace qj
