// The cost of presenting one composed frame through SDL: copy to the visible surface, texture
// upload, scaling and render. Runs on SDL's dummy video driver unless SDL_VIDEODRIVER says
// otherwise; under an X server (SDL_VIDEODRIVER=x11) full screen covers its real desktop.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdlib>
#include <string>

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

}  // namespace

BENCHMARK_MAIN();
