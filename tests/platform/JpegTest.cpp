// JPEG pictures: colour, grey and CMYK files decode; damaged files are refused, never fatal.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "platform/Dib.h"
#include "platform/Paths.h"
#include "tests/support/PhotoFiles.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

using test::Quadrants;

std::vector<uint8_t> JpegBytes(const TPixelBuffer& p, int quality) {
  test::TTempFolder dir;
  std::vector<uint8_t> data;
  std::string error;
  EXPECT_TRUE(SaveJpeg(p, dir.File("p.jpg"), quality, &error)) << error;
  EXPECT_TRUE(ReadWholeFile(dir.File("p.jpg"), data));
  return data;
}

// A JPEG in a colour space SaveJpeg does not write: one row of `components`-byte pixels.
std::vector<uint8_t> RawJpeg(J_COLOR_SPACE space, int components, int width, const std::vector<uint8_t>& row) {
  jpeg_compress_struct info{};
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(width);
  info.image_height = 8;
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  JSAMPROW r = const_cast<JSAMPROW>(row.data());
  while (info.next_scanline < info.image_height) jpeg_write_scanlines(&info, &r, 1);
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

void ExpectNear(TPixel actual, TPixel expected, int tolerance) {
  EXPECT_NEAR(int(PixelR(actual)), int(PixelR(expected)), tolerance);
  EXPECT_NEAR(int(PixelG(actual)), int(PixelG(expected)), tolerance);
  EXPECT_NEAR(int(PixelB(actual)), int(PixelB(expected)), tolerance);
}

TEST(DibJpeg, DecodesWhatSaveJpegWrote) {
  const TPixelBuffer original = Quadrants(64, 48);
  const std::vector<uint8_t> data = JpegBytes(original, 95);
  TMyDib dib;
  ASSERT_TRUE(dib.LoadFromMemory(data.data(), data.size())) << dib.LastError();
  ASSERT_EQ(dib.Width(), 64);
  ASSERT_EQ(dib.Height(), 48);
  EXPECT_EQ(dib.BitCount(), 24);
  for (TPoint p : {TPoint{8, 8}, TPoint{56, 8}, TPoint{8, 40}, TPoint{56, 40}}) {
    ExpectNear(dib.At(p.X, p.Y), original.At(p.X, p.Y), 6);
    EXPECT_EQ(PixelA(dib.At(p.X, p.Y)), 0u);
  }
}

TEST(DibJpeg, FormatIsChosenByContentNotName) {
  test::TTempFolder dir;
  const std::vector<uint8_t> data = JpegBytes(Quadrants(16, 16), 90);
  const std::string path = dir.Write("really-a-jpeg.bmp", std::string(data.begin(), data.end()));
  TMyDib dib;
  EXPECT_TRUE(dib.LoadFromFile(path)) << dib.LastError();
  EXPECT_EQ(dib.Width(), 16);
}

TEST(DibJpeg, DecodesGreyAndCmykPictures) {
  TMyDib dib;
  const std::vector<uint8_t> grey = RawJpeg(JCS_GRAYSCALE, 1, 8, std::vector<uint8_t>(8, 128));
  ASSERT_TRUE(dib.LoadFromMemory(grey.data(), grey.size())) << dib.LastError();
  ExpectNear(dib.At(3, 3), MakePixel(128, 128, 128), 2);
  // Adobe CMYK is stored inverted: 255 means no ink. No cyan, full magenta and yellow: red.
  std::vector<uint8_t> red;
  for (int x = 0; x < 8; ++x) red.insert(red.end(), {255, 0, 0, 255});
  const std::vector<uint8_t> cmyk = RawJpeg(JCS_CMYK, 4, 8, red);
  ASSERT_TRUE(dib.LoadFromMemory(cmyk.data(), cmyk.size())) << dib.LastError();
  ExpectNear(dib.At(3, 3), MakePixel(255, 0, 0), 4);
}

TEST(DibJpeg, RefusesEveryTruncation) {
  const std::vector<uint8_t> data = JpegBytes(Quadrants(24, 16), 80);
  const TMyDib keep(3, 3, 32);
  for (size_t n = 0; n < data.size(); ++n) {
    TMyDib dib = keep;
    EXPECT_FALSE(dib.LoadFromMemory(data.data(), n)) << "prefix of " << n << " bytes";
    EXPECT_FALSE(dib.LastError().empty());
    EXPECT_EQ(dib.Width(), 3);
    EXPECT_EQ(dib.BitCount(), 32);
  }
}

// Flipped bytes anywhere may or may not be detected, but must never crash, and a picture that is
// accepted has the size its header claims.
TEST(DibJpeg, SurvivesFlippedBytes) {
  const std::vector<uint8_t> data = JpegBytes(Quadrants(24, 16), 80);
  for (size_t at = 2; at < data.size(); ++at) {
    std::vector<uint8_t> bad = data;
    bad[at] ^= 0x5A;
    TMyDib dib(3, 3);
    if (dib.LoadFromMemory(bad.data(), bad.size()))
      EXPECT_FALSE(dib.Empty());
    else
      EXPECT_EQ(dib.Width(), 3);
  }
}

TEST(DibJpeg, RefusesHugeDimensions) {
  std::vector<uint8_t> data = JpegBytes(Quadrants(16, 16), 80);
  // The baseline frame header: FF C0, length, precision, height, width.
  for (size_t i = 0; i + 8 < data.size(); ++i) {
    if (data[i] != 0xFF || data[i + 1] != 0xC0) continue;
    data[i + 5] = data[i + 7] = 0xEA;  // 60000 x 60000: within JPEG's limits, beyond ours
    data[i + 6] = data[i + 8] = 0x60;
    break;
  }
  TMyDib dib;
  EXPECT_FALSE(dib.LoadFromMemory(data.data(), data.size()));
  EXPECT_NE(dib.LastError().find("too large"), std::string::npos) << dib.LastError();
}

TEST(DibJpeg, SaveJpegReportsFailures) {
  std::string error;
  EXPECT_FALSE(SaveJpeg(TPixelBuffer(), "/tmp/never-written.jpg", 80, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(SaveJpeg(Quadrants(4, 4), "/nonexistent-folder/x.jpg", 80, &error));
}

}  // namespace
}  // namespace qj
