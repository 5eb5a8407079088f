// The sprite engine on a headless display: slots, order, hit tests, every drawing kind,
// shadows, surface placement, lost surfaces and display-mode switches.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "app/UMain.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj {
namespace {

constexpr TPixel kRed = MakePixel(255, 0, 0), kGreen = MakePixel(0, 255, 0), kBlue = MakePixel(0, 0, 255);
constexpr TPixel kGrey = MakePixel(100, 100, 100);

TRect Offset(const TRect& r, TPoint p) { return {r.Left + p.X, r.Top + p.Y, r.Right + p.X, r.Bottom + p.Y}; }

TPixelBuffer Filled(int w, int h, TPixel colour) {
  TPixelBuffer b(w, h);
  b.Fill(colour);
  return b;
}

class SpriteEngine : public testing::Test {
 protected:
  THeadlessDisplay Display{200, 100};
  TGraphicsEngine Engine{Display};

  TSurface& Back() { return Display.BackBuffer(); }
  int Add(int x, int y, double depth, TPixel colour, int w = 10, int h = 10) {
    return Engine.AddSpriteFromBitmap(Filled(w, h, colour), x, y, depth, 0);
  }
  void Frame() {
    Back().Fill(kGrey);
    Engine.RedrawWhole();
    Engine.DrawFrame();
  }
};

// ---------------------------------------------------------------- slots, ids, trimming

TEST_F(SpriteEngine, FreedSlotIsReusedWithANewId) {
  const int a = Add(0, 0, 1, kRed), b = Add(0, 0, 2, kRed);
  EXPECT_EQ(Engine.Sprite(a).Id, 1);
  EXPECT_EQ(Engine.Sprite(b).Id, 2);
  Engine.Sprite(a).SolidHit = true;
  Engine.FreeSprite(a);
  EXPECT_EQ(Engine.Sprite(a).Id, 0);
  EXPECT_FALSE(Engine.Sprite(a).Visible);
  EXPECT_TRUE(Engine.Sprite(a).Surfaces.empty());
  const int c = Engine.AddEmptySprite(5, 6, 3, 42);
  EXPECT_EQ(c, a);
  EXPECT_EQ(Engine.Sprite(c).Id, 3);
  EXPECT_FALSE(Engine.Sprite(c).SolidHit);
  EXPECT_TRUE(Engine.Sprite(c).Visible && Engine.Sprite(c).Fixed);
  EXPECT_EQ(Engine.Sprite(c).Category, 42);
  EXPECT_EQ(Engine.SpriteSurfaceCount(), 1 + 5);
}

TEST_F(SpriteEngine, FreeAllKeepsPersistentAndTrimStopsAtTheFirstUsedSlot) {
  const int keep = Add(0, 0, 1, kRed);
  Engine.Sprite(keep).Persistent = true;
  Add(0, 0, 2, kRed);
  Add(0, 0, 3, kRed);
  const int last = Add(0, 0, 4, kRed);
  Engine.FreeAllSprites();
  EXPECT_EQ(Engine.Sprite(keep).Id, 1);
  Engine.Sprite(last).Visible = true;  // free but visible: trimming stops here
  Engine.TrimSprites();
  EXPECT_EQ(Engine.SpriteCount(), 4);
  Engine.Sprite(last).Visible = false;
  Engine.TrimSprites();
  EXPECT_EQ(Engine.SpriteCount(), 1);
  Frame();  // the drawing order must not point at removed slots
}

TEST_F(SpriteEngine, SurfacesFromFilesAndPlaceholders) {
  const int s = Engine.AddEmptySprite(0, 0, 1, 0);
  EXPECT_EQ(Engine.SpriteBounds(s), (TRect{0, 0, 0, 0}));
  TSurface& blank = Engine.AddSurfaceFromFile(s, "");
  EXPECT_EQ(blank.Width(), 1);
  TSurface& missing = Engine.AddSurfaceFromFile(s, "/nonexistent/picture.bmp");
  EXPECT_EQ(missing.Width(), 1);
  Engine.AddSurface(s, nullptr);
  EXPECT_EQ(Engine.Sprite(s).Surfaces.size(), 3u);
  const int t = Engine.AddSprite("/nonexistent/picture.jpg", 3, 4, 1, 0);
  EXPECT_EQ(Engine.SpriteBounds(t), MakeRect(3, 4, 1, 1));
}

// ---------------------------------------------------------------- drawing order

// Ascending depth, equal depths in index order.
std::vector<int> ReferenceOrder(const std::vector<double>& depth) {
  std::vector<int> order(depth.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return depth[size_t(a)] < depth[size_t(b)]; });
  return order;
}

TEST_F(SpriteEngine, OrderIsByDepthWithTiesInIndexOrder) {
  std::mt19937 random(11);
  for (const int levels : {3, 40, 1 << 30}) {
    Engine.FreeAllSprites();
    Engine.TrimSprites();
    std::vector<double> depth;
    for (int i = 0; i < 300; ++i) {
      depth.push_back(double(random() % unsigned(levels)));
      Engine.AddEmptySprite(0, 0, depth.back(), 0);
    }
    Engine.SortSprites();
    EXPECT_EQ(Engine.Order(), ReferenceOrder(depth)) << levels;
  }
}

TEST_F(SpriteEngine, SettingTheSameDepthDoesNotSortAgain) {
  const int s = Engine.AddEmptySprite(0, 0, 5, 0);
  Engine.SortSprites();
  Engine.SetSpriteDepth(s, 5);
  Engine.Sprite(s).SetDepth(5);
  EXPECT_TRUE(Engine.SortIsCurrent());
  Engine.SetSpriteDepth(s, 6);
  EXPECT_FALSE(Engine.SortIsCurrent());
}

TEST_F(SpriteEngine, ADepthThatIsNotANumberSortsFirst) {
  Engine.AddEmptySprite(0, 0, 2, 0);
  const int odd = Engine.AddEmptySprite(0, 0, std::nan(""), 0);
  Engine.AddEmptySprite(0, 0, 1, 0);
  Engine.SortSprites();
  EXPECT_EQ(Engine.Order(), (std::vector<int>{odd, 2, 0}));
}

TEST_F(SpriteEngine, DepthChangesReorderTheDrawing) {
  const int low = Add(0, 0, 1, kRed), high = Add(0, 0, 2, kGreen);
  Frame();
  EXPECT_EQ(Back().At(5, 5), kGreen);
  Engine.SetSpriteDepth(low, 3);
  Frame();
  EXPECT_EQ(Back().At(5, 5), kRed);
  Engine.Sprite(high).SetDepth(4);
  Frame();
  EXPECT_EQ(Back().At(5, 5), kGreen);
}

// ---------------------------------------------------------------- hit test

TEST_F(SpriteEngine, HitTestPrefersDepthThenTheLowerIndex) {
  const int deep = Add(0, 0, 7, kRed), shallow = Add(0, 0, 5, kGreen);
  EXPECT_EQ(Engine.SpriteAt(5, 5), deep);
  Engine.SetSpriteDepth(shallow, 9);
  EXPECT_EQ(Engine.SpriteAt(5, 5), shallow);
  Engine.SetSpriteDepth(shallow, 7);
  EXPECT_EQ(Engine.SpriteAt(5, 5), deep);
  Engine.Sprite(deep).NoHit = true;
  EXPECT_EQ(Engine.SpriteAt(5, 5), shallow);
  Engine.Sprite(shallow).Visible = false;
  EXPECT_EQ(Engine.SpriteAt(5, 5), -1);
}

TEST_F(SpriteEngine, HitTestEdgesAreStrict) {
  const int s = Add(10, 20, 1, kRed);  // covers x 10..19, y 20..29
  EXPECT_EQ(Engine.SpriteAt(10, 25), -1);
  EXPECT_EQ(Engine.SpriteAt(15, 20), -1);
  EXPECT_EQ(Engine.SpriteAt(20, 25), -1);
  EXPECT_EQ(Engine.SpriteAt(15, 30), -1);
  EXPECT_EQ(Engine.SpriteAt(11, 21), s);
  EXPECT_EQ(Engine.SpriteAt(19, 29), s);
}

TEST_F(SpriteEngine, TransparentPixelsMissUnlessSolidHit) {
  TPixelBuffer image = Filled(10, 10, kRed);
  image.At(5, 5) = 0xFF000000;  // key colour with alpha data
  const int s = Engine.AddSpriteFromBitmap(image, 0, 0, 1, 0);
  EXPECT_EQ(Engine.SpriteAt(5, 5), -1);
  EXPECT_EQ(Engine.SpriteAt(4, 5), s);
  Engine.Sprite(s).SolidHit = true;
  EXPECT_EQ(Engine.SpriteAt(5, 5), s);
}

TEST_F(SpriteEngine, HitTestSkipsTurnedPiecesAndUsesTheAnimationFrame) {
  const int piece = Add(0, 0, 2, kRed);
  Engine.Sprite(piece).Kind = ESpriteKind::Piece;
  Engine.Sprite(piece).Angle = 10;
  EXPECT_EQ(Engine.SpriteAt(5, 5), -1);
  Engine.Sprite(piece).Kind = ESpriteKind::Plain;  // only kinds 1 and 5 are turned
  EXPECT_EQ(Engine.SpriteAt(5, 5), piece);
  Engine.FreeSprite(piece);
  const int anim = Add(0, 0, 1, kRed, 4, 4);
  Engine.AddSurface(anim, nullptr);
  Engine.Sprite(anim).Kind = ESpriteKind::Animation;
  Engine.Sprite(anim).Frame = 1;
  EXPECT_EQ(Engine.SpriteAt(2, 2), -1);  // frame 1 is a 1 x 1 pixel
  Engine.Sprite(anim).Frame = 0;
  EXPECT_EQ(Engine.SpriteAt(2, 2), anim);
}

TEST_F(SpriteEngine, ScrollMovesTableSpritesOnly) {
  const int table = Add(50, 50, 1, kRed), fixed = Add(50, 10, 1, kGreen);
  Engine.Sprite(table).Fixed = false;
  Engine.FScrollX = 30;
  Engine.FScrollY = 40;
  EXPECT_EQ(Engine.SpriteAt(25, 15), table);
  EXPECT_EQ(Engine.SpriteAt(55, 15), fixed);
  Frame();
  EXPECT_EQ(Back().At(20, 10), kRed);
  EXPECT_EQ(Back().At(55, 15), kGreen);
  EXPECT_EQ(Back().At(55, 55), kGrey);
}

// ---------------------------------------------------------------- drawing kinds

TEST_F(SpriteEngine, SpritesClipAtEveryEdge) {
  Add(-5, -5, 1, kRed);
  Add(195, 95, 1, kGreen);
  Add(-8, 95, 1, kBlue);
  Add(250, 50, 1, kRed);
  Frame();
  EXPECT_EQ(Back().At(0, 0), kRed);
  EXPECT_EQ(Back().At(4, 4), kRed);
  EXPECT_EQ(Back().At(5, 5), kGrey);
  EXPECT_EQ(Back().At(199, 99), kGreen);
  EXPECT_EQ(Back().At(194, 99), kGrey);
  EXPECT_EQ(Back().At(1, 99), kBlue);
  EXPECT_EQ(Back().At(2, 99), kGrey);
}

TEST_F(SpriteEngine, AlphaSpritesBlend) {
  const int s = Add(0, 0, 1, kRed);
  Engine.Sprite(s).Alpha = 128;
  Frame();
  EXPECT_EQ(Back().At(3, 3), MakePixel(178, 50, 50));
}

TEST_F(SpriteEngine, PlayOnceAnimationStopsOnItsLastFrame) {
  TManualClock clock(5000);
  SetClock(&clock);
  const TPixel colours[4] = {kRed, kGreen, kBlue, MakePixel(9, 9, 9)};
  const int s = Add(0, 0, 1, colours[0]);
  for (int i = 1; i < 4; ++i) {
    const TPixelBuffer frame = Filled(10, 10, colours[i]);
    Engine.AddSurface(s, &frame);
  }
  TMySprite& sprite = Engine.Sprite(s);
  sprite.Kind = ESpriteKind::Animation;
  sprite.FrameMs = 50;
  sprite.PlayOnce = true;
  sprite.LastFrameTick = clock.TickCount();
  Frame();
  EXPECT_EQ(Back().At(1, 1), kRed);  // not yet due
  for (unsigned expected = 1; expected <= 3; ++expected) {
    clock.Advance(51);
    Frame();
    EXPECT_EQ(sprite.Frame, expected);
    EXPECT_EQ(Back().At(1, 1), colours[expected]);
    EXPECT_EQ(sprite.Finished, expected == 3);
  }
  clock.Advance(500);
  Frame();
  EXPECT_EQ(sprite.Frame, 3u);
  EXPECT_EQ(Back().At(1, 1), colours[3]);
  SetClock(nullptr);
}

TEST_F(SpriteEngine, CompositeStretchesKeepingAspect) {
  const int s = Engine.AddEmptySprite(10, 10, 1, 0);
  const TPixelBuffer wide = Filled(4, 2, kRed);
  Engine.AddSurface(s, &wide);
  TSpritePart part;
  part.Mode = EPartMode::Stretch;
  part.KeepAspect = 1;
  part.Dest = {0, 0, 12, 10};  // narrower than the image: full width, centred vertically
  Engine.Sprite(s).Parts.push_back(part);
  Engine.Sprite(s).Kind = ESpriteKind::Composite;
  Frame();
  EXPECT_EQ(Back().At(10, 11), kGrey);
  EXPECT_EQ(Back().At(10, 12), kRed);
  EXPECT_EQ(Back().At(21, 17), kRed);
  EXPECT_EQ(Back().At(21, 18), kGrey);

  Engine.Sprite(s).Parts[0].Dest = {0, 0, 20, 4};  // wider: full height, centred horizontally
  Frame();
  EXPECT_EQ(Back().At(10 + 5, 11), kGrey);
  EXPECT_EQ(Back().At(10 + 6, 11), kRed);
  EXPECT_EQ(Back().At(10 + 13, 13), kRed);
  EXPECT_EQ(Back().At(10 + 14, 13), kGrey);

  Engine.Sprite(s).Parts[0].KeepAspect = 0;
  Frame();
  EXPECT_EQ(Back().At(10, 10), kRed);
  EXPECT_EQ(Back().At(29, 13), kRed);
}

TEST_F(SpriteEngine, CompositeCopiesSourceToDestAndHonoursHiddenParts) {
  const int s = Engine.AddEmptySprite(0, 0, 1, 0);
  TPixelBuffer sheet = Filled(8, 8, kRed);
  sheet.FillRect({4, 4, 8, 8}, kBlue);
  Engine.AddSurface(s, &sheet);
  const TPixelBuffer dot = Filled(2, 2, kGreen);
  Engine.AddSurface(s, &dot);  // no part record: drawn at the sprite position
  TSpritePart copy;
  copy.Mode = EPartMode::CopySource;
  copy.Source = {4, 4, 8, 8};
  copy.Dest = {20, 20, 24, 24};
  Engine.Sprite(s).Parts.push_back(copy);
  Engine.Sprite(s).Kind = ESpriteKind::Composite;
  Frame();
  EXPECT_EQ(Back().At(20, 20), kBlue);
  EXPECT_EQ(Back().At(23, 23), kBlue);
  EXPECT_EQ(Back().At(24, 24), kGrey);
  EXPECT_EQ(Back().At(1, 1), kGreen);
  Engine.Sprite(s).Parts[0].Hidden = 1;
  Frame();
  EXPECT_EQ(Back().At(20, 20), kGrey);
  EXPECT_EQ(Back().At(1, 1), kGreen);
}

TEST_F(SpriteEngine, PieceKindCallsItsHookSkipsOnceAndTurns) {
  const int s = Add(20, 20, 1, kRed, 4, 2);
  TMySprite& piece = Engine.Sprite(s);
  piece.Kind = ESpriteKind::Piece;
  piece.DrawTag = 77;
  int seen = 0;
  piece.OnDraw = [&seen](int value) { seen = value; };
  piece.SkipOnce = true;
  Frame();
  EXPECT_EQ(seen, 77);
  EXPECT_FALSE(Engine.Sprite(s).SkipOnce);
  EXPECT_EQ(Back().At(20, 20), kGrey);
  Frame();
  EXPECT_EQ(Back().At(20, 20), kRed);
  EXPECT_FALSE(Engine.Sprite(s).Surfaces[0]->SystemMemory());
  Engine.Sprite(s).Angle = 64;
  Engine.Sprite(s).CenterX = Engine.Sprite(s).CenterY = 0.5;
  Frame();
  EXPECT_TRUE(Engine.Sprite(s).Surfaces[0]->SystemMemory());
  EXPECT_EQ(Back().At(21, 19), kRed);  // 4 x 2 turned upright about (22, 21)
  EXPECT_EQ(Back().At(22, 22), kRed);
  EXPECT_EQ(Back().At(20, 20), kGrey);
}

TEST_F(SpriteEngine, HooksMayCreateAndFreeSpritesWhileDrawing) {
  const int self = Engine.AddEmptySprite(0, 0, 1, 0);
  std::vector<int> positions;
  TPixel below = 0;
  Engine.Sprite(self).Kind = ESpriteKind::Hook;
  Engine.Sprite(self).OnDraw = [&](int position) {
    positions.push_back(position);
    below = Back().At(1, 1);  // everything beneath is on the back buffer when a hook runs
    for (int i = 0; i < 50; ++i) Add(0, 0, 0.5, kRed);
    Engine.FreeSprite(self);
  };
  Add(0, 0, 0, kGreen);
  Frame();
  EXPECT_EQ(positions, std::vector<int>{1});
  EXPECT_EQ(below, kGreen);
  EXPECT_EQ(Engine.Sprite(self).Id, 0);
  Frame();
  EXPECT_EQ(positions.size(), 1u);
  EXPECT_EQ(Back().At(1, 1), kRed);
}

// A frame is painted in bands; the result must equal drawing the sprites one by one.
TEST(SpriteEngineFrame, EqualsDrawingEachSpriteInTurn) {
  THeadlessDisplay display(300, 200);
  TGraphicsEngine engine(display);
  TSurface expected(300, 200);
  std::mt19937 random(21);
  for (int i = 0; i < 60; ++i) {
    TPixelBuffer image(int(8 + random() % 60), int(8 + random() % 90));
    for (int p = 0; p < image.Width() * image.Height(); ++p) image.Bits()[p] = random() % 3 ? random() : 0;
    const TPoint at{int(random() % 300) - 20, int(random() % 200) - 20};  // never beyond the right or bottom edge
    const int s = engine.AddSpriteFromBitmap(image, at.X, at.Y, i, 0);
    TMySprite& sprite = engine.Sprite(s);
    switch (i % 4) {
      case 0:
        BltFast(expected, at.X, at.Y, image, true);
        break;
      case 1:
        sprite.Alpha = uint8_t(1 + random() % 254);
        BltAlpha(expected, at.X, at.Y, image, sprite.Alpha, true);
        break;
      case 2:
        sprite.Kind = ESpriteKind::Piece;
        sprite.Angle = int(random() % 256);
        sprite.CenterX = sprite.CenterY = 0.4;
        DrawRotated(expected, at.X, at.Y, image, sprite.Angle, 0.4, 0.4);
        break;
      default: {
        sprite.Kind = ESpriteKind::Composite;
        TSpritePart part;
        part.Mode = EPartMode::Stretch;
        part.Dest = MakeRect(0, 0, 2 * image.Width(), 3 * image.Height() / 2);
        sprite.Parts.push_back(part);
        Blt(expected, Offset(part.Dest, at), image, image.Bounds(), true);
      }
    }
  }
  engine.DrawFrame();
  for (int p = 0; p < 300 * 200; ++p) ASSERT_EQ(display.BackBuffer().Bits()[p], expected.Bits()[p]) << p;
}

// ---------------------------------------------------------------- shadows and surface memory

TEST_F(SpriteEngine, ShadowDarkensThroughTheMaskAlpha) {
  TSurface target(4, 1);
  target.Fill(MakePixel(200, 100, 30, 7));
  TPixelBuffer mask(3, 1);
  mask.At(0, 0) = 0x00FFFFFF;  // a = 0
  mask.At(1, 0) = 0xFF000000;  // a = 255
  mask.At(2, 0) = 0x80000000;  // a = 128: down by 64
  TGraphicsEngine::DrawShadow(&target, 1, 0, &mask);
  EXPECT_EQ(target.At(0, 0), MakePixel(200, 100, 30, 7));
  EXPECT_EQ(target.At(1, 0), MakePixel(200, 100, 30, 7));
  EXPECT_EQ(target.At(2, 0), 0u);
  EXPECT_EQ(target.At(3, 0), MakePixel(136, 36, 0, 7));
  TGraphicsEngine::DrawShadow(&target, -2, 0, &mask);  // only the a = 128 column lands
  EXPECT_EQ(target.At(0, 0), MakePixel(136, 36, 0, 7));
  TGraphicsEngine::DrawShadow(nullptr, 0, 0, &mask);
  TGraphicsEngine::DrawShadow(&target, 0, 0, nullptr);
}

TEST_F(SpriteEngine, PieceShadowIsDrawnBeforeTheImage) {
  const int s = Add(10, 10, 1, kRed, 2, 2);
  TMySprite& piece = Engine.Sprite(s);
  piece.Kind = ESpriteKind::Piece;
  piece.Shadow = true;
  auto mask = std::make_unique<TMyDib>(4, 4, 32);
  mask->Fill(0xFF000000);
  piece.Bitmaps.push_back(std::move(mask));
  Frame();
  EXPECT_EQ(Back().At(10, 10), kRed);
  EXPECT_EQ(Back().At(13, 13), 0u);
}

TEST_F(SpriteEngine, MoveSurfaceMemoryReplacesTheSurfaceOnlyWhenNeeded) {
  const int s = Add(0, 0, 1, kRed, 3, 3);
  auto& surface = Engine.Sprite(s).Surfaces[0];
  const TSurface* before = surface.get();
  Engine.MoveSurfaceMemory(surface, false);
  EXPECT_EQ(surface.get(), before);
  const size_t live = TSurface::LiveCount();
  Engine.MoveSurfaceMemory(surface, true);
  EXPECT_TRUE(surface->SystemMemory());
  EXPECT_EQ(surface->Width(), 3);
  EXPECT_EQ(surface->At(2, 2), kRed);
  EXPECT_EQ(TSurface::LiveCount(), live);
  ASSERT_NE(Engine.WorkSurface(), nullptr);
  EXPECT_TRUE(Engine.WorkSurface()->Empty());
}

// ---------------------------------------------------------------- lost surfaces and display modes

TEST_F(SpriteEngine, DisplayChangeLeavesOneByOnePlaceholders) {
  int chained = 0, restored = 0;
  THeadlessDisplay display(100, 80);
  display.OnSurfacesCreated = [&chained] { ++chained; };
  TGraphicsEngine engine(display);
  engine.OnRestore = [&restored] { ++restored; };
  engine.AddSpriteFromBitmap(Filled(30, 20, kRed), 0, 0, 1, 0);
  const int two = engine.AddSpriteFromBitmap(Filled(5, 5, kRed), 0, 0, 2, 0);
  engine.AddSurface(two, nullptr);
  display.Finalize();
  display.Initialize();
  EXPECT_EQ(chained, 1);
  EXPECT_EQ(restored, 1);
  EXPECT_EQ(engine.FStatText, "R");
  for (int i = 0; i < engine.SpriteCount(); ++i)
    for (const auto& surface : engine.Sprite(i).Surfaces) {
      EXPECT_EQ(surface->Width(), 1);
      EXPECT_EQ(surface->Height(), 1);
    }
  EXPECT_NE(engine.WorkSurface(), nullptr);
}

TEST_F(SpriteEngine, ToggleFullScreenAndBack) {
  std::vector<bool> timer;
  int changes = 0;
  Engine.OnTimerEnabled = [&timer](bool on) { timer.push_back(on); };
  Engine.OnDisplayChange = [&changes] { ++changes; };
  EXPECT_TRUE(Engine.ToggleFullScreen({1024, 768, 32, 75}));
  EXPECT_TRUE(Display.FullScreenOption());
  EXPECT_TRUE(Display.Borderless);
  EXPECT_EQ(Display.FullScreenMode().Refresh, 75);
  EXPECT_EQ(Engine.FWidth, 1024);
  EXPECT_EQ(Display.BackBuffer().Height(), 768);
  EXPECT_FALSE(Engine.ToggleFullScreen({1024, 768, 32, 75}));
  EXPECT_FALSE(Display.FullScreenOption());
  EXPECT_EQ(Engine.FWidth, 200);
  EXPECT_EQ(timer, (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(changes, 2);
}

TEST_F(SpriteEngine, SetDisplayModeOnlyActsOnAChange) {
  EXPECT_FALSE(Engine.SetDisplayMode(800, 600, false, 32, 0));
  EXPECT_TRUE(Engine.SetDisplayMode(800, 600, true, 32, 60));
  EXPECT_EQ(Engine.FWidth, 800);
  EXPECT_FALSE(Engine.SetDisplayMode(800, 600, true, 32, 60));
  EXPECT_TRUE(Engine.SetDisplayMode(1024, 768, true, 16, 60));
  EXPECT_EQ(Engine.FHeight, 768);
  EXPECT_TRUE(Engine.SetDisplayMode(0, 0, false, 0, 0));
  EXPECT_FALSE(Display.FullScreenOption());
  EXPECT_EQ(Display.WindowBounds(), MakeRect(0, 0, 200, 100));  // the window's own placement
}

// ---------------------------------------------------------------- background and overlay

TEST_F(SpriteEngine, MissingBackgroundLeavesTheTableBlack) {
  Engine.OnBackgroundPath = [] { return std::string("/nonexistent/background.jpg"); };
  Engine.LoadBackground();
  ASSERT_NE(BackgroundSprite(), nullptr);
  EXPECT_EQ(BackgroundSprite()->Surfaces[0]->Width(), 1600);
  EXPECT_FALSE(BackgroundSprite()->Surfaces[0]->SystemMemory());
  EXPECT_TRUE(BackgroundSprite()->Surfaces[1]->SystemMemory());
  Frame();
  EXPECT_EQ(Back().At(199, 99), 0u);
  BackgroundSprite()->Visible = false;
  Frame();
  EXPECT_EQ(Back().At(199, 99), kGrey);
}

TEST_F(SpriteEngine, BackgroundScrollsWithTheTable) {
  TPixelBuffer picture = Filled(300, 300, kBlue);
  picture.At(50, 60) = kRed;
  EXPECT_EQ(Engine.Background(), nullptr);
  Engine.LoadBackground();
  BackgroundSprite()->Surfaces[0]->CopyFrom(picture);
  Engine.FScrollX = 40;
  Engine.FScrollY = 50;
  Frame();
  EXPECT_EQ(Back().At(10, 10), kRed);
  EXPECT_EQ(Back().At(11, 10), kBlue);
}

TEST_F(SpriteEngine, OverlayWritesAndPulses) {
  Engine.FPulseStep = 10;
  Engine.FDebugLines.push_back({50, 50, 90, 50});
  OverlayVisible = true;
  Frame();
  OverlayVisible = false;
  EXPECT_EQ(Engine.FOverlayGrey, 30);
  EXPECT_EQ(Back().At(50, 50), MakePixel(255, 255, 255));
  EXPECT_EQ(Back().At(70, 50), MakePixel(255, 255, 255));
  bool text = false;
  for (int y = 0; y < 20 && !text; ++y)
    for (int x = 10; x < 40 && !text; ++x) text = Back().At(x, y) != kGrey;
  EXPECT_TRUE(text);
}

}  // namespace
}  // namespace qj
