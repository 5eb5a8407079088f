// Frame composition at full table size, and each blit on its own.
#include <benchmark/benchmark.h>

#include <random>

#include "controls/UControlImages.h"
#include "controls/UTrayWindow.h"
#include "controls/UEngines.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Display.h"
#include "platform/Paths.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj {
namespace {

constexpr int kWidth = 1600, kHeight = 1200, kPiece = 64;

// A textured round piece: the corners (about 30% of the pixels) are the key colour.
TPixelBuffer PieceImage(std::mt19937& random) {
  TPixelBuffer image(kPiece, kPiece);
  const TPixel base = random() | 0x00404040;
  for (int y = 0; y < kPiece; ++y)
    for (int x = 0; x < kPiece; ++x) {
      const int dx = x - kPiece / 2, dy = y - kPiece / 2;
      if (dx * dx + dy * dy <= 30 * 30) image.At(x, y) = base ^ TPixel((x * 7 + y * 13) & 0x1F);
    }
  return image;
}

TPixelBuffer Picture(int w, int h) {
  TPixelBuffer picture(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) picture.At(x, y) = MakePixel(x & 255, y & 255, (x ^ y) & 255);
  return picture;
}

// Arg 0: piece sprites; arg 1: 1 when every piece is a self-drawn one (kind 1) with a drawing
// hook, which makes the engine paint everything beneath before each hook runs.
void BM_DrawFrame(benchmark::State& state) {
  THeadlessDisplay display(kWidth, kHeight);
  TGraphicsEngine engine(display);
  engine.LoadBackground();
  engine.Background()->Surfaces[0]->CopyFrom(Picture(kWidth, kHeight));
  std::mt19937 random(3);
  const int count = int(state.range(0));
  int hookCalls = 0;
  for (int i = 0; i < count; ++i) {
    const int s = engine.AddSpriteFromBitmap(PieceImage(random), int(random() % (kWidth - kPiece)),
                                             int(random() % (kHeight - kPiece)), i, 10);
    if (state.range(1) == 0) continue;
    engine.Sprite(s).Kind = ESpriteKind::Piece;
    engine.Sprite(s).OnDraw = [&hookCalls](int) { ++hookCalls; };
  }
  engine.DrawFrame();  // sorts once
  // The whole frame each time, as after a switch: what changed alone would be nothing here.
  for (auto _ : state) {
    engine.RedrawWhole();
    engine.DrawFrame();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawFrame)->Args({0, 0})->Args({1000, 0})->Args({1000, 1})->Unit(benchmark::kMillisecond)->MinTime(2.0);

class TBenchScreen : public TInterface {
 public:
  using TInterface::TInterface;
  void Restore() override {}
};

// The play table as it will be at its busiest: 1,000 pieces on the table and five open trays of
// 400 x 300 holding 50 pieces each, in the data set's first theme; a frame is the screen's
// update (the trays animate) and the composition.
void BM_DrawFrameTrays(benchmark::State& state) {
  InitProgramFolder(nullptr);
  LoadThemes();
  std::string error;
  if (!ReloadControlImages(error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  THeadlessDisplay display(kWidth, kHeight);
  SetDXDraw(&display);
  TGraphicsEngine engine(display);
  engine.LoadBackground();
  engine.Background()->Surfaces[0]->CopyFrom(Picture(kWidth, kHeight));
  TBenchScreen screen(&engine);
  screen.SetDepthRange(0, 99990);
  screen.Enter();
  std::mt19937 random(3);
  for (int i = 0; i < 1000; ++i)
    engine.Sprite(engine.AddSpriteFromBitmap(PieceImage(random), int(random() % (kWidth - kPiece)),
                                             int(random() % (kHeight - kPiece)), 10 + i, 10))
        .Kind = ESpriteKind::Piece;
  for (int t = 0; t < 5; ++t) {
    auto& tray = screen.AddOwnedControl<TDXTrayWindow>();
    tray.RestoreBounds(60 + t * 280, 80 + t * 200, 400, 300);
    tray.Open();
    for (int i = 0; i < 50; ++i)
      engine.Sprite(engine.AddSpriteFromBitmap(PieceImage(random), tray.FLeft + int(random() % (400 - kPiece)),
                                               tray.FTop + 20 + int(random() % (280 - kPiece)), tray.FDepth + 0.5, 10))
          .Kind = ESpriteKind::Piece;
  }
  screen.Update();
  engine.DrawFrame();
  for (auto _ : state) {
    screen.Update();
    engine.RedrawWhole();
    engine.DrawFrame();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
  screen.Leave();
  SetDXDraw(nullptr);
}
BENCHMARK(BM_DrawFrameTrays)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The blits one at a time, each drawing one 64 x 64 piece at random places of a full-size back
// buffer (or, with samePlace, always at one place, so the target stays in the cache and only the
// loop itself is measured).
template <class TDraw>
void RunBlits(benchmark::State& state, int pixelsPerBlit, bool samePlace, TDraw draw) {
  TSurface target(kWidth, kHeight);
  std::mt19937 random(5);
  const TPixelBuffer piece = PieceImage(random);
  for (auto _ : state) {
    TPoint p{100, 100};
    if (!samePlace) p = {int(random() % (kWidth - 2 * kPiece)), int(random() % (kHeight - 2 * kPiece))};
    draw(target, p, piece);
  }
  state.SetItemsProcessed(state.iterations() * pixelsPerBlit);
}

void BM_KeyedBlit(benchmark::State& state) {
  RunBlits(state, kPiece * kPiece, state.range(0) != 0,
           [](TSurface& target, TPoint p, const TPixelBuffer& piece) { BltFast(target, p.X, p.Y, piece, true); });
}
BENCHMARK(BM_KeyedBlit)->Arg(0)->Arg(1);

void BM_AlphaBlit(benchmark::State& state) {
  RunBlits(state, kPiece * kPiece, false, [](TSurface& target, TPoint p, const TPixelBuffer& piece) {
    BltAlpha(target, p.X, p.Y, piece, 128, true);
  });
}
BENCHMARK(BM_AlphaBlit);

void BM_RotatedBlit(benchmark::State& state) {
  const int angle = int(state.range(0));
  RunBlits(state, kPiece * kPiece, false, [angle](TSurface& target, TPoint p, const TPixelBuffer& piece) {
    DrawRotated(target, p.X, p.Y, piece, angle, 0.5, 0.5);
  });
}
BENCHMARK(BM_RotatedBlit)->Arg(20)->Arg(64);

void BM_StretchBlit(benchmark::State& state) {
  RunBlits(state, 4 * kPiece * kPiece, false, [](TSurface& target, TPoint p, const TPixelBuffer& piece) {
    Blt(target, MakeRect(p.X, p.Y, 2 * kPiece, 2 * kPiece), piece, piece.Bounds(), true);
  });
}
BENCHMARK(BM_StretchBlit);

void BM_BackgroundCopy(benchmark::State& state) {
  TSurface target(kWidth, kHeight);
  const TPixelBuffer picture = Picture(kWidth, kHeight);
  for (auto _ : state) {
    BltFast(target, 0, 0, picture, false);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(picture.ByteSize()));
}
BENCHMARK(BM_BackgroundCopy)->Unit(benchmark::kMillisecond);

// The drawing order of 1,000 sprites: distinct depths, and depths with many ties.
void BM_SortSprites(benchmark::State& state) {
  THeadlessDisplay display(100, 100);
  TGraphicsEngine engine(display);
  std::mt19937 random(9);
  for (int i = 0; i < 1000; ++i) engine.AddEmptySprite(0, 0, double(random() % unsigned(state.range(0))), 0);
  for (auto _ : state) engine.SortSprites();
}
BENCHMARK(BM_SortSprites)->Arg(1 << 30)->Arg(50)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qj

BENCHMARK_MAIN();
