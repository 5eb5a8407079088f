// Every test program runs headless: SDL's dummy drivers, the real font rasteriser.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/Paths.h"
#include "platform/sdl/SdlFonts.h"

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // Thumbnails the tests make are cached in the build folder, never in the player's own cache.
  setenv("XDG_CACHE_HOME", (std::string(QJ_PROGRAM_DIR) + "/../test-cache").c_str(), 1);
  qj::sdl::InitFontRasterizer();
  qj::SetProgramFolder(QJ_PROGRAM_DIR);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
