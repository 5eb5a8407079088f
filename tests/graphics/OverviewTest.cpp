// The whole table at a glance: where the reduced table lies on screens of every size, the mapping
// between screen and table points, the box averages, and a frame with its hit tests.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>

#include "graphics/UGraphicsEngine.h"
#include "graphics/UOverviewComposer.h"
#include "graphics/UTableView.h"
#include "platform/Dib.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj {
namespace {

struct TFitCase {
  int Width, Height;
  TRect Where;  // the reduced 1600 x 1200 table on that screen
};

TEST(Overview, FitsTheTableCentredAndMapsEveryScreenPixelThereAndBack) {
  const TFitCase cases[] = {
      {790, 570, {15, 0, 775, 570}},      {800, 600, {0, 0, 800, 600}},     {1024, 768, {0, 0, 1024, 768}},
      {1280, 1024, {0, 32, 1280, 992}},   {1920, 1080, {240, 0, 1680, 1080}}, {1600, 1200, {0, 0, 1600, 1200}},
  };
  for (const TFitCase& c : cases) {
    const TTableView view = TTableView::Fit(1600, 1200, c.Width, c.Height);
    EXPECT_EQ(view.ScreenRect(), c.Where) << c.Width << " x " << c.Height;
    for (int y = c.Where.Top; y < c.Where.Bottom; y += 7)
      for (int x = c.Where.Left; x < c.Where.Right; x += 5) {
        const TPoint table = view.ToTable({x, y});
        ASSERT_TRUE(table.X >= 0 && table.X < 1600 && table.Y >= 0 && table.Y < 1200) << x << "," << y;
        ASSERT_EQ(view.ToScreen(table), (TPoint{x, y})) << c.Width << " x " << c.Height;
      }
    EXPECT_EQ(view.ToScreen({0, 0}), (TPoint{c.Where.Left, c.Where.Top}));
    EXPECT_EQ(view.ToScreen({1599, 1199}), (TPoint{c.Where.Right - 1, c.Where.Bottom - 1}));
  }
}

TEST(Overview, EachReducedPixelIsTheMeanOfItsBox) {
  const TTableView view = TTableView::Fit(6, 2, 2, 1);  // two boxes of 3 x 2
  TPixelBuffer table(6, 2);
  for (int x = 0; x < 6; ++x) {
    table.At(x, 0) = MakePixel(x < 3 ? 30 : 200, 60, 90, 255);
    table.At(x, 1) = MakePixel(x < 3 ? 60 : 200, 0, 90, 7);
  }
  TPixelBuffer reduced(2, 1);
  ReduceBoxes(table, {0, 0}, view, {0, 0, 2, 1}, reduced);
  EXPECT_EQ(reduced.At(0, 0), MakePixel(45, 30, 90));
  EXPECT_EQ(reduced.At(1, 0), MakePixel(200, 30, 90));
}

// One red square on a grey table and one blue square on the screen: the first is reduced and
// hit where the table pixel under the mouse lies in it, the second stays as it was.
TEST(Overview, DrawsTheTableReducedUnderTheScreenSpritesAndHitsWhatItShows) {
  THeadlessDisplay display(800, 600);
  TGraphicsEngine engine(display);
  engine.LoadBackground();
  engine.Background()->Surfaces[0]->Fill(MakePixel(100, 100, 100));
  TPixelBuffer square(40, 40);
  square.Fill(MakePixel(250, 0, 0));
  const int onTable = engine.AddSpriteFromBitmap(square, 1000, 700, 10, 10);
  engine.Sprite(onTable).Fixed = false;
  square.Fill(MakePixel(0, 0, 250));
  const int onScreen = engine.AddSpriteFromBitmap(square, 20, 20, 300, 11);
  engine.FScrollX = 300;
  engine.SetTableLayer(100);
  engine.SetOverview(true);
  engine.DrawFrame();
  const TSurface& back = display.BackBuffer();
  const TPoint middle = engine.TableToScreen(1020, 720);
  EXPECT_EQ(middle, (TPoint{510, 360}));
  EXPECT_EQ(back.At(middle.X, middle.Y) & kRgbMask, MakePixel(250, 0, 0));
  EXPECT_EQ(back.At(middle.X + 30, middle.Y) & kRgbMask, MakePixel(100, 100, 100));
  EXPECT_EQ(back.At(59, 59) & kRgbMask, MakePixel(0, 0, 250));
  EXPECT_EQ(engine.SpriteAt(middle.X, middle.Y), onTable);
  EXPECT_EQ(engine.SpriteAt(middle.X + 30, middle.Y), -1);
  EXPECT_EQ(engine.SpriteAt(40, 40), onScreen);
  EXPECT_EQ(engine.ScreenToTable(middle.X, middle.Y), (TPoint{1020, 720}));
  engine.SetOverview(false);
  EXPECT_EQ(engine.ScreenToTable(10, 10), (TPoint{310, 10}));
}

// The same table twice: reduced on a 790 x 570 screen, and drawn directly at 1:1 on a screen as
// large as the table. After every step of a script the reduced frame must equal the box means of
// the direct one: a stale area of the kept reduction shows as a difference.
class OverviewScript : public testing::Test {
 protected:
  THeadlessDisplay SmallDisplay{790, 570}, WholeDisplay{1600, 1200};
  TGraphicsEngine Small{SmallDisplay}, Whole{WholeDisplay};

  void SetUp() override {
    for (TGraphicsEngine* e : {&Small, &Whole}) {
      e->LoadBackground();
      TSurface& picture = *e->Background()->Surfaces[0];
      for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) picture.At(x, y) = MakePixel(x & 255, y & 255, (x ^ y) & 255);
      picture.MarkChanged();
      std::mt19937 random(11);
      for (int i = 0; i < 60; ++i) AddPiece(*e, random, int(random() % 1500), int(random() % 1100), 10 + i);
    }
    Small.SetTableLayer(1000);
    Small.SetOverview(true);
  }

  static void AddPiece(TGraphicsEngine& engine, std::mt19937& random, int x, int y, double depth) {
    const int w = 50 + int(random() % 40), h = 45 + int(random() % 35);
    TMyDib image(w, h, 32), mask(w + 4, h + 4, 32);
    const TPixel base = (random() | 0x00404040) & kRgbMask;
    for (int py = 0; py < h; ++py)
      for (int px = 0; px < w; ++px)
        if ((2 * px - w) * (2 * px - w) + (2 * py - h) * (2 * py - h) <= w * h) {
          image.At(px, py) = base ^ TPixel((px * 7 + py * 13) & 0x3F);
          mask.At(px + 2, py + 2) = 0xC0000000u;
        }
    const int index = engine.AddSpriteFromBitmap(image, x, y, depth, 10);
    TMySprite& s = engine.Sprite(index);
    s.Kind = ESpriteKind::Piece;
    s.Fixed = false;
    s.Shadow = true;
    s.Bitmaps.push_back(std::make_unique<TMyDib>(mask));
  }

  void Step(const std::function<void(TGraphicsEngine&)>& change) {
    for (TGraphicsEngine* e : {&Small, &Whole}) {
      change(*e);
      e->DrawFrame();
    }
    const TTableView view = Small.OverviewView();
    const TRect where = view.ScreenRect();
    TPixelBuffer expected(where.Width(), where.Height());
    ReduceBoxes(WholeDisplay.BackBuffer(), {0, 0}, view, expected.Bounds(), expected);
    const TSurface& back = SmallDisplay.BackBuffer();
    for (int y = 0; y < expected.Height(); ++y)
      for (int x = 0; x < expected.Width(); ++x)
        ASSERT_EQ(back.At(where.Left + x, where.Top + y) & kRgbMask, expected.At(x, y)) << "at " << x << ", " << y;
  }
};

TEST_F(OverviewScript, KeepsTheReducedTableEqualToTheWholeTableDrawnDirectly) {
  Step([](TGraphicsEngine&) {});
  Step([](TGraphicsEngine& e) { e.Sprite(3).X += 9; });
  Step([](TGraphicsEngine& e) { e.SetSpriteDepth(5, 2000); });  // carried, above the layer
  for (int i = 0; i < 4; ++i) Step([](TGraphicsEngine& e) {
    e.Sprite(5).X += 37;
    e.Sprite(5).Y += 23;
  });
  Step([](TGraphicsEngine& e) { e.Sprite(7).Angle = 40; });  // turning, under the layer's top
  Step([](TGraphicsEngine& e) { e.Sprite(7).Angle = 0; e.SetSpriteDepth(5, 3); });
  Step([](TGraphicsEngine& e) { e.Sprite(9).Visible = false; });
  Step([](TGraphicsEngine& e) { e.FreeSprite(11); });
}

}  // namespace
}  // namespace qj
