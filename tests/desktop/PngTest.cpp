// PNG pictures: every colour type libpng writes decodes to the game's pixels, transparency lands
// on white, the icon encoder round-trips, and damaged or oversized files are refused, never fatal.
#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

#include "platform/Dib.h"
#include "platform/PngCodec.h"

namespace qj {
namespace {

struct TMemory {
  std::vector<uint8_t> Bytes;
};

void Append(png_structp png, png_bytep data, png_size_t n) {
  auto* m = static_cast<TMemory*>(png_get_io_ptr(png));
  m->Bytes.insert(m->Bytes.end(), data, data + n);
}

// A PNG of one colour type and bit depth from ready-made rows; `palette` for palette pictures.
std::vector<uint8_t> RawPng(int w, int h, int colourType, int depth, const std::vector<std::vector<uint8_t>>& rows,
                            const std::vector<png_color>& palette = {}, const std::vector<png_byte>& alphas = {}) {
  TMemory memory;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &memory, Append, nullptr);
  png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), depth, colourType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
  if (!alphas.empty()) png_set_tRNS(png, info, alphas.data(), int(alphas.size()), nullptr);
  png_write_info(png, info);
  for (const auto& row : rows) png_write_row(png, row.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return memory.Bytes;
}

TMyDib Load(const std::vector<uint8_t>& file) {
  TMyDib dib;
  EXPECT_TRUE(dib.LoadFromMemory(file.data(), file.size())) << dib.LastError();
  return dib;
}

TEST(Png, RgbGreyAndPaletteBecomeOpaquePixels) {
  TMyDib rgb = Load(RawPng(2, 1, PNG_COLOR_TYPE_RGB, 8, {{200, 10, 20, 1, 2, 3}}));
  ASSERT_EQ(rgb.Width(), 2);
  EXPECT_EQ(rgb.At(0, 0), MakePixel(200, 10, 20));
  EXPECT_EQ(rgb.At(1, 0), MakePixel(1, 2, 3));
  TMyDib grey = Load(RawPng(1, 2, PNG_COLOR_TYPE_GRAY, 8, {{77}, {255}}));
  EXPECT_EQ(grey.At(0, 0), MakePixel(77, 77, 77));
  EXPECT_EQ(grey.At(0, 1), MakePixel(255, 255, 255));
  TMyDib twoBit = Load(RawPng(4, 1, PNG_COLOR_TYPE_PALETTE, 2, {{0b00011011}}, {{9, 8, 7}, {1, 2, 3}, {4, 5, 6}, {255, 0, 0}}));
  EXPECT_EQ(twoBit.At(0, 0), MakePixel(9, 8, 7));
  EXPECT_EQ(twoBit.At(3, 0), MakePixel(255, 0, 0));
  TMyDib deep = Load(RawPng(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0x12, 0x34, 0x80, 0x00, 0xFF, 0xFF}}));
  EXPECT_EQ(deep.At(0, 0), MakePixel(0x12, 0x80, 0xFF));
}

TEST(Png, TransparencyIsLaidOnWhite) {
  TMyDib rgba = Load(RawPng(3, 1, PNG_COLOR_TYPE_RGBA, 8, {{0, 0, 0, 0, 0, 0, 0, 255, 100, 0, 0, 128}}));
  EXPECT_EQ(rgba.At(0, 0), MakePixel(255, 255, 255));
  EXPECT_EQ(rgba.At(1, 0), MakePixel(0, 0, 0));
  EXPECT_EQ(rgba.At(2, 0), MakePixel(177, 127, 127));
  TMyDib keyed = Load(RawPng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}}, {{10, 20, 30}, {40, 50, 60}}, {0}));
  EXPECT_EQ(keyed.At(0, 0), MakePixel(255, 255, 255));
  EXPECT_EQ(keyed.At(1, 0), MakePixel(40, 50, 60));
}

TEST(Png, EncodedIconsKeepTheirColoursAndAlpha) {
  TPixelBuffer icon(3, 2);
  icon.At(0, 0) = MakePixel(10, 20, 30, 255);
  icon.At(2, 1) = MakePixel(200, 100, 50, 64);
  std::vector<uint8_t> file;
  std::string error;
  ASSERT_TRUE(EncodePng(icon, file, error)) << error;
  ASSERT_TRUE(IsPng(file.data(), file.size()));
  TMyDib back = Load(file);
  EXPECT_EQ(back.At(0, 0), MakePixel(10, 20, 30));
  EXPECT_EQ(back.At(1, 0), MakePixel(255, 255, 255));  // alpha 0
  EXPECT_FALSE(EncodePng(TPixelBuffer(), file, error));
}

// IHDR sits right after the signature: length, type, width, height, ...; its CRC follows the data.
std::vector<uint8_t> WithSize(std::vector<uint8_t> file, uint32_t w, uint32_t h) {
  for (int i = 0; i < 4; ++i) {
    file[16 + i] = uint8_t(w >> (24 - 8 * i));
    file[20 + i] = uint8_t(h >> (24 - 8 * i));
  }
  const uLong crc = crc32(0, file.data() + 12, 17);
  for (int i = 0; i < 4; ++i) file[29 + i] = uint8_t(crc >> (24 - 8 * i));
  return file;
}

TEST(Png, OversizedPicturesAreRefusedBeforeAnyPixelIsRead) {
  const std::vector<uint8_t> small = RawPng(1, 1, PNG_COLOR_TYPE_GRAY, 8, {{1}});
  TPixelBuffer out;
  std::string error;
  EXPECT_FALSE(DecodePng(small.data(), small.size(), 0, out, error));
  const std::vector<uint8_t> huge = WithSize(small, 1u << 15, 1u << 15);
  EXPECT_FALSE(DecodePng(huge.data(), huge.size(), TMyDib::kMaxPixels / 2, out, error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
  EXPECT_TRUE(out.Empty());
}

TEST(Png, TruncatedAndCorruptFilesAreRefusedCleanly) {
  std::vector<std::vector<uint8_t>> rows(16, std::vector<uint8_t>(16 * 3));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) rows[y][x] = uint8_t(x * 7 + y * 13);
  const std::vector<uint8_t> file = RawPng(16, 16, PNG_COLOR_TYPE_RGB, 8, rows);
  for (size_t n = 0; n < file.size(); ++n) {
    TMyDib dib;
    EXPECT_FALSE(dib.LoadFromMemory(file.data(), n)) << "cut at " << n;
    EXPECT_TRUE(dib.Empty());
  }
  uint32_t seed = 12345;
  for (int trial = 0; trial < 2000; ++trial) {
    std::vector<uint8_t> bad = file;
    for (int k = 0; k < 3; ++k) {
      seed = seed * 1103515245u + 12345u;
      bad[8 + (seed >> 8) % (bad.size() - 8)] ^= uint8_t(1 + (seed >> 24) % 255);
    }
    TMyDib dib;
    if (!dib.LoadFromMemory(bad.data(), bad.size())) {
      EXPECT_FALSE(dib.LastError().empty());
    }
  }
}

}  // namespace
}  // namespace qj
