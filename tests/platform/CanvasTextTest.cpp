// Text on canvases through the real rasteriser: measuring, font matching and where pixels change.
#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "platform/FontRasterizer.h"

namespace qj {
namespace {

class CanvasText : public testing::Test {
 protected:
  void SetUp() override {
    if (!FontRasterizer()) GTEST_SKIP() << "no font rasteriser";
  }
  TPixelBuffer Target{200, 60};
  TCanvas Canvas{Target};
};

TEST_F(CanvasText, WidthGrowsWithTheText) {
  Canvas.Font.Size = 12;
  const int one = Canvas.TextWidth("M");
  const int two = Canvas.TextWidth("MM");
  EXPECT_GT(one, 0);
  EXPECT_GT(two, one);
  EXPECT_EQ(Canvas.TextWidth(""), 0);
  EXPECT_GT(Canvas.TextHeight("M"), 10);
  EXPECT_EQ(Canvas.TextHeight(""), Canvas.TextHeight("M"));
  Canvas.Font.Size = 24;
  EXPECT_GT(Canvas.TextWidth("MM"), two);
}

TEST_F(CanvasText, WindowsNamesFindMetricCompatibleFonts) {
  const std::string text = "Quorvane Jigsaw puzzles";
  Canvas.Font.Size = 12;
  Canvas.Font.Name = "Times New Roman";
  const int serif = Canvas.TextWidth(text);
  Canvas.Font.Name = "Arial";
  const int sans = Canvas.TextWidth(text);
  EXPECT_NE(serif, sans);
  Canvas.Font.Name = "Liberation Serif";
  EXPECT_EQ(Canvas.TextWidth(text), serif);
  Canvas.Font.Name = "Liberation Sans";
  EXPECT_EQ(Canvas.TextWidth(text), sans);
  Canvas.Font.Name = "times new roman";
  EXPECT_EQ(Canvas.TextWidth(text), serif);
  Canvas.Font.Name = "Times New Roman";
  Canvas.Font.Bold = true;
  EXPECT_GT(Canvas.TextWidth(text), serif);
}

TEST_F(CanvasText, DrawsOnlyInsideTheMeasuredBox) {
  const TPixel background = MakePixel(10, 20, 30, 0x77);
  Target.Fill(background);
  Canvas.Font.Size = 14;
  Canvas.Font.Color = MakePixel(255, 255, 0);
  Canvas.BrushClear = true;
  const std::string text = "Wag";
  const TRect box = MakeRect(20, 10, Canvas.TextWidth(text), Canvas.TextHeight(text));
  Canvas.TextOut(20, 10, text);
  int changed = 0;
  for (int y = 0; y < Target.Height(); ++y)
    for (int x = 0; x < Target.Width(); ++x) {
      const TPixel p = Target.At(x, y);
      if (p == background) continue;
      ++changed;
      EXPECT_TRUE(box.Contains(x, y)) << x << "," << y;
      EXPECT_EQ(PixelA(p), 0x77u);  // the alpha byte carries data and is kept
    }
  EXPECT_GT(changed, 20);
}

TEST_F(CanvasText, OpaqueBrushFillsTheBoxAndTextClipsAtEdges) {
  Canvas.Font.Size = 14;
  Canvas.BrushClear = false;
  Canvas.BrushColor = MakePixel(0, 0, 200);
  Canvas.Font.Color = MakePixel(255, 255, 255);
  const int w = Canvas.TextWidth("Hi"), h = Canvas.TextHeight("Hi");
  Canvas.TextOut(5, 5, "Hi");
  EXPECT_EQ(Target.At(5, 5), MakePixel(0, 0, 200));  // top-left corner: brush, no ink
  EXPECT_EQ(Target.At(5 + w, 5), 0u);
  EXPECT_EQ(Target.At(5, 5 + h), 0u);
  // Partly or wholly outside: no crash, and the visible part is drawn.
  Canvas.TextOut(-5, -5, "Hi");
  Canvas.TextOut(190, 55, "Hi");
  Canvas.TextOut(5000, -5000, "Hi");
  EXPECT_EQ(Target.At(190, 55), MakePixel(0, 0, 200));
}

TEST_F(CanvasText, AddsFontFilesForThisProcess) {
  EXPECT_FALSE(FontRasterizer()->AddFontFile("/nonexistent/font.ttf"));
  EXPECT_TRUE(FontRasterizer()->AddFontFile("/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf"));
  Canvas.Font.Name = "Liberation Mono";
  EXPECT_EQ(Canvas.TextWidth("iiii"), Canvas.TextWidth("MMMM"));  // fixed pitch
}

}  // namespace
}  // namespace qj
