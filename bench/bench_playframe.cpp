// Frame composition of the play table: thousands of shadowed pieces on the 1600 x 1200 table under
// a menu bar and buttons, resting, with one piece or a group carried, and while the table scrolls;
// each with the cached table layer and drawn directly; and the whole table reduced to the screen.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "graphics/UGraphicsEngine.h"
#include "platform/Dib.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj {
namespace {

constexpr int kTableWidth = 1600, kTableHeight = 1200;
constexpr int kScreenWidth = 1024, kScreenHeight = 768;
constexpr int kPieceWidth = 80, kPieceHeight = 70;
constexpr double kTop = 100000;      // the play screen's limit: pieces resting on the table lie below
constexpr double kCarried = 200000;  // carried pieces lie above everything on the table
constexpr double kScreen = 300000;   // menu bar and buttons

enum class EMotion { Resting, CarryOne, CarryGroup, Scroll };
enum class EView { Layer, Direct, Overview };

// A piece: a textured ellipse on key colour (about a fifth of the pixels), or its shadow mask.
std::unique_ptr<TMyDib> PieceImage(std::mt19937& random, bool mask) {
  auto image = std::make_unique<TMyDib>(kPieceWidth, kPieceHeight, 32);
  const TPixel base = (random() | 0x00404040) & kRgbMask;
  for (int y = 0; y < kPieceHeight; ++y)
    for (int x = 0; x < kPieceWidth; ++x) {
      const double dx = (x - kPieceWidth / 2.0) / (kPieceWidth / 2.0), dy = (y - kPieceHeight / 2.0) / (kPieceHeight / 2.0);
      if (dx * dx + dy * dy <= 1.0) image->At(x, y) = mask ? 0x80000000u : base ^ TPixel((x * 7 + y * 13) & 0x1F);
    }
  return image;
}

struct TPlayTable {
  THeadlessDisplay Display{kScreenWidth, kScreenHeight};
  TGraphicsEngine Engine{Display};
  std::vector<int> Carried;

  TPlayTable(int pieces, int carried, EView view) {
    Engine.LoadBackground();
    TSurface& picture = *Engine.Background()->Surfaces[0];
    for (int y = 0; y < kTableHeight; ++y)
      for (int x = 0; x < kTableWidth; ++x) picture.At(x, y) = MakePixel(x & 255, y & 255, (x ^ y) & 255);
    picture.MarkChanged();
    std::mt19937 random(3);
    for (int i = 0; i < pieces; ++i) {
      const int s = Engine.AddSpriteFromBitmap(*PieceImage(random, false), int(random() % (kTableWidth - kPieceWidth)),
                                               int(random() % (kTableHeight - kPieceHeight)), 10 + i, 10);
      TMySprite& piece = Engine.Sprite(s);
      piece.Kind = ESpriteKind::Piece;
      piece.Fixed = false;
      piece.Shadow = true;
      piece.Bitmaps.push_back(PieceImage(random, true));
    }
    // A carried group is a joined block of pieces, lifted above the table, on the screen.
    for (int i = 0; i < carried; ++i) {
      Carried.push_back(i);
      Engine.Sprite(i).X = 300 + (i % 20) * 40;
      Engine.Sprite(i).Y = 250 + (i / 20) * 35;
      Engine.SetSpriteDepth(i, kCarried + i);
    }
    std::mt19937 screenRandom(5);
    Engine.AddSpriteFromBitmap(TPixelBuffer(790, 60), 0, 0, kScreen, 2);
    Engine.Sprite(Engine.SpriteCount() - 1).Surfaces[0]->Fill(MakePixel(40, 40, 90));
    for (int b = 0; b < 6; ++b) Engine.AddSpriteFromBitmap(*PieceImage(screenRandom, false), 20 + b * 120, 680, kScreen + 1, 2);
    Engine.FScrollX = 200;
    Engine.FScrollY = 150;
    if (view != EView::Direct) Engine.SetTableLayer(kTop);
    Engine.SetOverview(view == EView::Overview);
  }

  void Move(EMotion motion, int frame) {
    const int step = (frame / 20) % 2 == 0 ? 3 : -3;  // back and forth, staying on the table
    if (motion == EMotion::Scroll) {
      Engine.FScrollX += step;
      Engine.FScrollY += step / 3;
      return;
    }
    for (const int s : Carried) {
      Engine.Sprite(s).X += step;
      Engine.Sprite(s).Y += step / 3;
    }
  }
};

// Reports the median frame in milliseconds besides the mean.
void PlayFrame(benchmark::State& state, int pieces, EMotion motion, EView view) {
  const int carried = motion == EMotion::CarryOne ? 1 : motion == EMotion::CarryGroup ? 200 : 0;
  TPlayTable table(pieces, carried, view);
  table.Engine.DrawFrame();  // sorts and fills the layer once
  std::vector<double> frames;
  int frame = 0;
  for (auto _ : state) {
    table.Move(motion, frame++);
    const auto start = std::chrono::steady_clock::now();
    table.Engine.DrawFrame();
    frames.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    benchmark::ClobberMemory();
  }
  std::nth_element(frames.begin(), frames.begin() + long(frames.size() / 2), frames.end());
  state.counters["median_ms"] = frames.empty() ? 0 : frames[frames.size() / 2];
}

void Register() {
  const std::pair<const char*, EMotion> motions[] = {
      {"", EMotion::Resting}, {"/carry1", EMotion::CarryOne}, {"/carry200", EMotion::CarryGroup}, {"/scroll", EMotion::Scroll}};
  const std::pair<const char*, EView> views[] = {{"", EView::Layer}, {"/direct", EView::Direct}, {"/overview", EView::Overview}};
  for (const auto& [viewSuffix, view] : views)
    for (const auto& [suffix, motion] : motions)
      for (const int pieces : {1000, 5000}) {
        if (view == EView::Overview && motion == EMotion::Scroll) continue;  // the overview does not scroll
        const std::string name = "PlayFrame/" + std::to_string(pieces) + suffix + viewSuffix;
        benchmark::RegisterBenchmark(name.c_str(), [pieces, motion, view](benchmark::State& state) {
          PlayFrame(state, pieces, motion, view);
        })->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
      }
}

}  // namespace
}  // namespace qj

int main(int argc, char** argv) {
  qj::Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
