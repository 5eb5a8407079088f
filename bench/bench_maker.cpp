// The maker's live preview: one change of the piece width on a table-sized picture of about 300
// pieces draws the cut lines again and lays them over the picture in the view.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "controls/UControlImages.h"
#include "controls/UScrollBar.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UBitmapBuilder.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Paths.h"
#include "platform/headless/HeadlessDisplay.h"
#include "screens/UPuzzleMakerInterface.h"

namespace {

using namespace qj;

// Soft waves: the cut does not look at the pixels, only the copies into the view do.
TMyDib MakePicture(int w, int h) {
  TMyDib picture(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      picture.Row(y)[x] = MakePixel(uint8_t(128 + 100 * std::sin(x * 0.01)), uint8_t(128 + 100 * std::cos(y * 0.013)), uint8_t((x ^ y) & 255));
  return picture;
}

void BM_MakerSliderChange(benchmark::State& state) {
  if (!InitProgramFolder(nullptr)) {
    state.SkipWithError("no program folder");
    return;
  }
  TManualClock clock;
  THeadlessDisplay display(1600, 1200);
  SetClock(&clock);
  SetDXDraw(&display);
  Options = TOptions();
  LoadThemes();
  std::string error;
  if (!ReloadControlImages(error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  {
    TGraphicsEngine engine(display);
    TPuzzleMakerInterface maker(&engine);
    maker.SetDepthRange(120000, 129990);
    maker.Cutter().SetPicture(MakePicture(1600, 1200));
    maker.Enter();
    TDXScrollBar& width = *maker.Slider(TPuzzleMakerInterface::Width);
    int step = 1;
    for (auto _ : state) {
      width.SetPosition(width.FPosition + step);
      step = -step;
    }
    state.counters["pieces"] = double(maker.Cutter().CountCutPieces());
    state.counters["width"] = maker.Cutter().ScaledPicture().Width();
    maker.Leave();
  }
  SetControlImages(nullptr);
  SetDXDraw(nullptr);
  SetClock(nullptr);
}
BENCHMARK(BM_MakerSliderChange)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
