#include "screens/UCredits.h"

namespace qj {

const std::array<const char*, kCreditLines>& CreditLines() {
  static const std::array<const char*, kCreditLines> lines = {
      "-Quorvane Jigsaw",
      "A jigsaw puzzle of every picture you love",
      "",
      "-Design and programming",
      "The Quorvane Jigsaw team",
      "",
      "-Pictures and themes",
      "Drawn by the game's own data generator",
      "Classic, Meadow and Midnight",
      "",
      "-Piece shapes",
      "Splines cut from the shape files",
      "",
      "-Music and sounds",
      "Played through SDL_mixer",
      "General MIDI voices: TimGM6mb",
      "",
      "-Built with",
      "SDL2, SDL2_ttf and SDL2_mixer",
      "FreeType and fontconfig",
      "libjpeg-turbo, libpng and zlib",
      "libzip",
      "Liberation and DejaVu fonts",
      "",
      "-Tested with",
      "GoogleTest, Google Benchmark and libFuzzer",
      "",
      "-Thanks",
      "To everyone who plays, breaks",
      "and mends our puzzles",
      "",
      "-Thank you for playing!",
      "",
      "Press the star again to roll up",
      "these lines once more",
  };
  return lines;
}

}  // namespace qj
