// The cost of presenting one composed frame through SDL: copy to the visible surface, texture
// upload, scaling and render. Runs on SDL's dummy video driver unless SDL_VIDEODRIVER says
// otherwise; under an X server (SDL_VIDEODRIVER=x11) full screen covers its real desktop.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "platform/PictureScale.h"
#include "platform/sdl/SdlDisplay.h"
#include "platform/sdl/SdlInput.h"

namespace {

// Presents frames on a display set up by `prepare`; the label names what reached the screen.
template <class Prepare>
void Present(benchmark::State& state, Prepare prepare) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::string error;
  if (!qj::sdl::InitSdl(error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  {
    qj::sdl::TSdlDisplay display;
    prepare(display);
    display.BackBuffer().Fill(0x00336699);
    for (auto _ : state) display.Flip();
    const qj::TRect shown = display.View().Picture;
    state.SetLabel(std::to_string(display.Width()) + "x" + std::to_string(display.Height()) + " shown at " +
                   std::to_string(shown.Width()) + "x" + std::to_string(shown.Height()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(display.BackBuffer().ByteSize()));
  }
  qj::sdl::QuitSdl();
}

// A window of the given client size; beyond 1600 x 1200 the surface is scaled up.
void BM_Present(benchmark::State& state) {
  Present(state, [&](qj::sdl::TSdlDisplay& display) {
    display.SetWindowBounds(qj::MakeRect(0, 0, int(state.range(0)), int(state.range(1))));
  });
}
BENCHMARK(BM_Present)->Args({790, 570})->Args({1600, 1200})->Args({2560, 1440})->Unit(benchmark::kMillisecond);

// Full screen in a mode of the given size, scaled onto the desktop.
void BM_PresentFullScreen(benchmark::State& state) {
  Present(state, [&](qj::sdl::TSdlDisplay& display) {
    display.SetFullScreenOption(true);
    display.SetFullScreenMode({int(state.range(0)), int(state.range(1)), 32, 0});
    display.Show();
    display.Initialize();
    SDL_PumpEvents();
  });
}
BENCHMARK(BM_PresentFullScreen)->Args({800, 600})->Args({1280, 960})->Unit(benchmark::kMillisecond);

// The sharp enlargement alone, as every frame of full screen at the desktop's resolution on a
// 1920 x 1080 desktop (1600 x 900 shown at 1.2) or of an 800 x 600 mode on it has it.
void BM_EnlargeSharp(benchmark::State& state) {
  qj::TPixelBuffer frame(int(state.range(0)), int(state.range(1)));
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) frame.At(x, y) = qj::TPixel(x * 2654435761u ^ y * 40503u);
  qj::TSharpScaler scaler;
  for (auto _ : state) benchmark::DoNotOptimize(scaler.Enlarge(frame, int(state.range(2)), int(state.range(3))).Bits());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(state.range(2) * state.range(3) * 4));
}
BENCHMARK(BM_EnlargeSharp)->Args({1600, 900, 1920, 1080})->Args({800, 600, 1440, 1080})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
