// The cost of presenting one composed frame through SDL: copy to the visible surface, texture
// upload and render. Runs on SDL's dummy video driver unless SDL_VIDEODRIVER says otherwise.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "platform/sdl/SdlDisplay.h"
#include "platform/sdl/SdlInput.h"

namespace {

void BM_Present(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::string error;
  if (!qj::sdl::InitSdl(error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  {
    qj::sdl::TSdlDisplay display;
    display.SetWindowBounds(qj::MakeRect(0, 0, int(state.range(0)), int(state.range(1))));
    display.BackBuffer().Fill(0x00336699);
    for (auto _ : state) display.Flip();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(display.BackBuffer().ByteSize()));
  }
  qj::sdl::QuitSdl();
}
BENCHMARK(BM_Present)->Args({790, 570})->Args({1600, 1200})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
