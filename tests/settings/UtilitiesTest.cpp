// Text, bitmap, geometry and counter routines shared by controls and screens.
#include "platform/Canvas.h"
#include "platform/Dib.h"
#include "tests/settings/SettingsFixture.h"

namespace qj::test {
namespace {

TEST(Geometry, PointInRectIsInclusiveOnAllSides) {
  const TRect r{10, 20, 30, 40};
  EXPECT_TRUE(PointInRect({30, 40}, r));
  EXPECT_TRUE(PointInRect({10, 20}, r));
  EXPECT_FALSE(PointInRect({31, 40}, r));
  EXPECT_FALSE(PointInRect({10, 19}, r));
}

TEST(Geometry, DistancesRoundToTheNearestInteger) {
  EXPECT_EQ(Distance(0, 0, 3, 4), 5);
  EXPECT_EQ(Distance(0, 0, 1, 1), 1);
  EXPECT_EQ(Distance(0, 0, 1, 2), 2);  // 2.236
  EXPECT_EQ(Distance(5, 5, 5, 5), 0);
  EXPECT_EQ(Distance(-1000000000, 0, 1000000000, 0), 2000000000);  // no overflow in between
  EXPECT_EQ(PointDistance({1, 1}, {4, 5}), 5);
}

TEST(Geometry, WithinRangeIsStrict) {
  EXPECT_FALSE(WithinRange(3, 3, 3, 3, 0));
  EXPECT_TRUE(WithinRange(3, 3, 3, 3, 1));
  EXPECT_TRUE(WithinRange(0, 0, 9, -9, 10));
  EXPECT_FALSE(WithinRange(0, 0, 10, 0, 10));
}

TEST(Geometry, PointsAddSwapAndCompare) {
  EXPECT_TRUE(PointsEqual(AddPoints({1, 2}, {10, -20}), {11, -18}));
  EXPECT_FALSE(PointsEqual({1, 2}, {2, 1}));
  int a = 1, b = 2;
  Swap(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 1);
}

TEST(Counter, CountUpWrapsAtItsLimit) {
  int counter = 0;
  EXPECT_TRUE(CountUp(counter, 3));
  EXPECT_TRUE(CountUp(counter, 3));
  EXPECT_TRUE(CountUp(counter, 3));
  EXPECT_FALSE(CountUp(counter, 3));
  EXPECT_EQ(counter, 0);
  counter = 7;
  EXPECT_FALSE(CountUp(counter, 3));
  EXPECT_EQ(counter, 0);
}

TEST(Bitmaps, MakeFilledBitmapCreatesOrResizesAndRefills) {
  std::unique_ptr<TMyDib> bitmap;
  MakeFilledBitmap(bitmap, 4, 3, 24, MakePixel(1, 2, 3));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->Width(), 4);
  EXPECT_EQ(bitmap->At(3, 2), MakePixel(1, 2, 3));
  const TMyDib* same = bitmap.get();
  MakeFilledBitmap(bitmap, 6, 5, 32, MakePixel(9, 9, 9));
  EXPECT_EQ(bitmap.get(), same);
  EXPECT_EQ(bitmap->Height(), 5);
  EXPECT_EQ(bitmap->BitCount(), 32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) ASSERT_EQ(bitmap->At(x, y), MakePixel(9, 9, 9));
}

TEST(Bitmaps, CopyBitmapRefsCopiesReferencesUpToTheHighIndex) {
  TMyDib a, b, c;
  const std::vector<TMyDib*> source{&a, &b, &c};
  std::vector<TMyDib*> dest;
  CopyBitmapRefs(dest, source, 1);
  EXPECT_EQ(dest, (std::vector<TMyDib*>{&a, &b}));
  CopyBitmapRefs(dest, source, 7);  // beyond the source: only what is there
  EXPECT_EQ(dest.size(), 3u);
  CopyBitmapRefs(dest, source, -1);
  EXPECT_EQ(dest.size(), 3u);
}

class ThemedText : public TProgramFolderTest {};

TEST_F(ThemedText, SayTextWritesTwoPixelsAboveInTheSayColour) {
  Themes.resize(1);
  Themes[0].SayColor = {200, 10, 20};
  Themes[0].FontName = "DejaVu Sans";
  TMyDib said(120, 40), reference(120, 40);
  TCanvas sayCanvas(said), refCanvas(reference);
  sayCanvas.Font.Size = 14;
  SayText(sayCanvas, "Hello", 0, 10.4, 10.0);
  refCanvas.Font = {"DejaVu Sans", 14, MakePixel(200, 10, 20)};
  refCanvas.BrushClear = true;
  refCanvas.TextOut(10, 8, "Hello");
  EXPECT_EQ(sayCanvas.Font.Name, "DejaVu Sans");
  ASSERT_EQ(said.ByteSize(), reference.ByteSize());
  EXPECT_TRUE(std::equal(said.Bits(), said.Bits() + 120 * 40, reference.Bits()));
}

TEST_F(ThemedText, MeasuringUsesTheThemeFontAndKeepsTheSizeForZero) {
  TMyDib bitmap(10, 10);
  TCanvas canvas(bitmap);
  canvas.Font.Size = 11;
  ThemedTextWidth(canvas, "x", 0);
  EXPECT_EQ(canvas.Font.Size, 11);
  EXPECT_EQ(canvas.Font.Name, "Times New Roman");  // no themes: the built-in theme
  ThemedTextHeight(canvas, "x", 20);
  EXPECT_EQ(canvas.Font.Size, 20);
  EXPECT_EQ(CurrentFontName(), "Times New Roman");
}

}  // namespace
}  // namespace qj::test
