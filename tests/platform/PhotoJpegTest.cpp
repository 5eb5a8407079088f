// Photos from phones: every EXIF orientation, in either byte order, loads upright; notes that
// cannot be read leave the picture as stored and never read outside the file; reduced decoding
// picks its scale by the upright width.
#include <gtest/gtest.h>

#include <array>

#include "platform/Dib.h"
#include "platform/Exif.h"
#include "platform/JpegCodec.h"
#include "tests/support/PhotoFiles.h"

namespace qj {
namespace {

using test::kBottomLeft;
using test::kBottomRight;
using test::kTopLeft;
using test::kTopRight;

constexpr int kStoredWidth = 64, kStoredHeight = 32;

// The corner colours of the upright picture: top left, top right, bottom left, bottom right.
struct TUpright {
  uint16_t Orientation;
  std::array<TPixel, 4> Corners;
};

const TUpright kUpright[] = {
    {1, {kTopLeft, kTopRight, kBottomLeft, kBottomRight}},
    {2, {kTopRight, kTopLeft, kBottomRight, kBottomLeft}},
    {3, {kBottomRight, kBottomLeft, kTopRight, kTopLeft}},
    {4, {kBottomLeft, kBottomRight, kTopLeft, kTopRight}},
    {5, {kTopLeft, kBottomLeft, kTopRight, kBottomRight}},
    {6, {kBottomLeft, kTopLeft, kBottomRight, kTopRight}},
    {7, {kBottomRight, kTopRight, kBottomLeft, kTopLeft}},
    {8, {kTopRight, kBottomRight, kTopLeft, kBottomLeft}},
};

void ExpectNear(TPixel actual, TPixel expected) {
  EXPECT_NEAR(int(PixelR(actual)), int(PixelR(expected)), 8);
  EXPECT_NEAR(int(PixelG(actual)), int(PixelG(expected)), 8);
  EXPECT_NEAR(int(PixelB(actual)), int(PixelB(expected)), 8);
}

void ExpectCorners(const TPixelBuffer& p, const std::array<TPixel, 4>& corners) {
  const int w = p.Width(), h = p.Height();
  ExpectNear(p.At(w / 4, h / 4), corners[0]);
  ExpectNear(p.At(3 * w / 4, h / 4), corners[1]);
  ExpectNear(p.At(w / 4, 3 * h / 4), corners[2]);
  ExpectNear(p.At(3 * w / 4, 3 * h / 4), corners[3]);
}

TMyDib Load(const std::vector<uint8_t>& file) {
  TMyDib dib;
  EXPECT_TRUE(dib.LoadFromMemory(file.data(), file.size())) << dib.LastError();
  return dib;
}

TEST(PhotoOrientation, EveryOrientationLoadsUprightInBothByteOrders) {
  const TPixelBuffer stored = test::Quadrants(kStoredWidth, kStoredHeight);
  for (const bool bigEndian : {false, true}) {
    for (const TUpright& u : kUpright) {
      SCOPED_TRACE("orientation " + std::to_string(u.Orientation) + (bigEndian ? " MM" : " II"));
      const TMyDib dib = Load(test::PhotoJpeg(stored, u.Orientation, bigEndian));
      const bool turned = u.Orientation >= 5;
      ASSERT_EQ(dib.Width(), turned ? kStoredHeight : kStoredWidth);
      ASSERT_EQ(dib.Height(), turned ? kStoredWidth : kStoredHeight);
      ExpectCorners(dib, u.Corners);
    }
  }
}

// An exact-size copy, so the address sanitizer sees any read past the end.
EOrientation OrientationOfExactCopy(const std::vector<uint8_t>& bytes, size_t size, bool wholeJpeg) {
  const std::vector<uint8_t> copy(bytes.begin(), bytes.begin() + ptrdiff_t(size));
  return wholeJpeg ? JpegOrientation(copy.data(), copy.size()) : ExifOrientation(copy.data(), copy.size());
}

TEST(PhotoOrientation, EveryTruncationReadsInsideTheDataAndGivesNoOtherTurn) {
  const std::vector<uint8_t> payload = test::ExifPayload(6, true);
  const std::vector<uint8_t> jpeg = test::PhotoJpeg(test::Quadrants(16, 8), 6);
  for (size_t n = 0; n <= payload.size(); ++n) {
    const EOrientation o = OrientationOfExactCopy(payload, n, false);
    EXPECT_TRUE(o == EOrientation::Upright || o == EOrientation::TurnedClockwise) << n;
  }
  for (size_t n = 0; n <= jpeg.size(); ++n) {
    const EOrientation o = OrientationOfExactCopy(jpeg, n, true);
    EXPECT_TRUE(o == EOrientation::Upright || o == EOrientation::TurnedClockwise) << n;
  }
  EXPECT_EQ(ExifOrientation(nullptr, 0), EOrientation::Upright);
  EXPECT_EQ(JpegOrientation(nullptr, 0), EOrientation::Upright);
}

// Offsets into ExifPayload's bytes (little-endian): after "Exif\0\0", the TIFF header at 6.
constexpr size_t kByteOrderAt = 6, kMagicAt = 8, kIfdOffsetAt = 10, kEntryCountAt = 14, kOrientationEntryAt = 28;

TEST(PhotoOrientation, NotesThatCannotBeReadLeaveThePictureAsStored) {
  const std::vector<uint8_t> good = test::ExifPayload(8, false);
  ASSERT_EQ(ExifOrientation(good.data(), good.size()), EOrientation::TurnedAnticlockwise);
  const std::vector<std::pair<size_t, uint8_t>> damages = {
      {3, 'X'},                      // not "Exif"
      {kByteOrderAt, 'M'},           // "MI"
      {kMagicAt, 43},                // not TIFF
      {kIfdOffsetAt + 1, 0x7F},      // the IFD lies far beyond the block
      {kIfdOffsetAt + 3, 0xFF},      // ... beyond 4 GB
      {kEntryCountAt + 1, 0xFF},     // more entries than the block holds, the orientation still among them
      {kOrientationEntryAt + 2, 4},  // a LONG
      {kOrientationEntryAt + 4, 0},  // count 0
      {kOrientationEntryAt + 8, 0},  // value 0
      {kOrientationEntryAt + 8, 9},  // value 9
  };
  const TPixelBuffer stored = test::Quadrants(kStoredWidth, kStoredHeight);
  for (const auto& [at, value] : damages) {
    std::vector<uint8_t> bad = good;
    bad[at] = value;
    const EOrientation o = ExifOrientation(bad.data(), bad.size());
    SCOPED_TRACE("byte " + std::to_string(at));
    if (at == kEntryCountAt + 1) {
      EXPECT_EQ(o, EOrientation::TurnedAnticlockwise) << "the entries before the end are read";
      continue;
    }
    EXPECT_EQ(o, EOrientation::Upright);
    const TMyDib dib = Load(test::WithApp1(test::JpegOf(stored), bad));
    EXPECT_EQ(dib.Width(), kStoredWidth);
    ExpectCorners(dib, kUpright[0].Corners);
  }
}

TEST(PhotoOrientation, TheMarkerWalkSkipsOtherSegmentsAndStopsAtTheScan) {
  const std::vector<uint8_t> plain = test::JpegOf(test::Quadrants(16, 8));
  const std::vector<uint8_t> exif = test::ExifPayload(3, false);
  std::vector<uint8_t> xmpFirst = test::WithApp1(test::WithApp1(plain, exif), {'h', 't', 't', 'p', ':', '/', '/'});
  EXPECT_EQ(JpegOrientation(xmpFirst.data(), xmpFirst.size()), EOrientation::UpsideDown);
  std::vector<uint8_t> filled = test::WithApp1(plain, exif);
  filled.insert(filled.begin() + 2, {0xFF, 0xFF});  // fill bytes before the marker
  EXPECT_EQ(JpegOrientation(filled.data(), filled.size()), EOrientation::UpsideDown);
  std::vector<uint8_t> tooLong = test::WithApp1(plain, exif);
  tooLong[4] = 0xFF;  // the segment's length runs past the end of the file
  EXPECT_EQ(JpegOrientation(tooLong.data(), tooLong.size()), EOrientation::Upright);
  std::vector<uint8_t> afterScan = plain;
  afterScan.insert(afterScan.end() - 2, {0xFF, 0xE1, 0, uint8_t(exif.size() + 2)});
  afterScan.insert(afterScan.end() - 2, exif.begin(), exif.end());
  EXPECT_EQ(JpegOrientation(afterScan.data(), afterScan.size()), EOrientation::Upright);
}

TEST(ReducedJpeg, TheScaleIsTheSmallestThatKeepsTheUprightWidth) {
  const TPixelBuffer stored = test::Quadrants(400, 300);
  struct TCase {
    uint16_t Orientation;
    int MinWidth, Width, Height;
  };
  const TCase cases[] = {
      {1, 100, 100, 75},  {1, 101, 150, 113}, {1, 50, 50, 38},   {1, 1, 50, 38},     {1, 400, 400, 300},
      {1, 900, 400, 300}, {1, 0, 400, 300},   {6, 75, 75, 100},  {6, 76, 113, 150},  {8, 300, 300, 400},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE("orientation " + std::to_string(c.Orientation) + ", at least " + std::to_string(c.MinWidth));
    const std::vector<uint8_t> file = test::PhotoJpeg(stored, c.Orientation);
    TPixelBuffer out;
    std::string error;
    ASSERT_TRUE(DecodeJpeg(file.data(), file.size(), TMyDib::kMaxPixels, out, error, c.MinWidth)) << error;
    EXPECT_EQ(out.Width(), c.Width);
    EXPECT_EQ(out.Height(), c.Height);
    ExpectCorners(out, kUpright[c.Orientation - 1].Corners);
  }
}

TEST(ReducedJpeg, DamagedFilesAreRefusedAtEveryScale) {
  const std::vector<uint8_t> file = test::PhotoJpeg(test::Quadrants(64, 48), 6);
  for (const int minWidth : {1, 20, 0}) {
    for (size_t n = 0; n < file.size(); n += 7) {
      TPixelBuffer out(2, 2);
      std::string error;
      EXPECT_FALSE(DecodeJpeg(file.data(), n, TMyDib::kMaxPixels, out, error, minWidth)) << n;
      EXPECT_FALSE(error.empty());
      EXPECT_EQ(out.Width(), 2);
    }
  }
}

}  // namespace
}  // namespace qj
