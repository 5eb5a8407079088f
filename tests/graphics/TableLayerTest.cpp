// The cached table layer composes the same frames as drawing every sprite directly: two engines
// play the same script, one with the layer, and their back buffers are compared after each step.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>

#include "graphics/UGraphicsEngine.h"
#include "platform/Dib.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj {
namespace {

constexpr double kTop = 100000;      // the layer holds sprites below this depth
constexpr double kCarried = 200000;  // carried pieces lie above it

// A piece image: a textured disc on key colour; its mask darkens the disc's footprint.
std::unique_ptr<TMyDib> PieceImage(std::mt19937& random, int w, int h, bool mask) {
  auto image = std::make_unique<TMyDib>(w, h, 32);
  const TPixel base = (random() | 0x00404040) & kRgbMask;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int dx = 2 * x - w, dy = 2 * y - h;
      if (dx * dx + dy * dy > w * h) continue;
      image->At(x, y) = mask ? 0xC0000000u : base ^ TPixel((x * 7 + y * 13) & 0x3F);
    }
  return image;
}

struct TSide {
  THeadlessDisplay Display{400, 300};
  TGraphicsEngine Engine{Display};
};

class TableLayer : public testing::Test {
 protected:
  TSide Direct, Layered;

  void SetUp() override {
    for (TSide* side : {&Direct, &Layered}) {
      side->Engine.LoadBackground();
      TSurface& picture = *side->Engine.Background()->Surfaces[0];
      for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) picture.At(x, y) = MakePixel(x & 255, y & 255, (x ^ y) & 255);
      picture.MarkChanged();
      std::mt19937 random(7);
      for (int i = 0; i < 80; ++i) AddPiece(side->Engine, random, 60 + int(random() % 500), 60 + int(random() % 400), 10 + i);
      side->Engine.FScrollX = 100;
      side->Engine.FScrollY = 80;
    }
    Layered.Engine.SetTableLayer(kTop);
  }

  static int AddPiece(TGraphicsEngine& engine, std::mt19937& random, int x, int y, double depth) {
    const int w = 50 + int(random() % 40), h = 45 + int(random() % 35);
    const int index = engine.AddSpriteFromBitmap(*PieceImage(random, w, h, false), x, y, depth, 10);
    TMySprite& s = engine.Sprite(index);
    s.Kind = ESpriteKind::Piece;
    s.Fixed = false;
    s.Shadow = true;
    s.Bitmaps.push_back(PieceImage(random, w + 4, h + 4, true));
    return index;
  }

  // Applies one step of the script to both engines and compares the frames.
  void Step(const std::function<void(TGraphicsEngine&)>& change) {
    for (TSide* side : {&Direct, &Layered}) {
      change(side->Engine);
      side->Engine.DrawFrame();
    }
    ExpectSameFrames();
  }

  void ExpectSameFrames() {
    const TSurface& a = Direct.Display.BackBuffer();
    const TSurface& b = Layered.Display.BackBuffer();
    ASSERT_EQ(a.Width(), b.Width());
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        ASSERT_EQ(a.At(x, y), b.At(x, y)) << "first difference at " << x << ", " << y;
  }
};

TEST_F(TableLayer, ComposesTheFramesOfTheDirectPathThroughAScript) {
  Step([](TGraphicsEngine&) {});
  Step([](TGraphicsEngine& e) {
    e.Sprite(3).X += 7;
    e.Sprite(40).Y -= 30;
    e.Sprite(41).X = 700;  // off the screen, still on the table
  });
  Step([](TGraphicsEngine& e) { e.FreeSprite(12); });
  Step([](TGraphicsEngine& e) {
    TSurface& image = *e.Sprite(20).Surfaces[0];
    for (int y = 10; y < 20; ++y) std::fill(image.Row(y) + 10, image.Row(y) + 30, MakePixel(255, 255, 255));
    image.MarkChanged();
  });
  Step([](TGraphicsEngine& e) { e.Sprite(21).Visible = false; });
  Step([](TGraphicsEngine& e) { e.SetSpriteDepth(5, 5000); });  // brought to the front
  Step([](TGraphicsEngine& e) {
    std::mt19937 random(11);
    AddPiece(e, random, 200, 150, 45.5);
    e.Sprite(e.AddSpriteFromBitmap(*PieceImage(random, 30, 30, false), 250, 160, 46.5, 3)).Fixed = false;
  });
  Step([](TGraphicsEngine& e) { e.Sprite(30).Angle = 40; });  // turning under resting pieces
  Step([](TGraphicsEngine& e) {
    e.Sprite(30).Angle = 0;
    e.Sprite(31).Angle = 200;
  });
  Step([](TGraphicsEngine& e) {
    std::mt19937 random(13);
    e.AddSpriteFromBitmap(*PieceImage(random, 300, 40, false), 0, 0, 300000, 2);
    // A screen sprite under the top: the pieces above it cover it.
    e.AddSpriteFromBitmap(*PieceImage(random, 60, 60, false), 150, 100, 20.5, 2);
  });
  Step([](TGraphicsEngine& e) {
    e.SetSpriteDepth(8, kCarried);  // picked up
    e.SetSpriteDepth(9, kCarried + 1);
  });
  for (int frame = 0; frame < 5; ++frame)
    Step([frame](TGraphicsEngine& e) {
      e.Sprite(8).X += 9;
      e.Sprite(9).Y += 4;
      e.FScrollX += frame - 2;
      e.FScrollY += 3;
    });
  Step([](TGraphicsEngine& e) {
    e.SetSpriteDepth(8, 500);  // put down
    e.SetSpriteDepth(9, 501);
  });
  Step([](TGraphicsEngine& e) {
    e.FScrollX = 1100;
    e.FScrollY = 850;
  });
  Step([](TGraphicsEngine& e) {
    e.FScrollX = 0;
    e.FScrollY = 0;
  });
  Step([](TGraphicsEngine& e) {
    TSurface& picture = *e.Background()->Surfaces[0];
    for (int y = 0; y < 200; ++y) std::fill(picture.Row(y), picture.Row(y) + 300, MakePixel(9, 90, 9));
    e.InvalidateTableLayer();
  });
  Step([](TGraphicsEngine& e) { e.Background()->Surfaces[0]->FillRect(MakeRect(50, 50, 100, 100), 0); });
}

TEST_F(TableLayer, CompositesAndPlainSpritesRestOnTheLayer) {
  Step([](TGraphicsEngine& e) {
    std::mt19937 random(17);
    const int tray = e.AddSpriteFromBitmap(*PieceImage(random, 40, 40, false), 160, 120, 33.5, 4);
    TMySprite& s = e.Sprite(tray);
    s.Kind = ESpriteKind::Composite;
    s.Fixed = false;
    e.AddSurface(tray, PieceImage(random, 20, 20, false).get());
    s.Parts.resize(2);
    s.Parts[1].Mode = EPartMode::Stretch;
    s.Parts[1].Dest = MakeRect(-20, 30, 90, 50);
    const int glass = e.AddSpriteFromBitmap(*PieceImage(random, 70, 70, false), 200, 140, 34.5, 4);
    e.Sprite(glass).Fixed = false;
    e.Sprite(glass).Alpha = 128;
  });
  Step([](TGraphicsEngine& e) { e.Sprite(e.SpriteCount() - 2).Parts[1].Dest = MakeRect(0, 0, 30, 30); });
  Step([](TGraphicsEngine& e) { e.FUseClipper = false; });
}

TEST_F(TableLayer, TurningItOffRestoresTheDirectPath) {
  Step([](TGraphicsEngine&) {});
  // Left unmarked, a change in place is not seen by the layer...
  for (TSide* side : {&Direct, &Layered}) {
    TSurface& image = *side->Engine.Sprite(79).Surfaces[0];
    std::fill(image.Row(5), image.Row(5) + image.Width(), MakePixel(255, 0, 0));
  }
  Direct.Engine.RedrawWhole();
  Direct.Engine.DrawFrame();
  Layered.Engine.DrawFrame();
  EXPECT_NE(Direct.Display.BackBuffer().At(Direct.Engine.Sprite(79).X - 100 + 20, Direct.Engine.Sprite(79).Y - 80 + 5),
            Layered.Display.BackBuffer().At(Direct.Engine.Sprite(79).X - 100 + 20, Direct.Engine.Sprite(79).Y - 80 + 5));
  // ...but drawing the whole frame directly again sees everything.
  Layered.Engine.SetTableLayer(0);
  EXPECT_EQ(Layered.Engine.TableLayerTop(), 0);
  Step([](TGraphicsEngine&) {});
  Layered.Engine.SetTableLayer(kTop);
  Step([](TGraphicsEngine& e) { e.Sprite(2).X += 3; });
}

TEST_F(TableLayer, DrawingHooksUnderTheTopAreDrawnDirectly) {
  int calls = 0;
  Step([&calls](TGraphicsEngine& e) {
    const int hook = e.AddEmptySprite(0, 0, 40.5, 5);
    e.Sprite(hook).Kind = ESpriteKind::Hook;
    e.Sprite(hook).OnDraw = [&calls, engine = &e](int) {
      ++calls;
      engine->Display().BackBuffer().FillRect(MakeRect(100, 100, 50, 50), MakePixel(1, 2, 3));
    };
  });
  EXPECT_EQ(calls, 2);
  Step([](TGraphicsEngine& e) { e.Sprite(6).X -= 11; });
}

}  // namespace
}  // namespace qj
