// Bitmaps: BMP files written as GDI writes them, read back exactly, and damaged files refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/Dib.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

TMyDib Pattern(int w, int h, int bits) {
  TMyDib dib(w, h, bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) dib.At(x, y) = MakePixel(x * 37 + y, y * 11 + 3, x ^ y, bits == 32 ? x * 5 + y : 0);
  return dib;
}

uint32_t Field32(const std::vector<uint8_t>& f, size_t at) {
  return uint32_t(f[at]) | uint32_t(f[at + 1]) << 8 | uint32_t(f[at + 2]) << 16 | uint32_t(f[at + 3]) << 24;
}
void SetField32(std::vector<uint8_t>& f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// A hand-made BMP: 40-byte header, optional palette or masks, rows as given (already padded).
std::vector<uint8_t> MakeBmp(int w, int h, int bits, uint32_t compression, const std::vector<uint32_t>& extra,
                             const std::vector<uint8_t>& rows) {
  std::vector<uint8_t> f(54 + extra.size() * 4, 0);
  f[0] = 'B', f[1] = 'M';
  SetField32(f, 10, uint32_t(f.size()));
  SetField32(f, 14, 40);
  SetField32(f, 18, uint32_t(w));
  SetField32(f, 22, uint32_t(h));
  f[26] = 1, f[28] = uint8_t(bits);
  SetField32(f, 30, compression);
  for (size_t i = 0; i < extra.size(); ++i) SetField32(f, 54 + 4 * i, extra[i]);
  f.insert(f.end(), rows.begin(), rows.end());
  SetField32(f, 2, uint32_t(f.size()));
  return f;
}

void ExpectSamePixels(const TPixelBuffer& a, const TPixelBuffer& b, TPixel mask) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.At(x, y) & mask, b.At(x, y) & mask) << x << "," << y;
}

TEST(DibBmp, WritesTheWindowsLayout) {
  const std::vector<uint8_t> f = Pattern(5, 3, 24).SaveToMemory();
  const size_t stride = 16;  // 5 * 3 = 15 bytes padded to 16
  ASSERT_EQ(f.size(), 54 + stride * 3);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(Field32(f, 2), f.size());
  EXPECT_EQ(Field32(f, 10), 54u);
  EXPECT_EQ(Field32(f, 14), 40u);
  EXPECT_EQ(Field32(f, 18), 5u);
  EXPECT_EQ(Field32(f, 22), 3u);  // positive: bottom-up
  EXPECT_EQ(Field32(f, 34), stride * 3);
  // The first row in the file is the bottom one: pixel (0, 2) as B, G, R.
  const TPixel p = Pattern(5, 3, 24).At(0, 2);
  EXPECT_EQ(f[54], PixelB(p));
  EXPECT_EQ(f[55], PixelG(p));
  EXPECT_EQ(f[56], PixelR(p));
  EXPECT_EQ(f[54 + 15], 0);  // padding
}

TEST(DibBmp, RoundTripsByteForByte) {
  for (int bits : {1, 24, 32}) {
    for (int w : {1, 2, 3, 5, 31, 33, 64}) {
      TMyDib original = Pattern(w, 7, bits);
      if (bits == 1)
        for (int y = 0; y < 7; ++y)
          for (int x = 0; x < w; ++x) original.At(x, y) = (x + y) % 3 ? 0x00FFFFFF : 0;
      const std::vector<uint8_t> first = original.SaveToMemory();
      TMyDib loaded;
      ASSERT_TRUE(loaded.LoadFromMemory(first.data(), first.size())) << loaded.LastError();
      EXPECT_EQ(loaded.BitCount(), bits);
      ExpectSamePixels(loaded, original, bits == 32 ? 0xFFFFFFFF : kRgbMask);
      EXPECT_EQ(loaded.SaveToMemory(), first) << bits << " bits, width " << w;
    }
  }
}

TEST(DibBmp, SavesAndLoadsFiles) {
  test::TTempFolder dir;
  const TMyDib original = Pattern(9, 4, 32);
  ASSERT_TRUE(original.SaveToFile(dir.File("a.bmp")));
  TMyDib loaded;
  ASSERT_TRUE(loaded.LoadFromFile(dir.File("A.BMP"))) << loaded.LastError();
  ExpectSamePixels(loaded, original, 0xFFFFFFFF);
  EXPECT_FALSE(TMyDib().SaveToFile(dir.File("empty.bmp")));
  EXPECT_FALSE(loaded.LoadFromFile(dir.File("missing.bmp")));
  EXPECT_FALSE(loaded.LastError().empty());
}

TEST(DibBmp, ReadsPaletteAndTopDownPictures) {
  // 8 bits, 3 x 2, palette of three colours, rows padded to 4 bytes, bottom row first.
  const std::vector<uint8_t> rows = {0, 1, 2, 0, 2, 1, 0, 0};
  std::vector<uint8_t> f = MakeBmp(3, 2, 8, 0, {0x000000FF, 0x0000FF00, 0x00FF0000}, rows);
  SetField32(f, 46, 3);  // biClrUsed
  TMyDib dib;
  ASSERT_TRUE(dib.LoadFromMemory(f.data(), f.size())) << dib.LastError();
  EXPECT_EQ(dib.BitCount(), 24);
  EXPECT_EQ(dib.At(0, 1), MakePixel(0, 0, 255));  // palette entries are B, G, R, 0
  EXPECT_EQ(dib.At(1, 1), MakePixel(0, 255, 0));
  EXPECT_EQ(dib.At(2, 1), MakePixel(255, 0, 0));
  EXPECT_EQ(dib.At(0, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(dib.At(1, 0), MakePixel(0, 255, 0));
  // The same rows with a negative height are top-down.
  SetField32(f, 22, uint32_t(-2));
  ASSERT_TRUE(dib.LoadFromMemory(f.data(), f.size()));
  EXPECT_EQ(dib.At(0, 0), MakePixel(0, 0, 255));
  EXPECT_EQ(dib.At(2, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(dib.At(2, 1), MakePixel(0, 0, 255));
}

TEST(DibBmp, ReadsFourAndSixteenBitPictures) {
  const std::vector<uint8_t> nibbles = {0x10, 0, 0, 0};  // pixel 0 = index 1, pixel 1 = index 0
  std::vector<uint8_t> f = MakeBmp(2, 1, 4, 0, {0, 0x00FFFFFF}, nibbles);
  SetField32(f, 46, 2);
  TMyDib dib;
  ASSERT_TRUE(dib.LoadFromMemory(f.data(), f.size())) << dib.LastError();
  EXPECT_EQ(dib.At(0, 0), MakePixel(255, 255, 255));
  EXPECT_EQ(dib.At(1, 0), 0u);
  // 5-6-5 through bit fields: pure red, pure green; then 5-5-5 without fields: pure blue.
  f = MakeBmp(2, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {0x00, 0xF8, 0xE0, 0x07});
  ASSERT_TRUE(dib.LoadFromMemory(f.data(), f.size())) << dib.LastError();
  EXPECT_EQ(dib.At(0, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(dib.At(1, 0), MakePixel(0, 255, 0));
  f = MakeBmp(1, 1, 16, 0, {}, {0x1F, 0x00, 0, 0});
  ASSERT_TRUE(dib.LoadFromMemory(f.data(), f.size())) << dib.LastError();
  EXPECT_EQ(dib.At(0, 0), MakePixel(0, 0, 255));
}

TEST(DibBmp, RefusesDamagedFilesAndKeepsTheBitmap) {
  const TMyDib keep = Pattern(4, 4, 32);
  const std::vector<uint8_t> good = Pattern(7, 5, 24).SaveToMemory();
  auto expectRefused = [&](const std::vector<uint8_t>& f, const char* what) {
    TMyDib dib = keep;
    EXPECT_FALSE(dib.LoadFromMemory(f.data(), f.size())) << what;
    EXPECT_FALSE(dib.LastError().empty()) << what;
    ExpectSamePixels(dib, keep, 0xFFFFFFFF);
    EXPECT_EQ(dib.BitCount(), 32);
  };
  // Every shorter prefix, except those missing only the last row's three padding bytes.
  for (size_t n = 0; n + 3 < good.size(); ++n)
    expectRefused(std::vector<uint8_t>(good.begin(), good.begin() + long(n)), "prefix");
  struct TDamage {
    size_t At;
    uint32_t Value;
    const char* What;
  };
  const TDamage damage[] = {{10, 0xFFFFFF00, "pixel offset"}, {10, 20, "pixel offset in header"},
                            {14, 41, "header size"},          {18, 0, "width 0"},
                            {18, 0x80000000, "negative width"}, {22, 0, "height 0"},
                            {22, 0x80000000, "height min"},   {26, 0x00200000, "planes"},
                            {28, 0x00000007, "bit depth"},      {30, 1, "RLE"},
                            {30, 9, "compression"},          {22, 6, "one row more than the file"}};
  for (const TDamage& d : damage) {
    std::vector<uint8_t> f = good;
    SetField32(f, d.At, d.Value);
    expectRefused(f, d.What);
  }
}

TEST(DibBmp, RefusesHugeSizesBeforeAllocating) {
  std::vector<uint8_t> f = MakeBmp(1, 1, 24, 0, {}, {1, 2, 3, 0});
  SetField32(f, 18, 0x7FFFFFFF);
  SetField32(f, 22, 0x7FFFFFFF);
  TMyDib dib(2, 2);
  EXPECT_FALSE(dib.LoadFromMemory(f.data(), f.size()));
  EXPECT_NE(dib.LastError().find("too large"), std::string::npos) << dib.LastError();
  EXPECT_EQ(dib.Width(), 2);
  // Within the pixel limit but far beyond the file: refused for the missing rows.
  SetField32(f, 18, 16384);
  SetField32(f, 22, 16384);
  EXPECT_FALSE(dib.LoadFromMemory(f.data(), f.size()));
  EXPECT_NE(dib.LastError().find("shorter"), std::string::npos) << dib.LastError();
}

TEST(DibBmp, RefusesPalettesAndMasksOutsideTheFile) {
  std::vector<uint8_t> f = MakeBmp(2, 1, 8, 0, {0, 0x00FFFFFF}, {0, 1, 0, 0});
  SetField32(f, 46, 300);  // more colours than 8 bits allow
  TMyDib dib;
  EXPECT_FALSE(dib.LoadFromMemory(f.data(), f.size()));
  SetField32(f, 46, 0);  // 256 entries would overlap the pixels
  EXPECT_FALSE(dib.LoadFromMemory(f.data(), f.size()));
  f = MakeBmp(1, 1, 16, 3, {0xF0F0, 0x0F00, 0x000F}, {0, 0, 0, 0});  // red mask not contiguous
  EXPECT_FALSE(dib.LoadFromMemory(f.data(), f.size()));
  const char garbage[] = "GIF89a not a bitmap";
  EXPECT_FALSE(dib.LoadFromMemory(reinterpret_cast<const uint8_t*>(garbage), sizeof(garbage)));
}

// A complete indexed BMP: `entries` palette entries all present in the file (biClrUsed says
// so), then every pixel row, each pixel using the index x * step mod the entries the depth has.
std::vector<uint8_t> IndexedBmp(int bits, uint32_t entries, int w, int h) {
  std::vector<uint32_t> palette(entries, 0);
  for (uint32_t i = 0; i < entries && i < 256; ++i) palette[i] = ((i * 7) & 255) << 16 | (255 - i) << 8 | (i ^ 0x5A);
  const size_t stride = (size_t(w) * size_t(bits) + 31) / 32 * 4;
  std::vector<uint8_t> rows(stride * size_t(h), 0);
  const unsigned indexes = 1u << bits;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const unsigned index = unsigned(x + 3 * y) % std::min(indexes, std::max(entries, 1u));
      const int perByte = 8 / bits;
      rows[size_t(y) * stride + size_t(x / perByte)] |= uint8_t(index << (8 - bits * (x % perByte + 1)));
    }
  std::vector<uint8_t> f = MakeBmp(w, h, bits, 0, palette, rows);
  SetField32(f, 46, entries);
  return f;
}

TEST(DibBmp, PaletteLargerThanTheBitDepthAllowsIsRefusedEvenWhenComplete) {
  struct TCase {
    int Bits;
    uint32_t Entries;
  };
  // Each file is whole: the palette and all rows are there, so only the colour count is wrong.
  // The cases that could not overflow a 256-colour table come first, and the first one read
  // ends the test.
  for (const TCase c : {TCase{4, 17}, TCase{1, 3}, TCase{8, 300}, TCase{8, 257}, TCase{4, 300}, TCase{1, 300}}) {
    const std::vector<uint8_t> f = IndexedBmp(c.Bits, c.Entries, 9, 4);
    ASSERT_EQ(Field32(f, 10), 54 + 4 * c.Entries);
    TMyDib dib(2, 3);
    ASSERT_FALSE(dib.LoadFromMemory(f.data(), f.size())) << c.Bits << " bits, " << c.Entries << " colours";
    EXPECT_NE(dib.LastError().find("more colours than its bit depth allows"), std::string::npos)
        << c.Bits << " bits, " << c.Entries << " colours: " << dib.LastError();
    EXPECT_EQ(dib.Width(), 2);
  }
}

TEST(DibBmp, FullPalettesOfEveryDepthAreRead) {
  for (const int bits : {1, 4, 8}) {
    const uint32_t full = 1u << bits;
    for (const uint32_t stated : {full, 0u}) {  // 0 means "as many as the depth allows"
      std::vector<uint8_t> f = IndexedBmp(bits, full, 40, 3);
      SetField32(f, 46, stated);
      TMyDib dib;
      ASSERT_TRUE(dib.LoadFromMemory(f.data(), f.size())) << bits << " bits: " << dib.LastError();
      ASSERT_EQ(dib.Width(), 40);
      // Bottom-up: file row y is picture row 2 - y; the last index used is full - 1.
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 40; ++x) {
          const unsigned i = unsigned(x + 3 * y) % full;
          ASSERT_EQ(dib.At(x, 2 - y), MakePixel(i * 7, 255 - i, i ^ 0x5A)) << bits << " bits at " << x << "," << y;
        }
    }
  }
}

TEST(DibBmp, CountsLiveBitmaps) {
  const size_t before = TMyDib::LiveCount();
  {
    TMyDib a(2, 2);
    TMyDib b = a;
    TMyDib c = std::move(b);
    EXPECT_EQ(TMyDib::LiveCount(), before + 3);
  }
  EXPECT_EQ(TMyDib::LiveCount(), before);
}

}  // namespace
}  // namespace qj
