// The cut tool's command line, read strictly and held to what the puzzle maker can set, so the
// tool never writes a puzzle file the maker could not have made.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qj::cuttool {

// A command line the tool refuses; the tool exits with code 2.
struct TUsageError {
  std::string Message;
};

// The values as the maker's sliders hold them: whole numbers, the spreads ten times over.
struct TCutOptions {
  std::string Picture, Sheet, Labels, ProgramFolder;
  int Style = 0, Shape = 1, Shadow = 7, Bevel = 2;
  int PieceW = 20, PieceH = 20, DistortX = 0, DistortY = 0, SpreadX = 10, SpreadY = 10;
  std::string Options = "11111";
  bool HasSeed = false, FromPzl = false, Count = false, Cut = false, Digest = false, Save = true;
  uint32_t Seed = 0;
};

// Throws TUsageError naming the option and its range for an unknown option, a missing value,
// a number with anything around it, or a value no maker offers.
TCutOptions ParseCutOptions(const std::vector<std::string>& args);

// The ranges that hang on the picture: a piece at most half the picture less one pixel either
// way. Throws TUsageError. Not needed with FromPzl, which takes every value from the file.
void CheckAgainstPicture(const TCutOptions& options, int width, int height);

// The shape must be a shape file under the program folder in force. Throws TUsageError.
void CheckShapeExists(const TCutOptions& options);

}  // namespace qj::cuttool
