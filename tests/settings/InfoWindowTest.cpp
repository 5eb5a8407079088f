// The info window's geometry and what it paints on the visible surface.
#include <cmath>

#include "controls/UInfoWindow.h"
#include "platform/Canvas.h"
#include "platform/headless/HeadlessDisplay.h"
#include "tests/settings/SettingsFixture.h"

namespace qj::test {
namespace {

class InfoWindowTest : public TProgramFolderTest {
 protected:
  void SetUp() override {
    TProgramFolderTest::SetUp();
    LanguageText.assign(24, "");
    LanguageText[size_t(Text::GameTitle)] = "Cutting ";
    LanguageText[size_t(Text::ThisMayTakeAMoment)] = "Please wait";
    SetDXDraw(&Display);
  }
  void TearDown() override {
    SetDXDraw(nullptr);
    TProgramFolderTest::TearDown();
  }
  TPixel At(int x, int y) { return Display.Primary().At(x, y) & kRgbMask; }

  THeadlessDisplay Display{800, 600};
};

TEST_F(InfoWindowTest, TitleAndFootnoteComeFromTheLanguage) {
  TDXInfoWindow window;
  EXPECT_EQ(window.Title(), "Cutting ");
  EXPECT_EQ(window.Footnote(), "Please wait");
}

TEST_F(InfoWindowTest, PercentageIsAppendedOnlyForARange) {
  TDXInfoWindow window;
  window.Start({.Message = "puzzle", .ShowPercent = true});
  EXPECT_EQ(window.MainLine(), "Cutting puzzle");  // Min = Max
  window.Start({.Message = "puzzle", .ShowPercent = true, .Min = 10, .Max = 210});
  window.SetPosition(60);
  EXPECT_EQ(window.MainLine(), "Cutting puzzle-25%");
  window.SetPosition(11);  // 0.5 % rounds away from zero
  EXPECT_EQ(window.MainLine(), "Cutting puzzle-1%");
  window.Start({.Message = "puzzle", .Min = 10, .Max = 210});
  window.SetPosition(11);
  EXPECT_EQ(window.MainLine(), "Cutting puzzle");
}

TEST_F(InfoWindowTest, StepsRedrawOnlyWhenTheShownPercentageChanges) {
  TDXInfoWindow window;
  window.Start({.ShowPercent = true, .Max = 5000});
  int drawn = 0;
  for (int i = 0; i < 5000; ++i) drawn += window.Step();
  EXPECT_EQ(window.Position(), 5000);
  EXPECT_EQ(window.ShownPercent(), 100);
  EXPECT_EQ(drawn, 100);
  EXPECT_FALSE(window.Step());  // held at the end
}

TEST_F(InfoWindowTest, ProgressIsDrawnAtItsStartAndThenOnlyWhenThePercentageChanges) {
  TDXInfoWindow window;
  EXPECT_TRUE(window.ShowProgress("saving", 0, 5000));
  EXPECT_FALSE(window.ShowProgress("saving", 10, 5000)) << "0.2 % shows as 0 %";
  EXPECT_TRUE(window.ShowProgress("saving", 25, 5000));
  EXPECT_TRUE(window.ShowProgress("saving", 5000, 5000));
  EXPECT_EQ(window.MainLine(), "Cutting saving-100%");
  EXPECT_EQ(window.Position(), window.Max());
}

TEST_F(InfoWindowTest, PositionBeyondTheEndShowsAFullBarWithoutGradient) {
  TDXInfoWindow window;
  window.Start({.ShowBar = true, .ShowPercent = true, .Max = 40});
  window.SetPosition(500);
  EXPECT_EQ(window.Position(), 40);
  EXPECT_TRUE(window.MainLine().ends_with("-100%"));
  const TRect inner = window.BarInner();
  EXPECT_EQ(window.BarFillRight(), inner.Right);
  for (int x = inner.Left; x < inner.Right; ++x) ASSERT_EQ(At(x, inner.Top + 2), TDXInfoWindow::kFillColour) << x;
}

TEST_F(InfoWindowTest, PartialBarEndsInTheGradientTowardsTheTrack) {
  TDXInfoWindow window;
  window.Start({.Message = "a long enough message for a wide bar", .ShowBar = true, .Max = 4});
  window.SetPosition(1);
  const TRect inner = window.BarInner();
  const int right = window.BarFillRight();
  EXPECT_EQ(right, int(std::nearbyint(inner.Width() / 4.0 + inner.Left)));
  const int y = inner.Top + 3;
  EXPECT_EQ(At(right - 1, y), TDXInfoWindow::kFillColour);
  for (int i = 1; i <= 15; ++i) EXPECT_EQ(At(right + i - 1, y), TDXInfoWindow::GradientColour(i)) << i;
  EXPECT_EQ(At(right + 15, y), TDXInfoWindow::kTrackColour);
  EXPECT_EQ(TDXInfoWindow::GradientColour(15), TDXInfoWindow::kTrackColour);
  EXPECT_EQ(TDXInfoWindow::GradientColour(0), TDXInfoWindow::kFillColour);
  EXPECT_EQ(TDXInfoWindow::GradientColour(5), MakePixel(255, 158, 206));
}

TEST_F(InfoWindowTest, PositionIsClampedIntoTheRangeAndTheBoxIsCentred) {
  TDXInfoWindow window;
  window.Start({.ShowBar = true, .ShowFootnote = true, .Min = 5, .Max = 10});
  window.SetPosition(-3);
  EXPECT_EQ(window.Position(), 5);
  EXPECT_EQ(window.BarFillRight(), window.BarInner().Left);
  const TRect box = window.BoxRect();
  EXPECT_EQ(box.Left, (800 - box.Width()) / 2);
  EXPECT_GT(box.Width(), 10);
  EXPECT_EQ(At(box.Left, box.Top), MakePixel(242, 242, 242));         // raised: light top left
  EXPECT_EQ(At(box.Right - 1, box.Bottom - 1), MakePixel(102, 102, 102));  // dark bottom right
}

// A one-piece cut reports progress over the range 0..0: there is no fraction to show, so the
// bar stays empty and the line carries no percentage, however often it is advanced.
TEST_F(InfoWindowTest, AnEmptyRangeDrawsAnEmptyBarAndNoPercentage) {
  TDXInfoWindow window;
  for (const int start : {0, 7, -4}) {
    window.Start({"one piece", true, true, true, start, start});
    for (const int value : {start - 1, start, start + 1, start + 2}) {
      Display.Primary().Fill(MakePixel(1, 2, 3));
      window.SetPosition(value);
      EXPECT_EQ(window.Position(), start) << value;
      EXPECT_EQ(window.MainLine(), "Cutting one piece") << value;
      const TRect inner = window.BarInner();
      EXPECT_EQ(window.BarFillRight(), inner.Left) << value;
      // Inside the bar only the track and, at its left end, the first gradient steps.
      const TRect box = window.BoxRect();
      ASSERT_GT(inner.Width(), TDXInfoWindow::kGradientSteps);
      ASSERT_TRUE(inner.Left > box.Left && inner.Right < box.Right && inner.Bottom < box.Bottom);
      for (int y = inner.Top; y < inner.Bottom; ++y)
        for (int x = inner.Left; x < inner.Right; ++x) {
          const int step = x - inner.Left + 1;
          const TPixel want =
              step <= TDXInfoWindow::kGradientSteps ? TDXInfoWindow::GradientColour(step) : TDXInfoWindow::kTrackColour;
          ASSERT_EQ(At(x, y), want) << "start " << start << ", value " << value << " at " << x << "," << y;
        }
      // Nothing is painted outside the box.
      EXPECT_EQ(At(box.Left - 1, box.Top), MakePixel(1, 2, 3));
      EXPECT_EQ(At(box.Right, box.Bottom - 1), MakePixel(1, 2, 3));
    }
  }
}

TEST_F(InfoWindowTest, AdvancingThroughAOneStepRangeGoesFromEmptyToFull) {
  TDXInfoWindow window;
  window.Start({.ShowBar = true, .ShowPercent = true, .Max = 1});
  window.SetPosition(0);
  EXPECT_TRUE(window.MainLine().ends_with("-0%")) << window.MainLine();
  EXPECT_EQ(window.BarFillRight(), window.BarInner().Left);
  window.SetPosition(1);
  EXPECT_TRUE(window.MainLine().ends_with("-100%")) << window.MainLine();
  EXPECT_EQ(window.BarFillRight(), window.BarInner().Right);
}

TEST_F(InfoWindowTest, WithoutADisplayNothingIsDrawnOrMoved) {
  TDXInfoWindow window;  // centred on the display
  const int left = window.BoxRect().Left;
  SetDXDraw(nullptr);
  window.SetPosition(3);
  window.CenterOnScreen();
  EXPECT_EQ(window.BoxRect().Left, left);
}

TEST(Bevel, SunkenDepthOneIsDarkAboveLightBelowAndFilled) {
  TPixelBuffer buffer(6, 5);
  TCanvas canvas(buffer);
  const TPixel base = MakePixel(100, 30, 240);
  DrawBevel(canvas, {0, 0, 6, 5}, 1, false, base);
  EXPECT_EQ(buffer.At(0, 0), MakePixel(10, 0, 150));
  EXPECT_EQ(buffer.At(5, 0), MakePixel(10, 0, 150));  // the first outline's right column
  EXPECT_EQ(buffer.At(5, 4), MakePixel(150, 80, 255));
  EXPECT_EQ(buffer.At(1, 4), MakePixel(150, 80, 255));
  EXPECT_EQ(buffer.At(2, 2), base);
  EXPECT_EQ(buffer.At(4, 3), base);
}

TEST(Bevel, TheGlobalWindowExistsOnFirstUse) {
  CreateInfoWindow();
  TDXInfoWindow* first = &InfoWindow();
  EXPECT_EQ(&InfoWindow(), first);
}

}  // namespace
}  // namespace qj::test
