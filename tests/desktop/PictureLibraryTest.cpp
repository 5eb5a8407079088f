// The player's library: every picture format is listed and cut, photos stand upright, thumbnails
// are 200 pixels wide and look like their pictures, and the thumbnail cache is read while its
// picture is unchanged and made again when it is stale, damaged or cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "creation/UBitmapBuilder.h"
#include "platform/Paths.h"
#include "platform/PictureLibrary.h"
#include "platform/PictureScale.h"
#include "platform/PngCodec.h"
#include "tests/support/PhotoFiles.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

namespace fs = std::filesystem;

// Gradients under a checkerboard of 25-pixel squares: detail that a careless scale would lose.
TMyDib Detailed(int w, int h) {
  TMyDib p(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y) = MakePixel(x * 255 / w, y * 255 / h, ((x / 25 + y / 25) % 2) * 160);
  return p;
}

std::vector<uint8_t> OpaquePng(TPixelBuffer pixels) {
  for (TPixel* p = pixels.Bits(); p != pixels.Bits() + size_t(pixels.Width()) * pixels.Height(); ++p) *p |= ~kRgbMask;
  std::vector<uint8_t> file;
  std::string error;
  EXPECT_TRUE(EncodePng(pixels, file, error)) << error;
  return file;
}

// The mean difference of the colour bytes, 0 to 255.
double MeanDifference(const TPixelBuffer& a, const TPixelBuffer& b) {
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      for (const int shift : {0, 8, 16})
        sum += std::abs(int((a.At(x, y) >> shift) & 255) - int((b.At(x, y) >> shift) & 255));
  return sum / (3.0 * a.Width() * a.Height());
}

bool SamePixels(const TPixelBuffer& a, const TPixelBuffer& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Bits(), a.Bits() + size_t(a.Width()) * a.Height(), b.Bits());
}

using test::ReadBytes;

class PictureLibrary : public testing::Test {
 protected:
  std::string Picture(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const std::string path = Dir.File(name);
    EXPECT_TRUE(test::WriteBytes(path, bytes));
    return path;
  }
  std::string CacheFile(const std::string& picture, int width = kThumbnailWidth) const {
    return ThumbnailCacheFile(Cache, picture, width);
  }
  TMyDib Thumbnail(const std::string& picture, int width = kThumbnailWidth) const {
    TMyDib thumbnail;
    std::string error;
    EXPECT_TRUE(LoadThumbnail(picture, width, Cache, thumbnail, error)) << error;
    return thumbnail;
  }

  test::TTempFolder Dir;
  std::string Cache = Dir.File("cache/thumbnails");
};

TEST_F(PictureLibrary, ListsEveryPictureFormatAndNothingElse) {
  for (const char* name : {"e.PNG", "a.JPG", "b.jpeg", "c.bmp", "d.png", "f.dib", "g.pzl", "h.zip", "i.hsc", "noext"})
    Dir.Write(name, "x");
  fs::create_directories(Dir.File("folder.png"));
  std::vector<std::string> expected;
  for (const char* name : {"a.JPG", "b.jpeg", "c.bmp", "d.png", "e.PNG", "f.dib"}) expected.push_back(Dir.File(name));
  EXPECT_EQ(ListPictures(Dir.Path()), expected);
  EXPECT_TRUE(ListPictures(Dir.File("missing")).empty());
  EXPECT_TRUE(IsPictureName("/home/p/Photo.Png"));
  EXPECT_FALSE(IsPictureName("Photo.png.pzl"));
}

TEST_F(PictureLibrary, TheCutterReadsPngAndStandsPhotosUpright) {
  TPuzzleCutter cutter;
  ASSERT_TRUE(cutter.LoadPicture(Picture("p.png", OpaquePng(test::Quadrants(40, 30))))) << cutter.LastError();
  EXPECT_EQ(cutter.Picture().Width(), 40);
  EXPECT_EQ(cutter.Picture().At(35, 25) & kRgbMask, test::kBottomRight);
  ASSERT_TRUE(cutter.LoadPicture(Picture("turned.jpg", test::PhotoJpeg(test::Quadrants(64, 32), 6))));
  EXPECT_EQ(cutter.Picture().Width(), 32);
  EXPECT_EQ(cutter.Picture().Height(), 64);
}

TEST_F(PictureLibrary, ThumbnailsAre200WideKeepTheAspectAndLookLikeThePicture) {
  struct TCase {
    std::string Name;
    std::vector<uint8_t> File;
    int Height;
    // From the whole picture scaled by area: libjpeg's reduced decoding is close to an area average,
    // not equal to it.
    double MaxMeanDifference;
  };
  const TMyDib wide = Detailed(300, 120);
  const TCase cases[] = {
      {"photo.jpg", test::JpegOf(Detailed(1000, 700)), 140, 5},
      {"turned.jpg", test::PhotoJpeg(Detailed(400, 300), 6), 267, 5},
      {"small.jpg", test::JpegOf(Detailed(150, 100)), 133, 1},
      {"wide.png", OpaquePng(wide), 80, 0},
      {"small.bmp", Detailed(150, 100).SaveToMemory(), 133, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string path = Picture(c.Name, c.File);
    TMyDib thumbnail;
    std::string error;
    ASSERT_TRUE(DecodeThumbnail(path, kThumbnailWidth, thumbnail, error)) << error;
    ASSERT_EQ(thumbnail.Width(), kThumbnailWidth);
    ASSERT_EQ(thumbnail.Height(), c.Height);
    EXPECT_EQ(thumbnail.BitCount(), 24);
    TMyDib full;
    ASSERT_TRUE(full.LoadFromFile(path));
    EXPECT_LE(MeanDifference(thumbnail, ScaleByArea(full, kThumbnailWidth, c.Height)), c.MaxMeanDifference);
  }
}

TEST_F(PictureLibrary, PicturesThatCannotBeReadGiveAnErrorNamingTheFile) {
  const std::vector<uint8_t> jpeg = test::JpegOf(Detailed(64, 48));
  const std::string cut = Picture("cut.jpg", {jpeg.begin(), jpeg.begin() + ptrdiff_t(jpeg.size() / 2)});
  const std::string junk = Picture("junk.png", {1, 2, 3});
  const std::string good = Picture("good.jpg", jpeg);
  const std::vector<std::pair<std::string, int>> refused = {
      {cut, 200}, {junk, 200}, {Dir.File("missing.bmp"), 200}, {good, 0}, {good, kMaxThumbnailWidth + 1}};
  for (const auto& [path, width] : refused) {
    TMyDib thumbnail(3, 3);
    std::string error;
    EXPECT_FALSE(LoadThumbnail(path, width, Cache, thumbnail, error)) << path;
    EXPECT_NE(error.find(ExtractFileName(path)), std::string::npos) << error;
    EXPECT_EQ(thumbnail.Width(), 3);
    EXPECT_FALSE(FileExists(CacheFile(path, width)));
  }
}

TEST_F(PictureLibrary, TheCacheIsReadWhileThePictureKeepsItsSizeAndTime) {
  const std::string path = Picture("p.bmp", Detailed(300, 200).SaveToMemory());
  const TMyDib first = Thumbnail(path);
  ASSERT_TRUE(FileExists(CacheFile(path)));
  // Other pixels in a file of the same size and time: the cache cannot tell, so it is read.
  TMyDib other(300, 200, 24);
  other.Fill(MakePixel(10, 20, 30));
  const fs::file_time_type time = fs::last_write_time(path);
  ASSERT_TRUE(test::WriteBytes(path, other.SaveToMemory()));
  fs::last_write_time(path, time);
  EXPECT_TRUE(SamePixels(Thumbnail(path), first));
  // A new time makes it again...
  fs::last_write_time(path, time + std::chrono::seconds(1));
  const TMyDib renewed = Thumbnail(path);
  EXPECT_EQ(renewed.At(100, 50), MakePixel(10, 20, 30));
  EXPECT_TRUE(SamePixels(Thumbnail(path), renewed));
  // ...and so does a new size at the same time.
  TMyDib taller(300, 260, 24);
  taller.Fill(MakePixel(200, 100, 0));
  ASSERT_TRUE(test::WriteBytes(path, taller.SaveToMemory()));
  fs::last_write_time(path, time + std::chrono::seconds(1));
  const TMyDib third = Thumbnail(path);
  EXPECT_EQ(third.Height(), 173);
  EXPECT_EQ(third.At(100, 50), MakePixel(200, 100, 0));
}

TEST_F(PictureLibrary, ADamagedCacheFileIsMadeAgain) {
  const std::string path = Picture("p.jpg", test::JpegOf(Detailed(500, 400)));
  const TMyDib first = Thumbnail(path);
  const std::string cacheFile = CacheFile(path);
  const std::vector<uint8_t> good = ReadBytes(cacheFile);
  ASSERT_GT(good.size(), 40u + 200 * 160 * 3);
  const std::vector<std::pair<size_t, uint8_t>> flips = {{0, 'X'}, {4, 9}, {24, 100}, {28, 1}, {32, 3}, {40, '#'},
                                                         {good.size() - 1, 0x55}, {good.size() / 2, 0x01}};
  std::vector<std::vector<uint8_t>> damaged = {{}, std::vector<uint8_t>(good.begin(), good.begin() + 39),
                                               std::vector<uint8_t>(good.begin(), good.end() - 3)};
  for (const auto& [at, bits] : flips) {
    damaged.push_back(good);
    damaged.back()[at] ^= bits;
  }
  for (size_t i = 0; i < damaged.size(); ++i) {
    SCOPED_TRACE("damage " + std::to_string(i));
    ASSERT_TRUE(test::WriteBytes(cacheFile, damaged[i]));
    EXPECT_TRUE(SamePixels(Thumbnail(path), first));
    EXPECT_EQ(ReadBytes(cacheFile), good);
  }
}

TEST_F(PictureLibrary, ACacheThatCannotBeWrittenOnlyCostsTime) {
  const std::string path = Picture("p.jpg", test::JpegOf(Detailed(500, 400)));
  Dir.Write("blocker", "a file where the cache folder would be");
  Cache = Dir.File("blocker/thumbnails");
  for (int run = 0; run < 2; ++run) {
    const TMyDib thumbnail = Thumbnail(path);
    EXPECT_EQ(thumbnail.Width(), kThumbnailWidth);
    EXPECT_EQ(thumbnail.Height(), 160);
  }
}

TEST_F(PictureLibrary, EachWidthHasACacheFileOfItsOwn) {
  const std::string path = Picture("p.png", OpaquePng(Detailed(400, 300)));
  EXPECT_EQ(Thumbnail(path, 100).Width(), 100);
  EXPECT_EQ(Thumbnail(path, 200).Width(), 200);
  EXPECT_NE(CacheFile(path, 100), CacheFile(path, 200));
  EXPECT_TRUE(FileExists(CacheFile(path, 100)));
  EXPECT_EQ(Thumbnail(path, 100).Height(), 75);
  EXPECT_EQ(ListFiles(Cache, "*").size(), 2u);
}

}  // namespace
}  // namespace qj
